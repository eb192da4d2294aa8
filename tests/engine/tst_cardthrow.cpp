// The throw of the word card: what counts as a throw, when the store hears of it, and that
// a late report never lands in another turn.
#include "CardThrow.h"
#include "StoreHarness.h"

#include <QSignalSpy>
#include <limits>

class TestCardThrow : public QObject
{
    Q_OBJECT

private slots:
    void onlyReleasesBeyondSeventyThrow()
    {
        StoreHarness game;
        game.reachReady(u"A\nB"_qs);
        game->startTurn();
        CardThrow card;
        card.setGame(game.store.get());
        QSignalSpy landed(&card, &CardThrow::landed);

        for (double dx : {0.0, 70.0, -70.0, 65.0, std::numeric_limits<double>::quiet_NaN()})
            QVERIFY2(!card.release(dx), qPrintable(QString::number(dx)));
        QVERIFY(!card.isLeaving());
        QCOMPARE(game.clock.pendingCount(), 1); // only the turn's own countdown
        game.clock.advance(500ms);
        QCOMPARE(landed.count(), 0);
        QVERIFY(game->roundWords().isEmpty());

        QVERIFY(card.release(-70.5));
        QVERIFY(card.isLeaving());
        game.clock.advance(209ms);
        QCOMPARE(game->skippedCount(), 0);
        QVERIFY(card.isLeaving());
        game.clock.advance(1ms);
        QCOMPARE(game->skippedCount(), 1);
        QVERIFY(!card.isLeaving());
        QCOMPARE(landed.count(), 1);
        QCOMPARE(landed.at(0).at(0).toDouble(), -70.5);

        QVERIFY(card.release(70.5));
        game.clock.advance(210ms);
        QCOMPARE(game->guessedCount(), 1);
        QCOMPARE(landed.at(1).at(0).toDouble(), 70.5);
    }

    void aSecondThrowWhileLeavingIsIgnored()
    {
        StoreHarness game;
        game.reachReady(u"A\nB"_qs);
        game->startTurn();
        CardThrow card;
        card.setGame(game.store.get());
        QSignalSpy landed(&card, &CardThrow::landed);

        QVERIFY(card.release(200));
        game.clock.advance(100ms);
        QVERIFY(!card.release(-200));
        QVERIFY(!card.release(200));
        game.clock.advance(1s);
        QCOMPARE(landed.count(), 1);
        QCOMPARE(game->roundWords().size(), 1);
        QCOMPARE(game->guessedCount(), 1);
        QCOMPARE(game->skippedCount(), 0);

        // Landed, the card can be thrown again at once.
        QVERIFY(card.release(-200));
        game.clock.advance(210ms);
        QCOMPARE(game->skippedCount(), 1);
    }

    // Time runs out while the card flies; two quick taps (summary, ready) start the next
    // turn before the report is due. It must not count there.
    void aLateReportNeverCountsInTheNextTurn()
    {
        StoreHarness game;
        game.reachReady(u"A\nB"_qs);
        game->setRoundDuration(1);
        game->startTurn();
        CardThrow card;
        card.setGame(game.store.get());

        game.clock.advance(900ms);
        QVERIFY(card.release(150));
        game.clock.advance(100ms);
        QCOMPARE(game->screen(), AppScreen::summary);
        game->continueAfterSummary();
        game->startTurn();
        QCOMPARE(game->screen(), AppScreen::playing);
        QCOMPARE(game->remainingTime(), 1);
        const QString word = game->currentWord();

        game.clock.advance(110ms);
        QVERIFY(!card.isLeaving());
        QCOMPARE(game->guessedCount(), 0);
        QVERIFY(game->roundWords().isEmpty());
        QCOMPARE(game->currentWord(), word);
        QCOMPARE(game->teams().at(0).score, 0);
    }

    void aThrowAfterTheTurnHasEndedChangesNothing()
    {
        StoreHarness game;
        game.reachReady(u"A\nB"_qs);
        game->startTurn();
        CardThrow card;
        card.setGame(game.store.get());
        QVERIFY(card.release(-90));
        game->endTurn(false);
        game.clock.advance(210ms);
        QCOMPARE(game->screen(), AppScreen::summary);
        QCOMPARE(game->skippedCount(), 0);
        QVERIFY(game->roundWords().isEmpty());
        QVERIFY(!card.isLeaving());
    }

    void goingAwayMidFlightLeavesNothingBehind()
    {
        StoreHarness game;
        game.reachReady(u"A\nB"_qs);
        game->startTurn();
        {
            CardThrow card;
            card.setGame(game.store.get());
            QVERIFY(card.release(120));
            QCOMPARE(game.clock.pendingCount(), 2);
        }
        QCOMPARE(game.clock.pendingCount(), 1);
        game.clock.advance(300ms);
        QCOMPARE(game->guessedCount(), 0);

        // Without a store nothing is thrown.
        CardThrow loose;
        QVERIFY(!loose.release(120));
        QVERIFY(!loose.isLeaving());
    }
};

QTEST_GUILESS_MAIN(TestCardThrow)
#include "tst_cardthrow.moc"
