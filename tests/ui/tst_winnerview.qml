import QtQuick
import QtTest
import TarvukeGlimp.Components
import TarvukeGlimp.Screens
import TarvukeGlimp.Testing

// The winner: who, with how many points, and the two ways out.
ScreenTestCase {
    id: root

    name: "WinnerView"

    Component {
        id: winnerComponent

        WinnerView {
            width: 390
            height: 844
        }
    }

    // Two pairs; the first wins with three words.
    function wonStore() {
        const game = TestHarness.newStore()
        game.setPlayerText("Аня\nБоря\nВика\nГена")
        game.setWordsToWin(3)
        game.formTeams(false)
        game.setTeamName(0, "Совы")
        game.setTeamName(1, "Ёжики")
        game.screenName = "ready"
        game.startTurn()
        for (let i = 0; i < 3; ++i)
            game.handleSwipe(100)
        compare(game.screenName, "winner")
        return game
    }

    function test_showsTheWinner() {
        const game = wonStore()
        const view = createTemporaryObject(winnerComponent, root, { game: game })
        compare(findChild(view, "winnerName").text, "Совы")
        compare(findChild(view, "winnerLine").text, "набирает 3 баллов и забирает вечер")
        const board = findChild(view, "scoreboard")
        compare(board.teams.map(t => t.score), [3, 0])
    }

    function test_withoutWinner() {
        const game = TestHarness.newStore()
        game.screenName = "winner"
        const view = createTemporaryObject(winnerComponent, root, { game: game })
        compare(findChild(view, "winnerName").text, "Команда")
        compare(findChild(view, "winnerLine").text, "набирает 0 баллов и забирает вечер")
    }

    function test_waysOut_data() {
        return [{ tag: "replay", button: "replay", screen: "setup" },
                { tag: "home", button: "home", screen: "home" }]
    }

    function test_waysOut(data) {
        const game = wonStore()
        const view = createTemporaryObject(winnerComponent, root, { game: game })
        mouseClick(findChild(view, data.button))
        compare(game.screenName, data.screen)
        compare(game.settings.playerText, "Аня\nБоря\nВика\nГена")
        compare(game.settings.wordsToWin, 3)
    }
}
