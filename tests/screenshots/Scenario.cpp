#include "Scenario.h"

#include "ScreenshotStage.h"
#include "StoreRig.h"

#include <QQuickWindow>

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
             stage.advance(64);
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
             stage.drag({195, 700}, {195, 100}, 300);
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
         QStringLiteral("team editor after the wheel: five players, one name cleared"),
         [](StoreRig &rig) {
             formPairs(rig, QStringLiteral("Аня\nБоря\nВика\nГена\nДима"));
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
             stage.drag({195, 600}, {195, 100}, 200);
             stage.drag({195, 600}, {195, 100}, 200);
             stage.drag({195, 600}, {195, 100}, 200);
             stage.advance(3000);
         },
         {}},
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
