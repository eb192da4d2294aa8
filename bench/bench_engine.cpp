// Engine timings on the paths a player feels: starting a turn with a big custom list,
// and one keystroke in a long custom words text (assign + save to disk + recount).
#include "BenchGame.h"
#include "BenchTable.h"
#include "FeedbackdHaptics.h"
#include "GameStore.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    DiskBackedGame store;
    const QString &file = store.file;
    BackgroundPreferences &prefs = store.prefs;
    GameStore &game = store.game;

    QString words;
    for (int i = 0; i < 10000; ++i)
        words += QStringLiteral("Своё слово номер %1\n").arg(i);
    game.setCustomWordsText(words);
    game.setPlayerText(QStringLiteral("Аня\nБорис"));
    game.setDifficulty(QStringLiteral("Сложная"));
    game.setUsesCustomWords(true);
    game.formTeams(false);

    BenchTable table;
    // A turn starts only from the ready screen.
    const auto ready = [&] { game.setScreen(AppScreen::ready); };
    table.add(QStringLiteral("startTurn, hard list + 10,000 custom words"), 2.0, ready, [&] {
        game.startTurn();
        game.endTurn(false);
    });
    table.add(QStringLiteral("  the first startTurn after the words were edited"), 0, [&] {
        ready();
        game.setCustomWordsText(words);
        prefs.flush(std::chrono::minutes(1));
    }, [&] {
        game.startTurn();
        game.endTurn(false);
    });
    int keystroke = 0;
    table.add(QStringLiteral("custom words keystroke on 10,000 lines (assign + save + recount)"), 4.0, [&] {
        // Alternate typing and deleting one letter at the end.
        words = (keystroke++ % 2) ? words.chopped(1) : words + QLatin1Char('x');
        game.setCustomWordsText(words);
        volatile qint64 count = game.customWordCount();
        Q_UNUSED(count);
    });
    table.add(QStringLiteral("  the same keystroke's write on the writer thread (not on screen)"), 0, [&] {
        words = (keystroke++ % 2) ? words.chopped(1) : words + QLatin1Char('x');
        game.setCustomWordsText(words);
        prefs.flush(std::chrono::minutes(1));
    });
    SettingsPreferences direct(file);
    table.add(QStringLiteral("  for comparison: a synced QSettings write of that text"), 0, [&] {
        words = (keystroke++ % 2) ? words.chopped(1) : words + QLatin1Char('x');
        direct.writeText(QString::fromLatin1(GameStore::customWordsKey), words);
    });
    // Every swipe vibrates: the call to feedbackd must not wait for the bus.
    FeedbackdHaptics feedback;
    table.add(QStringLiteral("a swipe's haptic cue (feedbackd on the session bus, no reply)"), 0.5,
              [&] { feedback.notify(HapticCue::success); });
    return table.anyMissed() ? 1 : 0;
}
