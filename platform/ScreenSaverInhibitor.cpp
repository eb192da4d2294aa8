#include "ScreenSaverInhibitor.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {

QDBusMessage screenSaverCall(const QString &method)
{
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.ScreenSaver"),
                                                       QStringLiteral("/org/freedesktop/ScreenSaver"),
                                                       QStringLiteral("org.freedesktop.ScreenSaver"),
                                                       method);
    call.setAutoStartService(false);
    return call;
}

} // namespace

ScreenSaverInhibitor::ScreenSaverInhibitor(QString appName, QObject *parent)
    : QObject(parent)
    , m_appName(std::move(appName))
{
}

ScreenSaverInhibitor::~ScreenSaverInhibitor()
{
    release();
}

void ScreenSaverInhibitor::hold()
{
    if (m_wanted)
        return;
    m_wanted = true;
    if (m_cookie || m_waitingForCookie)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage call = screenSaverCall(QStringLiteral("Inhibit"));
    call << m_appName << QStringLiteral("Идёт раунд");
    m_waitingForCookie = true;
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        m_waitingForCookie = false;
        const QDBusPendingReply<uint> reply = *w;
        if (reply.isError())
            return;
        // The turn may have ended while the cookie was on its way.
        if (m_wanted)
            m_cookie = reply.value();
        else
            uninhibit(reply.value());
    });
}

void ScreenSaverInhibitor::release()
{
    m_wanted = false;
    if (m_cookie) {
        uninhibit(m_cookie);
        m_cookie = 0;
    }
}

void ScreenSaverInhibitor::uninhibit(uint cookie)
{
    QDBusMessage call = screenSaverCall(QStringLiteral("UnInhibit"));
    call << cookie;
    QDBusConnection::sessionBus().send(call);
}
