import QtQuick
import QtTest
import TarvukeGlimp
import TarvukeGlimp.Components
import TarvukeGlimp.Screens
import TarvukeGlimp.Testing
import "ScreenSearch.js" as Search

// The observer wheel: the names flick in order on the store's clock, the observer is
// revealed once with one haptic, and leaving stops everything.
ScreenTestCase {
    id: root

    name: "ObserverWheelView"

    Component {
        id: wheelComponent

        ObserverWheelView {
            width: 390
            height: 844
        }
    }

    // A, B and C on the formation screen, B drawn as the observer.
    function storeWithB() {
        const game = TestHarness.newStore()
        game.setPlayerText("A\nB\nC")
        TestHarness.queueRandom([1])
        game.formTeams(false)
        compare(game.screenName, "observerWheel")
        compare(game.observer, "B")
        return game
    }

    function test_namesFlickInOrderThenStopOnTheObserver() {
        const game = storeWithB()
        const view = createTemporaryObject(wheelComponent, root, { game: game })
        const name = findChild(view, "displayedName")
        const shown = [name.text]
        name.textChanged.connect(() => shown.push(name.text))
        // The names start once the wheel is on view.
        waitForRendering(view)
        tryCompare(name, "text", "A")
        verify(!findChild(view, "toTeams").visible)
        for (let step = 0; step < 22; ++step) {
            TestHarness.advanceClock(65 + 7 * step - 1)
            compare(shown.length, step + 2, "step " + step)
            TestHarness.advanceClock(1)
        }
        const spin = Array.from({ length: 22 }, (_, step) => ["A", "B", "C"][step % 3])
        compare(shown, ["Крутим…"].concat(spin, ["B"]))
        compare(TestHarness.hapticCues(), ["success"])

        // The texts cross-fade to their revealed versions and the way on appears.
        const seen = text => Search.withText(view, text).some(node => Search.shown(node))
        tryVerify(() => !seen("Кто пропускает раунд?"), 3000)
        verify(seen("Наблюдает!"))
        const button = findChild(view, "toTeams")
        tryVerify(() => button.visible && button.parent.opacity === 1, 3000)
        tryVerify(() => Math.abs(button.parent.y) < 0.5, 3000)

        // Once only.
        TestHarness.advanceClock(10000)
        compare(shown.length, 24)
        compare(TestHarness.hapticCues(), ["success"])
        mouseClick(button)
        compare(game.screenName, "teams")
    }

    // Back during the spin: the formation screen at once, and nothing afterwards, even
    // while the wheel is still fading out.
    function test_backDuringTheSpinStopsEverything() {
        const game = storeWithB()
        const router = createTemporaryObject(routerComponent, root, { game: game })
        const wheel = router.current.view
        waitForRendering(router)
        TestHarness.advanceClock(1000)
        const name = findChild(wheel, "displayedName")
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
    }

    // The translucent face over a shadow as faint as the face is translucent: on paper it
    // reads #F7D587, not the #F1CF83 of a full-strength shadow. Probed on the ring between
    // the hub and the ticks.
    function test_discFaceKeepsItsColour() {
        const view = createTemporaryObject(wheelComponent, root, { game: storeWithB() })
        waitForRendering(view)
        const wheel = findChild(view, "wheel")
        const turn = (11.25 + findChild(view, "disc").rotation) * Math.PI / 180
        const probe = wheel.mapToItem(view, wheel.width / 2 + 103 * Math.sin(turn),
                                      wheel.height / 2 - 103 * Math.cos(turn))
        const image = grabImage(view)
        const paper = image.pixel(2, 2)
        const shaded = over(Theme.ink, 0.15 * 0.58, paper)
        compareColour(image.pixel(probe.x, probe.y), over(Theme.sun, 0.58, shaded), "disc")
    }
}
