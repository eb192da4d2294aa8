import QtQuick
import QtTest
import TarvukeGlimp.Components
import TarvukeGlimp.Screens
import TarvukeGlimp.Testing

// The play screen on a running turn: the card follows the finger, springs back or is
// thrown off the side it leans to, and the store hears of a throw 0.21 s after the release.
ScreenTestCase {
    id: root

    name: "PlayView"

    Component {
        id: playComponent

        PlayView { width: 390; height: 844 }
    }

    // Two players, one pair, a turn running; own words when given.
    function playingStore(ownWords) {
        const game = TestHarness.newStore()
        game.customWordsText = ownWords || ""
        game.setUsesCustomWords(!!ownWords)
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
    // at 70 or 70.5 points. Held at |x| = 55 the card leans half way: the icon at 0.5, the
    // tint at 0.19, both in the colour of that side.
    function test_release_data() {
        return [
            { tag: "at 70 springs back", zoom: 2, dx: 140, dy: 0, thrown: false },
            { tag: "at 70.5 is thrown", zoom: 2, dx: 141, dy: 0, thrown: true },
            { tag: "at (30, 200) springs back", zoom: 1, dx: 30, dy: 200, thrown: false },
            { tag: "leaning left", zoom: 1, dx: -55, dy: 0, thrown: false, color: Theme.coral, icon: "arrow.uturn.backward" },
            { tag: "leaning right", zoom: 1, dx: 55, dy: 0, thrown: false, color: Theme.mint, icon: "checkmark" }
        ]
    }

    function test_release(data) {
        const view = makeView()
        view.scale = data.zoom
        waitForRendering(view)
        const game = view.game
        const tint = findChild(view, "tint")
        const icon = findChild(view, "directionIcon")
        compare([tint.opacity, icon.opacity], [0, 0])
        drag(view, data.dx, data.dy, true)
        compare([view.cardX, view.cardY], [data.dx, data.dy].map(d => d / data.zoom))
        if (data.icon) {
            verify(Qt.colorEqual(tint.color, data.color) && Qt.colorEqual(icon.color, data.color))
            compare(icon.name, data.icon)
            fuzzyCompare(icon.opacity, 0.5, 1e-9)
            fuzzyCompare(tint.opacity, 0.19, 1e-9)
        }
        mouseRelease(root, cardCentre(view).x + data.dx, cardCentre(view).y + data.dy)
        compare(view.isCardLeaving, data.thrown)
        TestHarness.advanceClock(209)
        compare(game.guessedCount, 0)
        TestHarness.advanceClock(1)
        compare(game.guessedCount, data.thrown ? 1 : 0)
        tryVerify(() => view.cardX === 0 && view.cardY === 0, settleMs)
        compare(findChild(view, "word").text, game.currentWord)
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
        compare(view.game.roundWords.map(w => w.guessed), data.guessed)
        tryVerify(() => view.cardX === 0 && view.cardY === 0, settleMs)
    }

    // → and ← throw the card off their own side. While it is out, a key or a drag neither
    // moves it nor throws it again.
    function test_keysThrowTheCard() {
        const view = makeView()
        keyClick(Qt.Key_Right)
        tryVerify(() => view.cardX > 100, settleMs)
        keyClick(Qt.Key_Left)
        drag(view, -150, 80)
        verify(view.cardY === 0 && view.cardX > 100, [view.cardX, view.cardY])
        TestHarness.advanceClock(210)
        keyClick(Qt.Key_Left)
        tryVerify(() => view.cardX < -100, settleMs)
        TestHarness.advanceClock(710)
        compare(view.game.roundWords.map(w => w.guessed), [true, false])
    }

    // The pills count and keep their box however big the number; the bonus line is 16 high,
    // empty or not, so nothing above it moves.
    function test_countersAndBonusLine() {
        const view = makeView()
        for (const dx of [100, -100, -100])
            view.game.handleSwipe(dx)
        const pills = ["guessedPill", "skippedPill"].map(name => findChild(view, name))
        compare(pills.map(pill => pill.number), [1, 2])
        pills[0].number = 123
        compare(findChild(pills[0], "statNumber").text, "123")
        compare(pills.map(pill => [pill.width, pill.height]), [[78, 61], [78, 61]])
        const line = findChild(view, "bonusLine")
        const y = line.mapToItem(view, 0, 0).y
        compare([line.text, line.height], ["", 16])
        view.game.setBonusTime(5)
        compare([line.text, line.height], ["За ответ +5 секунд", 16])
        compare(line.mapToItem(view, 0, 0).y, y)
    }

    // Time runs out while a card is in flight, and two quick taps of a finger pass the
    // phone on and start the next turn before the flight ends: the old throw must not count
    // in the new turn.
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
        for (const next of ["ready", "playing"]) {
            touchEvent(root).press(0, root, 195, 600).commit().release(0, root, 195, 600).commit()
            compare(game.screenName, next)
        }
        const word = game.currentWord
        TestHarness.advanceClock(110)
        compare([game.guessedCount, game.roundWords.length, game.teams[0].score], [0, 0, 0])
        compare(game.currentWord, word)
    }

    // An own word's face is sun at 0.58 over a shadow scaled the same, as the wheel's disc.
    function test_ownWordFaceKeepsItsColour() {
        const game = playingStore("жираф\nслон\nкот")
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

    // A long word shrinks on the card rather than break, at the card's every size: on a
    // phone, on its side and on a tablet, where the card is larger and its type too.
    function test_longWordStaysWhole_data() {
        return [[390, 844], [720, 360], [1280, 800], [800, 1280]].map(([width, height]) => (
            { tag: width + "x" + height, width: width, height: height }))
    }

    function test_longWordStaysWhole(data) {
        const game = playingStore()
        for (let i = 0; i < 10000 && game.currentWord !== "водохранилище"; ++i)
            game.markSkipped()
        const view = createTemporaryObject(playComponent, root, { game: game, width: data.width, height: data.height })
        const word = findChild(view, "word")
        compare(word.text, "водохранилище")
        compare(word.lineCount, 1)
        verify(!word.truncated)
    }
}
