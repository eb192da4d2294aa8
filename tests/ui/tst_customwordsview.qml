import QtQuick
import QtTest
import TarvukeGlimp
import TarvukeGlimp.Components
import TarvukeGlimp.Testing
import "ScreenSearch.js" as Search

// The players' own words: typed, counted, saved on every keystroke, and kept whichever way
// the players leave, also across a restart.
ScreenTestCase {
    id: root

    name: "CustomWordsView"

    readonly property string key: "tarvuke.glimp.customWords"

    function openWords(game) {
        game.screenName = "customWords"
        const router = createTemporaryObject(routerComponent, root, { game: game })
        const screen = router.current.view
        waitForRendering(screen)
        return {
            game: game,
            router: router,
            screen: screen,
            editor: Search.byAccessibleName(screen, "Собственные слова, по одному на строку")[0],
            counterText: () => Search.allItems(screen)
                         .filter(n => typeof n.text === "string" && n.text.endsWith(" слов в банке"))
                         .map(n => n.text)
        }
    }

    function typeWords(s, text) {
        mouseClick(s.editor, 20, 20)
        verify(s.editor.activeFocus)
        typeText(text)
    }

    // Each keystroke is stored and saved at once, and the counter follows it.
    function test_typedWordsAreCountedAndSaved_data() {
        return [
            { tag: "empty", typed: "", count: 0 },
            { tag: "blank middle line", typed: "cat\n   \ndog", count: 2 },
            { tag: "same word twice", typed: "cat\ncat", count: 2 },
            { tag: "typed in the middle", typed: "cat\ndog", then: "s\nfox", text: "cats\nfox\ndog", count: 3 }
        ]
    }

    function test_typedWordsAreCountedAndSaved(data) {
        const s = openWords(TestHarness.newStore())
        if (data.typed !== "")
            typeWords(s, data.typed)
        if (data.then) {
            keyClick(Qt.Key_Up)
            keyClick(Qt.Key_End)
            typeText(data.then)
        }
        const text = data.text || data.typed
        compare(s.game.customWordsText, text)
        compare(TestHarness.preference(root.key), data.typed === "" ? undefined : text)
        compare(s.counterText(), [data.count + " слов в банке"])
    }

    function test_deletingAndPastingAreSaved() {
        const s = openWords(TestHarness.newStore())
        typeWords(s, "owl\nyak")
        keySequence(StandardKey.SelectAll)
        keySequence(StandardKey.Copy)
        keyClick(Qt.Key_End, Qt.ControlModifier)
        keyClick(Qt.Key_Return)
        keySequence(StandardKey.Paste)
        keyClick(Qt.Key_Backspace)
        compare(TestHarness.preference(root.key), "owl\nyak\nowl\nya")
        compare(s.counterText(), ["4 слов в банке"])
    }

    function test_backKeepsEditsAcrossRestart() {
        const s = openWords(TestHarness.newStore())
        typeWords(s, "pony\nyak")
        mouseClick(s.screen, 22 + 21, 14 + 21)
        compare(s.game.screenName, "home")

        const again = openWords(TestHarness.restartStore())
        compare(again.editor.text, "pony\nyak")
        compare(again.counterText(), ["2 слов в банке"])
        mouseClick(again.editor, 20, 20)
        keyClick(Qt.Key_End, Qt.ControlModifier)
        typeText("\nemu")
        mouseClick(Search.button(again.screen, "Готово"))
        compare(again.game.screenName, "home")
        compare(TestHarness.restartStore().customWordsText, "pony\nyak\nemu")
    }

    // Opening the screen writes nothing: line ends and odd characters stay as saved.
    function test_openingKeepsTheSavedTextAsItIs() {
        TestHarness.newStore()
        const saved = "кот\r\nпёс\u2028ёж\u00a0\u2029\uD83E\uDD8A"
        TestHarness.setPreference(root.key, saved)
        const s = openWords(TestHarness.restartStore())
        compare(s.game.customWordsText, saved)
        compare(TestHarness.preference(root.key), saved)
        compare(s.counterText(), ["4 слов в банке"])
    }

    // With the keyboard over the lower part, upright or on its side, the editor and its
    // caret stay above it, also when the keyboard comes up late, after the typing.
    function test_keyboardKeepsTheEditorInView_data() {
        return [
            { tag: "upright", width: 390, height: 844, keyboard: 330 },
            { tag: "on its side", width: 720, height: 360, keyboard: 170 }
        ]
    }

    function test_keyboardKeepsTheEditorInView(data) {
        const s = openWords(TestHarness.newStore())
        s.router.width = data.width
        s.router.height = data.height
        const top = data.height - data.keyboard
        mouseClick(s.editor, 20, 10)
        typeText("one\ntwo\nthree\nfour\nfive\nsix")
        Keyboard.rectangle = Qt.rect(0, top, data.width, data.keyboard)
        const face = s.editor.parent.parent.parent
        tryVerify(() => {
            const box = face.mapToItem(null, 0, 0, face.width, face.height)
            const caret = s.editor.mapToItem(null, s.editor.cursorRectangle)
            return box.y >= 0 && box.y + box.height <= top && box.height >= 40
                    && caret.y >= box.y && caret.y + caret.height <= box.y + box.height
        }, 3000)
        verify(s.editor.activeFocus)
        compare(s.game.customWordCount, 6)
    }
}
