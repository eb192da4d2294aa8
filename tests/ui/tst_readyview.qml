import QtQuick
import QtTest
import TarvukeGlimp.Components
import TarvukeGlimp.Screens
import TarvukeGlimp.Testing

// The screen between turns: whose turn, the score, and a tap anywhere to begin.
TestCase {
    id: root

    name: "ReadyView"
    when: windowShown
    visible: true
    width: 390
    height: 844

    Component {
        id: readyComponent

        ReadyView {
            width: 390
            height: 844
        }
    }

    function init() {
        failOnWarning(/.*/)
    }

    // Four players in two pairs, the second pair's second player to guess.
    function readyStore() {
        const game = TestHarness.newStore()
        game.startNewGame()
        game.setPlayerText("Аня\nБоря\nВика\nГена")
        game.openFormation()
        game.formTeams(false)
        game.setTeamName(0, "Совы")
        game.setTeamName(1, "Ёжики в тумане")
        game.screenName = "ready"
        for (let turn = 0; turn < 3; ++turn) {
            game.startTurn()
            if (turn === 0)
                game.handleSwipe(100)
            game.endTurn(false)
            game.continueAfterSummary()
        }
        compare(game.screenName, "ready")
        return game
    }

    function find(view, name) {
        const item = findChild(view, name)
        verify(item !== null, name)
        return item
    }

    function test_showsWhoseTurnAndTheScore() {
        const game = readyStore()
        const view = createTemporaryObject(readyComponent, root, { game: game })
        compare(find(view, "teamName").text, "ЁЖИКИ В ТУМАНЕ")
        compare(find(view, "guesser").text, game.currentPlayerName)
        compare(find(view, "guesser").text, "Гена")
        const board = find(view, "scoreboard")
        compare(board.teams.length, 2)
        compare(board.teams[0].score, 1)
        compare(board.teams[1].name, "Ёжики в тумане")
    }

    function test_backGoesHomeWithoutStarting() {
        const game = readyStore()
        const view = createTemporaryObject(readyComponent, root, { game: game })
        const turns = game.turnNumber
        mouseClick(view, 22 + 21, 14 + 21)
        compare(game.screenName, "home")
        compare(game.turnNumber, turns)
    }

    // Anywhere else starts the turn: the empty middle, the texts, the score card.
    function test_tapAnywhereStarts() {
        for (const y of [300, 560, 780]) {
            const game = readyStore()
            const view = createTemporaryObject(readyComponent, root, { game: game })
            const turns = game.turnNumber
            mouseClick(view, 195, y)
            compare(game.screenName, "playing", "tap at " + y)
            compare(game.turnNumber, turns + 1)
        }
    }

    // A team name far too long for one line keeps to the screen's width.
    function test_longTeamNameFits() {
        const game = readyStore()
        game.setTeamName(1, "Невероятно длинное название команды, которое не влезает")
        const view = createTemporaryObject(readyComponent, root, { game: game })
        waitForRendering(view)
        const name = find(view, "teamName")
        verify(name.lineCount > 1)
        verify(name.contentWidth <= name.width + 0.5)
        game.setTeamName(1, "Сверхдлинноеназваниебезединогопробела")
        verify(name.contentWidth <= name.width + 0.5, "width " + name.contentWidth)
        verify(name.fontInfo.pixelSize >= 21, "size " + name.fontInfo.pixelSize)
    }
}
