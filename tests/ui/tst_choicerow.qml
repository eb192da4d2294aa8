import QtQuick
import QtQuick.Layouts
import QtTest
import TarvukeGlimp.Components
import TarvukeGlimp.Testing

// Chips as a person uses them: the row shows the selection it is given and reports taps,
// changing nothing itself.
TestCase {
    id: root

    name: "ChoiceRow"
    when: windowShown
    visible: true
    width: 390
    height: 400

    Component {
        id: rowComponent

        ChoiceRow {
            width: 354
            items: ["Простая", "Средняя", "Сложная"]
        }
    }

    SignalSpy {
        id: selectSpy

        signalName: "select"
    }

    function init() {
        failOnWarning(/.*/)
        selectSpy.clear()
    }

    function makeRow(properties) {
        const row = createTemporaryObject(rowComponent, root, properties)
        selectSpy.target = row
        return row
    }

    function chips(row) {
        return Array.from(row.children).filter(c => c.hasOwnProperty("selected"))
    }

    // Colour of the chip's face, a little inside its left end.
    function faceColour(row, chip) {
        const image = grabImage(row)
        return image.pixel(chip.x + chip.height / 2, chip.y + 4)
    }

    function test_selectionOutsideItems() {
        const row = makeRow({ selection: "Невозможная" })
        const all = chips(row)
        compare(all.length, 3)
        for (const chip of all) {
            verify(!chip.selected)
            verify(Qt.colorEqual(faceColour(row, chip), Theme.paper), chip.text)
        }
        mouseClick(all[2])
        compare(selectSpy.count, 1)
        compare(selectSpy.signalArguments[0][0], "Сложная")
        // The row itself changes nothing.
        compare(row.selection, "Невозможная")
    }

    function test_selectedChip() {
        const row = makeRow({ selection: "Средняя" })
        const all = chips(row)
        compare(all.map(c => c.selected), [false, true, false])
        verify(Qt.colorEqual(faceColour(row, all[1]), Theme.lavender))
        verify(Qt.colorEqual(faceColour(row, all[0]), Theme.paper))
        // The selected outline is twice as thick: ink two pixels in from the top edge.
        const image = grabImage(row)
        const mid = all[1].x + all[1].width / 2
        verify(Qt.colorEqual(image.pixel(mid, all[1].y), Theme.ink))
        verify(Qt.colorEqual(image.pixel(all[0].x + all[0].width / 2, all[0].y + 1), Theme.paper))
    }

    function test_tapReportsAtOnce() {
        const row = makeRow({ selection: "Средняя" })
        mouseClick(chips(row)[0])
        compare(selectSpy.count, 1)
        compare(selectSpy.signalArguments[0][0], "Простая")
    }

    function test_tapOnSelectedReportsItAgain() {
        const row = makeRow({ selection: "Средняя" })
        const selected = chips(row)[1]
        mouseClick(selected)
        mouseClick(selected)
        compare(selectSpy.count, 2)
        compare(selectSpy.signalArguments[1][0], "Средняя")
    }

    // Numbers from the store work as items, with the store's labels as titles.
    function test_storeValues() {
        const game = TestHarness.newStore()
        const row = makeRow({
            items: game.roundDurationValues(),
            selection: game.settings.roundDuration,
            title: s => game.roundDurationLabel(s)
        })
        const all = chips(row)
        compare(all.length, game.roundDurationValues().length)
        compare(all.filter(c => c.selected).length, 1)
        const other = all.find(c => !c.selected)
        mouseClick(other)
        const picked = selectSpy.signalArguments[0][0]
        game.setRoundDuration(picked)
        compare(game.settings.roundDuration, picked)
        row.selection = game.settings.roundDuration
        verify(other.selected)
    }

    // Chips wrap like any FlowLayout: 8 apart, a new line when the next one would not fit.
    function test_wraps() {
        const row = makeRow({ width: 200, items: ["Выкл", "+3 сек", "+5 сек", "+10 сек"] })
        const all = chips(row)
        compare(all[1].x, all[0].x + all[0].width + 8)
        const lastLine = all.filter(c => c.y > 0)
        verify(lastLine.length > 0)
        compare(lastLine[0].x, 0)
        compare(lastLine[0].y, all[0].height + 8)
        compare(row.implicitHeight, lastLine[0].y + lastLine[0].height)
    }

    function test_chipInsets() {
        const row = makeRow({ selection: null })
        const chip = chips(row)[0]
        compare(chip.implicitWidth, chip.contentItem.implicitWidth + 26)
        compare(chip.implicitHeight, chip.contentItem.implicitHeight + 18)
        compare(chip.contentItem.font.pixelSize, 14)
        compare(chip.contentItem.font.weight, Font.Black)
    }
}
