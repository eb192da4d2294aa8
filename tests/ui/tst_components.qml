import QtQuick
import QtTest
import TarvukeGlimp.Components
import TarvukeGlimp.Screens
import TarvukeGlimp.Testing

// The theme's faces and the shared components on their own: the drawn star, the scoreboard
// on the store's own teams, the line icons' weight, the flow layout, the chips, the top bar.
ScreenTestCase {
    id: root

    name: "Components"

    // The theme's fonts reach the faces compiled into the program: without them the software
    // renderer would draw boxes in a fallback face and nothing else would notice.
    readonly property string cyrillic: "СЪЕШЬ ЖЕ ЕЩЁ ЭТИХ МЯГКИХ булок"

    // Laid out as a screen lays text out: design metrics, whatever the hinting.
    Text { id: sample; visible: false; textFormat: Text.PlainText }

    // Each text measures as its own face within kerning's fraction, and not as `other`.
    function test_textMeasuresAsItsFace_data() {
        return [
            { tag: "medium", weight: Font.Medium, file: "Nunito-Medium.ttf", other: "Nunito-Black.ttf" },
            { tag: "bold", weight: Font.Bold, file: "Nunito-Bold.ttf", other: "Nunito-Black.ttf" },
            { tag: "black", weight: Font.Black, file: "Nunito-Black.ttf", other: "Nunito-Bold.ttf" }
        ]
    }

    function test_textMeasuresAsItsFace(data) {
        sample.font = Theme.rounded(40, data.weight)
        sample.text = root.cyrillic
        const measured = sample.implicitWidth
        const expected = TestHarness.faceAdvance(root.cyrillic, data.file, 40)
        verify(expected > 0, data.file + " lacks a glyph")
        const other = TestHarness.faceAdvance(root.cyrillic, data.other, 40)
        verify(Math.abs(measured - expected) < 0.01 * expected, measured + " vs " + expected)
        verify(Math.abs(measured - other) > 0.02 * other, measured + " vs " + other)
    }

    Component { id: starComponent; DoodleStar { width: 50; height: 30; fillColor: Theme.sun } }

    // In 50 × 30: points on R = 15 and r = 6.3 around the centre, 36° apart, the first
    // straight up and on clockwise (y points down).
    function test_starGeometry() {
        const v = createTemporaryObject(starComponent, root).vertices
        compare(v.length, 10)
        for (let k = 0; k < 10; ++k) {
            const [dx, dy] = [v[k].x - 25, v[k].y - 15]
            fuzzyCompare(Math.hypot(dx, dy), k % 2 === 0 ? 15 : 6.3, 1e-9)
            fuzzyCompare(Math.cos(Math.atan2(dy, dx) - (-90 + 36 * k) * Math.PI / 180), 1, 1e-9)
        }
    }

    Component { id: scoreboardComponent; Scoreboard { width: 300 } }

    // Without teams it takes no height. A long name is cut to one line; the score beside it
    // stays whole at the right.
    function test_scoreboard() {
        const board = createTemporaryObject(scoreboardComponent, root, { teams: [] })
        compare(board.height, 0)
        const game = TestHarness.newStore()
        game.setPlayerText("Аня\nБоря\nВика\nГена")
        game.formTeams(false)
        game.setTeamName(0, "Невероятно длинное название команды, которое никак не помещается в строку")
        board.teams = game.teams
        const rows = Array.from(board.children).filter(c => c.hasOwnProperty("modelData"))
        compare(rows.length, 2)
        const [name, score] = Array.from(rows[0].children)
        compare(score.text, "0")
        verify(name.truncated && name.lineCount === 1)
        fuzzyCompare(score.width, score.implicitWidth, 0.5)
        fuzzyCompare(score.x + score.width, 300, 0.5)
        verify(name.x + name.width <= score.x)
    }

    Component { id: iconComponent; Icon {} }

    Component { id: titleComponent; Text { text: "I"; color: Theme.ink } }

    // Ink across a line of the image, in pixels: the width of a stroke it crosses.
    function inkAcross(item, vertical, at) {
        const image = grabImage(item)
        const paper = image.pixel(0, 0).r
        let ink = 0
        for (let i = 0; i < (vertical ? item.height : item.width); ++i)
            ink += Math.max(0, (paper - (vertical ? image.pixel(at, i) : image.pixel(i, at)).r) / (paper - Theme.ink.r))
        return ink
    }

    // The line icons' strokes are as heavy as the stems of black type of their size, probed
    // across the shaft between the tail and the head; side by side, each in its own column.
    function test_lineIconsAreAsHeavyAsBlackType() {
        for (const [row, [name, size, x]] of [["arrow.left", 20, 14], ["arrow.right", 17, 5]].entries()) {
            const title = createTemporaryObject(titleComponent, root, { x: 100 * row, font: Theme.rounded(size, Font.Black) })
            const stem = inkAcross(title, false, Math.round(title.height / 2))
            const icon = createTemporaryObject(iconComponent, root, { x: 100 * row + 50, name: name, size: size })
            tryVerify(() => inkAcross(icon, true, x) > 0.5, 1000, name + " drawn")
            const stroke = inkAcross(icon, true, x)
            verify(stroke >= 0.9 * stem, `${name}: ${stroke.toFixed(2)} px against a stem of ${stem.toFixed(2)}`)
        }
    }

    Component { id: sectionTitleComponent; SectionTitle { } }
    Component { id: playComponent; PlayView { width: 390; height: 844 } }

    // Spaced capitals stand evenly apart on the software renderer, as on a phone's GPU: in a
    // row of one letter, the copies' ink centres keep to an evenly spaced row within ±0.3 px.
    // Glyphs put on whole pixels stray up to half a pixel either way: a gap a pixel wider
    // here and there.
    function test_spacedCapitalsAreEven_data() {
        const letters = "н".repeat(14)
        return [
            { tag: "section title", make: () => createTemporaryObject(sectionTitleComponent, root, { title: letters }) },
            { tag: "play screen's team name", make: () => {
                const game = TestHarness.newStore()
                game.setPlayerText("Аня\nБоря")
                game.formTeams(false)
                game.setTeamName(0, letters)
                game.screenName = "ready"
                game.startTurn()
                return findChild(createTemporaryObject(playComponent, root, { game: game }), "teamName")
            } }
        ]
    }

    function test_spacedCapitalsAreEven(data) {
        const text = data.make()
        verify(text.font.letterSpacing > 0)
        waitForRendering(text)
        const image = grabImage(text)
        const paper = image.pixel(0, 0).r
        // Ink-weighted centre of each letter, each found in its own share of the line.
        const count = text.text.length
        const pitch = text.contentWidth / count
        const left = text.horizontalAlignment === Text.AlignHCenter ? (text.width - text.contentWidth) / 2 : 0
        const centres = []
        for (let i = 0; i < count; ++i) {
            let ink = 0, moment = 0
            for (let x = Math.ceil(left + i * pitch); x < left + (i + 1) * pitch; ++x) {
                for (let y = 0; y < text.height; ++y) {
                    const weight = Math.max(0, paper - image.pixel(x, y).r)
                    ink += weight
                    moment += weight * x
                }
            }
            verify(ink > 0, "letter " + i + " drawn")
            centres.push(moment / ink)
        }
        // How far each centre lies off the evenly spaced row that fits them best.
        const mid = (count - 1) / 2
        const mean = centres.reduce((a, b) => a + b) / count
        const step = centres.reduce((a, c, i) => a + (c - mean) * (i - mid), 0)
                / centres.reduce((a, c, i) => a + (i - mid) * (i - mid), 0)
        const off = centres.map((c, i) => c - mean - step * (i - mid))
        verify(Math.max(...off) - Math.min(...off) < 0.6, off.map(d => d.toFixed(2)).join(" "))
    }

    // FlowLayout with real items: their implicit sizes in, positions and its own height out.
    Component {
        id: box

        Item {
            property real w: 100
            property real h: 36
            implicitWidth: w
            implicitHeight: h
        }
    }

    Component { id: flowComponent; FlowLayout { spacing: 8 } }

    function makeFlow(sizes, width) {
        const flow = createTemporaryObject(flowComponent, root, { width: width })
        return [flow, sizes.map(s => box.createObject(flow, { w: s[0], h: s[1] }))]
    }

    function positionsOf(items) {
        return items.map(i => [i.x, i.y])
    }

    function test_flowPlaces_data() {
        const row = (tag, width, sizes, at, height) => ({ tag, width, sizes, at, height })
        return [
            row("100/100/100 in 300", 300, [[100, 36], [100, 36], [100, 36]], [[0, 0], [108, 0], [0, 44]], 80),
            row("ending at the right edge stays", 200, [[100, 30], [92, 30]], [[0, 0], [108, 0]], 30),
            row("one point past it wraps", 200, [[100, 30], [93, 30]], [[0, 0], [0, 38]], 68),
            row("over-wide chip alone on its line", 300, [[60, 30], [500, 30], [60, 30]],
                [[0, 0], [0, 38], [0, 76]], 106),
            row("lines top-aligned, as tall as their tallest", 250, [[100, 20], [100, 50], [100, 30], [100, 10]],
                [[0, 0], [108, 0], [0, 58], [108, 58]], 88),
            row("no children", 300, [], [], 0)
        ]
    }

    function test_flowPlaces(data) {
        const [flow, items] = makeFlow(data.sizes, data.width)
        compare(positionsOf(items), data.at)
        // Each child is given exactly its own ideal size.
        compare(items.map(i => [i.width, i.height]), data.sizes)
        compare(flow.implicitHeight, data.height)
    }

    // The layout follows changes of its width and of its children's sizes.
    function test_flowRelayout() {
        const [flow, items] = makeFlow([[100, 36], [100, 36], [100, 36]], 300)
        flow.width = 330
        compare(positionsOf(items), [[0, 0], [108, 0], [216, 0]])
        compare(flow.implicitHeight, 36)
        items[0].w = 140
        compare(positionsOf(items), [[0, 0], [148, 0], [0, 44]])
        items[2].destroy()
        wait(0)
        compare(flow.implicitHeight, 36)
    }

    // Chips as a person uses them: the row shows the selection it is given and reports taps,
    // changing nothing itself.
    Component { id: rowComponent; ChoiceRow { width: 354; items: ["Простая", "Средняя", "Сложная"] } }

    // A selection outside the items selects nothing; a tap on the selected chip reports it again.
    function test_chipTaps_data() {
        return [
            { tag: "outside", selection: "Невозможная", selected: [false, false, false], taps: [2],
              reported: ["Сложная"] },
            { tag: "selected", selection: "Средняя", selected: [false, true, false], taps: [1, 1, 0],
              reported: ["Средняя", "Средняя", "Простая"] }
        ]
    }

    function test_chipTaps(data) {
        const row = createTemporaryObject(rowComponent, root, { selection: data.selection })
        const reported = []
        row.select.connect(value => reported.push(value))
        const chips = Array.from(row.children).filter(c => c.hasOwnProperty("selected"))
        compare(chips.map(c => c.selected), data.selected)
        const image = grabImage(row)
        for (const [i, chip] of chips.entries()) {
            // The face, a little inside the chip's left end.
            const face = image.pixel(chip.x + chip.height / 2, chip.y + 4)
            verify(Qt.colorEqual(face, data.selected[i] ? Theme.lavender : Theme.paper), chip.text)
        }
        for (const i of data.taps)
            mouseClick(chips[i])
        compare(reported, data.reported)
        compare(row.selection, data.selection)
    }

    // The title stays centred whether or not there is a way back, and the back slot answers
    // taps only when there is somewhere to go back to.
    Component { id: barComponent; AppTopBar { width: 350 } }

    function test_topBar() {
        let backTaps = 0
        const withBack = createTemporaryObject(barComponent, root,
                                               { title: "НОВАЯ ИГРА", back: () => backTaps++ })
        const without = createTemporaryObject(barComponent, root, { title: "НОВАЯ ИГРА", y: 60 })
        waitForRendering(without)
        const [a, b] = [withBack, without].map(bar => Array.from(bar.children).find(c => c.text === bar.title))
        compare(a.mapToItem(root, 0, 0).x, b.mapToItem(root, 0, 0).x)
        fuzzyCompare(a.x + a.width / 2, 175, 0.5)
        mouseClick(withBack, 21, 21)
        compare(backTaps, 1)
        mouseClick(without, 21, 21)
        compare(backTaps, 1)
    }
}
