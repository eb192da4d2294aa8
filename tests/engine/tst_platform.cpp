// The real clock and the feedbackd haptics, on a private session bus.
#include "FeedbackdHaptics.h"
#include "ScreenSaverInhibitor.h"
#include "StoreHarness.h"
#include "SystemClock.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <QStandardPaths>

// Both fake services write into one log, so the order of arrival shows.
QStringList busLog;

class FakeFeedbackd : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.sigxcpu.Feedback")

public:
    QStringList events;

public slots:
    uint TriggerFeedback(const QString &appId, const QString &event, const QVariantMap &hints,
                         int timeout)
    {
        events << QStringLiteral("%1 %2 %3 %4").arg(appId, event, hints.value("profile").toString()).arg(timeout);
        busLog << event;
        return uint(events.size());
    }
};

class FakeScreenSaver : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

public:
    QSet<uint> held;

public slots:
    uint Inhibit(const QString &app, const QString &)
    {
        busLog << u"Inhibit "_qs + app;
        held.insert(++m_next);
        return m_next;
    }
    void UnInhibit(uint cookie)
    {
        busLog << QStringLiteral("UnInhibit %1").arg(cookie);
        held.remove(cookie);
    }

private:
    uint m_next = 41;
};

class TestPlatform : public QObject
{
    Q_OBJECT

private:
    QProcess m_bus;

private slots:
    void initTestCase()
    {
        // A private session bus, so nothing reaches the desktop's own daemons.
        if (QStandardPaths::findExecutable(u"dbus-daemon"_qs).isEmpty())
            QSKIP("dbus-daemon is not installed");
        m_bus.start(u"dbus-daemon"_qs, {u"--session"_qs, u"--nofork"_qs, u"--print-address=1"_qs});
        QVERIFY(m_bus.waitForReadyRead(5000));
        const QByteArray address = m_bus.readLine().trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
        QVERIFY(QDBusConnection::sessionBus().isConnected());
    }

    void cleanupTestCase()
    {
        m_bus.kill();
        m_bus.waitForFinished();
    }

    void clockWakesOnceAndCancelsOnRelease()
    {
        SystemClock clock;
        int fired = 0;
        auto once = clock.after(20ms, [&] { ++fired; });
        auto cancelled = clock.after(20ms, [&] { fired += 100; });
        cancelled.reset();
        QTRY_COMPARE(fired, 1);
        QTest::qWait(50);
        QCOMPARE(fired, 1);
        QVERIFY(clock.now() >= 20ms);

        // Letting go of the timer from inside its own wake-up is safe.
        std::unique_ptr<ClockTimer> self;
        self = clock.after(1ms, [&] {
            self.reset();
            ++fired;
        });
        QTRY_COMPARE(fired, 2);
    }

    void aTurnHoldsTheScreenAwakeAndCuesInOrder()
    {
        // Without the daemon the calls go nowhere, quietly.
        FeedbackdHaptics haptics(u"test.app"_qs);
        haptics.notify(HapticCue::success);

        FakeFeedbackd feedbackd;
        FakeScreenSaver screenSaver;
        QDBusConnection services = QDBusConnection::connectToBus(
            QString::fromLocal8Bit(qgetenv("DBUS_SESSION_BUS_ADDRESS")), u"services"_qs);
        QVERIFY(services.registerObject(u"/org/sigxcpu/Feedback"_qs, &feedbackd, QDBusConnection::ExportAllSlots));
        QVERIFY(services.registerService(u"org.sigxcpu.Feedback"_qs));
        QVERIFY(services.registerObject(u"/org/freedesktop/ScreenSaver"_qs, &screenSaver, QDBusConnection::ExportAllSlots));
        QVERIFY(services.registerService(u"org.freedesktop.ScreenSaver"_qs));
        busLog.clear();

        StoreHarness harness;
        ScreenSaverInhibitor inhibitor(u"glimp-test"_qs);
        GameStore game(harness.prefs, harness.sound, haptics, harness.clock, harness.random);
        game.setIdleInhibitor(&inhibitor);
        game.setPlayerText(u"A\nB"_qs);
        game.formTeams(false);
        game.setRoundDuration(3);
        game.setScreen(AppScreen::ready);

        game.startTurn();
        QTRY_COMPARE(busLog.size(), 1);
        game.handleSwipe(100);
        QTRY_COMPARE(busLog.size(), 2);
        game.handleSwipe(-100);
        QTRY_COMPARE(busLog.size(), 3);
        harness.clock.advance(3s);
        QCOMPARE(game.screen(), AppScreen::summary);
        QTRY_COMPARE(busLog.size(), 5);
        QCOMPARE(busLog, (QStringList{u"Inhibit glimp-test"_qs, u"timeout-completed"_qs,
                                      u"message-new-instant"_qs, u"UnInhibit 42"_qs,
                                      u"phone-hangup"_qs}));
        QCOMPARE(feedbackd.events.first(), u"test.app timeout-completed quiet -1"_qs);

        // Leaving mid-turn releases too, even before the cookie has come back.
        game.continueAfterSummary();
        game.startTurn();
        game.goHome();
        QTRY_COMPARE(busLog.size(), 7);
        QCOMPARE(busLog.mid(5), (QStringList{u"Inhibit glimp-test"_qs, u"UnInhibit 43"_qs}));
        QVERIFY(screenSaver.held.isEmpty());
        QDBusConnection::disconnectFromBus(u"services"_qs);
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
