import QtQuick
import QtTest
import TarvukeGlimp.Components

ScreenTestCase {
    id: root

    name: "AppTopBar"
    width: 390
    height: 300

    property int backTaps: 0

    Rectangle {
        anchors.fill: parent
        color: Theme.paper
    }

    Component {
        id: barComponent

        AppTopBar {
            width: 350
        }
    }

    function init() {
        failOnWarning(/.*/)
        backTaps = 0
    }

    function titleOf(bar) {
        return Array.from(bar.children).find(c => c.text === bar.title)
    }

    function test_titleStaysPutWithoutBack() {
        const withBack = createTemporaryObject(barComponent, root,
                                               { title: "НОВАЯ ИГРА", back: () => {} })
        const without = createTemporaryObject(barComponent, root, { title: "НОВАЯ ИГРА", y: 60 })
        waitForRendering(without)
        const a = titleOf(withBack)
        compare(a.mapToItem(root, 0, 0).x, titleOf(without).mapToItem(root, 0, 0).x)
        fuzzyCompare(a.x + a.width / 2, 175, 0.5)
    }

    // The back slot answers taps only when there is somewhere to go back to.
    function test_backTaps() {
        const bar = createTemporaryObject(barComponent, root,
                                          { title: "КОМАНДЫ", back: () => root.backTaps++ })
        mouseClick(bar, 21, 21)
        compare(root.backTaps, 1)
        const plain = createTemporaryObject(barComponent, root, { title: "КОМАНДЫ", y: 60 })
        mouseClick(plain, 21, 21)
        compare(root.backTaps, 1)
    }
}
