import QtQuick
import QtTest
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
        game.setPlayerText(playerText || "")
        const router = createTemporaryObject(routerComponent, root, { game: game })
        const screen = router.current.view
        waitForRendering(screen)
        return {
            game: game, router: router, screen: screen,
            names: Search.byAccessibleName(screen, "Имена игроков, по одному на строку")[0],
            clear: Search.byAccessibleName(screen, "Очистить список игроков")[0],
            wordsField: Search.byAccessibleName(screen, "Слов для победы")[0],
            formButton: Search.button(screen, "Собрать команды")
        }
    }

    function selectAllAndType(field, text) {
        mouseClick(field)
        keySequence(StandardKey.SelectAll)
        if (text === "")
            keyClick(Qt.Key_Backspace)
        else
            typeText(text)
    }

    // Two names form teams; an odd count of three or more warns that one will watch.
    function test_namesEditor_data() {
        return [
            { tag: "empty", typed: "", count: 0, note: false },
            { tag: "spaces only", typed: "   ", count: 0, note: false },
            { tag: "commas only", typed: " ,\n, ", count: 0, note: false },
            { tag: "one", typed: "Ann", count: 1, note: false },
            { tag: "a, b on one line", typed: "a, b", count: 2, note: false },
            { tag: "three", typed: "Ann\nBob\nCid", count: 3, note: true },
            { tag: "four", typed: "Ann\nBob\nCid, Dan", count: 4, note: false },
            { tag: "five with blank lines", typed: "A\n\nB\nC\n \nD\nE", count: 5, note: true }
        ]
    }

    function test_namesEditor(data) {
        const s = openSetup()
        if (data.typed !== "")
            selectAllAndType(s.names, data.typed)
        compare(s.game.settings.playerText, data.typed)
        compare(s.formButton.subtitle, data.count + " игрока")
        compare(Search.textItem(s.screen, "Один случайный человек будет наблюдать") !== null, data.note)
        const clear = data.typed !== ""
        tryVerify(() => Search.shown(s.clear) === clear && (!clear || s.clear.scale === 1))
        const canForm = data.count >= 2
        compare(s.formButton.enabled, canForm)
        tryCompare(s.formButton, "opacity", canForm ? 1 : 0.45)
        mouseClick(s.formButton)
        compare(s.game.screenName, canForm ? "formation" : "setup")
    }

    // The cross empties the list, leaves the keyboard up and goes.
    function test_clearButton() {
        const s = openSetup()
        selectAllAndType(s.names, "AB")
        tryCompare(s.clear, "scale", 1, settleMs)
        mouseClick(s.clear)
        compare([s.game.settings.playerText, s.names.text], ["", ""])
        verify(s.names.activeFocus)
        tryVerify(() => !Search.shown(s.clear), settleMs)
        // The arrow goes home.
        mouseClick(s.screen, 22 + 21, 14 + 21)
        compare(s.game.screenName, "home")
    }

    // The field shows the number the game will play to. Letters are refused where they are
    // typed, and so is a digit past 64 bits, never wrapped; emptied, the field keeps the
    // last number stored.
    function test_wordsToWin() {
        const s = openSetup("Ann\nBob")
        const field = s.wordsField
        const shows = (text, stored) => compare([field.text, s.game.settings.wordsToWin], [text, stored])
        // A fresh screen shows what the store holds.
        compare(s.names.text, "Ann\nBob")
        shows("20", 20)
        selectAllAndType(field, "35")
        shows("35", 35)
        selectAllAndType(field, "")
        shows("", 35)
        typeText("a7b")
        shows("7", 7)
        selectAllAndType(field, "9223372036854775807")
        keyClick("0")
        shows("9223372036854775807", 9223372036854775807)
        TestHarness.setClipboardText("99999999999999999999")
        keySequence(StandardKey.SelectAll)
        keySequence(StandardKey.Paste)
        shows("9223372036854775807", 9223372036854775807)
        // Typed 0 stores 1 and shows it, ready to be typed over.
        selectAllAndType(field, "0")
        shows("1", 1)
        typeText("5")
        shows("5", 5)
        // Emptied, it shows the number still stored, not some other one; Return commits it
        // and closes the keyboard.
        selectAllAndType(field, "")
        verify(Search.textItem(s.screen, "5") !== null)
        keyClick(Qt.Key_Return)
        shows("5", 5)
        verify(!field.activeFocus)
        // Leaving with the field emptied and focused shows the stored number as it fades.
        selectAllAndType(field, "")
        s.game.openFormation()
        compare(field.text, "5")
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
        // Tapping a chip or the switch leaves the keyboard up.
        mouseClick(Search.button(s.screen, "Сложная"))
        mouseClick(Search.byAccessibleName(s.screen, "Пользовательские слова")[0])
        verify(field.activeFocus)
        compare([s.game.settings.difficulty, s.game.settings.usesCustomWords], ["Сложная", true])
        verify(Search.button(s.screen, "Сложная").selected)
        mouseDrag(s.screen.children[0], 195, 150, 0, 100)
        verify(!field.activeFocus)
    }
}
