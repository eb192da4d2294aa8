import QtQuick
import QtTest
import TarvukeGlimp.Components
import TarvukeGlimp.Testing
import "ScreenSearch.js" as Search

// From the formation screen to the named teams: pairs formed by a tap, names typed or
// pasted into the cards, and many teams still within reach.
ScreenTestCase {
    id: root

    name: "TeamEditorView"

    // The router on a window of this size, the teams formed in order from these players.
    function openTeams(players, width, height) {
        const game = TestHarness.newStore()
        game.startNewGame()
        game.setPlayerText(players)
        game.openFormation()
        const r = { game: game }
        r.router = createTemporaryObject(routerComponent, root, { game: game, width: width || 390, height: height || 844 })
        mouseClick(Search.button(settled(r.router), "Создать команды не рандомно"))
        r.screen = settled(r.router)
        return r
    }

    // The screen now shown, once its fade-in has finished.
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

    // Four players: two cards named in order, no observers, 16 from the last card to the
    // button with the cards' shadows inside the gap. Each keystroke renames the team at once,
    // and the field keeps its focus and cursor while the store hands out new team lists.
    // Back to the formation and forming again keeps the names by position. Cleared, a name
    // shows the placeholder.
    function test_fourPlayers() {
        const r = openTeams("Ann\nBob\nCid\nDan")
        verify(!Search.withText(r.screen, "НАБЛЮДАТЕЛИ").some(Search.shown))
        compare(nameFields(r.screen).map(f => f.text), ["Команда 1", "Команда 2"])
        const card = teamCards(r.screen)[1]
        const ready = Search.button(r.screen, "Всё готово")
        fuzzyCompare(ready.mapToItem(r.screen, 0, 0).y - card.mapToItem(r.screen, 0, card.height).y, 16, 0.5)

        const field = nameFields(r.screen)[1]
        mouseClick(field)
        keyClick(Qt.Key_Home)
        keyClick("Y")
        keyClick("Z")
        compare(r.game.teams.map(t => t.name), ["Команда 1", "YZКоманда 2"])
        verify(field.activeFocus)
        compare(field.cursorPosition, 2)

        mouseClick(r.screen, 22 + 21, 14 + 21)
        compare(r.game.screenName, "formation")
        mouseClick(Search.button(settled(r.router), "Создать команды рандомно"))
        const again = nameFields(settled(r.router))
        compare(again.map(f => f.text), ["Команда 1", "YZКоманда 2"])
        const placeholder = Search.withText(again[1], "Название команды")
                .filter(n => n !== again[1] && n.placeholderText === undefined)[0]
        verify(!Search.shown(placeholder))
        mouseClick(again[1])
        keySequence(StandardKey.SelectAll)
        keyClick(Qt.Key_Backspace)
        compare(r.game.teams[1].name, "")
        verify(Search.shown(placeholder))
    }

    // Names as long as a story, pasted or typed, are kept whole and give way inside their
    // card: long chips shorten before short ones do, and the name field scrolls.
    function test_longNamesStayInTheCard() {
        const longName = "Анастасия-Александра Константинопольская-Завадовская"
        const story = "Анна-Мария ".repeat(200).trim()
        const r = openTeams([story, "Dan", longName + " II", longName + " III"].join("\n"))
        const screen = r.screen
        const teamName = "Ёжики в тумане ".repeat(667).slice(0, 10000)
        TestHarness.setClipboardText(teamName)
        mouseClick(nameFields(screen)[0])
        keySequence(StandardKey.SelectAll)
        keySequence(StandardKey.Paste)
        compare(r.game.teams[0].name, teamName)
        compare(r.game.teams[0].players[0], story)
        for (const card of teamCards(screen)) {
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

    // Ten teams, upright and on the phone's side: "Всё готово" stays on screen, the scroll
    // indicator stands clear of the cards' shadows (4 to the right), and a card scrolled
    // just past the top edge leaves no line of outline or shadow there. Return moves from one
    // team's name to the next and, after the last, puts the keyboard away; with the keyboard
    // over the lower half, the field typed into stays above it.
    function test_tenTeams_data() {
        return [
            { tag: "upright", width: 390, height: 844, keyboard: 330 },
            { tag: "on its side", width: 720, height: 360, keyboard: 170 }
        ]
    }

    function test_tenTeams(data) {
        const r = openTeams(Array.from({ length: 20 }, (_, i) => "P" + i).join("\n"), data.width, data.height)
        const ready = Search.button(r.screen, "Всё готово")
        verify(ready.mapToItem(null, 0, ready.height).y <= data.height)
        const list = findChild(r.screen, "cardList")
        const indicator = Array.from(list.children).find(c => c.hasOwnProperty("active"))
        const first = teamCards(r.screen)[0]
        verify(indicator.x >= first.mapToItem(list, first.width + 4, 0).x)
        list.contentY = first.mapToItem(list.contentItem, 0, first.height).y + 0.5
        waitForRendering(r.screen)
        const image = grabImage(r.screen)
        const edge = list.mapToItem(r.screen, 60, 0)
        for (let y = 0; y < 5; ++y)
            compareColour(image.pixel(edge.x, edge.y + y), image.pixel(edge.x, edge.y + 10), "row " + y)
        list.contentY = 0

        const top = data.height - data.keyboard
        const fields = nameFields(r.screen)
        compare(fields.length, 10)
        mouseClick(fields[0])
        Keyboard.rectangle = Qt.rect(0, top, data.width, data.keyboard)
        for (let i = 0; i < fields.length; ++i) {
            verify(fields[i].activeFocus, "field " + i)
            tryVerify(() => {
                const box = fields[i].mapToItem(null, 0, 0, fields[i].width, fields[i].height)
                return box.y >= 0 && box.y + box.height <= top
            }, 3000, "field " + i + " above the keyboard")
            keyClick(Qt.Key_End)
            keyClick("!")
            compare(r.game.teams[i].name, "Команда " + (i + 1) + "!")
            keyClick(Qt.Key_Return)
        }
        verify(!fields.some(field => field.activeFocus))
    }

    // Names typed on a phone whose keyboard leaves 360 × 477: the window shrunk to that
    // (Plasma Mobile) or covered below it. The headline and "Всё готово" give way, and the
    // card typed into shows whole with the next one, Return after Return; the last card
    // shows with the observer's. With room to spare, a focused name moves nothing. Done
    // typing, the button is back, unless a keyboard still covers the window.
    function test_nextCardAboveTheKeyboard_data() {
        return [
            { tag: "window shrunk", height: 477, keyboard: 0 },
            { tag: "keyboard over the window", height: 720, keyboard: 243 }
        ]
    }

    function test_nextCardAboveTheKeyboard(data) {
        const players = Array.from({ length: 11 }, (_, i) => "P" + i).join("\n")
        const game = TestHarness.newStore()
        game.setPlayerText(players)
        game.formTeams(false)
        game.confirmObserver()
        const router = createTemporaryObject(routerComponent, root, { game: game, width: 360, height: 720 })
        const screen = settled(router)
        const fields = nameFields(screen)
        const cards = teamCards(screen).concat([findChild(screen, "observerCard")])
        const ready = Search.button(screen, "Всё готово")
        compare(fields.length, 5)
        mouseClick(fields[0])
        verify(Search.shown(ready))

        router.height = data.height
        Keyboard.rectangle = Qt.rect(0, 477, 360, data.keyboard)
        const list = findChild(screen, "cardList")
        const inView = card => {
            const view = list.mapToItem(null, 0, 0, list.width, list.height)
            const box = card.mapToItem(null, 0, 0, card.width, card.height)
            return box.y >= view.y && box.y + box.height <= Math.min(view.y + view.height, 477)
        }
        for (let i = 0; i < fields.length; ++i) {
            verify(fields[i].activeFocus, "field " + i)
            tryVerify(() => inView(cards[i]) && inView(cards[i + 1]), 3000, "cards " + i + " and " + (i + 1) + " in view")
            verify(!Search.shown(ready))
            verify(!Search.textItem(screen, "Дайте имена бандам"))
            keyClick(Qt.Key_Return)
        }
        // Done typing: back in the shrunk window, still away while a keyboard covers it.
        verify(!fields.some(field => field.activeFocus))
        compare(Search.shown(ready), data.keyboard === 0)
    }
}
