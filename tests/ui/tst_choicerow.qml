import QtQuick
import QtTest
import TarvukeGlimp.Components

// Chips as a person uses them: the row shows the selection it is given and reports taps,
// changing nothing itself.
ScreenTestCase {
    id: root

    name: "ChoiceRow"
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

    function makeRow(selection) {
        const row = createTemporaryObject(rowComponent, root, { selection: selection })
        selectSpy.target = row
        return { row: row, chips: Array.from(row.children).filter(c => c.hasOwnProperty("selected")) }
    }

    // Colour of the chip's face, a little inside its left end.
    function faceColour(row, chip) {
        return grabImage(row).pixel(chip.x + chip.height / 2, chip.y + 4)
    }

    function test_selectionOutsideItemsSelectsNothingAndStillReports() {
        const r = makeRow("Невозможная")
        compare(r.chips.length, 3)
        for (const chip of r.chips) {
            verify(!chip.selected)
            verify(Qt.colorEqual(faceColour(r.row, chip), Theme.paper), chip.text)
        }
        mouseClick(r.chips[2])
        compare(selectSpy.signalArguments.map(a => a[0]), ["Сложная"])
        compare(r.row.selection, "Невозможная")
    }

    function test_tapOnSelectedReportsItAgain() {
        const r = makeRow("Средняя")
        compare(r.chips.map(c => c.selected), [false, true, false])
        verify(Qt.colorEqual(faceColour(r.row, r.chips[1]), Theme.lavender))
        mouseClick(r.chips[1])
        mouseClick(r.chips[1])
        mouseClick(r.chips[0])
        compare(selectSpy.signalArguments.map(a => a[0]), ["Средняя", "Средняя", "Простая"])
        compare(r.row.selection, "Средняя")
    }
}
