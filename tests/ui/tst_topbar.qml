import QtQuick
import QtQuick.Layouts
import QtTest
import TarvukeGlimp.Components

TestCase {
    id: root

    name: "AppTopBar"
    when: windowShown
    visible: true
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

    function backButtonOf(bar) {
        return bar.children[0].children[0]
    }

    function test_titleStaysPutWithoutBack() {
        const withBack = createTemporaryObject(barComponent, root,
                                               { title: "НОВАЯ ИГРА", back: () => {} })
        const without = createTemporaryObject(barComponent, root, { title: "НОВАЯ ИГРА", y: 60 })
        waitForRendering(without)
        const a = titleOf(withBack)
        const b = titleOf(without)
        compare(a.mapToItem(root, 0, 0).x, b.mapToItem(root, 0, 0).x)
        // And it is centred in the bar.
        fuzzyCompare(a.x + a.width / 2, 175, 0.5)
        compare(withBack.implicitHeight, 42)
        compare(without.implicitHeight, 42)
    }

    function test_backTapCallsBack() {
        const bar = createTemporaryObject(barComponent, root,
                                          { title: "КОМАНДЫ", back: () => root.backTaps++ })
        const button = backButtonOf(bar)
        verify(button.visible)
        compare([button.width, button.height], [42, 42])
        mouseClick(button)
        compare(root.backTaps, 1)
    }

    function test_noBackNoButton() {
        const bar = createTemporaryObject(barComponent, root, { title: "КОМАНДЫ" })
        verify(!backButtonOf(bar).visible)
        mouseClick(bar, 21, 21)
        compare(root.backTaps, 0)
        // The empty slot is see-through: paper shows where the button would be.
        waitForRendering(bar)
        const image = grabImage(bar)
        verify(Qt.colorEqual(image.pixel(21, 21), Theme.paper))
    }

    function test_backButtonLook() {
        const bar = createTemporaryObject(barComponent, root, { title: "X", back: () => {} })
        waitForRendering(bar)
        const image = grabImage(bar)
        // White face, ink ring at its edge.
        verify(Qt.colorEqual(image.pixel(8, 21), "white"))
        verify(Qt.colorEqual(image.pixel(0, 21), Theme.ink))
        const title = titleOf(bar)
        compare(title.font.pixelSize, 16)
        compare(title.font.weight, Font.Black)
    }

    // A long title wraps instead of pushing the slots out of the bar.
    function test_longTitleWraps() {
        const bar = createTemporaryObject(barComponent, root, {
            title: "ОЧЕНЬ ДЛИННЫЙ ЗАГОЛОВОК КОТОРЫЙ НЕ ПОМЕЩАЕТСЯ В ОДНУ СТРОКУ НИКАК",
            back: () => {}
        })
        const title = titleOf(bar)
        verify(title.lineCount > 1)
        verify(title.x >= 42 + 8)
        verify(title.x + title.width <= 350 - 42 - 8)
        compare(bar.children[bar.children.length - 1].x, 350 - 42)
    }
}
