import QtQuick
import QtTest
import TarvukeGlimp.Components
import TarvukeGlimp.Screens
import TarvukeGlimp.Testing

// The screen between turns: whose turn, the score, and a tap anywhere to begin.
ScreenTestCase {
    id: root

    name: "ReadyView"

    Component {
        id: readyComponent

        ReadyView {
            width: 390
            height: 844
        }
    }

    // Four players in two pairs, the second pair's second player to guess.
    function readyStore() {
        const game = TestHarness.newStore()
        game.setPlayerText("Аня\nБоря\nВика\nГена")
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

    function test_showsWhoseTurnAndTheScore() {
        const game = readyStore()
        const view = createTemporaryObject(readyComponent, root, { game: game })
        compare(findChild(view, "teamName").text, "ЁЖИКИ В ТУМАНЕ")
        compare(findChild(view, "guesser").text, "Гена")
        const board = findChild(view, "scoreboard")
        compare(board.teams.length, 2)
        compare(board.teams[0].score, 1)
        compare(board.teams[1].name, "Ёжики в тумане")
    }

    // The back arrow goes home without starting; anywhere else starts the turn: the empty
    // middle, the texts, the score card.
    function test_taps_data() {
        return [
            { tag: "back", x: 43, y: 35, screen: "home", turns: 0 },
            { tag: "middle", x: 195, y: 300, screen: "playing", turns: 1 },
            { tag: "texts", x: 195, y: 560, screen: "playing", turns: 1 },
            { tag: "score card", x: 195, y: 780, screen: "playing", turns: 1 }
        ]
    }

    function test_taps(data) {
        const game = readyStore()
        const view = createTemporaryObject(readyComponent, root, { game: game })
        const turns = game.turnNumber
        mouseClick(view, data.x, data.y)
        compare(game.screenName, data.screen)
        compare(game.turnNumber, turns + data.turns)
    }
}
