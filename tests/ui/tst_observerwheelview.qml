import QtQuick
import QtTest
import TarvukeGlimp
import TarvukeGlimp.Components
import TarvukeGlimp.Screens
import TarvukeGlimp.Testing
import "ScreenSearch.js" as Search

// The observer wheel: the names flick in order on the store's clock, the observer is
// revealed once with one haptic, and leaving stops everything.
TestCase {
    id: root

    name: "ObserverWheelView"
    when: windowShown
    visible: true
    width: 390
    height: 844

    Component {
        id: wheelComponent

        ObserverWheelView {
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

    function init() {
        failOnWarning(/.*/)
    }

    // A, B and C on the formation screen, B drawn as the observer.
    function storeWithB() {
        const game = TestHarness.newStore()
        game.startNewGame()
        game.setPlayerText("A\nB\nC")
        game.openFormation()
        TestHarness.queueRandom([1])
        game.formTeams(false)
        compare(game.screenName, "observerWheel")
        compare(game.observer, "B")
        return game
    }

    function find(view, name) {
        const item = findChild(view, name)
        verify(item !== null, name)
        return item
    }

    function test_namesFlickInOrderThenStopOnTheObserver() {
        const game = storeWithB()
        const view = createTemporaryObject(wheelComponent, root, { game: game })
        const name = find(view, "displayedName")
        const shown = [name.text]
        name.textChanged.connect(() => shown.push(name.text))
        compare(shown, ["Крутим…"])
        // The names start once the wheel is on view.
        waitForRendering(view)
        tryCompare(name, "text", "A")
        compare(shown, ["Крутим…", "A"])
        compare(find(view, "headline").text, "Кто пропускает раунд?")
        compare(find(view, "subline").text, "Выбираем совершенно случайно")
        compare(find(view, "wheelIcon").name, "sparkles")
        verify(Qt.colorEqual(find(view, "wheelIcon").color, Theme.lavender))
        verify(!find(view, "toTeams").visible)

        for (let step = 0; step < 22; ++step) {
            TestHarness.advanceClock(65 + 7 * step - 1)
            compare(shown.length, step + 2, "step " + step)
            TestHarness.advanceClock(1)
        }
        const names = shown.slice(1, 23)
        for (let step = 0; step < 22; ++step)
            compare(names[step], ["A", "B", "C"][step % 3], "step " + step)
        compare(names[21], "A")
        compare(shown[23], "B")
        compare(shown.length, 24)
        compare(TestHarness.hapticCues(), ["success"])

        compare(find(view, "headline").text, "Наблюдает!")
        compare(find(view, "subline").text, "Остальные игроки делятся на пары")
        compare(find(view, "wheelIcon").name, "eye.fill")
        verify(Qt.colorEqual(find(view, "wheelIcon").color, Theme.coral))
        const button = find(view, "toTeams")
        tryVerify(() => button.visible && button.parent.opacity === 1, 3000)
        tryVerify(() => Math.abs(button.parent.y) < 0.5, 3000)
        // The texts have cross-faded to their revealed versions.
        const seen = text => Search.withText(view, text).some(node => Search.shown(node))
        tryVerify(() => !seen("Кто пропускает раунд?"), 3000)
        verify(seen("Наблюдает!"))
        verify(seen("Остальные игроки делятся на пары"))
        verify(!seen("Выбираем совершенно случайно"))

        // Once only.
        TestHarness.advanceClock(10000)
        compare(shown.length, 24)
        compare(TestHarness.hapticCues(), ["success"])

        mouseClick(button)
        compare(game.screenName, "teams")
    }

    function test_discSpinsFourTurnsAndEndsWhereItBegan() {
        const game = storeWithB()
        const view = createTemporaryObject(wheelComponent, root, { game: game })
        const disc = find(view, "disc")
        const tick = find(view, "tick0")
        compare(disc.rotation, 0)
        verify(Qt.colorEqual(tick.color, Theme.coral))
        verify(Qt.colorEqual(find(view, "tick1").color, Theme.ink))
        const atRest = tick.mapToItem(find(view, "wheel"), tick.width / 2, tick.height / 2)
        fuzzyCompare(atRest.x, 137.5, 0.01)
        fuzzyCompare(atRest.y, 137.5 - 119, 0.01)
        tryVerify(() => disc.rotation > 100 && disc.rotation < 1440, 2000)
        tryCompare(disc, "rotation", 1440, 4000)
        const after = tick.mapToItem(find(view, "wheel"), tick.width / 2, tick.height / 2)
        fuzzyCompare(after.x, atRest.x, 0.01)
        fuzzyCompare(after.y, atRest.y, 0.01)
    }

    // Back during the spin: the formation screen at once, and nothing afterwards, even
    // while the wheel is still fading out.
    function test_backDuringTheSpinStopsEverything() {
        const game = storeWithB()
        const router = createTemporaryObject(routerComponent, root, { game: game })
        const wheel = router.current.view
        waitForRendering(router)
        TestHarness.advanceClock(1000)
        const name = find(wheel, "displayedName")
        const before = name.text
        // The back arrow at the top left.
        mouseClick(router, 22 + 21, 14 + 21)
        compare(game.screenName, "formation")
        verify(!game.observer)
        TestHarness.advanceClock(10000)
        compare(TestHarness.hapticCues(), [])
        if (wheel) {
            compare(name.text, before)
            verify(!wheel.isComplete)
        }

        // Coming back starts over.
        TestHarness.queueRandom([1])
        game.formTeams(false)
        const again = router.current.view
        verify(again !== wheel)
        compare(find(again, "displayedName").text, "Крутим…")
        compare(find(again, "disc").rotation, 0)
        tryCompare(find(again, "displayedName"), "text", "A")
    }

    // Without an observer there is nothing to show: the wheel stands still.
    function test_noObserverKeepsStill() {
        const game = TestHarness.newStore()
        game.screenName = "observerWheel"
        const view = createTemporaryObject(wheelComponent, root, { game: game })
        waitForRendering(view)
        wait(300)
        TestHarness.advanceClock(10000)
        compare(find(view, "displayedName").text, "Крутим…")
        compare(find(view, "disc").rotation, 0)
        verify(!find(view, "toTeams").visible)
        compare(TestHarness.hapticCues(), [])
    }

    function test_longNameShrinksToTwoLines() {
        const game = TestHarness.newStore()
        game.startNewGame()
        const longName = "Анастасия-Александра Константинопольская-Преображенская"
        game.setPlayerText("A\n" + longName + "\nC")
        game.openFormation()
        TestHarness.queueRandom([1])
        game.formTeams(false)
        compare(game.observer, longName)
        const view = createTemporaryObject(wheelComponent, root, { game: game })
        const name = find(view, "displayedName")
        tryCompare(name, "text", "A")
        TestHarness.advanceClock(4000)
        compare(name.text, longName)
        verify(name.lineCount <= 2, "lines " + name.lineCount)
        verify(name.fontInfo.pixelSize >= 14 && name.fontInfo.pixelSize < 25,
               "size " + name.fontInfo.pixelSize + " fitted " + name.fittedSize + " width " + name.width + " lines " + name.lineCount + " trunc " + name.truncated)
        verify(name.contentWidth <= name.width + 0.5)
    }
}
