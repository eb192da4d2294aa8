import QtQuick
import QtTest
import TarvukeGlimp
import TarvukeGlimp.Components
import TarvukeGlimp.Testing
import "ScreenSearch.js" as Search

// The new-game screen on a real store, typed into and tapped as players do.
ScreenTestCase {
    id: root

    name: "SetupView"

    // The router on a fresh store, already on the setup screen.
    function openSetup(playerText) {
        const game = TestHarness.newStore()
        game.startNewGame()
        if (playerText !== undefined)
            game.setPlayerText(playerText)
        const router = createTemporaryObject(routerComponent, root, { game: game })
        const screen = router.current.view
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

    function test_namesEditor_data() {
        return [
            { tag: "empty", typed: "", count: 0, note: false, clear: false },
            { tag: "spaces only", typed: "   ", count: 0, note: false, clear: true },
            { tag: "commas only", typed: " ,\n, ", count: 0, note: false, clear: true },
            { tag: "one", typed: "Ann", count: 1, note: false, clear: true },
            { tag: "a, b on one line", typed: "a, b", count: 2, note: false, clear: true },
            { tag: "three", typed: "Ann\nBob\nCid", count: 3, note: true, clear: true },
            { tag: "four", typed: "Ann\nBob\nCid, Dan", count: 4, note: false, clear: true },
            { tag: "five with blank lines", typed: "A\n\nB\nC\n \nD\nE", count: 5, note: true, clear: true }
        ]
    }

    function test_namesEditor(data) {
        const s = openSetup()
        if (data.typed !== "")
            typeNames(s, data.typed)
        compare(s.game.settings.playerText, data.typed)
        compare(s.formButton.subtitle, data.count + " игрока")
        compare(s.note() !== null, data.note)
        tryVerify(() => Search.shown(s.clear) === data.clear && (!data.clear || s.clear.scale === 1))
        const canForm = data.count >= 2
        compare(s.formButton.enabled, canForm)
        tryCompare(s.formButton, "opacity", canForm ? 1 : 0.45)
        mouseClick(s.formButton)
        compare(s.game.screenName, canForm ? "formation" : "setup")
    }

    function test_clearButtonClears() {
        const s = openSetup()
        typeNames(s, "AB")
        tryCompare(s.clear, "scale", 1, 400)
        mouseClick(s.clear)
        compare(s.game.settings.playerText, "")
        compare(s.names.text, "")
        tryVerify(() => !Search.shown(s.clear), 400)
        // Gone, it takes no taps.
        mouseClick(s.clear)
        compare(s.game.settings.playerText, "")
    }

    function test_wordsToWin() {
        const s = openSetup()
        compare(s.wordsField.text, "20")
        selectAllAndType(s.wordsField, "35")
        compare(s.game.settings.wordsToWin, 35)
        // Letters are refused where they are typed; emptied, the last number stays.
        selectAllAndType(s.wordsField, "")
        compare(s.game.settings.wordsToWin, 35)
        typeText("a7b")
        compare(s.wordsField.text, "7")
        compare(s.game.settings.wordsToWin, 7)
        // Past 64 bits a digit is refused, never wrapped.
        selectAllAndType(s.wordsField, "9223372036854775807")
        keyClick("0")
        compare(s.wordsField.text, "9223372036854775807")
        compare(s.game.settings.wordsToWin, 9223372036854775807)
        // Typed 0 stores 1 and shows it, ready to be typed over.
        selectAllAndType(s.wordsField, "0")
        compare(s.game.settings.wordsToWin, 1)
        compare(s.wordsField.text, "1")
        typeText("5")
        compare(s.wordsField.text, "5")
        // Emptied, it shows the number still stored, not some other one; Return commits it
        // and closes the keyboard.
        selectAllAndType(s.wordsField, "")
        verify(Search.textItem(s.screen, "5") !== null)
        keyClick(Qt.Key_Return)
        compare(s.wordsField.text, "5")
        verify(!s.wordsField.activeFocus)
    }

    // Leaving with the field emptied and focused shows the stored number on the fading screen.
    function test_wordsToWinLeavingShowsStored() {
        const s = openSetup("Ann\nBob")
        selectAllAndType(s.wordsField, "7")
        selectAllAndType(s.wordsField, "")
        s.game.openFormation()
        compare(s.wordsField.text, "7")
    }

    // Everything lives in the store: leaving and coming back shows it unchanged.
    function test_backAndReturnKeepsSettings() {
        const s = openSetup()
        typeNames(s, "Ann\nBob")
        mouseClick(Search.button(s.screen, "Сложная"))
        mouseClick(s.screen, 22 + 21, 14 + 21)
        compare(s.game.screenName, "home")
        s.game.startNewGame()
        tryCompare(s.router.current, "opacity", 1, 3000)
        const again = s.router.current.view
        verify(again !== s.screen)
        compare(Search.byAccessibleName(again, "Имена игроков, по одному на строку")[0].text,
                "Ann\nBob")
        verify(Search.button(again, "Сложная").selected)
    }

    // The keyboard covers the lower 330 points, reported as a rectangle (Plasma Mobile) or
    // by shrinking the window (Phosh): the focused field comes fully into view above it,
    // caret included, and stays there while typing; only the player's own scroll then
    // puts the keyboard away.
    function test_keyboardKeepsTheFieldInView_data() {
        return [
            { tag: "names, rectangle", field: "names", rectangle: true },
            { tag: "words to win, rectangle", field: "words", rectangle: true },
            { tag: "names, window shrunk", field: "names", rectangle: false },
            { tag: "words to win, window shrunk", field: "words", rectangle: false }
        ]
    }

    function test_keyboardKeepsTheFieldInView(data) {
        const s = openSetup("Ann\nBob\nCid\nDan\nEve\nFay\nGus")
        const top = 844 - 330
        if (data.rectangle)
            Keyboard.rectangle = Qt.rect(0, top, 390, 330)
        else
            s.router.height = top
        const field = data.field === "names" ? s.names : s.wordsField
        // The box the player sees of it: a long list scrolls inside its own.
        const face = data.field === "names" ? s.names.parent.parent : field
        const seen = () => {
            const box = face.mapToItem(null, 0, 0, face.width, face.height)
            const caret = field.mapToItem(null, field.cursorRectangle)
            return box.y >= 0 && box.y + box.height <= top && caret.y >= box.y
                    && caret.y + caret.height <= box.y + box.height
        }
        field.forceActiveFocus()
        field.cursorPosition = field.length
        tryVerify(seen, 3000)
        typeText(data.field === "names" ? "\nZoe\nIan" : "12")
        tryVerify(seen, 3000)
        verify(field.activeFocus)
        // Tapping a chip or the switch leaves the keyboard up.
        mouseClick(Search.button(s.screen, "Сложная"))
        mouseClick(Search.byAccessibleName(s.screen, "Пользовательские слова")[0])
        verify(field.activeFocus)
        compare(s.game.settings.difficulty, "Сложная")
        verify(s.game.settings.usesCustomWords)
        const scroller = s.screen.children[0]
        mouseDrag(scroller, 195, 150, 0, 100)
        verify(!field.activeFocus)
    }

    function test_clearButtonLeavesTheKeyboardUp() {
        const s = openSetup()
        typeNames(s, "Ann")
        tryCompare(s.clear, "scale", 1, 400)
        mouseClick(s.clear)
        compare(s.game.settings.playerText, "")
        verify(s.names.activeFocus)
    }
}
