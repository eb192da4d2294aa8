import QtQuick
import QtTest
import TarvukeGlimp
import TarvukeGlimp.Components
import TarvukeGlimp.Testing
import "ScreenSearch.js" as Search

// The router on a real store: which screen shows, how the change animates, and that a
// screen starts over each time it is entered.
ScreenTestCase {
    id: root

    name: "ContentView"

    // Every screen but customWords shows a probe view that counts taps.
    function makeView() {
        const game = TestHarness.newStore()
        const view = createTemporaryObject(routerComponent, root, {
            game: game,
            viewSource: name => name === "customWords" ? "" : Qt.resolvedUrl("probes/ProbeView.qml")
        })
        return { game: game, view: view }
    }

    function layersOf(view) {
        return Array.from(view.current.parent.children)
    }

    function settle(view) {
        tryVerify(() => layersOf(view).length === 1 && view.current.opacity === 1, 3000)
    }

    function test_changeCrossFades() {
        const r = makeView()
        const home = r.view.current
        r.game.startNewGame()
        const setup = r.view.current
        compare(setup.screenName, "setup")
        // Both are there as the spring starts, the old one no longer taking touches.
        compare(layersOf(r.view).length, 2)
        verify(!home.enabled)
        compare(setup.opacity, 0)
        settle(r.view)
        compare(layersOf(r.view), [setup])
    }

    // A screen that leaves halfway through its own fade-in fades out from where it is.
    function test_twoQuickChangesEndOnTheLast() {
        const r = makeView()
        r.game.screenName = "setup"
        const setup = r.view.current
        tryVerify(() => setup.opacity > 0.2, 3000)
        r.game.screenName = "formation"
        // It stays, the spring retargeted from where it was: no jump, no sudden end.
        let last = setup.opacity
        verify(last > 0.2)
        for (let frame = 0; frame < 5; ++frame) {
            wait(20)
            verify(layersOf(r.view).indexOf(setup) >= 0, "the half-shown screen vanished at frame " + frame)
            verify(setup.opacity > 0 && Math.abs(setup.opacity - last) < 0.25, setup.opacity)
            last = setup.opacity
        }
        settle(r.view)
        compare(r.view.current.screenName, "formation")
    }

    // Left and entered again, a screen starts from its initial state; set to the screen
    // already shown, it stays as it is.
    function test_reenteredScreenStartsAfresh() {
        const r = makeView()
        const first = r.view.current.view
        mouseClick(first)
        r.game.screenName = "home"
        compare(r.view.current.view, first)
        mouseClick(first)
        compare(first.taps, 2)
        r.game.screenName = "setup"
        wait(30)
        r.game.screenName = "home"
        settle(r.view)
        const again = r.view.current.view
        verify(again !== first)
        compare(again.taps, 0)
    }

    // Every text a screen shows, in order.
    function textsOf(layer) {
        return Search.allItems(layer.view).filter(node => typeof node.text === "string"
                                                   && Search.shown(node)).map(node => node.text)
    }

    // A leaving screen fades out with what it showed, though the store has moved on.
    function test_aLeavingScreenKeepsWhatItShowed() {
        const game = TestHarness.newStore()
        game.setPlayerText("Аня\nБоря\nВера\nГлеб")
        game.setWordsToWin(1)
        game.formTeams(false)
        game.screenName = "ready"
        game.startTurn()
        game.handleSwipe(-100)
        game.endTurn(false)
        const view = createTemporaryObject(routerComponent, root, { game: game })
        const summary = view.current
        const shown = textsOf(summary)
        verify(shown.indexOf("Аня") >= 0, shown)
        game.continueAfterSummary()
        compare(game.currentPlayerName, "Боря")
        compare(textsOf(summary), shown)
        settle(view)

        game.startTurn()
        game.handleSwipe(100)
        compare(game.screenName, "winner")
        settle(view)
        const winner = view.current
        const won = textsOf(winner)
        game.replay()
        compare(textsOf(winner), won)
    }
}
