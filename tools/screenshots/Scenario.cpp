#include "Scenario.h"

#include "ScreenshotStage.h"
#include "SteppedAnimationDriver.h"
#include "StoreRig.h"

#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

namespace {

// Players and settings as a group of friends would type them.
void fillSetup(StoreRig &rig)
{
    GameStore &game = rig.store;
    game.startNewGame();
    game.setPlayerText(QStringLiteral("Аня\nБоря\nВика\nГена\nДима"));
    game.setDifficulty(QStringLiteral("Сложная"));
    game.setRoundDuration(90);
    game.setBonusTime(5);
}

// Two pairs with a score, one of them with a name too long for a row.
void scoredTeams(StoreRig &rig)
{
    GameStore &game = rig.store;
    game.setPlayerText(QStringLiteral("Аня\nБоря\nВика\nГена"));
    game.startNewGame();
    game.openFormation();
    game.formTeams(false);
    game.setTeamName(0, QStringLiteral("Невероятно длинное название команды, которое не влезает"));
    game.setTeamName(1, QStringLiteral("Совы"));
}

// The pre-game screens (home to team editor): players typed in, teams formed, and the
// things people really type.
void typePlayers(StoreRig &rig, const QString &players)
{
    rig.store.startNewGame();
    rig.store.setPlayerText(players);
}

void formPairs(StoreRig &rig, const QString &players)
{
    typePlayers(rig, players);
    rig.store.openFormation();
    rig.store.formTeams(false);
    if (rig.store.screen() == AppScreen::observerWheel)
        rig.store.confirmObserver();
}

void ownWords(StoreRig &rig)
{
    rig.store.setCustomWordsText(QStringLiteral(
            "Бабушкин борщ\nКот Василий\n   \nДача в Озёрах\nНовый год у Лёши\nКот Василий\n"
            "Караоке до утра\nПоход без палатки"));
    rig.store.setScreen(AppScreen::customWords);
}

// The screens of play: a turn under way, with own words in the deck.
void readyToPlay(StoreRig &rig, const QString &players)
{
    formPairs(rig, players);
    rig.store.setTeamName(0, QStringLiteral("Совы"));
    rig.store.setTeamName(1, QStringLiteral("Ёжики в тумане"));
    rig.store.setBonusTime(5);
    rig.store.setCustomWordsText(QStringLiteral("Бабушкин борщ\nКот Василий\nДача в Озёрах"));
    rig.store.setUsesCustomWords(true);
    rig.store.setScreen(AppScreen::ready);
}

// Skips words until one of the players' own comes up.
void skipToOwnWord(GameStore &game)
{
    for (int i = 0; i < 500 && !game.currentWordIsCustom(); ++i)
        game.handleSwipe(-100);
}

// A turn of the first pair: some words guessed, some skipped, own words among them.
void playedTurn(StoreRig &rig)
{
    readyToPlay(rig, QStringLiteral("Аня\nБоря\nВика\nГена"));
    GameStore &game = rig.store;
    game.startTurn();
    for (bool guessed : {true, false, true, true})
        game.handleSwipe(guessed ? 100 : -100);
    skipToOwnWord(game);
    game.handleSwipe(100);
    skipToOwnWord(game);
    game.handleSwipe(-100);
    game.handleSwipe(100);
    game.endTurn(false);
}

// The item of that name among the visual children of item, depth first.
QQuickItem *findItem(QQuickItem *item, const QString &name)
{
    if (item->objectName() == name)
        return item;
    for (QQuickItem *child : item->childItems()) {
        if (QQuickItem *found = findItem(child, name))
            return found;
    }
    return nullptr;
}

// Where the word card rests, in the window.
QPointF cardCentre(ScreenshotStage &stage)
{
    const QQuickItem *area = findItem(stage.window()->contentItem(), QStringLiteral("dragArea"));
    return area ? area->mapToScene({area->width() / 2, area->height() / 2}) : QPointF();
}

// The card held dx points to the side, moved there over 160 ms; returns where the finger is.
QPointF holdCard(ScreenshotStage &stage, qreal dx)
{
    stage.advance(600);
    const QPointF from = cardCentre(stage);
    const QPointF to = from + QPointF(dx, 12);
    stage.drag(from, to, 160, true);
    return to;
}

// Across the middle of the window, where a screen's column is however wide the window.
qreal middle(ScreenshotStage &stage)
{
    return stage.window()->width() / 2.0;
}

// How far the screen the router shows last has faded in.
qreal enteringOpacity(ScreenshotStage &stage)
{
    const QQuickItem *router = stage.window()->contentItem()->childItems().value(0);
    const auto *layer = router ? router->property("current").value<QQuickItem *>() : nullptr;
    return layer ? layer->opacity() : 1;
}

} // namespace

// Add scenarios for new screens here: a name, a line of what it shows, and how to get there.
const QList<Scenario> &Scenario::all()
{
    static const QList<Scenario> list = {
        {QStringLiteral("home"), QStringLiteral("the first screen after start-up"), {}, {}, {}},
        {QStringLiteral("setup-filled"), QStringLiteral("new game with five players typed in"),
         fillSetup, {}, {}},
        {QStringLiteral("setup-crossfade"),
         QStringLiteral("halfway through the change from home to the setup screen"), {},
         [](ScreenshotStage &stage) {
             stage.rig().store.startNewGame();
             // Both screens fade on one spring: the new one half in is the old one half out.
             for (int ms = 0; ms < 2000 && enteringOpacity(stage) < 0.5;
                  ms += SteppedAnimationDriver::stepMs)
                 stage.advance(SteppedAnimationDriver::stepMs);
         },
         {}},
        {QStringLiteral("home-small"), QStringLiteral("the first screen on a 320 × 568 window"),
         {},
         [](ScreenshotStage &stage) {
             stage.window()->resize(320, 568);
             stage.advance(1500);
         },
         {}},
        {QStringLiteral("customwords-empty"), QStringLiteral("own words, nothing typed yet"),
         [](StoreRig &rig) { rig.store.setScreen(AppScreen::customWords); }, {}, {}},
        {QStringLiteral("customwords-filled"),
         QStringLiteral("own words with a blank line and a repeat (counts 7)"), ownWords, {}, {}},
        {QStringLiteral("setup-empty"),
         QStringLiteral("new game on first entry: no names, button faded"),
         [](StoreRig &rig) { rig.store.startNewGame(); }, {}, {}},
        {QStringLiteral("setup-two"),
         QStringLiteral("two names on one line, own words on, 50 to win"),
         [](StoreRig &rig) {
             typePlayers(rig, QStringLiteral("Аня, Боря"));
             rig.store.setUsesCustomWords(true);
             rig.store.setWordsToWin(50);
         },
         {}, {}},
        {QStringLiteral("setup-bottom"),
         QStringLiteral("three names, scrolled to the observer note and the button"),
         [](StoreRig &rig) { typePlayers(rig, QStringLiteral("Аня\nБоря\nВика")); },
         [](ScreenshotStage &stage) {
             stage.advance(300);
             const qreal x = middle(stage);
             stage.drag({x, 700}, {x, 100}, 300);
             stage.advance(2000);
         },
         {}},
        {QStringLiteral("formation"), QStringLiteral("how the pairs are made"),
         [](StoreRig &rig) {
             typePlayers(rig, QStringLiteral("Аня\nБоря\nВика\nГена"));
             rig.store.openFormation();
         },
         {}, {}},
        {QStringLiteral("teams-four"), QStringLiteral("team editor, four players, one renamed"),
         [](StoreRig &rig) {
             formPairs(rig, QStringLiteral("Аня\nБоря\nВика\nГена"));
             rig.store.setTeamName(1, QStringLiteral("Совы"));
         },
         {}, {}},
        {QStringLiteral("teams-observer"),
         QStringLiteral("team editor after the wheel: five players, a long name, one team "
                        "name cleared"),
         [](StoreRig &rig) {
             formPairs(rig, QStringLiteral("Аня\nБоря\nВика\nАнастасия-Александра "
                                           "Константинопольская\nДима"));
             rig.store.setTeamName(0, QString());
         },
         {}, {}},
        {QStringLiteral("teams-many"),
         QStringLiteral("team editor with ten teams of twenty players, scrolled to the end"),
         [](StoreRig &rig) {
             QStringList players;
             for (int i = 1; i <= 20; ++i)
                 players << QStringLiteral("Игрок %1").arg(i);
             formPairs(rig, players.join(QLatin1Char('\n')));
         },
         [](ScreenshotStage &stage) {
             stage.advance(300);
             // On the cards' left margin, clear of the name fields.
             const QQuickItem *list = findItem(stage.window()->contentItem(), QStringLiteral("cardList"));
             const qreal x = list ? list->mapToScene({10, 0}).x() : middle(stage);
             for (int i = 0; i < 3; ++i)
                 stage.drag({x, 600}, {x, 100}, 200);
             stage.advance(3000);
         },
         {}},
        {QStringLiteral("observerwheel-spinning"),
         QStringLiteral("observer wheel a second into the spin, the names flicking"),
         [](StoreRig &rig) {
             typePlayers(rig, QStringLiteral("Аня\nБоря\nВика\nГена\nДима"));
             rig.store.openFormation();
             rig.store.formTeams(false);
         },
         [](ScreenshotStage &stage) {
             stage.advance(400);
             stage.rig().clock.advance(std::chrono::milliseconds(1000));
             stage.advance(1000);
         },
         {}},
        {QStringLiteral("observerwheel-revealed"),
         QStringLiteral("observer wheel stopped on the observer, the button in"),
         [](StoreRig &rig) {
             typePlayers(rig,
                         QStringLiteral("Аня\nБоря\nВика\nГена\nАнастасия-Александра "
                                        "Константинопольская"));
             rig.store.openFormation();
             rig.random.queue = {4};
             rig.store.formTeams(false);
         },
         [](ScreenshotStage &stage) {
             stage.advance(400);
             stage.rig().clock.advance(std::chrono::milliseconds(3100));
             stage.advance(2600);
         },
         {}},
        {QStringLiteral("ready-second-pair"),
         QStringLiteral("pass the phone: the second pair, after one turn of the first"),
         [](StoreRig &rig) {
             playedTurn(rig);
             rig.store.continueAfterSummary();
             rig.store.startTurn();
             rig.store.endTurn(false);
             rig.store.continueAfterSummary();
         },
         {}, {}},
        {QStringLiteral("play-rest"), QStringLiteral("a turn under way, the card at rest"),
         [](StoreRig &rig) {
             readyToPlay(rig, QStringLiteral("Аня\nБоря\nВика\nГена"));
             rig.store.startTurn();
             rig.store.handleSwipe(100);
             rig.store.handleSwipe(-100);
             rig.store.handleSwipe(100);
         },
         {}, {}},
        {QStringLiteral("play-drag-left"),
         QStringLiteral("the card held 90 points to the left: skip"),
         [](StoreRig &rig) {
             readyToPlay(rig, QStringLiteral("Аня\nБоря"));
             rig.store.startTurn();
         },
         [](ScreenshotStage &stage) { holdCard(stage, -90); }, {}},
        {QStringLiteral("play-drag-right"),
         QStringLiteral("one of the players' own words held 55 points to the right"),
         [](StoreRig &rig) {
             readyToPlay(rig, QStringLiteral("Аня\nБоря"));
             rig.store.startTurn();
             skipToOwnWord(rig.store);
         },
         [](ScreenshotStage &stage) { holdCard(stage, 55); }, {}},
        {QStringLiteral("play-leaving"),
         QStringLiteral("the card thrown right, 0.06 s into its flight"),
         [](StoreRig &rig) {
             readyToPlay(rig, QStringLiteral("Аня\nБоря"));
             rig.store.startTurn();
         },
         [](ScreenshotStage &stage) {
             const QPointF at = holdCard(stage, 120);
             // A tick of the clock keeps animation time running (the timer's pulse): the
             // stepped driver jumps ahead when an animation starts from idle.
             stage.rig().clock.advance(std::chrono::seconds(1));
             stage.advance(16);
             QTest::mouseRelease(stage.window(), Qt::LeftButton, {}, at.toPoint());
             stage.advance(64);
         },
         {}},
        {QStringLiteral("summary-top"),
         QStringLiteral("turn summary: the first words of a long turn"), playedTurn, {}, {}},
        {QStringLiteral("summary-end"),
         QStringLiteral("turn summary scrolled to its end: own words, guessed and skipped"),
         playedTurn,
         [](ScreenshotStage &stage) {
             stage.advance(300);
             // On the list, whatever the window's size.
             const qreal x = middle(stage);
             const qreal from = stage.window()->height() - 150;
             for (int i = 0; i < 6; ++i)
                 stage.drag({x, from}, {x, 250}, 200);
             stage.advance(3000);
         },
         {}},
        {QStringLiteral("winner-first-pair"), QStringLiteral("the first pair has won"),
         [](StoreRig &rig) {
             readyToPlay(rig, QStringLiteral("Аня\nБоря\nВика\nГена"));
             rig.store.setWordsToWin(3);
             rig.store.startTurn();
             for (int i = 0; i < 3; ++i)
                 rig.store.handleSwipe(100);
         },
         {}, {}},
        {QStringLiteral("components"),
         QStringLiteral("the shared components on the paper, for review"), scoredTeams, {},
         QStringLiteral("qrc:/screenshots/ComponentSheet.qml")},
        {QStringLiteral("icons"), QStringLiteral("every icon name with its glyph"), {}, {},
         QStringLiteral("qrc:/screenshots/IconSheet.qml")},
        {QStringLiteral("stars"),
         QStringLiteral("DoodleStar outlined and filled, in square and flat boxes"), {}, {},
         QStringLiteral("qrc:/screenshots/StarSheet.qml")},
    };
    return list;
}
