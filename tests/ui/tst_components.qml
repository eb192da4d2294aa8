import QtQuick
import QtTest
import TarvukeGlimp.Components
import TarvukeGlimp.Testing

// The drawn star and the scoreboard on the store's own teams.
ScreenTestCase {
    id: root

    name: "Components"

    Component {
        id: starComponent

        DoodleStar {
            width: 50
            height: 30
            fillColor: Theme.sun
        }
    }

    // In 50 × 30: points on R = 15 and r = 6.3 around the centre, 36° apart, the first
    // straight up and on clockwise (y points down).
    function test_starGeometry() {
        const v = createTemporaryObject(starComponent, root).vertices
        compare(v.length, 10)
        for (let k = 0; k < 10; ++k) {
            const dx = v[k].x - 25
            const dy = v[k].y - 15
            fuzzyCompare(Math.hypot(dx, dy), k % 2 === 0 ? 15 : 6.3, 1e-9)
            const turn = Math.atan2(dy, dx) * 180 / Math.PI - (-90 + 36 * k)
            fuzzyCompare(Math.cos(turn * Math.PI / 180), 1, 1e-9)
        }
    }

    Component {
        id: scoreboardComponent

        Scoreboard {
            width: 300
        }
    }

    function test_scoreboardWithoutTeamsTakesNoHeight() {
        const board = createTemporaryObject(scoreboardComponent, root, { teams: [] })
        compare(board.height, 0)
    }

    // A long name is cut to one line; the score beside it stays whole at the right.
    function test_scoreboardLongNameIsCutScoreStaysWhole() {
        const game = TestHarness.newStore()
        game.setPlayerText("Аня\nБоря\nВика\nГена")
        game.formTeams(false)
        game.setTeamName(0, "Невероятно длинное название команды, которое никак не помещается в строку")
        const board = createTemporaryObject(scoreboardComponent, root, { teams: game.teams })
        const rows = Array.from(board.children).filter(c => c.hasOwnProperty("modelData"))
        compare(rows.length, 2)
        const name = rows[0].children[0]
        const score = rows[0].children[1]
        compare(score.text, "0")
        verify(name.truncated)
        compare(name.lineCount, 1)
        fuzzyCompare(score.width, score.implicitWidth, 0.5)
        fuzzyCompare(score.x + score.width, 300, 0.5)
        verify(name.x + name.width <= score.x)
    }

    Component {
        id: iconComponent

        Icon {}
    }

    Component {
        id: titleComponent

        Text {
            text: "I"
            color: Theme.ink
        }
    }

    // Ink across a line of the image, in pixels: the width of a stroke it crosses.
    function inkAcross(item, vertical, at) {
        const image = grabImage(item)
        const paper = image.pixel(0, 0).r
        let ink = 0
        for (let i = 0; i < (vertical ? item.height : item.width); ++i) {
            const p = vertical ? image.pixel(at, i) : image.pixel(i, at)
            ink += Math.max(0, (paper - p.r) / (paper - Theme.ink.r))
        }
        return ink
    }

    // The line icons' strokes are as heavy as the stems of black type of their size.
    function test_lineIconsAreAsHeavyAsBlackType() {
        // Side by side, each in a column of its own.
        const rows = [["arrow.left", 20, 14], ["arrow.right", 17, 5]]
        for (const [row, [name, size, x]] of rows.entries()) {
            const title = createTemporaryObject(titleComponent, root,
                                                { x: 100 * row, font: Theme.rounded(size, Font.Black) })
            const stem = inkAcross(title, false, Math.round(title.height / 2))
            const icon = createTemporaryObject(iconComponent, root, { x: 100 * row + 50, name: name, size: size })
            // Across the shaft, between the tail and the head, once it is drawn.
            tryVerify(() => inkAcross(icon, true, x) > 0.5, 1000, name + " drawn")
            const stroke = inkAcross(icon, true, x)
            verify(stroke >= 0.9 * stem, `${name}: ${stroke.toFixed(2)} px against a stem of ${stem.toFixed(2)}`)
        }
    }
}
