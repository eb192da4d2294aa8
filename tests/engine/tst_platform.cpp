// The real clock, the feedbackd haptics, the idle hold and the on-screen keyboard, on a
// private session bus.
#include "DesktopIdleInhibitor.h"
#include "FeedbackdHaptics.h"
#include "OnScreenKeyboard.h"
#include "StoreHarness.h"
#include "SystemClock.h"

#include <QDBusConnection>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
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

using namespace Qt::StringLiterals;

// Every desktop service at once. Each call is logged as "<last part of the path> <method>
// <arguments>" (a map shows its values), in order of arrival; the portal hands out request
// paths r1, r2… and the screen saver cookies from the same count.
class FakeServices : public QDBusVirtualObject
{
public:
    QStringList log;
    bool portalFails = false;

    QString introspect(const QString &) const override { return {}; }
    bool handleMessage(const QDBusMessage &call, const QDBusConnection &bus) override
    {
        QStringList words{call.path().section(u'/', -1), call.member()};
        for (const QVariant &argument : call.arguments()) {
            if (argument.metaType() != QMetaType::fromType<QDBusArgument>())
                words << argument.toString();
            for (const QVariant &value : qdbus_cast<QVariantMap>(argument))
                words << value.toString();
        }
        log << words.join(u' ');
        QDBusMessage reply = call.createReply();
        if (call.member() == u"Inhibit"_s && words.first() == u"desktop"_s) {
            if (portalFails)
                reply = call.createErrorReply(QDBusError::Failed, u"backend gone"_s);
            else
                reply << QVariant::fromValue(QDBusObjectPath(QStringLiteral("/request/r%1").arg(++m_issued)));
        } else if (call.member() == u"Inhibit"_s) {
            reply << uint(++m_issued);
        }
        return bus.send(reply);
    }

private:
    uint m_issued = 0;
};

class TestPlatform : public QObject
{
    Q_OBJECT

private:
    QProcess m_bus; // killed when the test ends
    std::unique_ptr<FakeServices> m_fake;
    QStringList m_names;

    // Puts the fake on the private bus under these names, until the test ends.
    void serve(const QStringList &names)
    {
        QDBusConnection bus = QDBusConnection::connectToBus(
                QString::fromLocal8Bit(qgetenv("DBUS_SESSION_BUS_ADDRESS")), u"services"_s);
        QVERIFY(bus.registerVirtualObject(u"/"_s, m_fake.get(), QDBusConnection::SubPath));
        for (const QString &name : names)
            QVERIFY(bus.registerService(name));
        m_names = names;
    }

private slots:
    void initTestCase()
    {
        // A private session bus, so nothing reaches the desktop's own daemons.
        if (QStandardPaths::findExecutable(u"dbus-daemon"_s).isEmpty())
            QSKIP("dbus-daemon is not installed");
        m_bus.start(u"dbus-daemon"_s, {u"--session"_s, u"--nofork"_s, u"--print-address=1"_s});
        QVERIFY(m_bus.waitForReadyRead(5000));
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_bus.readLine().trimmed());
        QVERIFY(QDBusConnection::sessionBus().isConnected());
    }
    void init() { m_fake = std::make_unique<FakeServices>(); }
    void cleanup()
    {
        QDBusConnection bus(u"services"_s);
        for (const QString &name : std::exchange(m_names, {}))
            bus.unregisterService(name);
        QDBusConnection::disconnectFromBus(u"services"_s);
    }

    void clockWakesOnceAndCancelsOnRelease()
    {
        SystemClock clock;
        int fired = 0;
        auto once = clock.after(20ms, [&] { ++fired; });
        clock.after(20ms, [&] { fired += 100; }).reset();
        // Letting go of the timer from inside its own wake-up is safe.
        std::unique_ptr<ClockTimer> self = clock.after(30ms, [&] { self.reset(), fired += 10; });
        QTRY_COMPARE(fired, 11);
        QTest::qWait(50);
        QCOMPARE(fired, 11);
        QVERIFY(clock.now() >= 30ms);
    }

    // The cues reach feedbackd as events that vibrate in the theme Debian's package ships:
    // with the quiet profile only the quiet profile's events are felt.
    void cuesVibrateInFeedbackdsTheme()
    {
        // Without the daemon the calls go nowhere, quietly.
        FeedbackdHaptics haptics(u"test.app"_s);
        haptics.notify(HapticCue::success);

        QFile themeFile(u"/usr/share/feedbackd/themes/default.json"_s);
        QVERIFY2(themeFile.open(QIODevice::ReadOnly), "feedbackd is not installed (scripts/install-deps)");
        QStringList vibrating;
        for (const QJsonValue profile : QJsonDocument::fromJson(themeFile.readAll())["profiles"].toArray()) {
            for (const QJsonValue feedback : profile["feedbacks"].toArray()) {
                if (profile["name"] == u"quiet"_s && feedback["type"].toString().startsWith(u"Vibra"_s))
                    vibrating << feedback["event-name"].toString();
            }
        }

        serve({u"org.sigxcpu.Feedback"_s});
        QStringList sent;
        for (HapticCue cue : {HapticCue::success, HapticCue::warning, HapticCue::error}) {
            haptics.notify(cue);
            const QString event = FeedbackdHaptics::eventFor(cue);
            QVERIFY2(vibrating.contains(event), qPrintable(event));
            sent << u"Feedback TriggerFeedback test.app %1 quiet -1"_s.arg(event);
        }
        QCOMPARE(QSet<QString>(sent.cbegin(), sent.cend()).size(), 3);
        QTRY_COMPARE(m_fake->log, sent);
    }

    // Four turns: the first ends on time, the second is left for home, the game quits in
    // the third, and the fourth is left before any service has answered (so the screen
    // saver, asked only after the portal, is never asked).
    void turnsHoldTheScreenAwake_data()
    {
        QTest::addColumn<QStringList>("services");
        QTest::addColumn<bool>("portalFailsMidGame");
        QTest::addColumn<QStringList>("log");
        const QString portal = u"org.freedesktop.portal.Desktop"_s;
        const QString screenSaver = u"org.freedesktop.ScreenSaver"_s;
        const QString portalHold = u"desktop Inhibit  8 Идёт раунд"_s;
        const QString screenSaverHold = u"ScreenSaver Inhibit glimp-test Идёт раунд"_s;
        QTest::newRow("portal") << QStringList{portal, screenSaver} << false
            << QStringList{portalHold, u"r1 Close"_s, portalHold, u"r2 Close"_s,
                           portalHold, u"r3 Close"_s, portalHold, u"r4 Close"_s};
        QTest::newRow("only the screen saver") << QStringList{screenSaver} << false
            << QStringList{screenSaverHold, u"ScreenSaver UnInhibit 1"_s, screenSaverHold,
                           u"ScreenSaver UnInhibit 2"_s, screenSaverHold, u"ScreenSaver UnInhibit 3"_s};
        QTest::newRow("neither") << QStringList{} << false << QStringList{};
        QTest::newRow("portal failing mid-game") << QStringList{portal, screenSaver} << true
            << QStringList{portalHold, u"r1 Close"_s, portalHold, screenSaverHold,
                           u"ScreenSaver UnInhibit 2"_s, portalHold, screenSaverHold,
                           u"ScreenSaver UnInhibit 3"_s, portalHold};
    }
    void turnsHoldTheScreenAwake()
    {
        QFETCH(QStringList, services);
        QFETCH(bool, portalFailsMidGame);
        QFETCH(QStringList, log);
        serve(services);

        // Outlives the store, as in the game: the store releases its hold as it goes.
        auto inhibitor = std::make_unique<DesktopIdleInhibitor>(u"glimp-test"_s);
        StoreHarness harness;
        harness->setIdleInhibitor(inhibitor.get());
        harness.reachReady(u"A\nB"_s);
        harness->setRoundDuration(3);
        const auto startTurn = [&] {
            harness->startTurn();
            if (services.isEmpty())
                QTest::qWait(50);
            else
                QTRY_VERIFY(inhibitor->holding());
        };
        startTurn();
        harness.clock.advance(3s);
        QCOMPARE(harness->screen(), AppScreen::summary);
        m_fake->portalFails = portalFailsMidGame;
        harness->continueAfterSummary();
        startTurn();
        harness->goHome();
        // The game quits mid-turn, and starts again.
        harness.reachReady(u"A\nB"_s);
        startTurn();
        inhibitor = std::make_unique<DesktopIdleInhibitor>(u"glimp-test"_s);
        harness->setIdleInhibitor(inhibitor.get());
        harness->goHome();
        harness.reachReady(u"A\nB"_s);
        harness->startTurn();
        harness->goHome();
        QTRY_COMPARE(m_fake->log, log);
        QTest::qWait(50);
        QCOMPARE(m_fake->log, log);
    }

    // Focus goes to a field, to a second field, to something that takes no text, back to a
    // field, and the game quits.
    void keyboardFollowsTextFocus_data()
    {
        QTest::addColumn<bool>("service");
        QTest::addColumn<QStringList>("log");
        const QString shown = u"OSK0 SetVisible true"_s;
        const QString hidden = u"OSK0 SetVisible false"_s;
        QTest::newRow("squeekboard") << true << QStringList{shown, hidden, shown, hidden};
        QTest::newRow("no keyboard") << false << QStringList{};
    }
    void keyboardFollowsTextFocus()
    {
        QFETCH(bool, service);
        QFETCH(QStringList, log);
        serve(service ? QStringList{u"sm.puri.OSK0"_s} : QStringList{});

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
        QTest::failOnWarning(QRegularExpression(u"."_s));
        for (const char *name : {"a", "b", "plain", "b"}) {
            window->findChild<QQuickItem *>(QLatin1String(name))->forceActiveFocus();
            QTest::qWait(20);
        }
        keyboard.reset();
        QTRY_COMPARE(m_fake->log, log);
        QTest::qWait(50);
        QCOMPARE(m_fake->log, log);
    }
};

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
