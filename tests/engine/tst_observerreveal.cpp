// The staging of the observer wheel on the manual clock.
#include "ObserverReveal.h"
#include "StoreHarness.h"

#include <QSignalSpy>

using namespace Qt::StringLiterals;

class TestObserverReveal : public QObject
{
    Q_OBJECT

private slots:
    void namesFlickThenStopOnTheObserver()
    {
        StoreHarness game;
        const auto made = [&] {
            auto reveal = std::make_unique<ObserverReveal>();
            reveal->setGame(game.store.get());
            return reveal;
        };
        auto reveal = made();
        QVERIFY(!reveal->start()); // nothing drawn yet: it keeps spinning
        QCOMPARE(reveal->displayedName(), u"Крутим…"_s);
        game->setPlayerText(u"A\nB\nC"_s);
        game.random.queue = {1};
        game->formTeams(false);
        QStringList shown;
        connect(reveal.get(), &ObserverReveal::displayedNameChanged, this, [&] { shown << reveal->displayedName(); });
        QSignalSpy complete(reveal.get(), &ObserverReveal::isCompleteChanged);

        QVERIFY(reveal->start());
        for (int step = 0; step < ObserverReveal::stepCount; ++step) {
            // One millisecond short of the wait changes nothing.
            game.clock.advance(std::chrono::milliseconds(ObserverReveal::waitAfterStepMs(step) - 1));
            QCOMPARE(shown.size(), step + 1);
            QCOMPARE(shown.last(), QString(QChar(u'A' + step % 3)));
            QVERIFY(!reveal->isComplete());
            game.clock.advance(1ms);
        }
        QCOMPARE(game.clock.now(), 3047ms);
        QCOMPARE(shown.size(), 23);
        QCOMPARE(shown.last(), u"B"_s);
        QVERIFY(reveal->isComplete());
        QCOMPARE(complete.count(), 1);
        QCOMPARE(game.haptics.cues, QList<HapticCue>{HapticCue::success});
        // Starting again does nothing.
        QVERIFY(!reveal->start());
        game.clock.advance(10s);
        QCOMPARE(shown.size(), 23);

        // Leaving cancels everything that follows: a cancelled reveal, or one destroyed
        // mid-spin, never completes and leaves nothing scheduled.
        reveal = made();
        reveal->start();
        game.clock.advance(1s);
        reveal->cancel();
        game.clock.advance(10s);
        QVERIFY(!reveal->isComplete());
        reveal = made();
        reveal->start();
        game.clock.advance(300ms);
        reveal.reset();
        QCOMPARE(game.clock.pendingCount(), 0);
        game.clock.advance(10s);
        QCOMPARE(game.haptics.cues.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestObserverReveal)
#include "tst_observerreveal.moc"
