// Hundreds of whole games through the store's public operations, with random names, swipes,
// ticks, going home and replays; the invariants are checked after every step. The fuzzer
// (tests/fuzz/fuzz_gamestore) walks the same way with more rules and more settings.
#include "StoreHarness.h"
#include "WordRules.h"

#include <random>

class TestRandomGames : public QObject
{
    Q_OBJECT

private slots:
    void wholeGamesKeepTheRules()
    {
        int finishedGames = 0;
        for (quint64 seed = 1; finishedGames < 300; ++seed) {
            StoreHarness harness(seed);
            GameStore &game = *harness;
            std::mt19937_64 rng(seed * 7919);
            const auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
            const auto chance = [&](double p) { return std::bernoulli_distribution(p)(rng); };
            const QStringList pieces{u"\n"_qs, u","_qs, u"\r\n"_qs, u"Аня"_qs, u" Ёжик "_qs, u"😀"_qs, u"e\u0301"_qs, u"Петя"_qs};
            QString names;
            for (int i = 0; i < 20; ++i)
                names += pieces.at(below(int(pieces.size())));
            game.startNewGame();
            game.setPlayerText(names + u"\nА\nБ"_qs);
            game.setUsesCustomWords(true);
            game.setCustomWordsText(names);
            game.setWordsToWin(below(16) - 1);

            for (int step = 0; step < 3000 && game.screen() != AppScreen::winner; ++step) {
                switch (game.screen()) {
                case AppScreen::home: game.startNewGame(); break;
                case AppScreen::setup: game.openFormation(); break;
                case AppScreen::formation: game.formTeams(chance(0.5)); break;
                case AppScreen::observerWheel: chance(0.1) ? game.cancelObserver() : game.confirmObserver(); break;
                case AppScreen::teams: game.setScreen(AppScreen::ready); break;
                case AppScreen::ready: chance(0.02) ? game.goHome() : game.startTurn(); break;
                case AppScreen::playing:
                    if (const int action = below(10); action < 6)
                        game.handleSwipe(below(401) - 200);
                    else if (action < 9)
                        harness.clock.advance(std::chrono::milliseconds(below(3000)));
                    else
                        game.handleSwipeInTurn(100, game.turnNumber() - 1);
                    break;
                case AppScreen::summary: chance(0.02) ? game.goHome() : game.continueAfterSummary(); break;
                default: break;
                }
                // Turn operations outside a turn must change nothing.
                if (game.screen() != AppScreen::playing && chance(0.05)) {
                    game.endTurn(chance(0.5));
                    game.markGuessed();
                    game.markSkipped();
                }

                const AppScreen screen = game.screen();
                if (screen == AppScreen::ready || screen == AppScreen::playing || screen == AppScreen::summary)
                    QVERIFY(!game.currentPlayerName().isEmpty());
                for (const Team &team : game.teams())
                    QCOMPARE(team.players.size(), 2);
                qint64 guessed = 0;
                QSet<QString> keys;
                for (const RoundWord &word : game.roundWords()) {
                    guessed += word.guessed ? 1 : 0;
                    keys.insert(wordKey(word.word));
                }
                QCOMPARE(keys.size(), game.roundWords().size()); // no word twice in a turn
                QCOMPARE(guessed, game.guessedCount());
                QCOMPARE(game.roundWords().size() - guessed, game.skippedCount());
                if (screen == AppScreen::winner)
                    QVERIFY(game.winner() && game.winner()->score == game.settings().wordsToWin);
                QCOMPARE(game.hasTimerTask(), screen == AppScreen::playing);
                if (QTest::currentTestFailed()) {
                    qWarning() << "seed" << seed << "step" << step;
                    return;
                }
            }
            if (game.screen() == AppScreen::winner) {
                ++finishedGames;
                chance(0.5) ? game.replay() : game.goHome();
                QVERIFY(!game.winner() || game.screen() == AppScreen::home);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestRandomGames)
#include "tst_randomgames.moc"
