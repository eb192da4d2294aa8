import QtQuick
import QtTest
import TarvukeGlimp
import TarvukeGlimp.Components
import TarvukeGlimp.Testing
import "ScreenSearch.js" as Search

// From the formation screen to the named teams: pairs formed by a tap, names typed into
// the cards, the observer listed, and many teams still within reach.
ScreenTestCase {
    id: root

    name: "TeamEditorView"

    readonly property string twentyPlayers: Array.from({ length: 20 }, (_, i) => "P" + i).join("\n")

    // The router on a window of this size, the teams formed in order from these players.
    function openTeams(players, width, height) {
        const game = TestHarness.newStore()
        game.startNewGame()
        game.setPlayerText(players)
        game.openFormation()
        const r = { game: game }
        r.router = createTemporaryObject(routerComponent, root, { game: game, width: width || 390, height: height || 844 })
        tap(r, "Создать команды не рандомно")
        r.screen = settled(r)
        return r
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

    function test_fourPlayersMakeTwoCardsAndNoObserver() {
        const r = openTeams("Ann\nBob\nCid\nDan")
        const screen = r.screen
        verify(!Search.withText(screen, "НАБЛЮДАТЕЛИ").some(Search.shown))
        compare(nameFields(screen).map(f => f.text), ["Команда 1", "Команда 2"])
        // 16 from the last card to the button, the cards' shadows inside the gap.
        const card = teamCards(screen)[1]
        const ready = Search.button(screen, "Всё готово")
        fuzzyCompare(ready.mapToItem(screen, 0, 0).y - card.mapToItem(screen, 0, card.height).y, 16, 0.5)
    }

    // Each keystroke renames the team at once, and the field keeps its focus and cursor
    // while the store hands out new team lists. Back to the formation and forming again
    // keeps the names by position. Cleared, a name shows the placeholder.
    function test_typedNames() {
        const r = openTeams("Ann\nBob\nCid\nDan")
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
        tap(r, "Создать команды рандомно")
        const again = nameFields(settled(r))
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

    // Long names give way inside their card: long chips shorten before short ones do,
    // and the name field scrolls.
    function test_longNamesStayInTheCard() {
        const longName = "Анастасия-Александра Константинопольская-Завадовская"
        const r = openTeams([longName, "Dan", longName + " II", longName + " III"].join("\n"))
        const screen = r.screen
        r.game.setTeamName(0, "W".repeat(60))
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

    // Ten teams on a phone-sized window: "Всё готово" stays on screen over the list, which
    // scrolls cleanly under the top edge.
    function test_tenTeamsStayUsable() {
        const screen = openTeams(root.twentyPlayers).screen
        const ready = Search.button(screen, "Всё готово")
        verify(ready.mapToItem(screen, 0, ready.height).y <= 844)

        // The scroll indicator stands clear of the cards' shadows (4 to the right).
        const list = findChild(screen, "cardList")
        const indicator = Array.from(list.children).find(c => c.hasOwnProperty("active"))
        const first = teamCards(screen)[0]
        verify(indicator.x >= first.mapToItem(list, first.width + 4, 0).x)
        // A card scrolled just past the top edge leaves no line of outline or shadow there.
        list.contentY = first.mapToItem(list.contentItem, 0, first.height).y + 0.5
        waitForRendering(screen)
        const image = grabImage(screen)
        const edge = list.mapToItem(screen, 60, 0)
        for (let y = 0; y < 5; ++y)
            compareColour(image.pixel(edge.x, edge.y + y), image.pixel(edge.x, edge.y + 10), "row " + y)
    }

    // Return moves from one team's name to the next and, after the last, puts the keyboard
    // away. With the keyboard over the lower half, the field typed into stays above it, down
    // to the tenth team's.
    function test_returnAndKeyboard_data() {
        return [
            { tag: "upright", width: 390, height: 844, keyboard: 330 },
            { tag: "on its side", width: 720, height: 360, keyboard: 170 }
        ]
    }

    function test_returnAndKeyboard(data) {
        const r = openTeams(root.twentyPlayers, data.width, data.height)
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
}
