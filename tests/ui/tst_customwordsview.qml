import QtQuick
import QtTest
import TarvukeGlimp
import TarvukeGlimp.Components
import TarvukeGlimp.Testing
import "ScreenSearch.js" as Search

// The players' own words: typed, counted, saved on every keystroke, and kept whichever way
// the players leave, also across a restart.
TestCase {
    id: root

    name: "CustomWordsView"
    when: windowShown
    visible: true
    width: 390
    height: 844

    readonly property string key: "tarvuke.glimp.customWords"

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

    function openWords(game) {
        game.screenName = "customWords"
        const router = createTemporaryObject(viewComponent, root, { game: game })
        const screen = router.current.view
        verify(screen !== null)
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

    function typeText(text) {
        for (const c of text) {
            if (c === "\n")
                keyClick(Qt.Key_Return)
            else
                keyClick(c)
        }
    }

    function typeWords(s, text) {
        mouseClick(s.editor, 20, 20)
        verify(s.editor.activeFocus)
        typeText(text)
    }

    function backButton(screen) {
        const bar = Search.allItems(screen).find(n => n.hasOwnProperty("hasBack"))
        return Search.allItems(bar).find(n => typeof n.clicked === "function" && n.visible)
    }

    function test_emptyShowsZero() {
        const s = openWords(TestHarness.newStore())
        compare(s.editor.text, "")
        compare(s.counterText(), ["0 слов в банке"])
    }

    function test_blankMiddleLine() {
        const s = openWords(TestHarness.newStore())
        typeWords(s, "cat\n   \ndog")
        compare(s.game.customWordsText, "cat\n   \ndog")
        compare(s.counterText(), ["2 слов в банке"])
    }

    function test_sameWordTwice() {
        const s = openWords(TestHarness.newStore())
        typeWords(s, "cat\ncat")
        compare(s.counterText(), ["2 слов в банке"])
    }

    // Each keystroke is stored and saved at once; the count follows it.
    function test_everyKeystrokeIsSaved() {
        const s = openWords(TestHarness.newStore())
        mouseClick(s.editor, 20, 20)
        const steps = [["a", "a", 1], ["\n", "a\n", 1], ["b", "a\nb", 2]]
        for (const [typed, text, count] of steps) {
            typeText(typed)
            compare(s.game.customWordsText, text)
            compare(TestHarness.preference(root.key), text)
            compare(s.counterText(), [count + " слов в банке"])
        }
        keyClick(Qt.Key_Backspace)
        compare(TestHarness.preference(root.key), "a\n")
        compare(s.counterText(), ["1 слов в банке"])
        keySequence(StandardKey.SelectAll)
        keyClick(Qt.Key_Delete)
        compare(s.game.customWordsText, "")
        compare(TestHarness.preference(root.key), "")
        compare(s.counterText(), ["0 слов в банке"])
    }

    // A paste is stored and saved like typing, in one go.
    function test_pasteIsSaved() {
        const s = openWords(TestHarness.newStore())
        typeWords(s, "owl\nyak")
        keySequence(StandardKey.SelectAll)
        keySequence(StandardKey.Copy)
        keyClick(Qt.Key_End, Qt.ControlModifier)
        keyClick(Qt.Key_Return)
        keySequence(StandardKey.Paste)
        compare(s.game.customWordsText, "owl\nyak\nowl\nyak")
        compare(TestHarness.preference(root.key), "owl\nyak\nowl\nyak")
        compare(s.counterText(), ["4 слов в банке"])
    }

    // Typing keeps the cursor where it is, also in the middle of the text.
    function test_typingInTheMiddle() {
        const s = openWords(TestHarness.newStore())
        typeWords(s, "cat\ndog")
        keyClick(Qt.Key_Up)
        keyClick(Qt.Key_End)
        typeText("s\nfox")
        compare(s.game.customWordsText, "cats\nfox\ndog")
        compare(s.counterText(), ["3 слов в банке"])
    }

    function test_backKeepsEditsAcrossRestart() {
        const s = openWords(TestHarness.newStore())
        typeWords(s, "pony\nyak")
        mouseClick(backButton(s.screen))
        compare(s.game.screenName, "home")
        compare(s.game.customWordsText, "pony\nyak")

        const again = openWords(TestHarness.restartStore())
        compare(again.game.customWordsText, "pony\nyak")
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
        const restarted = TestHarness.restartStore()
        compare(restarted.customWordsText, saved)
        const s = openWords(restarted)
        compare(s.game.customWordsText, saved)
        compare(TestHarness.preference(root.key), saved)
        compare(s.counterText(), ["4 слов в банке"])
    }

    // A long list still opens and takes a keystroke at its end.
    function test_longList() {
        const game = TestHarness.newStore()
        const lines = []
        for (let i = 0; i < 10000; ++i)
            lines.push("слово " + i)
        game.customWordsText = lines.join("\n")
        const s = openWords(game)
        compare(s.counterText(), ["10000 слов в банке"])
        mouseClick(s.editor, 20, 20)
        keyClick(Qt.Key_End, Qt.ControlModifier)
        typeText("\nnew")
        compare(s.counterText(), ["10001 слов в банке"])
        verify(TestHarness.preference(root.key).endsWith("слово 9999\nnew"))
    }
}
