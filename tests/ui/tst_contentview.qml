import QtQuick
import QtTest
import TarvukeGlimp
import TarvukeGlimp.Components
import TarvukeGlimp.Testing

// The router on a real store: which screen shows, how the change animates, and that a
// screen starts over each time it is entered.
TestCase {
    id: root

    name: "ContentView"
    when: windowShown
    visible: true
    width: 390
    height: 844

    readonly property url probe: Qt.resolvedUrl("probes/ProbeView.qml")

    Component {
        id: viewComponent

        ContentView {
            width: 390
            height: 844
        }
    }

    function init() {
        failOnWarning(/.*/)
    }

    // Every screen but customWords has a probe view; customWords has none.
    function makeView() {
        const game = TestHarness.newStore()
        const view = createTemporaryObject(viewComponent, root, {
            game: game,
            viewSource: name => name === "customWords" ? "" : root.probe
        })
        return { game: game, view: view }
    }

    function layersOf(view) {
        return Array.from(view.current.parent.children)
    }

    function settle(view) {
        tryVerify(() => layersOf(view).length === 1 && view.current.opacity === 1, 3000)
    }

    function test_firstScreenShowsAtOnce() {
        const r = makeView()
        compare(r.view.current.screenName, "home")
        compare(r.view.current.opacity, 1)
        verify(r.view.current.view !== null)
        compare(r.view.current.view.game, r.game)
    }

    function test_changeCrossFades() {
        const r = makeView()
        const home = r.view.current
        r.game.screenName = "setup"
        const setup = r.view.current
        verify(setup !== home)
        compare(setup.screenName, "setup")
        // Both are there as the spring starts, the old one no longer taking touches; the new
        // one fades in from nothing. (The spring's timing is checked step by step in C++.)
        compare(layersOf(r.view).length, 2)
        verify(!home.enabled)
        compare(setup.opacity, 0)
        compare(home.opacity, 1)
        tryVerify(() => setup.opacity > 0, 1000)
        settle(r.view)
        compare(layersOf(r.view), [setup])
    }

    function test_twoQuickChangesEndOnTheLast() {
        const r = makeView()
        r.game.screenName = "setup"
        wait(50)
        r.game.screenName = "formation"
        compare(r.view.current.screenName, "formation")
        settle(r.view)
        compare(r.view.current.screenName, "formation")
        compare(r.game.screenName, "formation")
    }

    function test_backAndForthStartsAfresh() {
        const r = makeView()
        const first = r.view.current.view
        mouseClick(first)
        mouseClick(first)
        compare(first.taps, 2)
        r.game.screenName = "setup"
        wait(30)
        r.game.screenName = "home"
        settle(r.view)
        const again = r.view.current.view
        verify(again !== first)
        compare(again.taps, 0)
        compare(r.view.current.screenName, "home")
    }

    // The store says "screen changed" also when it is set to the screen already shown; the
    // screen then stays as it is.
    function test_sameScreenKeepsTheView() {
        const r = makeView()
        const view = r.view.current.view
        mouseClick(view)
        r.game.screenName = "home"
        compare(r.view.current.view, view)
        compare(view.taps, 1)
        compare(layersOf(r.view).length, 1)
    }

    // A screen without a view shows the paper alone.
    function test_missingViewShowsPaper() {
        const r = makeView()
        r.game.screenName = "customWords"
        settle(r.view)
        compare(r.view.current.view, null)
        const image = grabImage(r.view)
        verify(Qt.colorEqual(image.pixel(195, 422), Theme.paper))
    }

    // Store operations drive the router like assignments do.
    function test_followsStoreOperations() {
        const r = makeView()
        r.game.startNewGame()
        compare(r.view.current.screenName, "setup")
        r.game.goHome()
        compare(r.view.current.screenName, "home")
        settle(r.view)
    }

    // The real table: views come from the screens module by name, and a screen whose view
    // is not there yet still shows the paper without complaint.
    function test_realViews() {
        const game = TestHarness.newStore()
        const view = createTemporaryObject(viewComponent, root, { game: game })
        for (const name of ["home", "setup", "formation", "observerWheel", "teams", "ready",
                            "playing", "summary", "winner", "customWords"]) {
            const url = ScreenViews.urlFor(name)
            verify(url.toString() === "" || url.toString().endsWith("View.qml"), name)
        }
        compare(ScreenViews.urlFor("nowhere").toString(), "")
        verify(view.current !== null)
    }
}
