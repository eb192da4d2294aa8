// Hundreds of whole games through the store's public operations, with random settings,
// names, swipes, ticks, going home and replays; the invariants are checked after every step.
#include "StoreHarness.h"
#include "WordRules.h"

#include <random>

namespace {

class Player
{
public:
    explicit Player(quint64 seed) : m_rng(seed) { }

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }
    bool chance(double p) { return std::bernoulli_distribution(p)(m_rng); }

    template<typename List>
    auto pick(const List &list) { return list.at(below(int(list.size()))); }

    QString name()
    {
        return pick(QStringList{u"Аня"_qs, u"Ёжик"_qs, u" Борис "_qs, u"😀"_qs, u"שרה"_qs, u"Zoë"_qs,
                                u"Петя"_qs, u"e\u0301"_qs, u"Петя"_qs});
    }

    QString playerText(int count)
    {
        QString text = name();
        for (int i = 1; i < count; ++i)
            text += pick(QStringList{u"\n"_qs, u","_qs, u"\r\n"_qs, u" , "_qs, u"\n\n"_qs, u"\u2028"_qs}) + name();
        return text;
    }

private:
    std::mt19937_64 m_rng;
};

} // namespace

class TestRandomGames : public QObject
{
    Q_OBJECT

private:
    QList<std::pair<QUuid, qint64>> m_scores;

    void checkInvariants(GameStore &game)
    {
        if (!game.teams().isEmpty() && game.screen() != AppScreen::home
            && game.screen() != AppScreen::setup && game.screen() != AppScreen::formation) {
            QVERIFY(game.currentTeamIndex() >= 0 && game.currentTeamIndex() < game.teams().size());
            const Team &team = game.teams().at(game.currentTeamIndex());
            QVERIFY(game.currentPlayerIndex() >= 0 && game.currentPlayerIndex() < team.players.size());
            QVERIFY(!game.currentPlayerName().isEmpty());
        }
        for (const Team &team : game.teams())
            QCOMPARE(team.players.size(), 2);

        // Scores only grow while the same teams play.
        QList<std::pair<QUuid, qint64>> scores;
        for (const Team &team : game.teams())
            scores.append({team.id, team.score});
        if (scores.size() == m_scores.size() && !scores.isEmpty() && scores.first().first == m_scores.first().first) {
            for (qsizetype i = 0; i < scores.size(); ++i)
                QVERIFY(scores.at(i).second >= m_scores.at(i).second);
        }
        m_scores = scores;

        qint64 guessed = 0;
        QSet<QString> keys;
        for (const RoundWord &word : game.roundWords()) {
            guessed += word.guessed ? 1 : 0;
            QVERIFY2(!keys.contains(wordKey(word.word)), qPrintable(word.word));
            keys.insert(wordKey(word.word));
        }
        QCOMPARE(guessed, game.guessedCount());
        QCOMPARE(game.roundWords().size() - guessed, game.skippedCount());

        if (game.screen() == AppScreen::winner) {
            QVERIFY(game.winner());
            QCOMPARE(game.winner()->score, game.settings().wordsToWin);
        }
        if (game.screen() == AppScreen::playing) {
            QVERIFY(game.hasTimerTask());
            QVERIFY(game.remainingTime() >= 1 || game.settings().roundDuration < 1);
        } else {
            QVERIFY(!game.hasTimerTask());
        }
    }

private slots:
    void wholeGamesKeepTheRules()
    {
        int finishedGames = 0;
        for (quint64 seed = 1; finishedGames < 300; ++seed) {
            StoreHarness harness(seed);
            GameStore &game = *harness;
            Player player(seed * 7919);
            m_scores.clear();

            game.startNewGame();
            game.setPlayerText(player.playerText(2 + player.below(8)));
            game.setDifficulty(player.pick(GameStore::difficultyLabels()));
            game.setUsesCustomWords(player.chance(0.5));
            game.setCustomWordsText(player.playerText(player.below(12)));
            game.setRoundDuration(player.pick(GameStore::roundDurationValues()));
            game.setWordsToWin(player.below(16) - 1);
            game.setBonusTime(player.pick(GameStore::bonusTimeValues()));

            for (int step = 0; step < 3000 && game.screen() != AppScreen::winner; ++step) {
                switch (game.screen()) {
                case AppScreen::home:
                    game.startNewGame();
                    break;
                case AppScreen::setup:
                    if (game.settings().playerNames().size() < 2)
                        game.setPlayerText(player.playerText(2 + player.below(8)));
                    game.openFormation();
                    break;
                case AppScreen::formation:
                    game.formTeams(player.chance(0.5));
                    break;
                case AppScreen::observerWheel:
                    if (player.chance(0.1))
                        game.cancelObserver();
                    else
                        game.confirmObserver();
                    break;
                case AppScreen::teams:
                    if (player.chance(0.2))
                        game.setTeamName(player.below(int(game.teams().size())), player.name());
                    else
                        game.setScreen(AppScreen::ready);
                    break;
                case AppScreen::ready:
                    if (player.chance(0.02))
                        game.goHome();
                    else
                        game.startTurn();
                    break;
                case AppScreen::playing: {
                    const int action = player.below(10);
                    if (action < 6)
                        game.handleSwipe(player.below(401) - 200);
                    else if (action < 9)
                        harness.clock.advance(std::chrono::milliseconds(player.below(3000)));
                    else
                        game.handleSwipeInTurn(100, game.turnNumber() - 1);
                    break;
                }
                case AppScreen::summary:
                    if (player.chance(0.02))
                        game.goHome();
                    else
                        game.continueAfterSummary();
                    break;
                case AppScreen::winner:
                case AppScreen::customWords:
                    break;
                }
                // Turn operations outside a turn must change nothing.
                if (game.screen() != AppScreen::playing && player.chance(0.05)) {
                    game.endTurn(player.chance(0.5));
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
                if (player.chance(0.5))
                    game.replay();
                else
                    game.goHome();
                QVERIFY(!game.winner() || game.screen() == AppScreen::home);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestRandomGames)
#include "tst_randomgames.moc"
