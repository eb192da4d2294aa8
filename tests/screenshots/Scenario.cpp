#include "Scenario.h"

#include "ScreenshotStage.h"
#include "StoreRig.h"

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
             stage.advance(110);
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
