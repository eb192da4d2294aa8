#include "OnScreenKeyboard.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodQueryEvent>
#include <QPointerEvent>
#include <QWindow>

using namespace Qt::StringLiterals;

namespace {

const QString keyboardService = u"sm.puri.OSK0"_s;
const QString keyboardPath = u"/sm/puri/OSK0"_s;
const QString portalService = u"org.freedesktop.portal.Desktop"_s;
const QString portalPath = u"/org/freedesktop/portal/desktop"_s;
const QString settingsInterface = u"org.freedesktop.portal.Settings"_s;
const QString settingGroup = u"org.gnome.desktop.a11y.applications"_s;
const QString settingKey = u"screen-keyboard-enabled"_s;

bool takesText(QObject *focus)
{
    if (!focus)
        return false;
    // The same question Qt asks before it opens an input method.
    QInputMethodQueryEvent query(Qt::ImEnabled);
    QCoreApplication::sendEvent(focus, &query);
    return query.value(Qt::ImEnabled).toBool();
}

// The focused field's visible part, in its window's coordinates, as Qt Quick tells the
// input method.
bool overFocusedField(QPointF position)
{
    return qGuiApp->inputMethod()->inputItemClipRectangle().contains(position);
}

} // namespace

OnScreenKeyboard::Driver OnScreenKeyboard::driverFor(const QVersionNumber &qt,
                                                     QStringView platform,
                                                     const QByteArray &textInputProtocols)
{
    if (!platform.startsWith(u"wayland"))
        return Driver::nobody;
    const bool qtSpeaksV3 = qt >= QVersionNumber(6, 7);
    const bool qtMayUseV3 = textInputProtocols.isEmpty()
                            || textInputProtocols.split(';').contains("zwp_text_input_v3");
    return qtSpeaksV3 && qtMayUseV3 ? Driver::qtInputMethod : Driver::squeekboard;
}

OnScreenKeyboard::Driver OnScreenKeyboard::runtimeDriver()
{
    return driverFor(QVersionNumber::fromString(QLatin1StringView(qVersion())),
                     QGuiApplication::platformName(),
                     qgetenv("QT_WAYLAND_TEXT_INPUT_PROTOCOL"));
}

OnScreenKeyboard::OnScreenKeyboard(Driver driver, QObject *parent)
    : QObject(parent)
    , m_raises(driver == Driver::squeekboard)
{
    if (driver == Driver::nobody)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    bus.connect(keyboardService, keyboardPath, u"org.freedesktop.DBus.Properties"_s,
                u"PropertiesChanged"_s, this,
                SLOT(keyboardChanged(QString, QVariantMap, QStringList)));
    bus.connect(portalService, portalPath, settingsInterface, u"SettingChanged"_s, this,
                SLOT(settingChanged(QString, QString, QDBusVariant)));
    QDBusMessage read = QDBusMessage::createMethodCall(portalService, portalPath,
                                                       settingsInterface, u"Read"_s);
    read.setAutoStartService(false);
    read << settingGroup << settingKey;
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(read), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        const QDBusMessage reply = w->reply();
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
            useSetting(reply.arguments().constFirst());
    });

    connect(qGuiApp, &QGuiApplication::focusObjectChanged, this, &OnScreenKeyboard::follow);
    qGuiApp->installEventFilter(this);
    if (takesText(qGuiApp->focusObject()))
        follow(qGuiApp->focusObject());
    else
        ask(false);
}

OnScreenKeyboard::~OnScreenKeyboard()
{
    if (m_raised)
        ask(false);
}

// A tap on the field that has focus already: Qt asks its input method again, which does not
// reach squeekboard, and focus does not change.
bool OnScreenKeyboard::eventFilter(QObject *watched, QEvent *event)
{
    const bool released = event->type() == QEvent::MouseButtonRelease
                          || event->type() == QEvent::TouchEnd;
    if ((m_raises || m_heldDown) && released && !m_visible && watched == qGuiApp->focusWindow()) {
        auto *pointer = static_cast<QPointerEvent *>(event);
        if (pointer->pointCount() > 0 && overFocusedField(pointer->point(0).position()))
            follow(qGuiApp->focusObject());
    }
    return false;
}

// No focus at all: the window is no longer active, and takes back only what it raised.
// Focus on something that takes no text, as when the window becomes active: down, whoever
// raised it.
void OnScreenKeyboard::follow(QObject *focus)
{
    if (!focus) {
        if (m_raised)
            ask(false);
    } else if (!takesText(focus)) {
        if (m_visible)
            ask(false);
    } else if ((m_raises || m_heldDown) && m_enabled && !m_visible) {
        ask(true);
    }
}

void OnScreenKeyboard::ask(bool visible)
{
    // Taken down over D-Bus, squeekboard stays down for the next field that Qt's input
    // method opens: this brings it then.
    m_heldDown = !visible && !m_raises && m_visible;
    m_visible = m_raised = visible;
    QDBusMessage call = QDBusMessage::createMethodCall(keyboardService, keyboardPath,
                                                       keyboardService, u"SetVisible"_s);
    // Where no keyboard runs, none is started for us.
    call.setAutoStartService(false);
    call << visible;
    QDBusConnection::sessionBus().send(call);
}

void OnScreenKeyboard::keyboardChanged(const QString &interface, const QVariantMap &changed,
                                       const QStringList &)
{
    const auto visible = changed.constFind(u"Visible"_s);
    if (interface != keyboardService || visible == changed.cend())
        return;
    m_visible = visible->toBool();
    m_raised = m_raised && m_visible;
    // Qt 6.8 enables its text input whenever the window gets the keyboard focus, field or
    // not, and the next focus change commits that: squeekboard comes up over a screen with
    // nothing to type into. Only while this window has the focus, so another app's field is
    // left alone.
    QObject *focus = qGuiApp->focusObject();
    if (!m_raises && m_visible && focus && !takesText(focus))
        ask(false);
}

void OnScreenKeyboard::settingChanged(const QString &group, const QString &key,
                                      const QDBusVariant &value)
{
    // Applied at the next focus change or tap: the window may not even be in front now.
    if (group == settingGroup && key == settingKey)
        useSetting(value.variant());
}

void OnScreenKeyboard::useSetting(QVariant value)
{
    // Read wraps the value in one variant more than it declares.
    while (value.metaType() == QMetaType::fromType<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    if (value.metaType() == QMetaType::fromType<bool>())
        m_enabled = value.toBool();
}
