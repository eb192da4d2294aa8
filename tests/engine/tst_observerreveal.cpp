// The staging of the observer wheel on the manual clock.
#include "ObserverReveal.h"
#include "StoreHarness.h"

#include <QSignalSpy>

class TestObserverReveal : public QObject
{
    Q_OBJECT

private slots:
    void namesFlickThenStopOnTheObserver()
    {
        StoreHarness game;
        ObserverReveal reveal;
        reveal.setGame(game.store.get());
        QVERIFY(!reveal.start()); // nothing drawn yet: it keeps spinning
        QCOMPARE(reveal.displayedName(), u"Крутим…"_qs);
        game->setPlayerText(u"A\nB\nC"_qs);
        game.random.queue = {1};
        game->formTeams(false);
        QStringList shown;
        connect(&reveal, &ObserverReveal::displayedNameChanged, this, [&] { shown << reveal.displayedName(); });

        QSignalSpy complete(&reveal, &ObserverReveal::isCompleteChanged);
        QVERIFY(reveal.start());
        for (int step = 0; step < ObserverReveal::stepCount; ++step) {
            // One millisecond short of the wait changes nothing.
            game.clock.advance(std::chrono::milliseconds(ObserverReveal::waitAfterStepMs(step) - 1));
            QCOMPARE(shown.size(), step + 1);
            QCOMPARE(shown.last(), QString(QChar(u'A' + step % 3)));
            QVERIFY(!reveal.isComplete());
            game.clock.advance(1ms);
        }
        QCOMPARE(game.clock.now(), 3047ms);
        QCOMPARE(shown.size(), 23);
        QCOMPARE(shown.last(), u"B"_qs);
        QVERIFY(reveal.isComplete());
        QCOMPARE(complete.count(), 1);
        QCOMPARE(game.haptics.cues, QList<HapticCue>{HapticCue::success});

        // Starting again does nothing.
        QVERIFY(!reveal.start());
        game.clock.advance(10s);
        QCOMPARE(shown.size(), 23);
        QCOMPARE(game.haptics.cues.size(), 1);
    }

    void leavingCancelsEverythingThatFollows()
    {
        StoreHarness game;
        game->setPlayerText(u"A\nB\nC"_qs);
        game->formTeams(false);
        {
            ObserverReveal reveal;
            reveal.setGame(game.store.get());
            reveal.start();
            game.clock.advance(1s);
            reveal.cancel();
            game.clock.advance(10s);
            QVERIFY(!reveal.isComplete());
        }
        {
            // A view destroyed mid-spin leaves nothing scheduled.
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
