import QtQuick
import QtTest
import TarvukeGlimp.Components
import TarvukeGlimp.Screens
import TarvukeGlimp.Testing
import "ScreenSearch.js" as Search

// The end of a turn: what it scored and its words in order. A drag scrolls the list, a tap
// anywhere (a row too) passes the turn on and silences the turn-end sound.
ScreenTestCase {
    id: root

    name: "SummaryView"

    Component {
        id: summaryComponent

        SummaryView {
            width: 390
            height: 844
        }
    }

    // A turn of the given moves (true: guessed), ended by the clock.
    function summaryStore(moves) {
        const game = TestHarness.newStore()
        game.setPlayerText("Аня\nБоря")
        game.formTeams(false)
        game.setTeamName(0, "Совы")
        game.screenName = "ready"
        game.startTurn()
        for (const guessed of moves)
            game.handleSwipe(guessed ? 100 : -100)
        game.endTurn(false)
        compare(game.screenName, "summary")
        return game
    }

    function rowTexts(list) {
        const texts = []
        for (let i = 0; i < list.count; ++i) {
            list.positionViewAtIndex(i, ListView.Contain)
            texts.push(findChild(list.itemAtIndex(i), "wordText").text)
        }
        list.positionViewAtBeginning()
        return texts
    }

    function test_twelveWordsInOrderScrollAndTapOnARowContinues() {
        const moves = [true, false, true, true, false, true, false, false, true, true, true, false]
        const game = summaryStore(moves)
        // A phone's height less the status bar and the home indicator.
        const view = createTemporaryObject(summaryComponent, root, { game: game, height: 763 })
        waitForRendering(view)
        compare(findChild(view, "points").text, "+7")
        compare(findChild(view, "player").text, "Аня")
        compare(findChild(view, "team").text, "Совы")
        const list = findChild(view, "wordList")
        compare(list.count, 12)
        compare(rowTexts(list), game.roundWords.map(w => w.word))
        compare([0, 1].map(i => findChild(list.itemAtIndex(i), "statusIcon").name),
                ["checkmark.circle.fill", "arrow.uturn.right.circle.fill"])

        // Twelve rows do not fit: a drag scrolls and does not pass the turn.
        verify(list.contentHeight > list.height, list.contentHeight + " in " + list.height)
        compare(list.contentY, list.originY)
        const at = list.mapToItem(view, list.width / 2, list.height - 20)
        mousePress(view, at.x, at.y)
        for (let i = 1; i <= 10; ++i)
            mouseMove(view, at.x, at.y - 25 * i)
        mouseRelease(view, at.x, at.y - 250)
        // Dragged further than the list reaches: it stops at its end.
        tryVerify(() => list.atYEnd && !list.moving, 3000, "scrolled to " + list.contentY)
        compare(game.screenName, "summary")
        const row = list.itemAtIndex(list.indexAt(list.width / 2, list.contentY + list.height / 2))
        verify(row !== null)
        mouseClick(row, row.width / 2, row.height / 2)
        compare(game.screenName, "ready")
    }

    function test_tapStopsTheTurnEndSound() {
        const game = summaryStore([true])
        const view = createTemporaryObject(summaryComponent, root, { game: game })
        const log = TestHarness.audioLog()
        const playing = log.filter(l => l.indexOf("turn_endscreen") >= 0 && l.endsWith(":play"))
        compare(playing.length, 1)
        const sound = playing[0].slice(0, playing[0].lastIndexOf(":"))
        mouseClick(view, 195, 780)
        compare(game.screenName, "ready")
        const after = TestHarness.audioLog().slice(log.length)
        verify(after.indexOf(sound + ":stop") >= 0, after.join(", "))
    }

    // A skip is the card's u-turn arrow on a disc; the back button at the screen's edge
    // shows its whole 2-pt outline.
    function test_skipMarkAndTheBackButtonAtTheEdge() {
        const view = createTemporaryObject(summaryComponent, root, { game: summaryStore([false]) })
        waitForRendering(view)
        const mark = findChild(findChild(view, "wordList").itemAtIndex(0), "statusIcon")
        verify(mark.onDisc && mark.outline !== "", mark.name)
        const button = Search.allItems(view).find(node => node.hasOwnProperty("hasBack"))
        const middle = button.mapToItem(view, 0, button.height / 2)
        compare(middle.x, 0)
        const image = grabImage(view)
        for (const x of [0, 1])
            verify(image.pixel(x, middle.y).r < 0.25, "outline at x = " + x + ": " + image.pixel(x, middle.y))
    }
}
