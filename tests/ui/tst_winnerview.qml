import QtQuick
import QtTest
import TarvukeGlimp.Components
import TarvukeGlimp.Screens
import TarvukeGlimp.Testing

// The winner: who, with how many points, and the two ways out.
TestCase {
    id: root

    name: "WinnerView"
    when: windowShown
    visible: true
    width: 390
    height: 844

    Component {
        id: winnerComponent

        WinnerView {
            width: 390
            height: 844
        }
    }

    function init() {
        failOnWarning(/.*/)
    }

    // Two pairs; the first wins with three words.
    function wonStore(winnerName) {
        const game = TestHarness.newStore()
        game.startNewGame()
        game.setPlayerText("Аня\nБоря\nВика\nГена")
        game.setWordsToWin(3)
        game.openFormation()
        game.formTeams(false)
        game.setTeamName(0, winnerName || "Совы")
        game.setTeamName(1, "Ёжики")
        game.screenName = "ready"
        game.startTurn()
        for (let i = 0; i < 3; ++i)
            game.handleSwipe(100)
        compare(game.screenName, "winner")
        return game
    }

    function find(view, name) {
        const item = findChild(view, name)
        verify(item !== null, name)
        return item
    }

    function test_showsTheWinner() {
        const game = wonStore()
        const view = createTemporaryObject(winnerComponent, root, { game: game })
        compare(find(view, "winnerName").text, "Совы")
        compare(find(view, "winnerLine").text, "набирает 3 баллов и забирает вечер")
        const board = find(view, "scoreboard")
        compare(board.teams.map(t => t.score), [3, 0])
    }

    function test_withoutWinner() {
        const game = TestHarness.newStore()
        game.screenName = "winner"
        const view = createTemporaryObject(winnerComponent, root, { game: game })
        compare(find(view, "winnerName").text, "Команда")
        compare(find(view, "winnerLine").text, "набирает 0 баллов и забирает вечер")
    }

    function test_replayKeepsPlayersAndSettings() {
        const game = wonStore()
        const view = createTemporaryObject(winnerComponent, root, { game: game })
        mouseClick(find(view, "replay"))
        compare(game.screenName, "setup")
        compare(game.settings.playerText, "Аня\nБоря\nВика\nГена")
        compare(game.settings.wordsToWin, 3)
    }

    function test_homeGoesHome() {
        const game = wonStore()
        const view = createTemporaryObject(winnerComponent, root, { game: game })
        mouseClick(find(view, "home"))
        compare(game.screenName, "home")
    }

    function test_longNameWrapsCentred() {
        const longName = "Невероятно длинное название команды, которое не влезает"
        const game = wonStore(longName)
        const view = createTemporaryObject(winnerComponent, root, { game: game })
        const name = find(view, "winnerName")
        compare(name.text, longName)
        verify(name.lineCount > 1)
        verify(name.contentWidth <= name.width + 0.5)
        compare(name.horizontalAlignment, Text.AlignHCenter)
        // Centred: as much room on either side of the widest line.
        fuzzyCompare(name.mapToItem(view, 0, 0).x + name.width / 2, view.width / 2, 0.5)
    }
}
