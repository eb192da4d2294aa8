// Hundreds of whole games through the store's public operations, with random settings,
// names, swipes, ticks, going home and replays; the invariants are checked after every step.
#include "StoreHarness.h"
#include "WordRules.h"

#include <random>

class TestRandomGames : public QObject
{
    Q_OBJECT

private:
    QList<std::pair<QUuid, qint64>> m_scores;

    void checkInvariants(const GameStore &game)
    {
        const AppScreen screen = game.screen();
        if (!game.teams().isEmpty() && screen != AppScreen::home && screen != AppScreen::setup
            && screen != AppScreen::formation)
            QVERIFY(!game.currentPlayerName().isEmpty());
        // Scores only grow while the same teams play.
        QList<std::pair<QUuid, qint64>> scores;
        for (const Team &team : game.teams()) {
            QCOMPARE(team.players.size(), 2);
            scores.append({team.id, team.score});
        }
        if (scores.size() == m_scores.size() && !scores.isEmpty() && scores.first().first == m_scores.first().first) {
            for (qsizetype i = 0; i < scores.size(); ++i)
                QVERIFY(scores.at(i).second >= m_scores.at(i).second);
        }
        m_scores = scores;

        qint64 guessed = 0;
        QSet<QString> keys;
        for (const RoundWord &word : game.roundWords()) {
            guessed += word.guessed ? 1 : 0;
            keys.insert(wordKey(word.word));
        }
        QCOMPARE(keys.size(), game.roundWords().size());
        QCOMPARE(guessed, game.guessedCount());
        QCOMPARE(game.roundWords().size() - guessed, game.skippedCount());
        if (screen == AppScreen::winner)
            QVERIFY(game.winner() && game.winner()->score == game.settings().wordsToWin);
        QCOMPARE(game.hasTimerTask(), screen == AppScreen::playing);
        if (screen == AppScreen::playing)
            QVERIFY(game.remainingTime() >= 1);
    }

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
            const auto pick = [&](const auto &list) { return list.at(below(int(list.size()))); };
            const QStringList people{u"Аня"_qs, u" Ёжик "_qs, u"😀"_qs, u"שרה"_qs, u"e\u0301"_qs, u"Петя"_qs, u"Петя"_qs};
            // Names joined by every kind of break.
            const auto names = [&](int count) {
                QString text;
                for (int i = 0; i < count; ++i)
                    text += pick(QStringList{u"\n"_qs, u","_qs, u"\r\n"_qs, u" , "_qs, u"\u2028"_qs}) + pick(people);
                return text;
            };
            m_scores.clear();

            game.startNewGame();
            game.setPlayerText(names(2 + below(8)));
            game.setDifficulty(pick(GameStore::difficultyLabels()));
            game.setUsesCustomWords(chance(0.5));
            game.setCustomWordsText(names(below(12)));
            game.setRoundDuration(pick(GameStore::roundDurationValues()));
            game.setWordsToWin(below(16) - 1);
            game.setBonusTime(pick(GameStore::bonusTimeValues()));

            for (int step = 0; step < 3000 && game.screen() != AppScreen::winner; ++step) {
                switch (game.screen()) {
                case AppScreen::home: game.startNewGame(); break;
                case AppScreen::setup:
                    if (game.settings().playerNames().size() < 2)
                        game.setPlayerText(names(2 + below(8)));
                    game.openFormation();
                    break;
                case AppScreen::formation: game.formTeams(chance(0.5)); break;
                case AppScreen::observerWheel: chance(0.1) ? game.cancelObserver() : game.confirmObserver(); break;
                case AppScreen::teams:
                    chance(0.2) ? game.setTeamName(below(int(game.teams().size())), pick(people))
                                : game.setScreen(AppScreen::ready);
                    break;
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
                case AppScreen::winner:
                case AppScreen::customWords: break;
                }
                // Turn operations outside a turn must change nothing.
                if (game.screen() != AppScreen::playing && chance(0.05)) {
                    game.endTurn(chance(0.5));
                    game.handleSwipe(100);
                    game.markGuessed();
                    game.markSkipped();
                }
                checkInvariants(game);
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
