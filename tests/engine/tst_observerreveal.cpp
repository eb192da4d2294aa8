// The staging of the observer wheel on the manual clock.
#include "ObserverReveal.h"
#include "StoreHarness.h"

#include <QSignalSpy>

class TestObserverReveal : public QObject
{
    Q_OBJECT

private:
    // Three players A, B, C with B drawn as the observer.
    static void drawB(StoreHarness &game)
    {
        game->setPlayerText(u"A\nB\nC"_qs);
        game.random.queue = {1};
        game->formTeams(false);
        QCOMPARE(game->observer(), u"B"_qs);
    }

private slots:
    void namesFlickThenStopOnTheObserver()
    {
        StoreHarness game;
        drawB(game);
        ObserverReveal reveal;
        reveal.setGame(game.store.get());
        QCOMPARE(reveal.displayedName(), u"Крутим…"_qs);
        QStringList shown;
        connect(&reveal, &ObserverReveal::displayedNameChanged, this,
                [&] { shown << reveal.displayedName(); });
        QSignalSpy complete(&reveal, &ObserverReveal::isCompleteChanged);

        reveal.start();
        int elapsed = 0;
        for (int step = 0; step < ObserverReveal::stepCount; ++step) {
            QCOMPARE(shown.size(), step + 1);
            QVERIFY(!reveal.isComplete());
            // One millisecond short of the wait changes nothing.
            game.clock.advance(std::chrono::milliseconds(ObserverReveal::waitAfterStepMs(step) - 1));
            QCOMPARE(shown.size(), step + 1);
            game.clock.advance(1ms);
            elapsed += ObserverReveal::waitAfterStepMs(step);
        }
        QCOMPARE(elapsed, 3047);
        QCOMPARE(shown.size(), 23);
        for (int step = 0; step < 22; ++step)
            QCOMPARE(shown.at(step), QString(QChar(u'A' + step % 3)));
        QCOMPARE(shown.last(), u"B"_qs);
        QVERIFY(reveal.isComplete());
        QCOMPARE(complete.count(), 1);
        QCOMPARE(game.haptics.cues, QList<HapticCue>{HapticCue::success});

        // Nothing more happens, and starting again does nothing.
        reveal.start();
        game.clock.advance(10s);
        QCOMPARE(game.haptics.cues.size(), 1);
        QCOMPARE(shown.size(), 23);
    }

    void leavingCancelsEverythingThatFollows()
    {
        StoreHarness game;
        {
            // Nothing to reveal: it stays spinning.
            ObserverReveal reveal;
            reveal.setGame(game.store.get());
            reveal.start();
            game.clock.advance(10s);
            QCOMPARE(reveal.displayedName(), u"Крутим…"_qs);
            QVERIFY(!reveal.isComplete());
        }
        drawB(game);
        {
            ObserverReveal reveal;
            reveal.setGame(game.store.get());
            reveal.start();
            game.clock.advance(1s);
            reveal.cancel();
            game.clock.advance(10s);
            QVERIFY(!reveal.isComplete());
            QVERIFY(game.haptics.cues.isEmpty());
        }
        // A view destroyed mid-spin leaves nothing scheduled.
        {
            ObserverReveal reveal;
            reveal.setGame(game.store.get());
            reveal.start();
            game.clock.advance(300ms);
        }
        QCOMPARE(game.clock.pendingCount(), 0);
        game.clock.advance(10s);
        QVERIFY(game.haptics.cues.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestObserverReveal)
#include "tst_observerreveal.moc"
