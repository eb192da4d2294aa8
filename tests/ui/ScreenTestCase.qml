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

    readonly property Component routerComponent: Component { ContentView { width: 390; height: 844 } }

    // How long a fade, spring or scroll may take to come to rest before a test gives up: a
    // hang guard, over ten times the slowest quiet run (0.2–1 s), for busy machines and
    // sanitizer builds.
    readonly property int settleMs: 10000

    function init() { failOnWarning(/.*/) }

    // A keyboard a test put up goes with it.
    function cleanup() { Keyboard.rectangle = Qt.rect(0, 0, 0, 0) }

    // The router's screen once its fade-in has finished and the screen before it has gone.
    function settled(router) {
        tryCompare(router.current, "opacity", 1, settleMs)
        tryVerify(() => router.current.parent.children.length === 1, settleMs)
        return router.current.view
    }

    // Text typed key by key, a line break as Return.
    function typeText(text) {
        for (const c of text)
            keyClick(c === "\n" ? Qt.Key_Return : c)
    }

    // The colour seen where top, at alpha, covers under.
    function over(top, alpha, under) {
        const mix = (a, b) => a * alpha + b * (1 - alpha)
        return Qt.rgba(mix(top.r, under.r), mix(top.g, under.g), mix(top.b, under.b), 1)
    }

    // Colours equal to within two levels in each channel.
    function compareColour(actual, expected, message) {
        const off = Math.max(Math.abs(actual.r - expected.r), Math.abs(actual.g - expected.g),
                             Math.abs(actual.b - expected.b)) * 255
        verify(off <= 2, `${message}: ${actual} instead of ${expected}`)
    }
}
