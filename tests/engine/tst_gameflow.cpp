// Screen flow, saved words, settings, team formation and the observer.
#include "StoreHarness.h"

#include <QScopeGuard>
#include <QSignalSpy>

#include <limits>

class TestGameFlow : public QObject
{
    Q_OBJECT

private slots:
    void customWordsAreSavedOnEveryEditAndLoadAsStored()
    {
        StoreHarness game;
        for (const QString &text : {u"к"_qs, u"кот\n"_qs, u"слон\n\n  Слон \r\nжираф\n"_qs}) {
            game->setCustomWordsText(text);
            QCOMPARE(game.prefs.values.value(GameStore::customWordsKey).toString(), text);
        }
        QCOMPARE(game.prefs.writeCount, 3);
        game.restart();
        QCOMPARE(game->customWordsText(), u"слон\n\n  Слон \r\nжираф\n"_qs);
        QCOMPARE(game.prefs.writeCount, 3);

        // A failing store keeps the text in memory and says nothing.
        game.prefs.failWrites = true;
        game->setCustomWordsText(u"потеряется при выходе"_qs);
        QCOMPARE(game->customWordsText(), u"потеряется при выходе"_qs);

        // A stored value that is not a text reads as nothing.
        for (const QVariant &stored : {QVariant(QStringList{"a", "b"}), QVariant(42)}) {
            game.prefs.values.insert(GameStore::customWordsKey, stored);
            game.restart();
            QCOMPARE(game->customWordsText(), QString());
        }
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

    void settingsRefuseWhatTheyCannotHold()
    {
        StoreHarness game;
        game->setDifficulty(u"Сложная"_qs);
        game->setDifficulty(u"нет такой"_qs);
        QCOMPARE(game->settings().difficulty, Difficulty::hard);
        game->setBonusTime(5);
        game->setBonusTime(4);
        QCOMPARE(game->settings().bonusTime, BonusTime::five);
        game->setWordsToWin(-7);
        QCOMPARE(game->settings().wordsToWin, 1);

        // Any duration is held between a second and a day, so the clock and its bonus
        // seconds never overflow.
        game.reachReady(u"A\nB"_qs);
        game->setBonusTime(10);
        for (const auto [asked, held] : {std::pair{std::numeric_limits<qint64>::min(), qint64(1)},
                                          std::pair{qint64(0), qint64(1)},
                                          std::pair{std::numeric_limits<qint64>::max(), GameStore::maxRoundDuration}}) {
            game->setRoundDuration(asked);
            QCOMPARE(game->settings().roundDuration, held);
            GameSettings settings = game->settings();
            settings.roundDuration = asked;
            game->setSettings(settings);
            QCOMPARE(game->settings().roundDuration, held);
        }
        game->startTurn();
        game->handleSwipe(100);
        QCOMPARE(game->remainingTime(), GameStore::maxRoundDuration + 10);
    }

    // What the field shows must read back as the same number, in any locale and at the
    // ends of the range: a field that reformats 9223372036854775807 into something else
    // would store a different target the next time it is touched.
    void targetTextReadsBackExactly_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("C") << u"C"_qs;
        QTest::newRow("Russian") << u"ru_RU"_qs;
        QTest::newRow("Arabic digits") << u"ar_EG"_qs;
        QTest::newRow("Devanagari digits") << u"hi_IN"_qs;
    }

    void targetTextReadsBackExactly()
    {
        QFETCH(QString, locale);
        const QLocale previous;
        QLocale::setDefault(QLocale(locale));
        auto restore = qScopeGuard([&] { QLocale::setDefault(previous); });

        StoreHarness game;
        QCOMPARE(game->wordsToWinText(), QLocale().toString(20));
        for (const qint64 target : {qint64(1), qint64(7), qint64(1000), qint64(123456789),
                                    std::numeric_limits<qint64>::max()}) {
            game->setWordsToWin(target);
            const QString shown = game->wordsToWinText();
            game->setWordsToWin(5);
            QVERIFY2(game->setWordsToWinText(shown), qPrintable(shown));
            QCOMPARE(game->settings().wordsToWin, target);
        }
        // Thousands are shown without a separator, which the field could not take back.
        game->setWordsToWin(1000);
        QVERIFY(!game->wordsToWinText().contains(QLocale().groupSeparator()));
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
        QCOMPARE(game.random.drawCount, 0);
    }

    void randomPairingIsAUniformShuffle()
    {
        // With four players there are three pairings; each should come up about a third.
        StoreHarness game(77);
        game->setPlayerText(u"A\nB\nC\nD"_qs);
        QHash<QString, int> partnersOfA;
        for (int i = 0; i < 6000; ++i) {
            game->formTeams(true);
            QStringList all = game->teams().at(0).players + game->teams().at(1).players;
            const QString partner = all.at(all.indexOf(u"A"_qs) ^ 1);
            all.sort();
            QCOMPARE(all, (QStringList{"A", "B", "C", "D"}));
            ++partnersOfA[partner];
        }
        QCOMPARE(partnersOfA.size(), 3);
        for (int n : partnersOfA)
            QVERIFY(qAbs(n - 2000) < 200);
    }

    void teamNamesBelongToPositions()
    {
        StoreHarness game;
        game->setPlayerText(u"1\n2\n3\n4"_qs);
        game->formTeams(false);
        game->setTeamName(0, u"Котики"_qs);
        game->setTeamName(7, u"нет такой"_qs);
        game->setPlayerText(u"1\n2\n3\n4\n5\n6"_qs);
        game->formTeams(false);
        QStringList names;
        for (const Team &team : game->teams())
            names << team.name;
        QCOMPARE(names, (QStringList{u"Котики"_qs, u"Команда 2"_qs, u"Команда 3"_qs}));

        // Fewer teams drop the extra names; later formations still see the first.
        game->setPlayerText(u"1\n2"_qs);
        game->formTeams(true);
        QCOMPARE(game->teams().at(0).name, u"Котики"_qs);
    }

    void oddCountDrawsAnObserverThenPairsTheRest()
    {
        StoreHarness game;
        game->setPlayerText(u"A\nB\nC\nD\nE"_qs);
        game.random.queue = {2};
        game->formTeams(false);
        QCOMPARE(game->screen(), AppScreen::observerWheel);
        QCOMPARE(game->observer(), u"C"_qs);
        QCOMPARE(game.random.bounds.last(), 5u);

        game->confirmObserver();
        QCOMPARE(game->screen(), AppScreen::teams);
        QCOMPARE(game->teams().at(0).players, (QStringList{"A", "B"}));
        QCOMPARE(game->teams().at(1).players, (QStringList{"D", "E"}));
        const QList<Team> teams = game->teams();
        game->confirmObserver();
        QCOMPARE(game->teams(), teams);

        // Cancelling the wheel clears the observer and makes no teams.
        game->formTeams(true);
        game->cancelObserver();
        QCOMPARE(game->screen(), AppScreen::formation);
        QVERIFY(!game->observer());
        game->confirmObserver();
        QCOMPARE(game->screen(), AppScreen::formation);
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

    void goHomeAndReplayKeepWhatTheyShould()
    {
        StoreHarness game;
        game.reachReady(u"A\nB\nC"_qs);
        game->setTeamName(0, u"Совы"_qs);
        game->startTurn();
        game->handleSwipe(100);
        game->handleSwipe(-100);
        game.audioBackend.log.clear();
        // Leaving stops the skip sound still playing.
        game->goHome();
        QCOMPARE(game->screen(), AppScreen::home);
        QVERIFY(!game->hasTimerTask());
        QCOMPARE(game.audio(u":stop"_qs).size(), 1);
        QVERIFY(game.audio(u":stop"_qs).first().startsWith(u"skip_sound"_qs));
        QCOMPARE(game->teams().at(0).score, 1);
        QVERIFY(game->observer());

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
        QCOMPARE(game->guessedCount() + game->skippedCount() + game->remainingTime(), 0);
        QVERIFY(game->roundWords().isEmpty());
        QCOMPARE(game->teams().at(0).score, 1);
        QCOMPARE(game->settings().wordsToWin, 1);
        QCOMPARE(game->settings().playerText, u"A\nB\nC\nD"_qs);
    }

    void casesNoScreenCanReachDoNotCrash()
    {
        StoreHarness game;
        game->advanceTurn();
        QCOMPARE(game->currentPlayerName(), QString());
        game->makeTeams({}, false);
        QVERIFY(game->teams().isEmpty());
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
