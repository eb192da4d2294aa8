import QtQuick
import QtTest
import TarvukeGlimp
import TarvukeGlimp.Components
import TarvukeGlimp.Testing
import "ScreenSearch.js" as Search

// What players throw at the screens when they are not playing nicely: a pasted dictionary,
// a thousand names, a name as long as a story, emoji and right-to-left scripts, a target
// with twenty digits. Nothing may be lost, the stored values stay sensible, the screens
// keep working.
ScreenTestCase {
    id: root

    name: "BadInput"

    readonly property string wordsKey: "tarvuke.glimp.customWords"

    property ContentView router: null

    function open(game) {
        router = createTemporaryObject(routerComponent, root, { game: game })
        return settled()
    }

    // The screen now shown, once its fade-in has finished.
    function settled() {
        tryCompare(router.current, "opacity", 1, 3000)
        tryVerify(() => router.current.parent.children.length === 1, 3000)
        return router.current.view
    }

    function tap(text) {
        const target = Search.button(settled(), text)
        verify(target !== null, text)
        mouseClick(target)
    }

    function wordsEditor(view) {
        return Search.byAccessibleName(view, "Собственные слова, по одному на строку")[0]
    }

    function waitUntilFilled(editor) {
        tryVerify(() => !editor.readOnly, 60000, "the editor never took the whole text")
    }

    // Lines of Russian words until the text reaches about `bytes` in UTF-8.
    function dictionary(bytes) {
        const lines = []
        let size = 0
        for (let n = 0; size < bytes; ++n) {
            const line = "словечко" + n
            lines.push(line)
            size += 16 + String(n).length + 1
        }
        return lines.join("\n")
    }

    // Five megabytes pasted into the own words: the store has them at once, the editor
    // takes them in piece by piece (read-only meanwhile), and afterwards the text on the
    // screen, in the store and on the device is the same, with the cursor after the paste.
    function test_fiveMegabytePasteIntoOwnWords() {
        const game = TestHarness.newStore()
        game.screenName = "customWords"
        const view = open(game)
        const editor = wordsEditor(view)
        const big = dictionary(5 * 1024 * 1024)
        TestHarness.setClipboardText(big)
        mouseClick(editor, 20, 20)
        typeText("cat\ndog")
        keyClick(Qt.Key_Left)
        keyClick(Qt.Key_Left)
        keyClick(Qt.Key_Left)
        keySequence(StandardKey.Paste)

        const expected = "cat\n" + big + "dog"
        compare(game.customWordsText, expected)
        compare(TestHarness.preference(root.wordsKey), expected)
        verify(editor.readOnly)
        // Typed while the text is coming in, a key changes nothing.
        keyClick("x")
        compare(game.customWordsText, expected)

        waitUntilFilled(editor)
        compare(editor.text, expected)
        compare(editor.cursorPosition, 4 + big.length)
        const count = big.split("\n").length + 1
        verify(Search.textItem(view, count + " слов в банке") !== null)
        typeText("\n")
        compare(game.customWordsText, "cat\n" + big + "\ndog")
        compare(TestHarness.preference(root.wordsKey), game.customWordsText)

        // Open again after a restart: the whole list comes back, and a turn draws from it.
        game.goHome()
        const again = TestHarness.restartStore()
        again.screenName = "customWords"
        const editorAgain = wordsEditor(open(again))
        waitUntilFilled(editorAgain)
        compare(editorAgain.text, game.customWordsText)
        again.startNewGame()
        again.setPlayerText("Ann\nBob")
        again.setUsesCustomWords(true)
        again.openFormation()
        again.formTeams(false)
        again.screenName = "ready"
        again.startTurn()
        compare(again.screenName, "playing")
        compare(again.customWordCount, count + 1)
    }

    // A paste with no line break in a piece's reach is cut between characters, never
    // inside a surrogate pair, and is whole once in.
    function test_longLinesOfEmojiArriveWhole() {
        const game = TestHarness.newStore()
        game.screenName = "customWords"
        const editor = wordsEditor(open(game))
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
    // several code points: each one a player, five hundred teams, and the game plays.
    function test_thousandPlayersWithEmojiAndRightToLeftNames() {
        const game = TestHarness.newStore()
        game.startNewGame()
        const view = open(game)
        const odd = ["Даша 👩🏽‍🚀", "שָׂרָה", "محمد", "e\u0301lodie", "\u202eБоб", "🇺🇦", "Zoë\u200d", "李雷"]
        const names = []
        for (let i = 0; i < 1000; ++i)
            names.push(i < odd.length ? odd[i] : "Игрок " + i)
        TestHarness.setClipboardText(names.join("\n"))
        mouseClick(Search.byAccessibleName(view, "Имена игроков, по одному на строку")[0])
        keySequence(StandardKey.Paste)
        compare(game.settings.playerText, names.join("\n"))
        compare(Search.button(view, "Собрать команды").subtitle, "1000 игрока")

        tap("Собрать команды")
        tap("Создать команды не рандомно")
        const teams = settled()
        compare(game.teams.length, 500)
        compare([].concat(...game.teams.map(t => Array.from(t.players))), names)
        compare(Search.byAccessibleName(teams, "Название команды").length, 500)
        verify(Search.withText(teams, "\u202eБоб").some(Search.shown))

        tap("Всё готово")
        const ready = settled()
        verify(Search.withText(ready, "Даша 👩🏽‍🚀").concat(Search.withText(ready, "שָׂרָה"))
               .some(Search.shown))
        mouseClick(ready, 195, 600)
        compare(game.screenName, "playing")
        settled()
        keyClick(Qt.Key_Right)
        TestHarness.advanceClock(210)
        compare(game.teams[0].score, 1)
        TestHarness.advanceClock(60000)
        compare(game.screenName, "summary")
        mouseClick(settled(), 195, 810)
        compare(game.screenName, "ready")
        compare(game.currentPlayerName, names[1])
    }

    // Ten thousand characters of team name, and a player name nearly as long, are kept as
    // typed; wherever they are shown they stay inside the screen and leave room for what
    // the players tap next.
    function test_storyLongNames() {
        const game = TestHarness.newStore()
        game.startNewGame()
        const longPlayer = "Анна-Мария ".repeat(200).trim()
        game.setPlayerText(longPlayer + "\nBob\nCid\nDan")
        game.setWordsToWin(2)
        game.openFormation()
        open(game)
        tap("Создать команды не рандомно")
        const field = Search.byAccessibleName(settled(), "Название команды")[0]
        const longName = "Ёжики в тумане ".repeat(667).slice(0, 10000)
        TestHarness.setClipboardText(longName)
        mouseClick(field)
        keySequence(StandardKey.SelectAll)
        keySequence(StandardKey.Paste)
        compare(game.teams[0].name, longName)
        compare(game.teams[0].players[0], longPlayer)

        const onScreen = item => {
            verify(item !== null)
            const box = item.mapToItem(router, 0, 0, item.width, item.height)
            verify(box.x >= -0.5 && box.y >= -0.5 && box.x + box.width <= router.width + 0.5
                   && box.y + box.height <= router.height + 0.5,
                   (item.objectName || item.text || item.title) + " is off the screen: "
                   + [box.x, box.y, box.width, box.height])
        }
        onScreen(field)
        tap("Всё готово")
        let view = settled()
        for (const name of ["teamName", "guesser"])
            onScreen(findChild(view, name))
        onScreen(Search.textItem(view, "Тапните, чтобы начать"))

        mouseClick(view, 195, 600)
        onScreen(findChild(settled(), "teamName"))
        keyClick(Qt.Key_Right)
        TestHarness.advanceClock(210)
        TestHarness.advanceClock(60000)
        view = settled()
        compare(game.screenName, "summary")
        for (const name of ["team", "points"])
            onScreen(findChild(view, name))
        onScreen(Search.textItem(view, "Тапните, чтобы продолжить"))

        mouseClick(view, 195, 810)
        mouseClick(settled(), 195, 600)
        settled()
        keyClick(Qt.Key_Right)
        TestHarness.advanceClock(210)
        compare(game.screenName, "winner")
        view = settled()
        compare(game.winner.name, longName)
        onScreen(findChild(view, "winnerName"))
        onScreen(Search.button(view, "Переиграть"))
        onScreen(Search.button(view, "На главную"))
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
        const lines = name.lineCount
        verify(lines <= 2, lines + " lines")
        for (const x of [centre.x - name.contentWidth / 2, centre.x + name.contentWidth / 2]) {
            for (const y of [box.y, box.y + name.contentHeight])
                verify(Math.hypot(x - centre.x, y - centre.y) < 95,
                       "a corner of the name at " + [x, y] + " is outside the hub")
        }
    }

    // Twenty nines typed into the target: the digit that no longer fits is refused, the
    // target is the largest number typed, and a game with it plays like any other.
    function test_twentyDigitTarget() {
        const game = TestHarness.newStore()
        game.startNewGame()
        game.setPlayerText("Ann\nBob")
        const view = open(game)
        const field = Search.byAccessibleName(view, "Слов для победы")[0]
        mouseClick(field)
        keySequence(StandardKey.SelectAll)
        typeText("99999999999999999999")
        compare(field.text, "999999999999999999")
        compare(game.settings.wordsToWin, 999999999999999999)
        TestHarness.setClipboardText("99999999999999999999")
        keySequence(StandardKey.SelectAll)
        keySequence(StandardKey.Paste)
        compare(field.text, "999999999999999999")
        compare(game.settings.wordsToWin, 999999999999999999)

        tap("Собрать команды")
        tap("Создать команды не рандомно")
        tap("Всё готово")
        mouseClick(settled(), 195, 600)
        for (let i = 0; i < 5; ++i) {
            keyClick(Qt.Key_Right)
            TestHarness.advanceClock(210)
        }
        compare(game.screenName, "playing")
        compare(game.teams[0].score, 5)
    }
}
