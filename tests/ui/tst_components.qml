import QtQuick
import QtQuick.Layouts
import QtTest
import TarvukeGlimp.Components
import TarvukeGlimp.Testing

TestCase {
    id: root

    name: "Components"
    when: windowShown
    visible: true
    width: 390
    height: 844

    function init() {
        failOnWarning(/.*/)
    }

    // Colours as the screen shows them, to within rounding.
    function near(actual, expected, what) {
        const ok = Math.abs(actual.r - expected.r) < 2.5 / 255
                && Math.abs(actual.g - expected.g) < 2.5 / 255
                && Math.abs(actual.b - expected.b) < 2.5 / 255
        verify(ok, (what || "") + ": " + actual + " vs " + expected)
    }

    function over(color, opacity, base) {
        return Qt.rgba(color.r * opacity + base.r * (1 - opacity),
                       color.g * opacity + base.g * (1 - opacity),
                       color.b * opacity + base.b * (1 - opacity), 1)
    }

    // PaperBackground

    Component {
        id: paperComponent

        PaperBackground {
            width: 390
            height: 844
        }
    }

    function test_paperLayers() {
        const paper = createTemporaryObject(paperComponent, root)
        waitForRendering(paper)
        const image = grabImage(paper)
        near(image.pixel(0, 0), Theme.paper, "corner")
        near(image.pixel(389, 843), Theme.paper, "far corner")
        // Circle centres sit at the given offsets from the window's centre.
        near(image.pixel(195 + 150, 422 - 350), over(Theme.sun, 0.25, Theme.paper), "sun")
        near(image.pixel(195 - 155, 422 + 280), over(Theme.mint, 0.28, Theme.paper), "mint")
        // 180 and 150 wide: just inside and just outside the rim.
        near(image.pixel(195 + 150 - 88, 72), over(Theme.sun, 0.25, Theme.paper), "sun rim")
        near(image.pixel(195 + 150 - 95, 72), Theme.paper, "outside sun")
        near(image.pixel(40, 702 + 73), over(Theme.mint, 0.28, Theme.paper), "mint rim")
        near(image.pixel(40, 702 + 80), Theme.paper, "outside mint")
        // The stars are outlines: their centres show paper.
        near(image.pixel(195 - 150, 422 - 210), Theme.paper, "ink star centre")
        near(image.pixel(195 + 130, 422 + 300), Theme.paper, "coral star centre")
    }

    function test_paperStarsOutlined() {
        const paper = createTemporaryObject(paperComponent, root)
        const stars = Array.from(paper.children).filter(c => c.hasOwnProperty("vertices"))
        compare(stars.length, 2)
        compare([stars[0].width, stars[0].rotation, stars[0].lineWidth], [50, 12, 2])
        compare([stars[1].width, stars[1].rotation, stars[1].lineWidth], [42, -15, 2])
        compare(stars[0].x + 25, 195 - 150)
        compare(stars[1].y + 21, 422 + 300)
        fuzzyCompare(stars[0].strokeColor.a, 0.14, 1 / 255)
        fuzzyCompare(stars[1].strokeColor.a, 0.25, 1 / 255)
    }

    // DoodleStar

    Component {
        id: starComponent

        DoodleStar {
            width: 50
            height: 30
            fillColor: Theme.sun
        }
    }

    function test_starGeometry() {
        const star = createTemporaryObject(starComponent, root)
        const v = star.vertices
        compare(v.length, 10)
        for (let k = 0; k < 10; ++k) {
            const dx = v[k].x - 25
            const dy = v[k].y - 15
            fuzzyCompare(Math.hypot(dx, dy), k % 2 === 0 ? 15 : 6.3, 1e-9)
            // 36° apart, clockwise on screen (y points down), starting straight up.
            const turn = Math.atan2(dy, dx) * 180 / Math.PI - (-90 + 36 * k)
            fuzzyCompare(Math.cos(turn * Math.PI / 180), 1, 1e-9)
        }
        // Straight up first, then clockwise on screen.
        fuzzyCompare(v[0].x, 25, 1e-9)
        fuzzyCompare(v[0].y, 0, 1e-9)
        verify(v[2].x > 25 && v[8].x < 25)
    }

    function test_starFilled() {
        const star = createTemporaryObject(starComponent, root)
        waitForRendering(star)
        const image = grabImage(star)
        near(image.pixel(25, 15), Theme.sun, "centre")
        // Outside the points the window's white shows through.
        near(image.pixel(2, 2), Qt.color("white"), "corner")
        near(image.pixel(47, 27), Qt.color("white"), "other corner")
    }

    // InkCard

    Component {
        id: cardComponent

        InkCard {
            x: 20
            y: 20
            color: Theme.mint

            Rectangle {
                implicitWidth: 100
                implicitHeight: 40
                color: Theme.coral
            }
        }
    }

    function test_cardWrapsItsContent() {
        const card = createTemporaryObject(cardComponent, root)
        compare([card.width, card.height], [136, 76])
        compare([card.contentItem.x, card.contentItem.y], [18, 18])
        card.width = 300
        compare(card.contentItem.width, 264)
    }

    // The shadow is the face moved (4, 5): a hard edge, ink at 13 % on paper, no blur.
    function test_cardHardShadow() {
        const card = createTemporaryObject(cardComponent, root)
        const paper = createTemporaryObject(paperComponent, root, { z: -1 })
        waitForRendering(card)
        const image = grabImage(root)
        const shadow = over(Theme.ink, 0.13, Theme.paper)
        const bottom = 20 + 76
        const mid = 20 + 68
        near(image.pixel(mid, bottom + 2), shadow, "below")
        near(image.pixel(mid, bottom + 4), shadow, "inside the offset")
        near(image.pixel(mid, bottom + 6), Theme.paper, "past the offset: no blur")
        near(image.pixel(20 + 136 + 3, 20 + 40), shadow, "right")
        near(image.pixel(20 + 136 + 5, 20 + 40), Theme.paper, "right, past")
        near(image.pixel(20 + 10, 20 + 38), Theme.mint, "face")
        near(image.pixel(20 + 68, 20), Theme.ink, "outline")
    }

    // InkButton

    Component {
        id: buttonComponent

        InkButton {
            width: 354
            title: "Новая игра"
            color: Theme.coral
        }
    }

    SignalSpy {
        id: clickSpy

        signalName: "clicked"
    }

    function labelColumn(button) {
        return button.contentItem.children[0]
    }

    function test_buttonLines() {
        const single = createTemporaryObject(buttonComponent, root)
        const twoLines = createTemporaryObject(buttonComponent, root,
                                             { subtitle: "Свои слова в игре", y: 100 })
        const one = labelColumn(single)
        const two = labelColumn(twoLines)
        verify(!one.children[1].visible)
        verify(two.children[1].visible)
        verify(twoLines.height > single.height)
        compare(single.height, one.children[0].implicitHeight + 32)
        compare(two.children[0].font.pixelSize, 20)
        compare(two.children[1].font.pixelSize, 13)
        compare(two.children[1].font.weight, Font.Medium)
        compare(two.children[1].y, two.children[0].height + 2)
        // The arrow sits at the right, 20 in.
        const arrow = single.contentItem.children[2]
        compare(arrow.mapToItem(single, arrow.width, 0).x, 354 - 20)
    }

    function test_buttonTapsAndDisabled() {
        const button = createTemporaryObject(buttonComponent, root)
        clickSpy.target = button
        clickSpy.clear()
        mouseClick(button)
        compare(clickSpy.count, 1)
        button.enabled = false
        mouseClick(button)
        compare(clickSpy.count, 1)
        // No disabled look of its own.
        compare(button.opacity, 1)
    }

    function test_buttonFillsALayout() {
        const layout = createTemporaryObject(columnComponent, root)
        const button = buttonComponent.createObject(layout)
        waitForItemPolished(layout)
        compare(button.width, 300)
    }

    Component {
        id: columnComponent

        ColumnLayout {
            width: 300
        }
    }

    // SectionTitle

    Component {
        id: sectionComponent

        SectionTitle {
            title: "Время раунда ё"
        }
    }

    function test_sectionTitle() {
        const title = createTemporaryObject(sectionComponent, root)
        compare(title.text, "ВРЕМЯ РАУНДА Ё")
        compare(title.font.pixelSize, 12)
        compare(title.font.weight, Font.Black)
        fuzzyCompare(title.font.letterSpacing, 1.2, 1 / 64)
        fuzzyCompare(title.color.a, 0.68, 1 / 255)
    }

    // SettingsBlock

    Component {
        id: chipsBlock

        SettingsBlock {
            title: "Сложность"

            ChoiceRow {
                items: ["Простая"]
                selection: "Простая"
            }
        }
    }

    Component {
        id: textBlock

        SettingsBlock {
            title: "Игроки"

            Text {
                text: "Аня"
            }
        }
    }

    function test_settingsBlockWidth() {
        const layout = createTemporaryObject(columnComponent, root, { width: 354 })
        const chips = chipsBlock.createObject(layout)
        const narrow = textBlock.createObject(layout)
        waitForItemPolished(layout)
        compare(chips.width, 354)
        verify(narrow.width < 150)
        // Heading first, the control 12 below it.
        const column = chips.contentItem
        compare(column.children[1].y, column.children[0].height + 12)
        compare(chips.color, Qt.color("white"))
    }

    // Scoreboard

    Component {
        id: scoreboardComponent

        Scoreboard {
            width: 300
        }
    }

    function teamsOf(game, players) {
        game.setPlayerText(players)
        game.startNewGame()
        game.openFormation()
        game.formTeams(false)
        return game.teams
    }

    function test_scoreboardEmpty() {
        const board = createTemporaryObject(scoreboardComponent, root, { teams: [] })
        compare(board.height, 0)
        compare(board.implicitHeight, 0)
    }

    function test_scoreboardRows() {
        const game = TestHarness.newStore()
        const teams = teamsOf(game, "Аня\nБоря\nВика\nГена")
        compare(teams.length, 2)
        const board = createTemporaryObject(scoreboardComponent, root, { teams: teams })
        const rows = Array.from(board.children).filter(c => c.hasOwnProperty("modelData"))
        compare(rows.length, 2)
        compare(rows[1].y, rows[0].height + 7)
        compare(rows[0].children[0].text, teams[0].name)
        compare(rows[0].children[1].text, "0")
    }

    function test_scoreboardLongName() {
        const game = TestHarness.newStore()
        teamsOf(game, "Аня\nБоря")
        game.setTeamName(0, "Невероятно длинное название команды, которое никак не помещается в строку")
        const board = createTemporaryObject(scoreboardComponent, root, { teams: game.teams })
        const row = Array.from(board.children).find(c => c.hasOwnProperty("modelData"))
        const name = row.children[0]
        const score = row.children[1]
        verify(name.truncated)
        compare(name.lineCount, 1)
        fuzzyCompare(score.width, score.implicitWidth, 0.5)
        fuzzyCompare(score.x + score.width, 300, 0.5)
        verify(name.x + name.width <= score.x)
        compare(score.font.pixelSize, 20)
        compare(name.font.pixelSize, 15)
        compare(name.font.weight, Font.Bold)
    }
}
