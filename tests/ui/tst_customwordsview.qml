import QtQuick
import QtTest
import TarvukeGlimp.Components
import TarvukeGlimp.Testing
import "ScreenSearch.js" as Search

// The players' own words: typed, counted, saved on every keystroke, and kept whichever way
// the players leave, also across a restart.
ScreenTestCase {
    id: root

    name: "CustomWordsView"

    readonly property string key: "tarvuke.glimp.customWords"

    function openWords(game, width, height) {
        game.screenName = "customWords"
        const router = createTemporaryObject(routerComponent, root, { game: game, width: width || 390, height: height || 844 })
        const screen = router.current.view
        waitForRendering(screen)
        return {
            game: game, screen: screen,
            editor: Search.byAccessibleName(screen, "Собственные слова, по одному на строку")[0],
            counterText: () => Search.allItems(screen)
                         .filter(n => typeof n.text === "string" && n.text.endsWith(" слов в банке"))
                         .map(n => n.text)
        }
    }

    // Each keystroke, deletion and paste is stored and saved at once, and the counter
    // follows it.
    function test_editsAreCountedAndSaved_data() {
        return [
            { tag: "empty", typed: "", count: 0 },
            { tag: "blank middle line", typed: "cat\n   \ndog", count: 2 },
            { tag: "same word twice", typed: "cat\ncat", count: 2 },
            { tag: "typed in the middle", typed: "cat\ndog", text: "cats\nfox\ndog", count: 3, then: () => {
                keyClick(Qt.Key_Up)
                keyClick(Qt.Key_End)
                typeText("s\nfox")
            } },
            { tag: "copied, pasted, cut", typed: "owl\nyak", text: "owl\nyak\nowl\nya", count: 4, then: () => {
                keySequence(StandardKey.SelectAll)
                keySequence(StandardKey.Copy)
                keyClick(Qt.Key_End, Qt.ControlModifier)
                keyClick(Qt.Key_Return)
                keySequence(StandardKey.Paste)
                keyClick(Qt.Key_Backspace)
            } }
        ]
    }

    function test_editsAreCountedAndSaved(data) {
        const s = openWords(TestHarness.newStore())
        mouseClick(s.editor, 20, 20)
        typeText(data.typed)
        if (data.then)
            data.then()
        const text = data.text || data.typed
        compare(s.game.customWordsText, text)
        compare(TestHarness.preference(root.key), data.typed === "" ? undefined : text)
        compare(s.counterText(), [data.count + " слов в банке"])
    }

    // Opening the screen writes nothing: line ends and odd characters stay as saved. Back
    // and "Готово" both go home.
    function test_savedWordsOpenAsTheyAre() {
        TestHarness.newStore()
        const saved = "кот\r\nпёс\u2028ёж\u00a0\u2029\uD83E\uDD8A"
        TestHarness.setPreference(root.key, saved)
        const s = openWords(TestHarness.restartStore())
        compare(s.game.customWordsText, saved)
        compare(TestHarness.preference(root.key), saved)
        compare(s.counterText(), ["4 слов в банке"])
        mouseClick(s.screen, 22 + 21, 14 + 21)
        compare(s.game.screenName, "home")
        mouseClick(Search.button(openWords(s.game).screen, "Готово"))
        compare(s.game.screenName, "home")
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
        const s = openWords(TestHarness.newStore(), data.width, data.height)
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
    }
}
