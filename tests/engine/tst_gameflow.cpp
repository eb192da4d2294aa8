// Screen flow, saved words, settings, team formation and the observer.
#include "StoreHarness.h"

#include <QScopeGuard>
#include <QSignalSpy>

#include <limits>

using namespace Qt::StringLiterals;

class TestGameFlow : public QObject
{
    Q_OBJECT

private slots:
    void customWordsAreSavedOnEveryEditAndLoadAsStored()
    {
        StoreHarness game;
        QSignalSpy changed(game.store.get(), &GameStore::customWordsTextChanged);
        for (const QString &text : {u"к"_s, u"слон\n\n  Слон \r\nжираф\n"_s}) {
            game->setCustomWordsText(text);
            QCOMPARE(game.prefs.values.value(GameStore::customWordsKey).toString(), text);
        }
        QCOMPARE(changed.count(), 2);
        game.restart();
        QCOMPARE(game->customWordsText(), u"слон\n\n  Слон \r\nжираф\n"_s);
        QCOMPARE(game.prefs.writeCount, 2);

        // A failing store keeps the text in memory and says nothing.
        game.prefs.failWrites = true;
        game->setCustomWordsText(u"потеряется при выходе"_s);
        QCOMPARE(game->customWordsText(), u"потеряется при выходе"_s);
    }

    // Every assignment notifies, even of an equal value, so a field that refused an edit
    // shows the stored value again.
    void everyAssignmentNotifiesEvenWhenEqual()
    {
        StoreHarness game;
        QSignalSpy screen(game.store.get(), &GameStore::screenChanged);
        QSignalSpy settings(game.store.get(), &GameStore::settingsChanged);
        game->setScreen(AppScreen::home);
        game->setScreenName(u"home"_s);
        game->setPlayerText(QString());
        game->setDifficulty(u"Средняя"_s);
        QCOMPARE(screen.count(), 2);
        QCOMPARE(settings.count(), 2);
    }

    void settingsRefuseWhatTheyCannotHold()
    {
        StoreHarness game;
        game->setDifficulty(u"Сложная"_s);
        game->setDifficulty(u"нет такой"_s);
        QCOMPARE(game->settings().difficulty, Difficulty::hard);
        game->setBonusTime(5);
        game->setBonusTime(4);
        QCOMPARE(game->settings().bonusTime, BonusTime::five);
        game->setWordsToWin(-7);
        QCOMPARE(game->settings().wordsToWin, 1);

        // Any duration is held between a second and a day, so the clock and its bonus
        // seconds never overflow.
        game.reachReady(u"A\nB"_s);
        game->setBonusTime(10);
        for (const auto [asked, held] : {std::pair{std::numeric_limits<qint64>::min(), qint64(1)},
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
    // ends of the range.
    void targetTextReadsBackExactly_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("C") << u"C"_s;
        QTest::newRow("Russian") << u"ru_RU"_s;
        QTest::newRow("Arabic digits") << u"ar_EG"_s;
        QTest::newRow("Devanagari digits") << u"mr_IN"_s;
    }
    void targetTextReadsBackExactly()
    {
        QFETCH(QString, locale);
        const QLocale previous;
        QLocale::setDefault(QLocale(locale));
        auto restore = qScopeGuard([&] { QLocale::setDefault(previous); });

        StoreHarness game;
        QCOMPARE(game->wordsToWinText(), QLocale().toString(20));
        for (const qint64 target : {qint64(1), qint64(1000), std::numeric_limits<qint64>::max()}) {
            game->setWordsToWin(target);
            const QString shown = game->wordsToWinText();
            QVERIFY(!shown.contains(QLocale().groupSeparator()));
            game->setWordsToWin(5);
            QVERIFY2(game->setWordsToWinText(shown), qPrintable(shown));
            QCOMPARE(game->settings().wordsToWin, target);
        }
        // A number pasted in the C locale's way is taken where the locale's own reading fails.
        QVERIFY(game->setWordsToWinText(u" 1,000 "_s));
        QCOMPARE(game->settings().wordsToWin, 1000);
        QVERIFY(!game->setWordsToWinText(u"сорок"_s));
    }

    void teamsKeepTypedOrderAndTheirNamesByPosition()
    {
        StoreHarness game;
        const auto formed = [&](const QString &players) {
            game->setPlayerText(players);
            game->formTeams(false);
            QStringList names;
            for (const Team &team : game->teams())
                names << team.name + u':' + team.players.join(QString());
            return names;
        };
        QCOMPARE(formed(u"1\n2\n3\n4"_s), (QStringList{u"Команда 1:12"_s, u"Команда 2:34"_s}));
        QCOMPARE(game.random.drawCount, 0);
        game->setTeamName(1, u"Котики"_s);
        game->setTeamName(7, u"нет такой"_s);
        QCOMPARE(formed(u"1\n2\n3\n4\n5\n6"_s),
                 (QStringList{u"Команда 1:12"_s, u"Котики:34"_s, u"Команда 3:56"_s}));
        // Fewer teams drop the extra names.
        QCOMPARE(formed(u"1\n2"_s), QStringList{u"Команда 1:12"_s});
        QVERIFY(game->canFormTeams());
        QCOMPARE(formed(u"1\n2\n3\n4"_s), (QStringList{u"Команда 1:12"_s, u"Команда 2:34"_s}));
    }

    void drawsAreUniform()
    {
        // Seeded: every order of four players comes up within a fifth of its share.
        StoreHarness game(77);
        game->setPlayerText(u"A\nB\nC\nD"_s);
        QHash<QString, int> orders;
        for (int i = 0; i < 4800; ++i) {
            game->formTeams(true);
            ++orders[(game->teams().at(0).players + game->teams().at(1).players).join(QString())];
        }
        QCOMPARE(orders.size(), 24);
        for (int n : orders)
            QVERIFY2(qAbs(n - 200) < 40, qPrintable(QString::number(n)));
    }

    void oddCountDrawsAnObserverThenPairsTheRest()
    {
        StoreHarness game;
        game->setPlayerText(u"A\nB\nC\nD\nE"_s);
        QVERIFY(game->leavesObserver());
        game.random.queue = {2};
        game->formTeams(false);
        QCOMPARE(game->screen(), AppScreen::observerWheel);
        QCOMPARE(game->observer(), u"C"_s);
        QCOMPARE(game.random.bounds, QList<quint64>{5}); // drawn from all five

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

    void goHomeAndReplayKeepWhatTheyShould()
    {
        StoreHarness game;
        game.reachReady(u"A\nB\nC"_s);
        game->startTurn();
        game->handleSwipe(100);
        game->handleSwipe(-100);
        game.audioBackend.log.clear();
        // Leaving stops the skip sound still playing.
        game->goHome();
        QCOMPARE(game->screen(), AppScreen::home);
        QVERIFY(!game->hasTimerTask());
        QCOMPARE(game.audioBackend.log.filter(u":stop"_s).size(), 1);
        QVERIFY(game.audioBackend.log.filter(u":stop"_s).first().startsWith(u"skip_sound"_s));
        QCOMPARE(game->teams().at(0).score, 1);

        // A new game: new teams at zero.
        game.reachReady(u"A\nB\nC\nD"_s);
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
        QCOMPARE(game->settings().playerText, u"A\nB\nC\nD"_s);
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
