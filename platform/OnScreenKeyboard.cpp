#include "OnScreenKeyboard.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QGuiApplication>
#include <QInputMethodQueryEvent>

namespace {

bool takesText(QObject *focus)
{
    if (!focus)
        return false;
    // The same question Qt asks before it opens an input method.
    QInputMethodQueryEvent query(Qt::ImEnabled);
    QCoreApplication::sendEvent(focus, &query);
    return query.value(Qt::ImEnabled).toBool();
}

} // namespace

OnScreenKeyboard::OnScreenKeyboard(bool everywhere, QObject *parent)
    : QObject(parent)
{
    if (!everywhere && !QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return;
    connect(qGuiApp, &QGuiApplication::focusObjectChanged, this, &OnScreenKeyboard::follow);
}

OnScreenKeyboard::~OnScreenKeyboard()
{
    if (m_shown)
        ask(false);
}

void OnScreenKeyboard::follow(QObject *focus)
{
    const bool wanted = takesText(focus);
    if (wanted != m_shown)
        ask(wanted);
}

void OnScreenKeyboard::ask(bool visible)
{
    m_shown = visible;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("sm.puri.OSK0"), QStringLiteral("/sm/puri/OSK0"),
            QStringLiteral("sm.puri.OSK0"), QStringLiteral("SetVisible"));
    // Where no keyboard runs, none is started for us.
    call.setAutoStartService(false);
    call << visible;
    bus.send(call);
}
