// The real clock, the feedbackd haptics, the idle hold and the on-screen keyboard, on a
// private session bus.
#include "DesktopIdleInhibitor.h"
#include "FeedbackdHaptics.h"
#include "OnScreenKeyboard.h"
#include "PrivateBus.h"
#include "StoreHarness.h"
#include "SystemClock.h"
#include "SystemRandom.h"

#include <QDBusConnection>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVirtualObject>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointingDevice>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSet>

using namespace Qt::StringLiterals;

// Every desktop service at once. Each call is logged as "<last part of the path> <method>
// <arguments>" (a map shows its values), in order of arrival; the portal hands out request
// paths r1, r2… and the screen saver cookies from the same count. Squeekboard tells its
// listeners when it is shown or hidden, as its Visible property changes; the portal's
// settings know the user's keyboard setting when it is given.
class FakeServices : public QDBusVirtualObject
{
public:
    QStringList log;
    bool portalFails = false;
    bool keyboardVisible = false;
    QVariant keyboardSetting;

    // As squeekboard does when the shell's button or another client shows or hides it.
    void setKeyboardVisible(const QDBusConnection &bus, bool visible)
    {
        if (std::exchange(keyboardVisible, visible) == visible)
            return;
        QDBusMessage changed = QDBusMessage::createSignal(
                u"/sm/puri/OSK0"_s, u"org.freedesktop.DBus.Properties"_s, u"PropertiesChanged"_s);
        changed << u"sm.puri.OSK0"_s << QVariantMap{{u"Visible"_s, visible}} << QStringList{};
        QVERIFY(bus.send(changed));
    }
    void setKeyboardSetting(const QDBusConnection &bus, bool enabled)
    {
        keyboardSetting = enabled;
        QDBusMessage changed = QDBusMessage::createSignal(
                u"/org/freedesktop/portal/desktop"_s, u"org.freedesktop.portal.Settings"_s,
                u"SettingChanged"_s);
        changed << u"org.gnome.desktop.a11y.applications"_s << u"screen-keyboard-enabled"_s
                << QVariant::fromValue(QDBusVariant(enabled));
        QVERIFY(bus.send(changed));
    }

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
        } else if (call.member() == u"SetVisible"_s) {
            setKeyboardVisible(bus, call.arguments().constFirst().toBool());
        } else if (call.member() == u"Read"_s) {
            // The portal answers with the value wrapped in a variant once more.
            if (keyboardSetting.isValid())
                reply << QVariant::fromValue(QDBusVariant(QVariant::fromValue(QDBusVariant(keyboardSetting))));
            else
                reply = call.createErrorReply(u"org.freedesktop.portal.Error.NotFound"_s, {});
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
    PrivateBus m_bus;
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

    // Everything the game's side of the bus sent so far has reached the fake.
    void reached()
    {
        QDBusPendingCall ping = QDBusConnection::sessionBus().asyncCall(QDBusMessage::createMethodCall(
                QDBusConnection(u"services"_s).baseService(), u"/ping"_s, u"test.Ping"_s, u"Ping"_s));
        QTRY_VERIFY(ping.isFinished());
    }

private slots:
    void initTestCase()
    {
        if (m_bus.address().isEmpty())
            QSKIP("dbus-daemon is not installed");
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_bus.address().toLocal8Bit());
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

    // Each source is seeded on its own from the system, draws inside its bound, and reaches
    // every value of a small one.
    void randomSourcesAreSeededApartAndStayInBounds()
    {
        SystemRandom first, second;
        QList<quint64> a, b;
        for (int i = 0; i < 16; ++i) {
            a.append(first.bounded(quint64(1) << 40));
            b.append(second.bounded(quint64(1) << 40));
        }
        QVERIFY2(a != b, "two sources drew the same numbers");
        QCOMPARE(first.bounded(1), quint64(0));
        QSet<quint64> seen;
        for (int i = 0; i < 600; ++i) {
            const quint64 n = first.bounded(6);
            QVERIFY(n < 6);
            seen.insert(n);
        }
        QCOMPARE(seen.size(), 6);
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

    // Qt 6.4 cannot ask phoc for the keyboard and its D-Bus switch does; from QtWayland 6.7
    // on Qt asks through text-input-v3 itself, with the field's purpose.
    void keyboardDriverIsChosenByQtAndPlatform_data()
    {
        QTest::addColumn<QString>("qt");
        QTest::addColumn<QString>("platform");
        QTest::addColumn<QByteArray>("protocols");
        QTest::addColumn<OnScreenKeyboard::Driver>("driver");
        using D = OnScreenKeyboard::Driver;
        QTest::newRow("6.4 on Wayland") << u"6.4.2"_s << u"wayland"_s << QByteArray() << D::squeekboard;
        QTest::newRow("6.4 on Wayland, EGL") << u"6.4.2"_s << u"wayland-egl"_s << QByteArray() << D::squeekboard;
        QTest::newRow("6.4 told to use v3") << u"6.4.2"_s << u"wayland"_s << QByteArray("zwp_text_input_v3") << D::squeekboard;
        QTest::newRow("6.6 on Wayland") << u"6.6.3"_s << u"wayland"_s << QByteArray() << D::squeekboard;
        QTest::newRow("6.7 on Wayland") << u"6.7.0"_s << u"wayland"_s << QByteArray() << D::qtInputMethod;
        QTest::newRow("6.8 on Wayland") << u"6.8.2"_s << u"wayland"_s << QByteArray() << D::qtInputMethod;
        QTest::newRow("6.8 kept off v3") << u"6.8.2"_s << u"wayland"_s << QByteArray("zwp_text_input_v2") << D::squeekboard;
        QTest::newRow("6.8 with v3 among others") << u"6.8.2"_s << u"wayland"_s << QByteArray("zwp_text_input_v2;zwp_text_input_v3") << D::qtInputMethod;
        QTest::newRow("6.4 on X11") << u"6.4.2"_s << u"xcb"_s << QByteArray() << D::nobody;
        QTest::newRow("6.8 on X11") << u"6.8.2"_s << u"xcb"_s << QByteArray() << D::nobody;
        QTest::newRow("offscreen") << u"6.4.2"_s << u"offscreen"_s << QByteArray() << D::nobody;
    }
    void keyboardDriverIsChosenByQtAndPlatform()
    {
        QFETCH(QString, qt);
        QFETCH(QString, platform);
        QFETCH(QByteArray, protocols);
        QFETCH(OnScreenKeyboard::Driver, driver);
        QCOMPARE(OnScreenKeyboard::driverFor(QVersionNumber::fromString(qt), platform, protocols), driver);
    }

    // Over squeekboard's D-Bus switch, step by step: focus moving between the fields a and b
    // and an item that takes no text; taps and touches on a field or beside it; the
    // keyboard shown or hidden by someone else (the shell's button, another app, Qt's own
    // input method); the window left for another and come back to; the user's setting
    // changed; the game quit. What the game asked, in order: up or down. The keyboard is
    // made before the window shows, as in the game.
    void keyboardFollowsFocusTapsAndTheUser_data()
    {
        using D = OnScreenKeyboard::Driver;
        QTest::addColumn<D>("driver");
        QTest::addColumn<QStringList>("services");
        QTest::addColumn<QVariant>("setting");
        QTest::addColumn<bool>("leftUp");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("asked");
        const QStringList keyboard{u"sm.puri.OSK0"_s};
        const QStringList keyboardAndPortal{u"sm.puri.OSK0"_s, u"org.freedesktop.portal.Desktop"_s};
        QTest::newRow("focus moves")
            << D::squeekboard << keyboard << QVariant() << false
            << u"focus a, focus b, focus plain, focus b, quit"_s << u"down up down up down"_s;
        QTest::newRow("hidden by the shell, the field tapped")
            << D::squeekboard << keyboardAndPortal << QVariant(true) << false
            << u"focus a, shell hides, tap plain, tap a, shell hides, touch a, tap a, shell hides, "
               "focus b, quit"_s
            << u"down up up up up down"_s;
        QTest::newRow("left up by a killed game, raised by another app")
            << D::squeekboard << keyboard << QVariant() << true
            << u"leave, shell shows, come back, focus a, leave, come back, focus plain, "
               "shell shows, quit"_s
            << u"down down up down up down"_s;
        QTest::newRow("the user's setting off, then on")
            << D::squeekboard << keyboardAndPortal << QVariant(false) << false
            << u"focus a, tap a, focus plain, setting on, focus b, setting off, tap b, "
               "focus plain, focus a, quit"_s
            << u"down up down"_s;
        QTest::newRow("no keyboard running")
            << D::squeekboard << QStringList{} << QVariant() << false << u"focus a, tap a, focus plain, quit"_s
            << QString();
        // Qt brings the keyboard up and down for fields. Up with no field, the game takes it
        // down, and up again for the next field only then.
        QTest::newRow("Qt's input method")
            << D::qtInputMethod << keyboard << QVariant() << false
            << u"shell shows, focus a, shell hides, tap a, focus b, shell shows, focus plain, "
               "shell shows, shell hides, tap a, quit"_s
            << u"down down up down down up down"_s;
    }
    void keyboardFollowsFocusTapsAndTheUser()
    {
        QFETCH(OnScreenKeyboard::Driver, driver);
        QFETCH(QStringList, services);
        QFETCH(QVariant, setting);
        QFETCH(bool, leftUp);
        QFETCH(QString, steps);
        QFETCH(QString, asked);
        m_fake->keyboardVisible = leftUp;
        m_fake->keyboardSetting = setting;
        serve(services);
        const QDBusConnection fakeBus(u"services"_s);

        QQmlEngine engine;
        QQmlComponent component(&engine);
        component.setData("import QtQuick\n"
                          "Window { width: 200; height: 200\n"
                          "  TextInput { objectName: 'a'; width: 200; height: 40 }\n"
                          "  TextInput { objectName: 'b'; y: 50; width: 200; height: 40 }\n"
                          "  Item { objectName: 'plain'; y: 100; width: 200; height: 40 } }\n",
                          {});
        std::unique_ptr<QObject> root(component.create());
        auto *window = qobject_cast<QQuickWindow *>(root.get());
        QVERIFY2(window, qPrintable(component.errorString()));
        QWindow other;
        other.resize(50, 50);
        const std::unique_ptr<QPointingDevice> touchscreen(QTest::createTouchDevice());
        QTest::failOnWarning(QRegularExpression(u"."_s));

        auto keyboard = std::make_unique<OnScreenKeyboard>(driver);
        const auto activate = [](QWindow *w) {
            w->show();
            w->requestActivate();
            QVERIFY(QTest::qWaitForWindowActive(w));
        };
        activate(window);
        if (setting.isValid())
            QTRY_COMPARE(keyboard->enabledByUser(), setting.toBool());
        for (const QString &step : steps.split(u", "_s)) {
            const QString what = step.section(u' ', 1);
            auto *item = window->findChild<QQuickItem *>(what);
            const QPoint centre = item ? item->mapToScene(item->boundingRect().center()).toPoint() : QPoint();
            if (step.startsWith(u"tap"_s) || step.startsWith(u"touch"_s))
                // Qt Quick tells the input method where the focused field is as it draws.
                QTRY_VERIFY(window->activeFocusItem() != item
                            || qGuiApp->inputMethod()->inputItemClipRectangle().contains(centre));
            if (step.startsWith(u"focus"_s)) {
                item->forceActiveFocus();
            } else if (step.startsWith(u"tap"_s)) {
                QTest::mouseClick(window, Qt::LeftButton, {}, centre);
            } else if (step.startsWith(u"touch"_s)) {
                QTest::touchEvent(window, touchscreen.get()).press(0, centre);
                QTest::touchEvent(window, touchscreen.get()).release(0, centre);
            } else if (step.startsWith(u"shell"_s)) {
                const qsizetype heard = m_fake->log.size();
                m_fake->setKeyboardVisible(fakeBus, what == u"shows"_s);
                // Heard: followed, or answered at once.
                QTRY_VERIFY(keyboard->shown() == (what == u"shows"_s) || m_fake->log.size() > heard);
            } else if (step.startsWith(u"setting"_s)) {
                m_fake->setKeyboardSetting(fakeBus, what == u"on"_s);
                QTRY_COMPARE(keyboard->enabledByUser(), what == u"on"_s);
            } else if (step == u"leave"_s) {
                activate(&other);
            } else if (step == u"come back"_s) {
                activate(window);
            } else if (step == u"quit"_s) {
                keyboard.reset();
            }
            reached();
        }
        QStringList said;
        for (const QString &call : std::as_const(m_fake->log)) {
            if (call.startsWith(u"OSK0 SetVisible"_s))
                said << (call.endsWith(u"true"_s) ? u"up"_s : u"down"_s);
        }
        QCOMPARE(said.join(u' '), asked);
    }
};

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
