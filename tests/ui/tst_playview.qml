import QtQuick
import QtTest
import TarvukeGlimp
import TarvukeGlimp.Components
import TarvukeGlimp.Screens
import TarvukeGlimp.Testing

// The play screen on a running turn: the card follows the finger, springs back or is
// thrown, and the store hears of a throw 0.21 s after the release, once.
ScreenTestCase {
    id: root

    name: "PlayView"

    Component {
        id: playComponent

        PlayView {
            width: 390
            height: 844
        }
    }

    Component {
        id: pillComponent

        StatPill {}
    }

    // Two players, one pair, a turn running.
    function playingStore() {
        const game = TestHarness.newStore()
        game.setPlayerText("Аня\nБоря")
        game.formTeams(false)
        game.screenName = "ready"
        game.startTurn()
        return game
    }

    function makeView(game) {
        const view = createTemporaryObject(playComponent, root, { game: game || playingStore() })
        waitForRendering(view)
        return view
    }

    // The card's resting centre, in the window's coordinates.
    function cardCentre(view) {
        const area = findChild(view, "dragArea")
        return area.mapToItem(root, area.width / 2, area.height / 2)
    }

    // A finger on the card, moved by (dx, dy) pixels in five steps; lifted unless hold.
    function drag(view, dx, dy, hold) {
        const c = cardCentre(view)
        mousePress(root, c.x, c.y)
        for (let i = 1; i <= 5; ++i)
            mouseMove(root, c.x + Math.round(dx * i / 5), c.y + Math.round(dy * i / 5))
        if (!hold)
            mouseRelease(root, c.x + dx, c.y + dy)
    }

    // On a display zoomed to twice the size a pixel is half a point, so a release can land
    // at 70 or 70.5 points.
    function test_release_data() {
        return [
            { tag: "at 70 springs back", zoom: 2, dx: 140, dy: 0, reported: [] },
            { tag: "at 70.5 is thrown", zoom: 2, dx: 141, dy: 0, reported: [70.5] },
            { tag: "at (30, 200) reports nothing", zoom: 1, dx: 30, dy: 200, reported: [] }
        ]
    }

    function test_release(data) {
        const view = makeView()
        view.scale = data.zoom
        waitForRendering(view)
        const game = view.game
        const first = game.currentWord
        const landed = createTemporaryObject(spyComponent, root, {
            target: findChild(view, "cardThrow"), signalName: "landed"
        })
        drag(view, data.dx, data.dy, true)
        if (data.dy === 0)
            compare(view.cardX, data.dx / data.zoom)
        mouseRelease(root, cardCentre(view).x + data.dx, cardCentre(view).y + data.dy)
        compare(view.isCardLeaving, data.reported.length > 0)
        TestHarness.advanceClock(209)
        compare(landed.count, 0)
        TestHarness.advanceClock(1)
        compare(landed.signalArguments.map(args => args[0]), data.reported)
        compare(game.guessedCount, data.reported.length)
        compare(game.roundWords.length, data.reported.length)
        compare(game.currentWord !== first, data.reported.length > 0)
        tryVerify(() => view.cardX === 0 && view.cardY === 0, 2000)
        compare(findChild(view, "word").text, game.currentWord)
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
        mouseRelease(root, cardCentre(view).x - 150, cardCentre(view).y + 80)
        TestHarness.advanceClock(710)
        compare(game.roundWords.map(w => w.guessed), [true])
    }

    // The same throws by a finger on a touch screen. A second finger landing on the card
    // mid-drag and swiping the other way neither throws it again nor counts.
    function test_touch_data() {
        return [
            { tag: "thrown right", dx: 150, second: false, guessed: [true] },
            { tag: "thrown left", dx: -150, second: false, guessed: [false] },
            { tag: "springs back under the threshold", dx: 50, second: false, guessed: [] },
            { tag: "second finger mid-drag", dx: 150, second: true, guessed: [true] }
        ]
    }

    function test_touch(data) {
        const view = makeView()
        const game = view.game
        const c = cardCentre(view)
        const touch = touchEvent(root)
        touch.press(0, root, c.x, c.y).commit()
        for (let i = 1; i <= 6; ++i) {
            touch.move(0, root, c.x + Math.round(data.dx * Math.min(i, 5) / 5), c.y)
            if (data.second && i === 3)
                touch.press(1, root, c.x, c.y + 20)
            else if (data.second && i > 3)
                touch.move(1, root, c.x - 80 * (i - 3), c.y + 20)
            touch.commit()
        }
        touch.release(0, root, c.x + data.dx, c.y)
        if (data.second)
            touch.move(1, root, c.x - 300, c.y + 20)
        touch.commit()
        if (data.second)
            touch.release(1, root, c.x - 300, c.y + 20).commit()
        TestHarness.advanceClock(710)
        compare(game.roundWords.map(w => w.guessed), data.guessed)
        compare(game.guessedCount + game.skippedCount, data.guessed.length)
        tryVerify(() => view.cardX === 0 && view.cardY === 0, 2000)
    }

    // A finger's tap passes the turn on from the summary and starts the next from the
    // ready screen.
    function test_touchTapsPassTheTurn() {
        const game = playingStore()
        const router = createTemporaryObject(routerComponent, root, { game: game })
        game.endTurn(false)
        for (const next of ["ready", "playing"]) {
            tryCompare(router.current, "opacity", 1, 3000)
            touchEvent(root).press(0, root, 195, 600).commit().release(0, root, 195, 600).commit()
            compare(game.screenName, next)
        }
    }

    // Held at |x| = 55 the card leans half way: the icon at 0.5, the tint at 0.19.
    function test_leaningShowsTheWay_data() {
        return [
            { tag: "left", dx: -55, color: Theme.coral, icon: "arrow.uturn.backward" },
            { tag: "right", dx: 55, color: Theme.mint, icon: "checkmark" }
        ]
    }

    function test_leaningShowsTheWay(data) {
        const view = makeView()
        const tint = findChild(view, "tint")
        const icon = findChild(view, "directionIcon")
        compare([tint.opacity, icon.opacity], [0, 0])
        drag(view, data.dx, 0, true)
        verify(Qt.colorEqual(tint.color, data.color))
        verify(Qt.colorEqual(icon.color, data.color))
        compare(icon.name, data.icon)
        fuzzyCompare(icon.opacity, 0.5, 1e-9)
        fuzzyCompare(tint.opacity, 0.19, 1e-9)
        mouseRelease(root, cardCentre(view).x + data.dx, cardCentre(view).y)
    }

    // → and ← throw the card; a key while the card is out is ignored like a drag.
    function test_keysThrowTheCard() {
        const game = makeView().game
        keyClick(Qt.Key_Right)
        keyClick(Qt.Key_Left)
        TestHarness.advanceClock(210)
        keyClick(Qt.Key_Left)
        TestHarness.advanceClock(210)
        compare(game.roundWords.map(w => w.guessed), [true, false])
    }

    function test_bonusLine() {
        const game = playingStore()
        const view = makeView(game)
        const line = findChild(view, "bonusLine")
        compare(line.text, "")
        compare(line.height, 16)
        const y = line.mapToItem(view, 0, 0).y
        game.setBonusTime(5)
        compare(line.text, "За ответ +5 секунд")
        compare(line.height, 16)
        compare(line.mapToItem(view, 0, 0).y, y)
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
        compare(findChild(view, "guessedPill").number, 1)
        compare(findChild(view, "skippedPill").number, 2)
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

    // An own word's face is sun at 0.58 over a shadow scaled the same, as the wheel's disc.
    function test_ownWordFaceKeepsItsColour() {
        const game = TestHarness.newStore()
        game.customWordsText = "жираф\nслон\nкот"
        game.setUsesCustomWords(true)
        game.setPlayerText("Аня\nБоря")
        game.formTeams(false)
        game.screenName = "ready"
        game.startTurn()
        for (let i = 0; i < 200 && !game.currentWordIsCustom; ++i)
            game.markSkipped()
        verify(game.currentWordIsCustom)
        const view = makeView(game)
        const face = findChild(view, "face")
        const probe = face.mapToItem(view, face.width / 2, 16)
        const image = grabImage(view)
        const shaded = over(Theme.ink, 0.16 * 0.58, image.pixel(2, 2))
        compareColour(image.pixel(probe.x, probe.y), over(Theme.sun, 0.58, shaded), "face")
    }
}
