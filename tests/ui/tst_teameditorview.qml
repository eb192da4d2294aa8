import QtQuick
import QtTest
import TarvukeGlimp
import TarvukeGlimp.Components
import TarvukeGlimp.Testing
import "ScreenSearch.js" as Search

// From the formation screen to the named teams: pairs formed by a tap, names typed into
// the cards, the observer listed, and many teams still within reach.
TestCase {
    id: root

    name: "TeamEditorView"
    when: windowShown
    visible: true
    width: 390
    height: 844

    Component {
        id: viewComponent

        ContentView {
            width: root.width
            height: root.height
        }
    }

    function init() {
        failOnWarning(/.*/)
    }

    // The router on the formation screen with these players typed in.
    function openFormation(players) {
        const game = TestHarness.newStore()
        game.startNewGame()
        game.setPlayerText(players)
        game.openFormation()
        compare(game.screenName, "formation")
        const router = createTemporaryObject(viewComponent, root, { game: game })
        waitForRendering(router.current.view)
        return { game: game, router: router }
    }

    // The screen now shown, once its fade-in has finished.
    function settled(r) {
        tryCompare(r.router.current, "opacity", 1, 3000)
        tryVerify(() => r.router.current.parent.children.length === 1, 3000)
        return r.router.current.view
    }

    function tap(r, label) {
        const target = Search.button(settled(r), label)
        verify(target !== null, label)
        mouseClick(target)
    }

    function back(r) {
        const screen = settled(r)
        const bar = Search.allItems(screen).find(n => n.hasOwnProperty("hasBack"))
        mouseClick(Search.allItems(bar).find(n => typeof n.clicked === "function" && n.visible))
    }

    function nameFields(screen) {
        return Search.byAccessibleName(screen, "Название команды")
    }

    // Team cards are the ones holding a name field, in order.
    function teamCards(screen) {
        return nameFields(screen).map(field => {
            let card = field
            while (card && !card.hasOwnProperty("team"))
                card = card.parent
            return card
        })
    }

    function observerCard(screen) {
        const title = Search.withText(screen, "НАБЛЮДАТЕЛИ")[0]
        return title && Search.shown(title) ? title : null
    }

    function near(actual, expected, what) {
        verify(Math.abs(actual.r - expected.r) < 0.01 && Math.abs(actual.g - expected.g) < 0.01
               && Math.abs(actual.b - expected.b) < 0.01 && Math.abs(actual.a - expected.a) < 0.01,
               what + ": " + actual + " vs " + expected)
    }

    function test_fourPlayers() {
        const r = openFormation("Ann\nBob\nCid\nDan")
        tap(r, "Создать команды не рандомно")
        compare(r.game.screenName, "teams")
        const screen = settled(r)
        const cards = teamCards(screen)
        compare(cards.length, 2)
        near(cards[0].color, Theme.tinted(Theme.mint, 0.55), "first card")
        near(cards[1].color, Theme.tinted(Theme.sun, 0.52), "second card")
        compare(observerCard(screen), null)
        compare(nameFields(screen).map(f => f.text), ["Команда 1", "Команда 2"])
        for (const name of ["Ann", "Bob", "Cid", "Dan"])
            verify(Search.textItem(screen, name) !== null, name)
        verify(Search.textItem(screen, "Дайте имена бандам") !== null)

        tap(r, "Всё готово")
        compare(r.game.screenName, "ready")
    }

    function test_randomFormation() {
        const r = openFormation("Ann\nBob\nCid\nDan")
        tap(r, "Создать команды рандомно")
        compare(r.game.screenName, "teams")
        const players = r.game.teams.reduce((all, t) => all.concat(Array.from(t.players)), []).sort()
        compare(players, ["Ann", "Bob", "Cid", "Dan"])
        compare(teamCards(settled(r)).length, 2)
    }

    // Each keystroke renames the team at once, and the field keeps its focus and cursor
    // while the store hands out new team lists.
    function test_typingRenamesOnEveryKeystroke() {
        const r = openFormation("Ann\nBob\nCid\nDan")
        tap(r, "Создать команды не рандомно")
        const field = nameFields(settled(r))[1]
        mouseClick(field)
        keyClick(Qt.Key_End)
        keyClick("X")
        compare(r.game.teams[1].name, "Команда 2X")
        keyClick(Qt.Key_Home)
        keyClick("Y")
        compare(r.game.teams[1].name, "YКоманда 2X")
        keyClick("Z")
        compare(r.game.teams[1].name, "YZКоманда 2X")
        verify(field.activeFocus)
        compare(field.cursorPosition, 2)
        compare(r.game.teams[0].name, "Команда 1")
    }

    function test_clearingShowsPlaceholder() {
        const r = openFormation("Ann\nBob\nCid\nDan")
        tap(r, "Создать команды не рандомно")
        const screen = settled(r)
        const field = nameFields(screen)[0]
        const placeholder = Search.withText(field, "Название команды")
                .filter(n => n !== field && n.placeholderText === undefined)[0]
        verify(!Search.shown(placeholder))
        mouseClick(field)
        keySequence(StandardKey.SelectAll)
        keyClick(Qt.Key_Backspace)
        compare(r.game.teams[0].name, "")
        compare(field.text, "")
        verify(Search.shown(placeholder))
        // The same name twice is fine too.
        keyClick("A")
        mouseClick(nameFields(screen)[1])
        keySequence(StandardKey.SelectAll)
        keyClick("A")
        compare(r.game.teams.map(t => t.name), ["A", "A"])
    }

    // Back to the formation and forming again keeps the typed names by position.
    function test_backAndFormAgainKeepsNames() {
        const r = openFormation("Ann\nBob\nCid\nDan")
        tap(r, "Создать команды не рандомно")
        const field = nameFields(settled(r))[0]
        mouseClick(field)
        keySequence(StandardKey.SelectAll)
        for (const c of "Owls")
            keyClick(c)
        back(r)
        compare(r.game.screenName, "formation")
        tap(r, "Создать команды рандомно")
        compare(r.game.screenName, "teams")
        compare(nameFields(settled(r)).map(f => f.text), ["Owls", "Команда 2"])
    }

    function test_observerCard() {
        const r = openFormation("Ann\nBob\nCid\nDan\nEve")
        tap(r, "Создать команды не рандомно")
        compare(r.game.screenName, "observerWheel")
        const observer = r.game.observer
        r.game.confirmObserver()
        compare(r.game.screenName, "teams")
        const screen = settled(r)
        compare(teamCards(screen).length, 2)
        verify(observerCard(screen) !== null)
        verify(Search.textItem(screen, observer) !== null)
    }

    // Long names give way inside their card: long chips shorten before short ones do,
    // and the name field scrolls.
    function test_longNamesStayInTheCard() {
        const longName = "Анастасия-Александра Константинопольская-Завадовская"
        const r = openFormation([longName, "Dan", longName + " II", longName + " III"].join("\n"))
        tap(r, "Создать команды не рандомно")
        const screen = settled(r)
        const field = nameFields(screen)[0]
        mouseClick(field)
        keySequence(StandardKey.SelectAll)
        for (let i = 0; i < 60; ++i)
            keyClick("W")
        compare(r.game.teams[0].name, "W".repeat(60))
        const cards = teamCards(screen)
        for (const card of cards) {
            const cardRight = card.mapToItem(screen, card.width, 0).x
            const cardField = nameFields(card)[0]
            compare(cardField.mapToItem(screen, cardField.width, 0).x, cardRight - 18)
            for (const name of Array.from(card.team.players)) {
                const label = Search.withText(card, name)[0]
                const chip = label.parent
                verify(chip.mapToItem(screen, chip.width, 0).x <= cardRight - 18, name)
                verify(chip.width >= Math.min(96, label.implicitWidth + 22), name)
                compare(label.truncated, name !== "Dan", name)
            }
        }
    }

    function test_sixTeamsAlternate() {
        const r = openFormation("1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12")
        tap(r, "Создать команды не рандомно")
        const cards = teamCards(settled(r))
        compare(cards.length, 6)
        for (let i = 0; i < 6; ++i)
            near(cards[i].color, i % 2 === 0 ? Theme.tinted(Theme.mint, 0.55)
                                             : Theme.tinted(Theme.sun, 0.52), "card " + i)
    }

    // Ten teams on a phone-sized window: "Всё готово" stays on screen, and the last team
    // can be scrolled to and renamed.
    function test_tenTeamsStayUsable() {
        const players = []
        for (let i = 1; i <= 20; ++i)
            players.push("P" + i)
        const r = openFormation(players.join("\n"))
        tap(r, "Создать команды не рандомно")
        const screen = settled(r)
        const ready = Search.button(screen, "Всё готово")
        const readyBottom = ready.mapToItem(screen, 0, ready.height).y
        verify(readyBottom <= 844, "button bottom " + readyBottom)

        const fields = nameFields(screen)
        compare(fields.length, 10)
        const last = fields[9]
        const lastOnScreen = () => {
            const box = last.mapToItem(screen, 0, 0, last.width, last.height)
            return box.y + box.height <= ready.mapToItem(screen, 0, 0).y
        }
        verify(!lastOnScreen())
        for (let i = 0; i < 6 && !lastOnScreen(); ++i) {
            mouseDrag(screen, 195, 600, 0, -350)
            wait(50)
        }
        tryVerify(lastOnScreen, 3000)
        const box = last.mapToItem(screen, 0, 0, last.width, last.height)
        mouseClick(screen, box.x + 20, box.y + box.height / 2)
        verify(last.activeFocus)
        keyClick(Qt.Key_End)
        keyClick("!")
        compare(r.game.teams[9].name, "Команда 10!")

        mouseClick(ready)
        compare(r.game.screenName, "ready")
    }
}
