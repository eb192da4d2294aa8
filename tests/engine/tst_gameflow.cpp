// Start-up, screen flow, records, team formation and the observer.
#include "StoreHarness.h"

#include <QSignalSpy>

class TestGameFlow : public QObject
{
    Q_OBJECT

private slots:
    void newStoreStartsWithDefaults()
    {
        StoreHarness game;
        QCOMPARE(game->screen(), AppScreen::home);
        QCOMPARE(game->settings().difficulty, Difficulty::medium);
        QCOMPARE(game->settings().roundDuration, 60);
        QCOMPARE(game->settings().wordsToWin, 20);
        QCOMPARE(game->settings().bonusTime, BonusTime::off);
        QCOMPARE(game->settings().usesCustomWords, false);
        QVERIFY(game->teams().isEmpty());
        QCOMPARE(game->customWordsText(), QString());
        QVERIFY(!game->winner() && !game->observer());
        QCOMPARE(game.prefs.writeCount, 0);
    }

    void customWordsLoadWithoutWritingBack()
    {
        StoreHarness game;
        game.prefs.values.insert(GameStore::customWordsKey, u"кот\nпёс"_qs);
        game.restart();
        QCOMPARE(game->customWordsText(), u"кот\nпёс"_qs);
        QCOMPARE(game->customWordCount(), 2);
        QCOMPARE(game.prefs.writeCount, 0);

        // A value that is not a text reads as nothing.
        game.prefs.values.insert(GameStore::customWordsKey, QStringList{"a", "b"});
        game.restart();
        QCOMPARE(game->customWordsText(), QString());
        game.prefs.values.insert(GameStore::customWordsKey, 42);
        game.restart();
        QCOMPARE(game->customWordsText(), QString());
    }

    void everyEditOfCustomWordsIsSavedAndSurvivesRestart()
    {
        StoreHarness game;
        for (const QString &text : {u"к"_qs, u"ко"_qs, u"кот\n"_qs, QString()}) {
            game->setCustomWordsText(text);
            QCOMPARE(game.prefs.values.value(GameStore::customWordsKey).toString(), text);
        }
        QCOMPARE(game.prefs.writeCount, 4);
        game->setCustomWordsText(u"слон\n\n  Слон \r\nжираф\n"_qs);
        QCOMPARE(game->customWordCount(), 3);
        game.restart();
        QCOMPARE(game->customWordsText(), u"слон\n\n  Слон \r\nжираф\n"_qs);

        // A failing store keeps the text in memory and says nothing.
        game.prefs.failWrites = true;
        game->setCustomWordsText(u"потеряется при выходе"_qs);
        QCOMPARE(game->customWordsText(), u"потеряется при выходе"_qs);
    }

    void everyAssignmentNotifiesEvenWhenEqual()
    {
        StoreHarness game;
        QSignalSpy screen(game.store.get(), &GameStore::screenChanged);
        QSignalSpy settings(game.store.get(), &GameStore::settingsChanged);
        QSignalSpy words(game.store.get(), &GameStore::customWordsTextChanged);
        game->setScreen(AppScreen::home);
        game->setScreenName(u"home"_qs);
        game->setPlayerText(QString());
        game->setDifficulty(u"Средняя"_qs);
        game->setCustomWordsText(QString());
        QCOMPARE(screen.count(), 2);
        QCOMPARE(settings.count(), 2);
        QCOMPARE(words.count(), 1);
    }

    void recordsConvertFromRawValues()
    {
        QCOMPARE(difficultyFromRaw(u"Средняя"_qs), Difficulty::medium);
        QCOMPARE(difficultyFromRaw(u"средняя"_qs), std::nullopt);
        QCOMPARE(bonusTimeFromRaw(10), BonusTime::ten);
        QCOMPARE(bonusTimeFromRaw(4), std::nullopt);
        QCOMPARE(rawValue(BonusTime::five), 5);
        QCOMPARE(rawValue(Difficulty::hard), u"Сложная"_qs);
        QCOMPARE(bonusTimeLabel(BonusTime::off), u"Выкл"_qs);
        QCOMPARE(bonusTimeLabel(BonusTime::ten), u"+10 сек"_qs);
        QCOMPARE(screenFromName(u"observerWheel"_qs), AppScreen::observerWheel);
        QCOMPARE(screenFromName(u"nowhere"_qs), std::nullopt);
        QCOMPARE(screenFromName(u"3"_qs), std::nullopt);

        Team a;
        a.name = u"Команда 1"_qs;
        Team b = a;
        QCOMPARE(a, b);
        b.id = QUuid::createUuid();
        QVERIFY(a != b);
        b = a;
        ++b.score;
        QVERIFY(a != b);
        QVERIFY(RoundWord().id != RoundWord().id);
    }

    void settingsFromTheSetupScreen()
    {
        StoreHarness game;
        game->setDifficulty(u"Сложная"_qs);
        game->setDifficulty(u"нет такой"_qs);
        QCOMPARE(game->settings().difficulty, Difficulty::hard);
        game->setBonusTime(5);
        game->setBonusTime(4);
        QCOMPARE(game->settings().bonusTime, BonusTime::five);
        game->setWordsToWin(0);
        QCOMPARE(game->settings().wordsToWin, 1);
        game->setWordsToWin(-7);
        QCOMPARE(game->settings().wordsToWin, 1);

        QVERIFY(game->setWordsToWinText(u"35"_qs));
        QCOMPARE(game->settings().wordsToWin, 35);
        QVERIFY(game->setWordsToWinText(u"0"_qs));
        QCOMPARE(game->settings().wordsToWin, 1);
        for (const QString &bad : {u""_qs, u"abc"_qs, u"12a"_qs, u"99999999999999999999"_qs,
                                   u"9223372036854775808"_qs, u"1.5"_qs}) {
            QVERIFY2(!game->setWordsToWinText(bad), qPrintable(bad));
            QCOMPARE(game->settings().wordsToWin, 1);
        }
        QVERIFY(game->setWordsToWinText(u"9223372036854775807"_qs));
        QCOMPARE(game->settings().wordsToWin, std::numeric_limits<qint64>::max());

        QCOMPARE(GameStore::roundDurationLabel(90), u"1:30"_qs);
        QCOMPARE(GameStore::roundDurationLabel(45), u"2 м"_qs);
    }

    void formationNeedsTwoNames()
    {
        StoreHarness game;
        game->startNewGame();
        for (const QString &text : {QString(), u"Аня"_qs, u" ,\n, "_qs}) {
            game->setPlayerText(text);
            game->openFormation();
            QCOMPARE(game->screen(), AppScreen::setup);
            game->formTeams(false);
            QVERIFY(game->teams().isEmpty());
        }
        game->setPlayerText(u"Аня, Борис\nВика"_qs);
        game->openFormation();
        QCOMPARE(game->screen(), AppScreen::formation);
    }

    void neighboursPairInTypedOrder()
    {
        StoreHarness game;
        game->setPlayerText(u"Аня\nБорис"_qs);
        game->formTeams(false);
        QCOMPARE(game->screen(), AppScreen::teams);
        QCOMPARE(game->teams().size(), 1);
        QCOMPARE(game->teams().at(0).name, u"Команда 1"_qs);
        QCOMPARE(game->teams().at(0).players, (QStringList{u"Аня"_qs, u"Борис"_qs}));
        QVERIFY(!game->observer());
        QCOMPARE(game.random.drawCount, 0);
    }

    void randomPairsUseEveryNameOnce()
    {
        StoreHarness game(5);
        game->setPlayerText(u"A\nB\nC\nD"_qs);
        game->formTeams(true);
        QCOMPARE(game->teams().size(), 2);
        QStringList all = game->teams().at(0).players + game->teams().at(1).players;
        all.sort();
        QCOMPARE(all, (QStringList{"A", "B", "C", "D"}));
        QCOMPARE(game->teams().at(1).name, u"Команда 2"_qs);
        for (const Team &team : game->teams())
            QCOMPARE(team.score, 0);
    }

    void teamNamesBelongToPositions()
    {
        StoreHarness game;
        game->setPlayerText(u"1\n2\n3\n4"_qs);
        game->formTeams(false);
        game->setTeamName(0, u"Котики"_qs);
        game->setTeamName(7, u"нет такой"_qs);
        game->setPlayerText(u"1\n2\n3\n4\n5\n6\n7\n8"_qs);
        game->formTeams(false);
        QStringList names;
        for (const Team &team : game->teams())
            names << team.name;
        QCOMPARE(names, (QStringList{u"Котики"_qs, u"Команда 2"_qs, u"Команда 3"_qs, u"Команда 4"_qs}));

        // Fewer teams drop the extra names; later formations still see the first.
        game->setPlayerText(u"1\n2"_qs);
        game->formTeams(true);
        QCOMPARE(game->teams().size(), 1);
        QCOMPARE(game->teams().at(0).name, u"Котики"_qs);

        // Empty and duplicate names are kept as typed.
        game->setTeamName(0, QString());
        game->formTeams(false);
        QCOMPARE(game->teams().at(0).name, QString());
    }

    void oddCountDrawsAnObserverThenPairsTheRest()
    {
        StoreHarness game;
        game->setPlayerText(u"A\nB\nC\nD\nE"_qs);
        game.random.queue = {2};
        game->formTeams(false);
        QCOMPARE(game->screen(), AppScreen::observerWheel);
        QCOMPARE(game->observer(), u"C"_qs);
        QCOMPARE(game->observerCandidates(), (QStringList{"A", "B", "C", "D", "E"}));
        QCOMPARE(game->pendingPlayers(), (QStringList{"A", "B", "D", "E"}));
        QCOMPARE(game.random.bounds.last(), 5u);

        game->confirmObserver();
        QCOMPARE(game->screen(), AppScreen::teams);
        QCOMPARE(game->teams().at(0).players, (QStringList{"A", "B"}));
        QCOMPARE(game->teams().at(1).players, (QStringList{"D", "E"}));
        QCOMPARE(game->observer(), u"C"_qs);
        QVERIFY(game->pendingPlayers().isEmpty());
        QVERIFY(game->observerCandidates().isEmpty());

        // Confirming again without waiting players changes nothing.
        const QList<Team> teams = game->teams();
        game->confirmObserver();
        QCOMPARE(game->teams(), teams);

        // An even formation clears the observer.
        game->setPlayerText(u"A\nB"_qs);
        game->formTeams(false);
        QVERIFY(!game->observer());
    }

    void cancellingTheWheelClearsTheObserver()
    {
        StoreHarness game;
        game->setPlayerText(u"A\nB\nC"_qs);
        game->formTeams(true);
        game->cancelObserver();
        QCOMPARE(game->screen(), AppScreen::formation);
        QVERIFY(!game->observer());
        QVERIFY(game->observerCandidates().isEmpty());
        QVERIFY(game->pendingPlayers().isEmpty());
        game->confirmObserver();
        QCOMPARE(game->screen(), AppScreen::formation);
        QVERIFY(game->teams().isEmpty());
    }

    void observerIsDrawnUniformly()
    {
        // Seeded draws over many formations: every position within 15 % of its share.
        StoreHarness game(2024);
        game->setPlayerText(u"A\nB\nC\nD\nE"_qs);
        QHash<QString, int> counts;
        const int rounds = 10000;
        for (int i = 0; i < rounds; ++i) {
            game->formTeams(true);
            ++counts[*game->observer()];
            game->cancelObserver();
        }
        QCOMPARE(counts.size(), 5);
        for (auto it = counts.cbegin(); it != counts.cend(); ++it)
            QVERIFY2(qAbs(it.value() - rounds / 5) < rounds / 5 * 0.15, qPrintable(it.key()));
    }

    void randomPairingIsAUniformShuffle()
    {
        // With four players there are three pairings; each should come up about a third.
        StoreHarness game(77);
        game->setPlayerText(u"A\nB\nC\nD"_qs);
        QHash<QString, int> partnersOfA;
        for (int i = 0; i < 6000; ++i) {
            game->formTeams(true);
            for (const Team &team : game->teams()) {
                if (team.players.contains(u"A"_qs))
                    ++partnersOfA[team.players.at(team.players.at(0) == u"A"_qs ? 1 : 0)];
            }
        }
        QCOMPARE(partnersOfA.size(), 3);
        for (int n : partnersOfA)
            QVERIFY(qAbs(n - 2000) < 200);
    }

    void goHomeAndReplayKeepWhatTheyShould()
    {
        StoreHarness game;
        game.reachReady(u"A\nB\nC"_qs);
        game->setTeamName(0, u"Совы"_qs);
        game->startTurn();
        game->handleSwipe(100);
        game->goHome();
        QCOMPARE(game->screen(), AppScreen::home);
        QVERIFY(!game->hasTimerTask());
        const qint64 left = game->remainingTime();
        game.clock.advance(5s);
        QCOMPARE(game->remainingTime(), left);
        QCOMPARE(game->teams().at(0).score, 1);
        QVERIFY(game->observer());
        QCOMPARE(game->settings().playerText, u"A\nB\nC"_qs);

        // A new game after going home: new teams at zero keep the names by position.
        game.reachReady(u"A\nB\nC\nD"_qs);
        QCOMPARE(game->teams().at(0).name, u"Совы"_qs);
        QCOMPARE(game->teams().at(0).score, 0);

        game->setWordsToWin(1);
        game->startTurn();
        game->handleSwipe(61);
        QCOMPARE(game->screen(), AppScreen::winner);
        game->replay();
        QCOMPARE(game->screen(), AppScreen::setup);
        QVERIFY(!game->winner());
        QVERIFY(!game->observer());
        QCOMPARE(game->guessedCount(), 0);
        QCOMPARE(game->skippedCount(), 0);
        QCOMPARE(game->remainingTime(), 0);
        QVERIFY(game->roundWords().isEmpty());
        QCOMPARE(game->teams().at(0).score, 1);
        QCOMPARE(game->settings().wordsToWin, 1);
        QCOMPARE(game->settings().playerText, u"A\nB\nC\nD"_qs);
    }

    void leavingTheGameStopsEverySound()
    {
        StoreHarness game;
        game.reachReady(u"A\nB"_qs);
        game->startTurn();
        game->handleSwipe(-100);
        game.clock.advance(60s);
        QCOMPARE(game->screen(), AppScreen::summary);
        game.audioBackend.log.clear();
        game->goHome();
        QCOMPARE(game.audioBackend.log.filter(u":stop"_qs).size(), 2);
        game.audioBackend.log.clear();
        game->startNewGame();
        QVERIFY(game.audioBackend.log.isEmpty());
    }

    void casesNoScreenCanReachDoNotCrash()
    {
        StoreHarness game;
        game->advanceTurn();
        QCOMPARE(game->currentPlayerName(), QString());
        QCOMPARE(game->currentTeamName(), QString());
        game->makeTeams({}, false);
        QVERIFY(game->teams().isEmpty());
        QCOMPARE(game->screen(), AppScreen::teams);
        game->advanceTurn();
        game->setScreen(AppScreen::playing);
        game->markGuessed();
        game->endTurn(true);
        QCOMPARE(game->screen(), AppScreen::summary);
        QCOMPARE(game->currentTeamIndex(), 0);
    }
};

QTEST_GUILESS_MAIN(TestGameFlow)
#include "tst_gameflow.moc"
