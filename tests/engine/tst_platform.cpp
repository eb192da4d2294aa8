// The real clock, the feedbackd haptics, the idle hold and the on-screen keyboard, on a
// private session bus.
#include "FeedbackdHaptics.h"
#include "DesktopIdleInhibitor.h"
#include "OnScreenKeyboard.h"
#include "StoreHarness.h"
#include "SystemClock.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusObjectPath>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
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

// The desktop portal's Inhibit; each hold is a request object that Close lets go of.
class FakePortalRequest : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Request")

public:
    using QObject::QObject;
    int number = 0;

public slots:
    void Close()
    {
        busLog << QStringLiteral("portal Close %1").arg(number);
        deleteLater();
    }
};

class FakePortal : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Inhibit")

public:
    bool failing = false;

public slots:
    QDBusObjectPath Inhibit(const QString &window, uint flags, const QVariantMap &options)
    {
        if (failing) {
            busLog << u"portal refused"_qs;
            sendErrorReply(QDBusError::Failed, u"backend gone"_qs);
            return {};
        }
        busLog << QStringLiteral("portal Inhibit '%1' %2 %3").arg(window).arg(flags).arg(options.value("reason").toString());
        auto *request = new FakePortalRequest(this);
        request->number = ++m_next;
        const QString path = QStringLiteral("/org/freedesktop/portal/desktop/request/test/r%1").arg(m_next);
        connection().registerObject(path, request, QDBusConnection::ExportAllSlots);
        return QDBusObjectPath(path);
    }

private:
    int m_next = 0;
};

class FakeKeyboard : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "sm.puri.OSK0")

public slots:
    void SetVisible(bool visible) { busLog << (visible ? u"shown"_qs : u"hidden"_qs); }
};

// A connection of its own to the private session bus, on which the fake services live.
QDBusConnection servicesBus()
{
    return QDBusConnection::connectToBus(QString::fromLocal8Bit(qgetenv("DBUS_SESSION_BUS_ADDRESS")),
                                         u"services"_qs);
}

// Puts fake on bus as service, at path.
bool serve(QDBusConnection &bus, const QString &service, const QString &path, QObject *fake)
{
    return bus.registerObject(path, fake, QDBusConnection::ExportAllSlots) && bus.registerService(service);
}

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

    // The cues reach feedbackd as events that vibrate in the theme Debian's package ships:
    // with the quiet profile only the quiet profile's events are felt.
    void cuesVibrateInFeedbackdsTheme()
    {
        // Without the daemon the calls go nowhere, quietly.
        FeedbackdHaptics haptics(u"test.app"_qs);
        haptics.notify(HapticCue::success);

        QFile themeFile(u"/usr/share/feedbackd/themes/default.json"_qs);
        QVERIFY2(themeFile.open(QIODevice::ReadOnly), "feedbackd is not installed (scripts/install-deps)");
        QSet<QString> vibrating;
        for (const QJsonValue profile : QJsonDocument::fromJson(themeFile.readAll())["profiles"].toArray()) {
            if (profile["name"] != u"quiet"_qs)
                continue;
            for (const QJsonValue feedback : profile["feedbacks"].toArray()) {
                if (feedback["type"].toString().startsWith(u"Vibra"_qs))
                    vibrating << feedback["event-name"].toString();
            }
        }

        FakeFeedbackd feedbackd;
        QDBusConnection services = servicesBus();
        QVERIFY(serve(services, u"org.sigxcpu.Feedback"_qs, u"/org/sigxcpu/Feedback"_qs, &feedbackd));
        QSet<QString> sent;
        for (HapticCue cue : {HapticCue::success, HapticCue::warning, HapticCue::error}) {
            haptics.notify(cue);
            QTRY_COMPARE(feedbackd.events.size(), int(sent.size()) + 1);
            const QString event = FeedbackdHaptics::eventFor(cue);
            QCOMPARE(feedbackd.events.last(), u"test.app %1 quiet -1"_qs.arg(event));
            QVERIFY2(vibrating.contains(event), qPrintable(event));
            sent << event;
        }
        QCOMPARE(sent.size(), 3);
        QDBusConnection::disconnectFromBus(u"services"_qs);
    }

    // Four turns: the first ends on time, the second is left for home, the game quits in
    // the third, and the fourth is left before any service has answered (so the screen
    // saver, asked only after the portal, is never asked).
    void turnsHoldTheScreenAwake_data()
    {
        QTest::addColumn<bool>("portal");
        QTest::addColumn<bool>("screenSaver");
        QTest::addColumn<bool>("portalFailsMidGame");
        QTest::addColumn<QStringList>("log");
        const QString portalHold = u"portal Inhibit '' 8 Идёт раунд"_qs;
        const QString screenSaverHold = u"Inhibit glimp-test"_qs;
        QTest::newRow("portal") << true << true << false
            << QStringList{portalHold, u"portal Close 1"_qs, portalHold, u"portal Close 2"_qs,
                           portalHold, u"portal Close 3"_qs, portalHold, u"portal Close 4"_qs};
        QTest::newRow("only the screen saver") << false << true << false
            << QStringList{screenSaverHold, u"UnInhibit 42"_qs, screenSaverHold, u"UnInhibit 43"_qs,
                           screenSaverHold, u"UnInhibit 44"_qs};
        QTest::newRow("neither") << false << false << false << QStringList{};
        QTest::newRow("portal failing mid-game") << true << true << true
            << QStringList{portalHold, u"portal Close 1"_qs, u"portal refused"_qs, screenSaverHold,
                           u"UnInhibit 42"_qs, u"portal refused"_qs, screenSaverHold,
                           u"UnInhibit 43"_qs, u"portal refused"_qs};
    }

    void turnsHoldTheScreenAwake()
    {
        QFETCH(bool, portal);
        QFETCH(bool, screenSaver);
        QFETCH(bool, portalFailsMidGame);
        QFETCH(QStringList, log);

        FakePortal fakePortal;
        FakeScreenSaver fakeScreenSaver;
        QDBusConnection services = servicesBus();
        if (portal) {
            QVERIFY(serve(services, u"org.freedesktop.portal.Desktop"_qs, u"/org/freedesktop/portal/desktop"_qs, &fakePortal));
        }
        if (screenSaver) {
            QVERIFY(serve(services, u"org.freedesktop.ScreenSaver"_qs, u"/org/freedesktop/ScreenSaver"_qs, &fakeScreenSaver));
        }
        busLog.clear();

        // Outlives the store, as in the game: the store releases its hold as it goes.
        auto inhibitor = std::make_unique<DesktopIdleInhibitor>(u"glimp-test"_qs);
        StoreHarness harness;
        harness->setIdleInhibitor(inhibitor.get());
        harness.reachReady(u"A\nB"_qs);
        harness->setRoundDuration(3);

        const auto awaitHold = [&] {
            if (!portal && !screenSaver)
                QTest::qWait(50);
            else
                QTRY_VERIFY(inhibitor->holding());
        };
        harness->startTurn();
        awaitHold();
        harness.clock.advance(3s);
        QCOMPARE(harness->screen(), AppScreen::summary);
        fakePortal.failing = portalFailsMidGame;
        harness->continueAfterSummary();
        harness->startTurn();
        awaitHold();
        harness->goHome();
        // The game quits mid-turn, and starts again.
        harness.reachReady(u"A\nB"_qs);
        harness->startTurn();
        awaitHold();
        inhibitor = std::make_unique<DesktopIdleInhibitor>(u"glimp-test"_qs);
        harness->setIdleInhibitor(inhibitor.get());
        harness->goHome();
        harness.reachReady(u"A\nB"_qs);
        harness->startTurn();
        harness->goHome();
        QTRY_COMPARE(busLog, log);
        QTest::qWait(50);
        QCOMPARE(busLog, log);
        QVERIFY(fakeScreenSaver.held.isEmpty());
        QVERIFY(fakePortal.findChildren<FakePortalRequest *>().isEmpty() || !portal);
        services.unregisterService(u"org.freedesktop.portal.Desktop"_qs);
        services.unregisterService(u"org.freedesktop.ScreenSaver"_qs);
        QDBusConnection::disconnectFromBus(u"services"_qs);
    }

    // Focus goes to a field, to a second field, to something that takes no text, back to a
    // field, and the game quits.
    void keyboardFollowsTextFocus_data()
    {
        QTest::addColumn<bool>("service");
        QTest::addColumn<QStringList>("log");
        QTest::newRow("squeekboard") << true << QStringList{u"shown"_qs, u"hidden"_qs, u"shown"_qs, u"hidden"_qs};
        QTest::newRow("no keyboard") << false << QStringList{};
    }

    void keyboardFollowsTextFocus()
    {
        QFETCH(bool, service);
        QFETCH(QStringList, log);
        FakeKeyboard fake;
        QDBusConnection services = servicesBus();
        if (service) {
            QVERIFY(serve(services, u"sm.puri.OSK0"_qs, u"/sm/puri/OSK0"_qs, &fake));
        }
        busLog.clear();

        QQmlEngine engine;
        QQmlComponent component(&engine);
        component.setData("import QtQuick\nWindow { TextInput { objectName: 'a' } "
                          "TextInput { objectName: 'b' } Item { objectName: 'plain' } }", {});
        std::unique_ptr<QObject> root(component.create());
        auto *window = qobject_cast<QQuickWindow *>(root.get());
        QVERIFY2(window, qPrintable(component.errorString()));
        auto keyboard = std::make_unique<OnScreenKeyboard>(true);
        window->show();
        window->requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::failOnWarning(QRegularExpression(u"."_qs));
        for (const char *name : {"a", "b", "plain", "b"}) {
            window->findChild<QQuickItem *>(QLatin1String(name))->forceActiveFocus();
            QTest::qWait(20);
        }
        keyboard.reset();
        QTRY_COMPARE(busLog, log);
        QTest::qWait(50);
        QCOMPARE(busLog, log);
        services.unregisterService(u"sm.puri.OSK0"_qs);
        QDBusConnection::disconnectFromBus(u"services"_qs);
    }
};

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
