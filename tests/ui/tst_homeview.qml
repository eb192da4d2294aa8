import QtQuick
import QtTest
import TarvukeGlimp
import TarvukeGlimp.Components
import TarvukeGlimp.Testing
import "ScreenSearch.js" as Search

// The first screen: its two ways in, and its layout on windows from roomy to cramped.
ScreenTestCase {
    id: root

    name: "HomeView"

    Component {
        id: viewComponent

        ContentView {}
    }

    function openHome(game, width, height) {
        const router = createTemporaryObject(viewComponent, root,
                                             { game: game, width: width, height: height })
        const screen = router.current.view
        waitForRendering(screen)
        return screen
    }

    function stops() {
        return TestHarness.audioLog().filter(line => line.endsWith(":stop")).length
    }

    // A skip sound still plays when the players come back home: "Собственные слова"
    // leaves it alone, "Новая игра" stops it and keeps the settings.
    function test_waysInAndTheSoundStillPlaying() {
        const game = TestHarness.newStore()
        game.setPlayerText("Ann\nBob")
        game.formTeams(false)
        game.screenName = "ready"
        game.startTurn()
        game.handleSwipe(-100)
        game.setBonusTime(10)
        game.screenName = "home"
        const before = stops()
        mouseClick(Search.button(openHome(game, 390, 844), "Собственные слова"))
        compare(game.screenName, "customWords")
        compare(stops(), before)
        game.screenName = "home"
        mouseClick(Search.button(openHome(game, 390, 844), "Новая игра"))
        verify(stops() > before)
        compare(game.screenName, "setup")
        compare(game.settings.playerText, "Ann\nBob")
        compare(game.settings.bonusTime, 10)
    }

    // Where the star, the tagline, the buttons and the footer sit on the window.
    function geometry(width, height) {
        const screen = openHome(TestHarness.newStore(), width, height)
        const box = item => item.mapToItem(screen, 0, 0, item.width, item.height)
        const star = Search.allItems(screen).find(n => n.hasOwnProperty("vertices"))
        const newGame = Search.button(screen, "Новая игра")
        const ownWords = box(Search.button(screen, "Собственные слова"))
        return {
            starTop: star.parent.mapToItem(screen, 0, 0).y,
            taglineBottom: box(Search.textItem(screen, "объясняй. угадывай. побеждай.")).y
                           + Search.textItem(screen, "объясняй. угадывай. побеждай.").height,
            buttonsTop: box(newGame).y,
            buttonHeight: newGame.height,
            squeezed: newGame.height < newGame.implicitHeight,
            footerGap: box(Search.textItem(screen, "Версия для шумных вечеров")).y
                       - (ownWords.y + ownWords.height)
        }
    }

    // The gaps share the room; on small windows they shrink to their minimums (30 above the
    // star, 40 above the footer) and nothing else does.
    function test_layoutKeepsItsMinimumSpaces() {
        const roomy = geometry(390, 844)
        fuzzyCompare(roomy.starTop, roomy.footerGap, 1)
        for (const [w, h] of [[320, 568], [320, 480], [320, 400]]) {
            const small = geometry(w, h)
            const what = w + "×" + h
            verify(small.starTop >= 30 && small.footerGap >= 40, what)
            compare(small.buttonHeight, roomy.buttonHeight, what)
            verify(!small.squeezed, what)
            verify(small.taglineBottom <= small.buttonsTop, what)
        }
        const cramped = geometry(320, 400)
        compare([cramped.starTop, cramped.footerGap], [30, 40])
    }
}
