import QtQuick
import QtTest
import TarvukeGlimp.Components
import TarvukeGlimp.Testing
import "ScreenSearch.js" as Search

// A whole game through the real router, as the players would play it: names typed, pairs
// formed, the observer wheel, turns thrown card by card, summaries, the winner, a replay.
ScreenTestCase {
    id: root

    name: "WholeGame"

    property var router: null

    // The screen now shown, once it has been drawn.
    function screen(name) {
        compare(router.game.screenName, name)
        const view = router.current.view
        waitForRendering(view)
        return view
    }

    // Taps the button labelled text once it shows (a new screen fades in from nothing).
    function tap(text) {
        tryVerify(() => Search.button(router.current.view, text) !== null, 3000, text)
        mouseClick(Search.button(router.current.view, text))
    }

    // A finger throws the card dx points to the side; the card is gone 0.21 s later.
    function throwCard(dx) {
        const view = screen("playing")
        const area = findChild(view, "dragArea")
        const c = area.mapToItem(view, area.width / 2, area.height / 2)
        mouseDrag(view, c.x, c.y, dx, 0)
        TestHarness.advanceClock(210)
    }

    function test_homeToWinnerAndAgain() {
        const game = TestHarness.newStore()
        router = createTemporaryObject(routerComponent, root, { game: game })

        tap("Новая игра")
        let view = screen("setup")
        mouseClick(Search.byAccessibleName(view, "Имена игроков, по одному на строку")[0])
        typeText("Ann\nBob\nCid\nDan\nEve")
        mouseClick(Search.byAccessibleName(view, "Слов для победы")[0])
        keySequence(StandardKey.SelectAll)
        typeText("2")
        compare(game.settings.wordsToWin, 2)
        tap("Собрать команды")

        screen("formation")
        tap("Создать команды не рандомно")

        // Five players: one watches.
        view = screen("observerWheel")
        // The show starts at the first swapped frame, which a compositor may deliver late.
        tryVerify(() => view.shown, 3000)
        TestHarness.advanceClock(3100)
        compare(TestHarness.hapticCues(), ["success"])
        // The button slides in; a player waits for it to come to rest.
        tryVerify(() => Math.abs(view.revealProgress - 1) < 0.005, settleMs)
        tap("К командам")
        screen("teams")
        compare(game.teams.map(t => t.players.indexOf(game.observer)), [-1, -1])
        tap("Всё готово")

        // First pair, first turn: a guess, a skip, then the time runs out.
        view = screen("ready")
        mouseClick(view, 195, 600)
        throwCard(120)
        throwCard(-120)
        compare([game.guessedCount, game.skippedCount], [1, 1])
        TestHarness.advanceClock(60000)
        view = screen("summary")
        compare(findChild(view, "wordList").count, 2)
        mouseClick(view, 195, 810)

        // Same pair, the other player guesses: a skip, then the guess that wins on the spot.
        view = screen("ready")
        mouseClick(view, 195, 600)
        throwCard(-150)
        compare([game.skippedCount, game.screenName], [1, "playing"])
        keyClick(Qt.Key_Right)
        TestHarness.advanceClock(210)
        compare(findChild(screen("winner"), "winnerName").text, game.teams[0].name)

        tap("Переиграть")
        screen("setup")
        compare([game.settings.playerText, game.settings.wordsToWin, !!game.winner],
                ["Ann\nBob\nCid\nDan\nEve", 2, false])
    }
}
