import QtQuick
import QtTest
import TarvukeGlimp
import TarvukeGlimp.Components
import TarvukeGlimp.Screens
import TarvukeGlimp.Testing

// The play screen on a running turn: the card follows the finger, springs back or is
// thrown, and the store hears of a throw 0.21 s after the release, once.
TestCase {
    id: root

    name: "PlayView"
    when: windowShown
    visible: true
    width: 390
    height: 844

    Component {
        id: playComponent

        PlayView {
            width: 390
            height: 844
        }
    }

    Component {
        id: routerComponent

        ContentView {
            width: 390
            height: 844
        }
    }

    Component {
        id: pillComponent

        StatPill {}
    }

    function init() {
        failOnWarning(/.*/)
    }

    // Two players, one pair, a turn running.
    function playingStore() {
        const game = TestHarness.newStore()
        game.startNewGame()
        game.setPlayerText("Аня\nБоря")
        game.openFormation()
        game.formTeams(false)
        game.screenName = "ready"
        game.startTurn()
        compare(game.screenName, "playing")
        return game
    }

    function makeView(game) {
        const view = createTemporaryObject(playComponent, root, { game: game || playingStore() })
        waitForRendering(view)
        return view
    }

    function find(view, name) {
        const item = findChild(view, name)
        verify(item !== null, name)
        return item
    }

    // The card's resting centre, in the view's coordinates.
    function cardCentre(view) {
        const area = find(view, "dragArea")
        return area.mapToItem(view, area.width / 2, area.height / 2)
    }

    // A finger on the card, moved by (dx, dy) in a few steps; lifted unless hold is set.
    function drag(view, dx, dy, hold) {
        const c = cardCentre(view)
        mousePress(view, c.x, c.y)
        const steps = 5
        for (let i = 1; i <= steps; ++i)
            mouseMove(view, c.x + dx * i / steps, c.y + dy * i / steps)
        if (!hold)
            mouseRelease(view, c.x + dx, c.y + dy)
    }

    // The finger moves in whole pixels; on a display zoomed to twice the size a pixel is
    // half a point, so a release can land at 70.5.
    function zoomedView() {
        const view = makeView()
        view.scale = 2
        waitForRendering(view)
        return view
    }

    // Drags on the zoomed view by px pixels sideways, in five steps; lifted unless hold.
    function zoomedDrag(view, px, hold) {
        const area = find(view, "dragArea")
        const c = area.mapToItem(root, area.width / 2, area.height / 2)
        mousePress(root, c.x, c.y)
        for (let i = 1; i <= 5; ++i)
            mouseMove(root, c.x + Math.round(px * i / 5), c.y)
        if (!hold)
            mouseRelease(root, c.x + px, c.y)
        return c
    }

    function test_releaseAtSeventySpringsBack() {
        const view = zoomedView()
        const game = view.game
        const c = zoomedDrag(view, 140, true)
        compare(view.cardX, 70)
        compare(find(view, "card").rotation, 70 / 24)
        mouseRelease(root, c.x + 140, c.y)
        verify(!view.isCardLeaving)
        compare(find(view, "card").scale, 1)
        tryCompare(view, "cardX", 0, 2000)
        TestHarness.advanceClock(500)
        compare(game.guessedCount, 0)
        compare(game.roundWords.length, 0)
    }

    function test_releaseBeyondSeventyThrowsAfterTheFlight() {
        const view = zoomedView()
        const game = view.game
        const landed = createTemporaryObject(spyComponent, root, {
            target: find(view, "cardThrow"), signalName: "landed"
        })
        const first = game.currentWord
        zoomedDrag(view, 141)
        verify(view.isCardLeaving)
        compare(find(view, "card").scale, 0.94)
        // Off the side it was thrown to.
        tryCompare(view, "cardX", 520, 2000)
        compare(find(view, "card").rotation, 520 / 24)
        TestHarness.advanceClock(209)
        compare(game.guessedCount, 0)
        compare(landed.count, 0)
        TestHarness.advanceClock(1)
        compare(landed.count, 1)
        compare(landed.signalArguments[0][0], 70.5)
        compare(game.guessedCount, 1)
        compare(game.roundWords[0].word, first)
        // The next word shows at once, at rest.
        verify(game.currentWord !== first)
        compare(find(view, "word").text, game.currentWord)
        compare(view.cardX, 0)
        compare(view.cardY, 0)
        verify(!view.isCardLeaving)
        compare(find(view, "card").scale, 1)
    }

    function test_mostlyVerticalDragReportsNothing() {
        const view = makeView()
        drag(view, 30, 200)
        verify(!view.isCardLeaving)
        tryVerify(() => view.cardX === 0 && view.cardY === 0, 2000)
        TestHarness.advanceClock(500)
        compare(view.game.roundWords.length, 0)
    }

    // A tap, or a wobble under 12 points, is no drag.
    function test_smallMovesDoNotDrag() {
        const view = makeView()
        drag(view, 8, 8, true)
        compare(view.cardX, 0)
        mouseMove(view, cardCentre(view).x + 12, cardCentre(view).y)
        compare(view.cardX, 12)
        mouseRelease(view, cardCentre(view).x + 12, cardCentre(view).y)
        // The corner of the card's box is not the card.
        mousePress(view, cardCentre(view).x - 140, cardCentre(view).y - 140)
        mouseMove(view, cardCentre(view).x - 140 - 100, cardCentre(view).y - 140)
        mouseRelease(view, cardCentre(view).x - 140 - 100, cardCentre(view).y - 140)
        tryCompare(view, "cardX", 0, 2000)
        TestHarness.advanceClock(500)
        compare(view.game.roundWords.length, 0)
    }

    function test_secondDragWhileLeavingDoesNothing() {
        const view = makeView()
        const game = view.game
        drag(view, 150, 0)
        verify(view.isCardLeaving)
        // Straight away, a throw the other way, and down.
        drag(view, -150, 80, true)
        compare(view.cardY, 0)
        verify(view.cardX >= 0)
        mouseRelease(view, cardCentre(view).x - 150, cardCentre(view).y + 80)
        TestHarness.advanceClock(210)
        compare(game.guessedCount, 1)
        compare(game.skippedCount, 0)
        TestHarness.advanceClock(500)
        compare(game.roundWords.length, 1)
        compare(game.skippedCount, 0)
    }

    function test_leaningShowsTheWay() {
        const view = makeView()
        const tint = find(view, "tint")
        const icon = find(view, "directionIcon")
        compare(tint.opacity, 0)
        compare(icon.opacity, 0)

        drag(view, -55, 0, true)
        verify(Qt.colorEqual(tint.color, Theme.coral))
        compare(icon.name, "arrow.uturn.backward")
        verify(Qt.colorEqual(icon.color, Theme.coral))
        fuzzyCompare(icon.opacity, 0.5, 1e-9)
        fuzzyCompare(tint.opacity, 0.19, 1e-9)
        compare(find(view, "card").rotation, -55 / 24)
        // The tint peeks out beyond the card's lower right edge: coral over the paper.
        const peek = () => tint.mapToItem(view, tint.width / 2 + 99.3, tint.height / 2 + 99.3)
        let edge = peek()
        let pixel = grabImage(view).pixel(edge.x, edge.y)
        verify(pixel.r - pixel.g > 15 / 255, "coral tint: " + pixel)

        const c2 = cardCentre(view)
        mouseMove(view, c2.x + 55, c2.y)
        verify(Qt.colorEqual(tint.color, Theme.mint))
        compare(icon.name, "checkmark")
        verify(Qt.colorEqual(icon.color, Theme.mint))
        fuzzyCompare(icon.opacity, 0.5, 1e-9)
        edge = peek()
        pixel = grabImage(view).pixel(edge.x, edge.y)
        verify(pixel.g > pixel.r, "mint tint: " + pixel)

        mouseMove(view, c2.x, c2.y)
        compare(tint.opacity, 0)
        compare(icon.opacity, 0)
        mouseMove(view, c2.x + 200, c2.y)
        compare(icon.opacity, 1)
        fuzzyCompare(tint.opacity, 0.38, 1e-9)
        mouseMove(view, c2.x, c2.y + 20)
        mouseRelease(view, c2.x, c2.y + 20)
    }

    function test_keysThrowTheCard() {
        const view = makeView()
        const game = view.game
        verify(view.activeFocus)
        keyClick(Qt.Key_Right)
        verify(view.isCardLeaving)
        tryCompare(view, "cardX", 520, 2000)
        // A second key while the card is out is ignored like a drag.
        keyClick(Qt.Key_Left)
        TestHarness.advanceClock(210)
        compare(game.guessedCount, 1)
        compare(game.skippedCount, 0)
        keyClick(Qt.Key_Left)
        tryCompare(view, "cardX", -520, 2000)
        TestHarness.advanceClock(210)
        compare(game.skippedCount, 1)
        compare(game.roundWords.length, 2)
        verify(!game.roundWords[1].guessed)
    }

    function test_cardTellsWhatItIs() {
        const view = makeView()
        const area = find(view, "dragArea")
        compare(area.Accessible.name, view.game.currentWord)
        compare(area.Accessible.description, "Смахните вправо, если угадали. Влево, если пропуск")
    }

    function test_bonusLine() {
        const game = playingStore()
        const view = makeView(game)
        const line = find(view, "bonusLine")
        compare(line.text, "")
        compare(line.height, 16)
        const y = line.mapToItem(view, 0, 0).y
        game.setBonusTime(5)
        compare(line.text, "За ответ +5 секунд")
        compare(line.height, 16)
        compare(line.mapToItem(view, 0, 0).y, y)
        game.setBonusTime(10)
        compare(line.text, "За ответ +10 секунд")
    }

    function test_statPillKeepsItsBox() {
        for (const n of [0, 123]) {
            const pill = createTemporaryObject(pillComponent, root, {
                number: n, title: "угадано", color: Theme.mint
            })
            compare(pill.width, 78)
            compare(pill.height, 61)
            compare(findChild(pill, "statNumber").text, String(n))
        }
        const view = makeView()
        view.game.handleSwipe(100)
        view.game.handleSwipe(-100)
        view.game.handleSwipe(-100)
        compare(find(view, "guessedPill").number, 1)
        compare(find(view, "skippedPill").number, 2)
    }

    // Every second the clock swells or settles, on a bouncy spring.
    function test_timerPulsesOnEveryTick() {
        const view = makeView()
        const timer = find(view, "timer")
        compare(timer.scale, 1)
        verify(!view.pulse)
        TestHarness.advanceClock(1000)
        verify(view.pulse)
        compare(view.game.timeText, "0:59")
        // Bouncy: it overshoots before it settles on 1.07.
        tryVerify(() => timer.scale > 1.075, 1000)
        tryVerify(() => Math.abs(timer.scale - 1.07) < 0.002, 3000)
        TestHarness.advanceClock(1000)
        verify(!view.pulse)
        tryVerify(() => Math.abs(timer.scale - 1) < 0.002, 3000)
        // A bonus that adds time counts too.
        view.game.setBonusTime(3)
        view.game.handleSwipe(100)
        verify(view.pulse)
    }

    function test_customWordOnSunBankWordOnWhite() {
        const game = playingStore()
        game.customWordsText = "Наше слово"
        game.setUsesCustomWords(true)
        game.endTurn(false)
        game.continueAfterSummary()
        game.startTurn()
        const view = makeView(game)
        const face = find(view, "face")
        verify(!game.currentWordIsCustom)
        verify(Qt.colorEqual(face.color, "white"))
        for (let i = 0; i < 500 && !game.currentWordIsCustom; ++i)
            game.handleSwipe(-100)
        verify(game.currentWordIsCustom)
        compare(game.currentWord, "Наше слово")
        verify(Qt.colorEqual(face.color, Theme.tinted(Theme.sun, 0.58)))
    }

    function test_longWordShrinksToThreeLines() {
        const view = makeView()
        const word = find(view, "word")
        // As long a text as a player might type as one of their words.
        word.text = "Достопримечательность Высокопревосходительство Человеконенавистничество"
        verify(word.lineCount <= 3, "lines: " + word.lineCount)
        verify(word.contentWidth <= word.width + 0.5, "fits: " + word.contentWidth)
        verify(word.fontInfo.pixelSize >= 16, "size: " + word.fontInfo.pixelSize)
        verify(word.fontInfo.pixelSize < 35)
    }

    // Time runs out while a card is in flight, and two quick taps start the next turn
    // before the flight ends: the old throw must not count in the new turn.
    function test_lateThrowNeverCountsInTheNextTurn() {
        const game = playingStore()
        game.endTurn(false)
        game.continueAfterSummary()
        game.setRoundDuration(1)
        const router = createTemporaryObject(routerComponent, root, { game: game })
        game.startTurn()
        const play = router.current.view
        waitForRendering(router)
        TestHarness.advanceClock(900)
        drag(play, 150, 0)
        verify(play.isCardLeaving)
        TestHarness.advanceClock(100)
        compare(game.screenName, "summary")
        mouseClick(router.current.view, 195, 600)
        compare(game.screenName, "ready")
        mouseClick(router.current.view, 195, 600)
        compare(game.screenName, "playing")
        const word = game.currentWord
        TestHarness.advanceClock(110)
        compare(game.guessedCount, 0)
        compare(game.roundWords.length, 0)
        compare(game.currentWord, word)
        compare(game.teams[0].score, 0)
    }

    Component {
        id: spyComponent

        SignalSpy {}
    }
}
