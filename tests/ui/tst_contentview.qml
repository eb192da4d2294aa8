import QtQuick
import QtTest
import TarvukeGlimp.Components
import TarvukeGlimp.Testing
import "ScreenSearch.js" as Search

// The router on a real store: which screen shows, how the change animates, and that a
// screen starts over each time it is entered.
ScreenTestCase {
    id: root

    name: "ContentView"

    function layersOf(view) {
        return Array.from(view.current.parent.children)
    }

    function settle(view) {
        tryVerify(() => layersOf(view).length === 1 && view.current.opacity === 1, settleMs)
    }

    // Set to the screen already shown, the router keeps it. A change cross-fades: both
    // screens are there as the spring starts, the old one no longer taking touches. A screen
    // left halfway through its own fade-in fades out from where it is, and one entered again
    // while it still fades out starts afresh.
    function test_changesCrossFade() {
        // Every screen but customWords shows a probe view that counts taps.
        const probe = Qt.resolvedUrl("probes/ProbeView.qml")
        const r = { game: TestHarness.newStore() }
        r.view = createTemporaryObject(routerComponent, root,
                                       { game: r.game, viewSource: name => name === "customWords" ? "" : probe })
        const home = r.view.current
        mouseClick(home.view)
        r.game.screenName = "home"
        compare(r.view.current, home)
        compare(home.view.taps, 1)
        r.game.startNewGame()
        const setup = r.view.current
        compare(layersOf(r.view), [home, setup])
        verify(!home.enabled)
        compare(setup.opacity, 0)
        tryVerify(() => setup.opacity > 0.2, 3000)
        r.game.screenName = "home"
        let last = setup.opacity
        for (let frame = 0; frame < 5; ++frame) {
            wait(20)
            verify(layersOf(r.view).indexOf(setup) >= 0, "the half-shown screen vanished at frame " + frame)
            verify(setup.opacity > 0 && Math.abs(setup.opacity - last) < 0.25, setup.opacity)
            last = setup.opacity
        }
        settle(r.view)
        verify(r.view.current !== home)
        compare(r.view.current.view.taps, 0)
    }

    // Every screen in its main states at every phone size, upright and on its side, and on a
    // tablet both ways: what a player reads or taps lies inside the window, or inside a list
    // that scrolls to it, within a centred column no wider than the theme's, and nothing
    // covers anything else, however long the names. The card grows with the window's shorter
    // side as far as the height leaves room, and flies clear of the window's edge.
    function test_everyScreenFitsEveryPhone_data() {
        const four = "Аня\nБоря\nВика\nГена"
        const teams = (game, names) => { game.setPlayerText(names); game.formTeams(false) }
        // From the ready screen on, a player's name and a team's run to thousands of letters.
        const ready = game => {
            teams(game, "Анна-Мария ".repeat(200).trim() + "\nБоря\nВика\nГена")
            game.setTeamName(0, "Ёжики в тумане ".repeat(667).slice(0, 10000))
            game.screenName = "ready"
        }
        const play = game => { ready(game); game.startTurn() }
        // One state a line, set up on a fresh store.
        const states = {
            home: () => {},
            setup: game => { game.startNewGame(); game.setPlayerText(four + "\nДима") },
            customWords: game => { game.customWordsText = "Бабушкин борщ\nКот Василий\nДача в Озёрах"; game.screenName = "customWords" },
            formation: game => { game.setPlayerText(four); game.openFormation() },
            observerWheel: game => { teams(game, four + "\nАнастасия-Александра Константинопольская"); TestHarness.advanceClock(10000) },
            teams: game => { teams(game, four); game.setTeamName(0, "Невероятно длинное название команды") },
            ready: ready,
            playing: game => { play(game); game.setBonusTime(5) },
            summary: game => {
                play(game)
                for (let i = 0; i < 14; ++i)
                    game.handleSwipe(i % 3 ? 100 : -100)
                game.endTurn(false)
            },
            winner: game => { play(game); game.setWordsToWin(2); game.handleSwipe(100); game.handleSwipe(100) }
        }
        const sizes = [[360, 720], [320, 568], [390, 844], [412, 915], [720, 360], [1280, 800], [800, 1280]]
        return [].concat(...sizes.map(([width, height]) => Object.keys(states).map(state => (
            { tag: width + "x" + height + " " + state, width: width, height: height, prepare: states[state] }))))
    }

    function test_everyScreenFitsEveryPhone(data) {
        const game = TestHarness.newStore()
        data.prepare(game)
        const router = createTemporaryObject(routerComponent, root, { game: game, width: data.width, height: data.height })
        tryCompare(router.current, "opacity", 1, 3000)
        waitForRendering(router)
        const screen = router.current.view
        // The list a node scrolls in, if any.
        const scrollerOf = node => {
            for (let n = node.parent; n && n !== screen; n = n.parent) {
                if (n.contentY !== undefined && n.flickableDirection !== undefined)
                    return n
            }
            return null
        }
        // Buttons and fields; a mouse area is the input of something drawn, not a control.
        const isControl = node => node.acceptedButtons === undefined
                && (typeof node.clicked === "function" || node.cursorPosition !== undefined)
        // Whole-screen tap targets lie under everything by design.
        const wholeScreen = node => node.width >= data.width - 1 && node.height >= data.height - 1
        const parts = Search.allItems(screen).filter(node => Search.shown(node) && node.width > 0
                && node.height > 0 && !wholeScreen(node)
                && (isControl(node) || (node.textFormat !== undefined && node.text !== "")))
        verify(parts.length > 0)
        const box = (node, within) => node.mapToItem(within, 0, 0, node.width, node.height)
        const inside = (r, w, h) => r.x >= -1 && r.y >= -1 && r.x + r.width <= w + 1 && r.y + r.height <= h + 1
        const label = node => node.text || node.title || node.objectName || String(node)
        const columnLeft = (data.width - Math.min(data.width, Theme.maximumColumnWidth)) / 2
        for (const node of parts) {
            const across = box(node, router)
            verify(across.x >= columnLeft - 1 && across.x + across.width <= data.width - columnLeft + 1,
                   label(node) + " outside the column")
            const scroller = scrollerOf(node)
            if (!scroller) {
                verify(inside(box(node, router), data.width, data.height), label(node) + " outside the window")
                continue
            }
            verify(inside(box(scroller, router), data.width, data.height), label(node) + " in a list outside the window")
            verify(inside(box(node, scroller.contentItem), scroller.width, Math.max(scroller.height, scroller.contentHeight)),
                   label(node) + " out of its list's reach")
        }
        const encloses = (a, b) => {
            for (let n = b; n; n = n.parent) if (n === a) return true
            return false
        }
        for (let i = 0; i < parts.length; ++i) {
            for (let j = i + 1; j < parts.length; ++j) {
                const a = parts[i], b = parts[j]
                // Lines of text may share their leading; a control may share nothing.
                if (encloses(a, b) || encloses(b, a) || scrollerOf(a) !== scrollerOf(b) || !(isControl(a) || isControl(b)))
                    continue
                const ra = box(a, router), rb = box(b, router)
                const overlap = Math.min(ra.x + ra.width, rb.x + rb.width) - Math.max(ra.x, rb.x) > 1
                        && Math.min(ra.y + ra.height, rb.y + rb.height) - Math.max(ra.y, rb.y) > 1
                verify(!overlap, label(a) + " overlaps " + label(b))
            }
        }
        if (game.screenName === "playing") {
            const card = findChild(screen, "card")
            verify(card.width >= Math.min(0.6 * Math.min(data.width, data.height), data.height - 200) - 0.5, card.width)
            verify(card.mapToItem(router, 0, 0).x + screen.flyDistance > data.width)
            verify(card.mapToItem(router, card.width, 0).x - screen.flyDistance < 0)
        }
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
