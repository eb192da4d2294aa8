import QtQuick
import QtTest
import TarvukeGlimp
import TarvukeGlimp.Components
import TarvukeGlimp.Testing
import "ScreenSearch.js" as Search

// The new-game screen on a real store, typed into and tapped as players do.
TestCase {
    id: root

    name: "SetupView"
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

    // The router on a fresh store, already on the setup screen.
    function openSetup(playerText) {
        const game = TestHarness.newStore()
        game.startNewGame()
        if (playerText !== undefined)
            game.setPlayerText(playerText)
        const router = createTemporaryObject(viewComponent, root, { game: game })
        const screen = router.current.view
        verify(screen !== null)
        waitForRendering(screen)
        return {
            game: game,
            router: router,
            screen: screen,
            names: Search.byAccessibleName(screen, "Имена игроков, по одному на строку")[0],
            clear: Search.byAccessibleName(screen, "Очистить список игроков")[0],
            wordsField: Search.byAccessibleName(screen, "Слов для победы")[0],
            formButton: Search.button(screen, "Собрать команды"),
            note: () => Search.textItem(screen, "Один случайный человек будет наблюдать")
        }
    }

    function typeText(text) {
        for (const c of text) {
            if (c === "\n")
                keyClick(Qt.Key_Return)
            else
                keyClick(c)
        }
    }

    function typeNames(s, text) {
        mouseClick(s.names)
        verify(s.names.activeFocus)
        typeText(text)
    }

    function selectAllAndType(field, text) {
        mouseClick(field)
        keySequence(StandardKey.SelectAll)
        if (text === "")
            keyClick(Qt.Key_Backspace)
        else
            typeText(text)
    }

    function test_emptyEditor() {
        const s = openSetup()
        compare(s.names.text, "")
        verify(!Search.shown(s.clear))
        compare(s.note(), null)
        compare(s.formButton.subtitle, "0 игрока")
        verify(Search.textItem(s.screen, "0 игрока") !== null)
        verify(!s.formButton.enabled)
        compare(s.formButton.opacity, 0.45)
        mouseClick(s.formButton)
        compare(s.game.screenName, "setup")
    }

    function test_twoNamesOnOneLine() {
        const s = openSetup()
        typeNames(s, "a, b")
        compare(s.game.settings.playerText, "a, b")
        compare(s.formButton.subtitle, "2 игрока")
        verify(s.formButton.enabled)
        tryCompare(s.formButton, "opacity", 1)
        compare(s.note(), null)
        mouseClick(s.formButton)
        compare(s.game.screenName, "formation")
    }

    function test_observerNote_data() {
        return [
            { tag: "one", typed: "Ann", count: 1, note: false },
            { tag: "three", typed: "Ann\nBob\nCid", count: 3, note: true },
            { tag: "four", typed: "Ann\nBob\nCid, Dan", count: 4, note: false },
            { tag: "five with blank lines", typed: "A\n\nB\nC\n \nD\nE", count: 5, note: true },
        ]
    }

    function test_observerNote(data) {
        const s = openSetup()
        typeNames(s, data.typed)
        compare(s.game.settings.playerNames.length, data.count)
        compare(s.formButton.subtitle, data.count + " игрока")
        compare(s.note() !== null, data.note)
        if (data.note)
            compare(s.note().color, Theme.coral)
    }

    function test_spacesOnly() {
        const s = openSetup()
        typeNames(s, "   ")
        compare(s.game.settings.playerText, "   ")
        tryVerify(() => Search.shown(s.clear) && s.clear.scale === 1)
        compare(s.formButton.subtitle, "0 игрока")
        verify(!s.formButton.enabled)
    }

    function test_clearButtonGrowsAndClears() {
        const s = openSetup()
        compare(s.clear.scale, 0.00001)
        typeNames(s, "A")
        // It grows over 0.16 s, not at once.
        verify(s.clear.scale < 1)
        tryVerify(() => s.clear.scale > 0.2 && s.clear.scale < 1, 160)
        tryCompare(s.clear, "scale", 1, 400)
        compare(s.clear.opacity, 1)

        keyClick("B")
        compare(s.game.settings.playerText, "AB")
        compare(s.clear.scale, 1)

        mouseClick(s.clear)
        compare(s.game.settings.playerText, "")
        compare(s.names.text, "")
        tryVerify(() => s.clear.scale > 0.0001 && s.clear.scale < 1, 160)
        tryVerify(() => !Search.shown(s.clear), 400)
        // Gone, it takes no taps: a tap there lands in the editor.
        mouseClick(s.clear)
        compare(s.game.settings.playerText, "")
    }

    // The store's text is shown as it is, and showing it writes nothing back.
    function test_showsStoredNamesWithoutRewriting() {
        const stored = "Аня\r\nБоря,\u2029Вика\u00a0"
        const s = openSetup(stored)
        compare(s.game.settings.playerText, stored)
        compare(s.formButton.subtitle, "3 игрока")
        verify(Search.shown(s.clear))
        // An edit stores what the editor holds.
        mouseClick(s.names)
        keyClick(Qt.Key_End, Qt.ControlModifier)
        keyClick("X")
        verify(s.game.settings.playerText.endsWith("X"))
        compare(s.formButton.subtitle, "3 игрока")
    }

    function test_wordsToWin() {
        const s = openSetup()
        compare(s.wordsField.text, "20")

        selectAllAndType(s.wordsField, "0")
        compare(s.game.settings.wordsToWin, 1)
        selectAllAndType(s.wordsField, "35")
        compare(s.game.settings.wordsToWin, 35)

        // Emptied, the field keeps the last number until something parses.
        selectAllAndType(s.wordsField, "")
        compare(s.wordsField.text, "")
        compare(s.game.settings.wordsToWin, 35)
        // Letters are refused where they are typed.
        typeText("a7b")
        compare(s.wordsField.text, "7")
        compare(s.game.settings.wordsToWin, 7)

        // A number too large for 64 bits is refused digit by digit, never wrapped.
        selectAllAndType(s.wordsField, "99999999999999999999")
        compare(s.wordsField.text, "999999999999999999")
        compare(s.game.settings.wordsToWin, 999999999999999999)
        selectAllAndType(s.wordsField, "9223372036854775807")
        compare(s.wordsField.text, "9223372036854775807")
        compare(s.game.settings.wordsToWin, 9223372036854775807)
        keyClick("0")
        compare(s.wordsField.text, "9223372036854775807")

        // Typed 0 stays on screen while typing; leaving the field shows what was stored.
        selectAllAndType(s.wordsField, "0")
        compare(s.game.settings.wordsToWin, 1)
        compare(s.wordsField.text, "0")
        mouseClick(s.names)
        verify(!s.wordsField.activeFocus)
        compare(s.wordsField.text, "1")

        // Changed elsewhere while it is not being typed in, the field follows.
        s.game.setWordsToWin(-4)
        compare(s.wordsField.text, "1")
        s.game.setWordsToWin(12)
        compare(s.wordsField.text, "12")
    }

    function test_wordsToWinPlaceholder() {
        const s = openSetup()
        selectAllAndType(s.wordsField, "")
        const placeholder = Search.withText(s.wordsField, "20").filter(n => n !== s.wordsField)
        compare(placeholder.length, 1)
        verify(Search.shown(placeholder[0]))
        keyClick("4")
        verify(!Search.shown(placeholder[0]))
    }

    function test_chipsAndSwitch() {
        const s = openSetup()
        mouseClick(Search.button(s.screen, "Сложная"))
        compare(s.game.settings.difficulty, "Сложная")
        mouseClick(Search.button(s.screen, "1:30"))
        compare(s.game.settings.roundDuration, 90)
        mouseClick(Search.button(s.screen, "10 с"))
        compare(s.game.settings.roundDuration, 10)
        const five = Search.button(s.screen, "+5 сек")
        mouseClick(five)
        compare(s.game.settings.bonusTime, 5)
        verify(five.selected)
        // The selected chip again: same value, same look.
        mouseClick(five)
        compare(s.game.settings.bonusTime, 5)
        verify(five.selected)
        compare(Search.button(s.screen, "Выкл").selected, false)

        verify(Search.textItem(s.screen, "Выключены") !== null)
        const toggle = Search.byAccessibleName(s.screen, "Пользовательские слова")[0]
        mouseClick(toggle)
        compare(s.game.settings.usesCustomWords, true)
        verify(Search.textItem(s.screen, "Включены") !== null)
        mouseClick(toggle)
        compare(s.game.settings.usesCustomWords, false)
    }

    // Starting to scroll takes the keyboard away, whichever field had it.
    function test_scrollingDismissesKeyboard() {
        const s = openSetup()
        typeNames(s, "Ann")
        verify(s.names.activeFocus)
        verify(Qt.inputMethod !== null)
        mouseDrag(s.screen, 195, 700, 0, -300)
        verify(!s.names.activeFocus)
        compare(s.game.settings.playerText, "Ann")

        mouseClick(s.wordsField)
        verify(s.wordsField.activeFocus)
        mouseDrag(s.screen, 195, 300, 0, 200)
        verify(!s.wordsField.activeFocus)
    }

    // Everything lives in the store: leaving and coming back shows it unchanged.
    function test_backAndReturnKeepsSettings() {
        const s = openSetup()
        typeNames(s, "Ann\nBob")
        mouseClick(Search.button(s.screen, "Сложная"))
        const bar = Search.allItems(s.screen).find(n => n.hasOwnProperty("hasBack"))
        const back = Search.allItems(bar).find(n => typeof n.clicked === "function" && n.visible)
        mouseClick(back)
        compare(s.game.screenName, "home")
        s.game.startNewGame()
        tryCompare(s.router.current, "opacity", 1, 3000)
        const again = s.router.current.view
        verify(again !== s.screen)
        compare(Search.byAccessibleName(again, "Имена игроков, по одному на строку")[0].text,
                "Ann\nBob")
        verify(Search.button(again, "Сложная").selected)
        compare(Search.button(again, "Собрать команды").subtitle, "2 игрока")
    }
}
