import QtQuick
import QtTest
import TarvukeGlimp
import TarvukeGlimp.Components
import TarvukeGlimp.Testing
import "ScreenSearch.js" as Search

// The first screen: its two ways in, and its layout on windows from roomy to cramped.
TestCase {
    id: root

    name: "HomeView"
    when: windowShown
    visible: true
    width: 390
    height: 844

    Component {
        id: viewComponent

        ContentView {}
    }

    function init() {
        failOnWarning(/.*/)
    }

    function openHome(game, width, height) {
        const router = createTemporaryObject(viewComponent, root, {
            game: game,
            width: width || 390,
            height: height || 844
        })
        const screen = router.current.view
        verify(screen !== null)
        waitForRendering(screen)
        return { game: game, router: router, screen: screen }
    }

    // A skip sound still playing when the players come back to the home screen.
    function storeWithASoundPlaying() {
        const game = TestHarness.newStore()
        game.setPlayerText("Ann\nBob")
        game.openFormation()
        game.formTeams(false)
        game.screenName = "ready"
        game.startTurn()
        game.handleSwipe(-100)
        verify(TestHarness.audioLog().some(line => line.endsWith(":play")))
        game.screenName = "home"
        return game
    }

    function stops() {
        return TestHarness.audioLog().filter(line => line.endsWith(":stop")).length
    }

    function test_newGameStopsSoundsAndKeepsSettings() {
        const game = storeWithASoundPlaying()
        game.setPlayerText("Ann\nBob\nCid")
        game.setBonusTime(10)
        const s = openHome(game)
        const before = stops()
        mouseClick(Search.button(s.screen, "Новая игра"))
        verify(stops() > before)
        compare(game.screenName, "setup")
        compare(game.settings.playerText, "Ann\nBob\nCid")
        compare(game.settings.bonusTime, 10)
    }

    function test_ownWordsLeavesSoundsAlone() {
        const game = storeWithASoundPlaying()
        const s = openHome(game)
        const before = stops()
        mouseClick(Search.button(s.screen, "Собственные слова"))
        compare(game.screenName, "customWords")
        compare(stops(), before)
    }

    function test_texts() {
        const s = openHome(TestHarness.newStore())
        for (const text of ["tarvuk’s", "glimp", "объясняй. угадывай. побеждай.",
                            "Новая игра", "соберите свою банду",
                            "Собственные слова", "добавьте свои приколы",
                            "Версия для шумных вечеров"])
            verify(Search.textItem(s.screen, text) !== null, text)
        const serif = Search.textItem(s.screen, "glimp")
        compare(serif.font.family, Theme.serifFamily)
        verify(serif.font.italic)
        compare(serif.font.pixelSize, 66)
        compare(serif.color, Theme.coral)
    }

    // What a person sees of the layout: where each part sits on the window.
    function geometry(s) {
        const at = text => {
            const item = Search.textItem(s.screen, text)
            const box = item.mapToItem(s.screen, 0, 0, item.width, item.height)
            return { top: box.y, bottom: box.y + box.height, height: box.height }
        }
        const star = Search.allItems(s.screen).find(n => n.hasOwnProperty("vertices"))
        // The badge's own box: the tilted star's corners poke out of it.
        const starBox = star.parent.mapToItem(s.screen, 0, 0, star.width, star.height)
        const newGame = Search.button(s.screen, "Новая игра")
        const ownWords = Search.button(s.screen, "Собственные слова")
        const top = newGame.mapToItem(s.screen, 0, 0).y
        const buttonsBottom = ownWords.mapToItem(s.screen, 0, ownWords.height).y
        return {
            star: star,
            starTop: starBox.y,
            title: at("tarvuk’s"),
            serif: at("glimp"),
            tagline: at("объясняй. угадывай. побеждай."),
            footer: at("Версия для шумных вечеров"),
            buttonHeights: [newGame.height, ownWords.height],
            buttonsSqueezed: newGame.height < newGame.implicitHeight
                             || ownWords.height < ownWords.implicitHeight,
            buttonWidth: newGame.width,
            buttonsTop: top,
            buttonsBottom: buttonsBottom,
            buttonGap: ownWords.mapToItem(s.screen, 0, 0).y - (top + newGame.height)
        }
    }

    function test_layoutKeepsSizesOnSmallWindows() {
        const roomy = geometry(openHome(TestHarness.newStore(), 390, 844))
        compare(roomy.star.width, 68)
        compare(roomy.star.rotation, -12)
        compare(roomy.buttonWidth, 390 - 56)
        compare(roomy.buttonGap, 16)
        compare(roomy.footer.bottom, 844 - 18)
        // The three gaps share the room: as tall above the star as below the buttons.
        const above = roomy.starTop
        const below = roomy.footer.top - roomy.buttonsBottom
        fuzzyCompare(above, below, 1)
        verify(above > 40)

        for (const [w, h] of [[320, 568], [320, 480]]) {
            const small = geometry(openHome(TestHarness.newStore(), w, h))
            const what = w + "×" + h
            compare(small.star.width, 68, what)
            compare(small.title.height, roomy.title.height, what)
            compare(small.serif.height, roomy.serif.height, what)
            compare(small.tagline.height, roomy.tagline.height, what)
            // Narrower, a long title may wrap; shorter, nothing is squeezed.
            compare(small.buttonHeights[0], roomy.buttonHeights[0], what)
            verify(!small.buttonsSqueezed, what)
            compare(small.buttonWidth, w - 56, what)
            compare(small.buttonGap, 16, what)
            verify(small.starTop >= 30, what + ": " + small.starTop)
            verify(small.footer.top - small.buttonsBottom >= 40, what)
            // The title block stays above the buttons.
            verify(small.tagline.bottom <= small.buttonsTop, what)
        }
        // Cramped past its needs, every gap sits at its minimum and nothing else shrinks.
        const cramped = geometry(openHome(TestHarness.newStore(), 320, 400))
        compare(cramped.starTop, 30)
        compare(cramped.footer.top - cramped.buttonsBottom, 40)
        compare(cramped.buttonHeights[0], roomy.buttonHeights[0])
        verify(!cramped.buttonsSqueezed)
        compare(cramped.title.height, roomy.title.height)
    }
}
