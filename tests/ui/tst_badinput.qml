import QtQuick
import QtTest
import TarvukeGlimp
import TarvukeGlimp.Testing
import "ScreenSearch.js" as Search

// What players throw at the screens when they are not playing nicely: a pasted dictionary,
// a thousand names, an observer's name as long as a story, emoji and right-to-left scripts.
// Nothing may be lost, the stored values stay sensible, the screens keep working. (Story-long
// team and player names: tst_teameditorview and tst_contentview.)
ScreenTestCase {
    id: root

    name: "BadInput"

    readonly property string wordsKey: "tarvuke.glimp.customWords"

    property ContentView router: null

    function open(game) {
        router = createTemporaryObject(routerComponent, root, { game: game })
        return settled(router)
    }

    // The screen now shown, once its fade-in has finished.
    function tap(text) {
        const target = Search.button(settled(router), text)
        verify(target !== null, text)
        mouseClick(target)
    }

    // The own words' editor, on a router opened on this store.
    function openWords(game) {
        game.screenName = "customWords"
        return Search.byAccessibleName(open(game), "Собственные слова, по одному на строку")[0]
    }

    function waitUntilFilled(editor) {
        tryVerify(() => !editor.readOnly, 60000, "the editor never took the whole text")
    }

    // Five megabytes pasted into the own words: the store has them at once, the editor
    // takes them in piece by piece (read-only meanwhile), and afterwards the text on the
    // screen, in the store and on the device is the same, with the cursor after the paste.
    function test_fiveMegabytePasteIntoOwnWords() {
        const game = TestHarness.newStore()
        const editor = openWords(game)
        // About five megabytes of Russian words, a line each.
        const big = Array.from({ length: 230000 }, (_, n) => "словечко" + n).join("\n")
        TestHarness.setClipboardText(big)
        mouseClick(editor, 20, 20)
        typeText("cat\ndog")
        for (let i = 0; i < 3; ++i)
            keyClick(Qt.Key_Left)
        keySequence(StandardKey.Paste)

        const expected = "cat\n" + big + "dog"
        compare([game.customWordsText, TestHarness.preference(root.wordsKey)], [expected, expected])
        verify(editor.readOnly)
        // Typed while the text is coming in, a key changes nothing.
        keyClick("x")
        compare(game.customWordsText, expected)

        waitUntilFilled(editor)
        compare(editor.text, expected)
        compare(editor.cursorPosition, 4 + big.length)
        const count = big.split("\n").length + 1
        verify(Search.textItem(router.current.view, count + " слов в банке") !== null)
        typeText("\n")
        const edited = "cat\n" + big + "\ndog"
        compare([game.customWordsText, TestHarness.preference(root.wordsKey)], [edited, edited])

        // Open again after a restart: the whole list comes back.
        game.goHome()
        const again = TestHarness.restartStore()
        const editorAgain = openWords(again)
        waitUntilFilled(editorAgain)
        compare(editorAgain.text, game.customWordsText)
        compare(again.customWordCount, count + 1)
    }

    // A long saved list opens in pieces, read-only until the last is in, each piece the
    // next part of the list; meanwhile the screen answers (back goes home, nothing lost or
    // saved anew). Its lines come gathered into few paragraphs: Qt's editor walks every
    // paragraph at each change, so one a line would slow every piece and keystroke.
    function test_longSavedListOpensInPieces() {
        const lines = Array.from({ length: 30000 }, (_, n) => "словцо " + n)
        const saved = lines.join("\n")
        TestHarness.newStore()
        TestHarness.setPreference(root.wordsKey, saved)
        const game = TestHarness.restartStore()
        game.screenName = "customWords"
        router = createTemporaryObject(routerComponent, root, { game: game })

        // The pieces that come in after the editor is found, each checked against the list.
        const watch = editor => {
            const seen = { pieces: 0, length: editor.length, wrong: [] }
            editor.textChanged.connect(() => {
                if (editor.getText(seen.length, editor.length) !== saved.slice(seen.length, editor.length))
                    seen.wrong.push(seen.length)
                seen.pieces += 1
                seen.length = editor.length
            })
            return seen
        }
        const name = "Собственные слова, по одному на строку"
        const leaving = Search.byAccessibleName(router.current.view, name)[0]
        verify(leaving.readOnly)
        const first = watch(leaving)
        tryVerify(() => first.pieces >= 3)
        verify(leaving.readOnly)
        mouseClick(Search.byAccessibleName(router.current.view, "Назад")[0])
        compare(game.screenName, "home")
        compare([game.customWordsText, TestHarness.preference(root.wordsKey)], [saved, saved])
        compare(first.wrong, [])

        game.screenName = "customWords"
        const editor = Search.byAccessibleName(router.current.view, name)[0]
        verify(editor !== leaving && editor.readOnly)
        const second = watch(editor)
        waitUntilFilled(editor)
        verify(second.pieces > 10, second.pieces + " pieces")
        compare(second.wrong, [])
        compare(editor.text, saved)
        verify(TestHarness.paragraphCount(editor) < lines.length / 20,
               TestHarness.paragraphCount(editor) + " paragraphs")
        compare([game.customWordsText, TestHarness.preference(root.wordsKey)], [saved, saved])
        compare(game.customWordCount, lines.length)
    }

    // A paste with no line break in a piece's reach is cut between characters, never
    // inside a surrogate pair, and is whole once in.
    function test_longLinesOfEmojiArriveWhole() {
        const game = TestHarness.newStore()
        const editor = openWords(game)
        const line = "a" + "🦊".repeat(40000) + "ё\u0301".repeat(20000)
        TestHarness.setClipboardText(line + "\n" + line)
        mouseClick(editor, 20, 20)
        keySequence(StandardKey.Paste)
        waitUntilFilled(editor)
        compare(editor.text, line + "\n" + line)
        compare(game.customWordsText, editor.text)
        compare(game.customWordCount, 2)
    }

    // A thousand names, some in scripts written right to left, some with emoji built from
    // several code points: each one a player, in five hundred teams, and shown as typed.
    // A line of nothing but invisible characters is no player, and a name loses those at
    // its ends.
    function test_thousandPlayersWithEmojiAndRightToLeftNames() {
        const game = TestHarness.newStore()
        game.startNewGame()
        const view = open(game)
        const odd = ["Даша 👩🏽‍🚀", "שָׂרָה", "محمد", "e\u0301lodie", "Ян \u202eБоб", "🇺🇦", "\u200bZoë\u200d", "李雷"]
        const names = Array.from({ length: 1000 }, (_, i) => i < odd.length ? odd[i] : "Игрок " + i)
        const pasted = names.join("\n") + "\n\u200b\u2060\u00ad\n\ufeff"
        TestHarness.setClipboardText(pasted)
        mouseClick(Search.byAccessibleName(view, "Имена игроков, по одному на строку")[0])
        keySequence(StandardKey.Paste)
        compare(game.settings.playerText, pasted)
        compare(Search.button(view, "Собрать команды").subtitle, "1000 игрока")

        tap("Собрать команды")
        tap("Создать команды не рандомно")
        const teams = settled(router)
        compare(game.teams.length, 500)
        compare([].concat(...game.teams.map(t => Array.from(t.players))),
                names.map(n => n === odd[6] ? "Zoë" : n))
        compare(Search.byAccessibleName(teams, "Название команды").length, 500)
        verify(Search.withText(teams, "Ян \u202eБоб").some(Search.shown))

        tap("Всё готово")
        const ready = settled(router)
        verify(Search.withText(ready, "Даша 👩🏽‍🚀").concat(Search.withText(ready, "שָׂרָה"))
               .some(Search.shown))
    }

    // A story-long observer: the name stops at two lines inside the white hub.
    function test_storyLongObserverStaysInTheHub() {
        const game = TestHarness.newStore()
        game.startNewGame()
        const longName = "Анна-Мария Константинопольская-Верхнеднепровская ".repeat(30).trim()
        game.setPlayerText(longName + "\nBob\nCid")
        TestHarness.queueRandom([0])
        game.openFormation()
        game.formTeams(false)
        compare(game.observer, longName)
        const view = open(game)
        TestHarness.advanceClock(3100)
        const name = findChild(view, "displayedName")
        tryCompare(name, "text", longName)
        const hub = name.parent.parent
        const box = name.mapToItem(view, 0, 0, name.width, name.height)
        const centre = hub.mapToItem(view, hub.width / 2, hub.height / 2)
        // Every corner of the name's lines within the hub's circle (radius 95).
        verify(name.lineCount <= 2, name.lineCount + " lines")
        for (const x of [centre.x - name.contentWidth / 2, centre.x + name.contentWidth / 2]) {
            for (const y of [box.y, box.y + name.contentHeight])
                verify(Math.hypot(x - centre.x, y - centre.y) < 95,
                       "a corner of the name at " + [x, y] + " is outside the hub")
        }
    }
}
