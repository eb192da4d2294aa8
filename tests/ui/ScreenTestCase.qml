import QtQuick
import QtTest
import TarvukeGlimp
import TarvukeGlimp.Components

// A test case on a phone-sized window that fails on any warning, with the real router at
// hand and a keyboard that types like a person.
TestCase {
    id: root

    when: windowShown
    visible: true
    width: 390
    height: 844

    readonly property Component routerComponent: Component {
        ContentView {
            width: 390
            height: 844
        }
    }

    function init() {
        failOnWarning(/.*/)
    }

    // A keyboard a test put up goes with it.
    function cleanup() {
        Keyboard.rectangle = Qt.rect(0, 0, 0, 0)
    }

    // Text typed key by key, a line break as Return.
    function typeText(text) {
        for (const c of text)
            keyClick(c === "\n" ? Qt.Key_Return : c)
    }
}
