import QtQuick
import QtTest
import TarvukeGlimp.Components
import TarvukeGlimp.Screens
import TarvukeGlimp.Testing
import "ScreenSearch.js" as Search

// Each screen on a real store: home (two ways in, its layout from roomy to cramped windows),
// the observer wheel (every name its reveal flicks, timed in tst_observerreveal, then the
// observer once with one haptic; leaving stops everything), ready (whose turn, a tap
// anywhere begins), the summary (what the turn scored, its words; a drag scrolls, a tap
// passes the turn on and silences the turn-end sound), the winner (who, with how many
// points, two ways out that keep the settings).
ScreenTestCase {
    id: root

    name: "Screens"

    function openHome(game, width, height) {
        const router = createTemporaryObject(routerComponent, root, { game: game, width: width, height: height })
        waitForRendering(router.current.view)
        return router.current.view
    }

    // A skip sound still plays when the players come back home: "Собственные слова"
    // leaves it alone, "Новая игра" stops it and keeps the settings.
    function test_homeWaysInAndTheSoundStillPlaying() {
        const game = turnStore("Ann\nBob")
        game.handleSwipe(-100)
        game.setBonusTime(10)
        game.screenName = "home"
        const stops = () => TestHarness.audioLog().filter(line => line.endsWith(":stop")).length
        const before = stops()
        for (const [button, screen] of [["Собственные слова", "customWords"], ["Новая игра", "setup"]]) {
            game.screenName = "home"
            mouseClick(Search.button(openHome(game, 390, 844), button))
            compare(game.screenName, screen)
            compare(stops() > before, screen === "setup", button)
        }
        compare([game.settings.playerText, game.settings.bonusTime], ["Ann\nBob", 10])
    }

    // Where the star, the tagline, the buttons and the footer sit on the window.
    function geometry(width, height) {
        const screen = openHome(TestHarness.newStore(), width, height)
        const box = item => item.mapToItem(screen, 0, 0, item.width, item.height)
        const star = Search.allItems(screen).find(n => n.hasOwnProperty("vertices"))
        const newGame = Search.button(screen, "Новая игра")
        const tagline = box(Search.textItem(screen, "объясняй. угадывай. побеждай."))
        const ownWords = box(Search.button(screen, "Собственные слова"))
        return {
            starTop: star.parent.mapToItem(screen, 0, 0).y,
            taglineBelow: box(newGame).y - (tagline.y + tagline.height),
            button: [newGame.height, newGame.height < newGame.implicitHeight],
            footerGap: box(Search.textItem(screen, "Версия для шумных вечеров")).y - (ownWords.y + ownWords.height)
        }
    }

    // The gaps share the room; on small windows they shrink to their minimums (30 above the
    // star, 40 above the footer) and nothing else does.
    function test_homeLayoutKeepsItsMinimumSpaces() {
        const roomy = geometry(390, 844)
        fuzzyCompare(roomy.starTop, roomy.footerGap, 1)
        for (const [w, h] of [[320, 568], [320, 480], [320, 400]]) {
            const small = geometry(w, h)
            const what = w + "×" + h
            verify(small.starTop >= 30 && small.footerGap >= 40 && small.taglineBelow >= 0, what)
            compare(small.button, [roomy.button[0], false], what)
            if (h === 400)
                compare([small.starTop, small.footerGap], [30, 40])
        }
    }

    Component { id: wheelComponent; ObserverWheelView { width: 390; height: 844 } }

    // A, B and C on the formation screen, B drawn as the observer.
    function storeWithB() {
        const game = TestHarness.newStore()
        game.setPlayerText("A\nB\nC")
        TestHarness.queueRandom([1])
        game.formTeams(false)
        compare(game.observer, "B")
        return game
    }

    function test_wheelShowsTheNamesThenTheObserver() {
        const game = storeWithB()
        const view = createTemporaryObject(wheelComponent, root, { game: game })
        const name = findChild(view, "displayedName")
        const shown = [name.text]
        name.textChanged.connect(() => shown.push(name.text))
        // The names start once the wheel is on view.
        waitForRendering(view)

        // The translucent face over a shadow as faint as the face is translucent: on paper it
        // reads #F7D587, not the #F1CF83 of a full-strength shadow. Probed on the ring between
        // the hub and the ticks.
        const wheel = findChild(view, "wheel")
        const turn = (11.25 + findChild(view, "disc").rotation) * Math.PI / 180
        const probe = wheel.mapToItem(view, wheel.width / 2 + 103 * Math.sin(turn),
                                      wheel.height / 2 - 103 * Math.cos(turn))
        const image = grabImage(view)
        const shaded = over(Theme.ink, 0.15 * 0.58, image.pixel(2, 2))
        compareColour(image.pixel(probe.x, probe.y), over(Theme.sun, 0.58, shaded), "disc")

        tryCompare(name, "text", "A")
        const button = findChild(view, "toTeams")
        verify(!button.visible)
        TestHarness.advanceClock(3047)
        const spin = Array.from({ length: 22 }, (_, step) => ["A", "B", "C"][step % 3])
        compare(shown, ["Крутим…"].concat(spin, ["B"]))
        compare(TestHarness.hapticCues(), ["success"])

        // The texts cross-fade to their revealed versions and the way on appears.
        const seen = text => Search.withText(view, text).some(node => Search.shown(node))
        tryVerify(() => !seen("Кто пропускает раунд?"), settleMs)
        verify(seen("Наблюдает!"))
        tryVerify(() => button.visible && button.parent.opacity === 1 && Math.abs(button.parent.y) < 0.5, settleMs)

        // Once only.
        TestHarness.advanceClock(10000)
        compare(shown.length, 24)
        compare(TestHarness.hapticCues(), ["success"])
        mouseClick(button)
        compare(game.screenName, "teams")
    }

    // Back during the spin: the formation screen at once, and nothing afterwards, even
    // while the wheel is still fading out.
    function test_wheelBackDuringTheSpinStopsEverything() {
        const game = storeWithB()
        const router = createTemporaryObject(routerComponent, root, { game: game })
        const wheel = router.current.view
        waitForRendering(router)
        TestHarness.advanceClock(1000)
        const name = findChild(wheel, "displayedName")
        const before = name.text
        // The back arrow at the top left.
        mouseClick(router, 22 + 21, 14 + 21)
        compare(game.screenName, "formation")
        verify(!game.observer)
        TestHarness.advanceClock(10000)
        compare(TestHarness.hapticCues(), [])
        if (wheel) {
            compare(name.text, before)
            verify(!wheel.isComplete)
        }
    }

    Component { id: readyComponent; ReadyView { width: 390; height: 844 } }
    // A phone's height less the status bar and the home indicator.
    Component { id: summaryComponent; SummaryView { width: 390; height: 763 } }
    Component { id: winnerComponent; WinnerView { width: 390; height: 844 } }

    // The first turn begun, the first team named "Совы".
    function turnStore(players, wordsToWin) {
        const game = TestHarness.newStore()
        game.setPlayerText(players)
        if (wordsToWin)
            game.setWordsToWin(wordsToWin)
        game.formTeams(false)
        game.setTeamName(0, "Совы")
        game.screenName = "ready"
        game.startTurn()
        return game
    }

    // The back arrow goes home without starting; anywhere else starts the turn: the empty
    // middle, the texts, the score card.
    function test_readyTaps_data() {
        return [["back", 43, 35, "home", 0], ["middle", 195, 300, "playing", 1], ["texts", 195, 560, "playing", 1],
                ["score card", 195, 780, "playing", 1]].map(([tag, x, y, screen, turns]) => ({ tag, x, y, screen, turns }))
    }

    // Four players in two pairs, the second pair's second player to guess.
    function test_readyTaps(data) {
        const game = turnStore("Аня\nБоря\nВика\nГена")
        game.setTeamName(1, "Ёжики в тумане")
        game.handleSwipe(100)
        for (let turn = 0; turn < 3; ++turn) {
            game.endTurn(false)
            game.continueAfterSummary()
            if (turn < 2)
                game.startTurn()
        }
        const view = createTemporaryObject(readyComponent, root, { game: game })
        compare(["teamName", "guesser"].map(name => findChild(view, name).text), ["ЁЖИКИ В ТУМАНЕ", "Гена"])
        compare(findChild(view, "scoreboard").teams.map(t => t.score), [1, 0])
        mouseClick(view, data.x, data.y)
        compare(game.screenName, data.screen)
        compare(game.turnNumber, 3 + data.turns)
    }

    function test_summaryOfTwelveWords() {
        const game = turnStore("Аня\nБоря")
        for (const guessed of [true, false, true, true, false, true, false, false, true, true, true, false])
            game.handleSwipe(guessed ? 100 : -100)
        game.endTurn(false)
        const view = createTemporaryObject(summaryComponent, root, { game: game })
        waitForRendering(view)
        compare(["points", "player", "team"].map(name => findChild(view, name).text), ["+7", "Аня", "Совы"])
        const list = findChild(view, "wordList")
        const texts = []
        for (let i = 0; i < list.count; ++i) {
            list.positionViewAtIndex(i, ListView.Contain)
            texts.push(findChild(list.itemAtIndex(i), "wordText").text)
        }
        list.positionViewAtBeginning()
        compare(texts, game.roundWords.map(w => w.word))
        // A skip is the card's u-turn arrow on a disc.
        const marks = [0, 1].map(i => findChild(list.itemAtIndex(i), "statusIcon"))
        compare(marks.map(m => m.name), ["checkmark.circle.fill", "arrow.uturn.right.circle.fill"])
        verify(marks[1].onDisc && marks[1].outline !== "")

        // The back button at the screen's edge shows its whole 2-pt outline.
        const back = Search.allItems(view).find(node => node.hasOwnProperty("hasBack"))
        const middle = back.mapToItem(view, 0, back.height / 2)
        compare(middle.x, 0)
        const image = grabImage(view)
        for (const x of [0, 1])
            verify(image.pixel(x, middle.y).r < 0.25, "outline at x = " + x + ": " + image.pixel(x, middle.y))

        // Twelve rows do not fit: a drag scrolls, to the list's end and no further, and does
        // not pass the turn.
        verify(list.contentHeight > list.height, list.contentHeight + " in " + list.height)
        const at = list.mapToItem(view, list.width / 2, list.height - 20)
        mouseDrag(view, at.x, at.y, 0, -250)
        tryVerify(() => list.atYEnd && !list.moving, settleMs, "scrolled to " + list.contentY)
        compare(game.screenName, "summary")

        // A tap on a row passes the turn on and stops the turn-end sound.
        const log = TestHarness.audioLog()
        const playing = log.filter(l => l.indexOf("turn_endscreen") >= 0 && l.endsWith(":play"))
        compare(playing.length, 1)
        const row = list.itemAtIndex(list.indexAt(list.width / 2, list.contentY + list.height / 2))
        mouseClick(row, row.width / 2, row.height / 2)
        compare(game.screenName, "ready")
        const after = TestHarness.audioLog().slice(log.length)
        verify(after.indexOf(playing[0].replace(/:play$/, ":stop")) >= 0, after.join(", "))
    }

    // Reached with no winner (a restored game, say) it still reads as a sentence.
    function test_winnerWithoutOne() {
        const game = TestHarness.newStore()
        game.screenName = "winner"
        const view = createTemporaryObject(winnerComponent, root, { game: game })
        compare(["winnerName", "winnerLine"].map(name => findChild(view, name).text),
                ["Команда", "набирает 0 баллов и забирает вечер"])
    }

    function test_winnerWaysOut_data() {
        return [{ tag: "replay", button: "replay", screen: "setup" },
                { tag: "home", button: "home", screen: "home" }]
    }

    // Two pairs; the first wins with three words.
    function test_winnerWaysOut(data) {
        const game = turnStore("Аня\nБоря\nВика\nГена", 3)
        for (let i = 0; i < 3; ++i)
            game.handleSwipe(100)
        const view = createTemporaryObject(winnerComponent, root, { game: game })
        compare(["winnerName", "winnerLine"].map(name => findChild(view, name).text),
                ["Совы", "набирает 3 баллов и забирает вечер"])
        compare(findChild(view, "scoreboard").teams.map(t => t.score), [3, 0])
        mouseClick(findChild(view, data.button))
        compare(game.screenName, data.screen)
        compare(game.settings.playerText, "Аня\nБоря\nВика\nГена")
        compare(game.settings.wordsToWin, 3)
    }
}
