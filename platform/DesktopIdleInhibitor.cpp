#include "DesktopIdleInhibitor.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QVariantMap>

namespace {

constexpr uint portalIdleFlag = 8;
const QString reason = QStringLiteral("Идёт раунд");

QDBusMessage methodCall(const QString &service, const QString &path, const QString &interface,
                        const QString &method)
{
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, method);
    // A service that is not running stays so; the next one is asked instead.
    call.setAutoStartService(false);
    return call;
}

QDBusMessage screenSaverCall(const QString &method)
{
    return methodCall(QStringLiteral("org.freedesktop.ScreenSaver"),
                      QStringLiteral("/org/freedesktop/ScreenSaver"),
                      QStringLiteral("org.freedesktop.ScreenSaver"), method);
}

} // namespace

DesktopIdleInhibitor::DesktopIdleInhibitor(QString appName, QObject *parent)
    : QObject(parent)
    , m_appName(std::move(appName))
{
}

DesktopIdleInhibitor::~DesktopIdleInhibitor()
{
    release();
}

void DesktopIdleInhibitor::hold()
{
    if (m_wanted)
        return;
    m_wanted = true;
    if (m_waiting || m_cookie || !m_portalRequest.isEmpty())
        return;
    if (QDBusConnection::sessionBus().isConnected())
        askPortal();
}

void DesktopIdleInhibitor::release()
{
    m_wanted = false;
    if (!m_waiting)
        drop();
}

void DesktopIdleInhibitor::askPortal()
{
    QDBusMessage call = methodCall(QStringLiteral("org.freedesktop.portal.Desktop"),
                                   QStringLiteral("/org/freedesktop/portal/desktop"),
                                   QStringLiteral("org.freedesktop.portal.Inhibit"),
                                   QStringLiteral("Inhibit"));
    call << QString() << portalIdleFlag << QVariantMap{{QStringLiteral("reason"), reason}};
    await(call, [this](const QDBusMessage &reply) {
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
            m_portalRequest = reply.arguments().constFirst().value<QDBusObjectPath>().path();
        if (m_portalRequest.isEmpty() && m_wanted)
            askScreenSaver();
    });
}

void DesktopIdleInhibitor::askScreenSaver()
{
    QDBusMessage call = screenSaverCall(QStringLiteral("Inhibit"));
    call << m_appName << reason;
    await(call, [this](const QDBusMessage &reply) {
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
            m_cookie = reply.arguments().constFirst().toUInt();
    });
}

// Sends call and hands its reply to done; the turn may have ended while it was on its way,
// and then whatever it got is given back at once.
void DesktopIdleInhibitor::await(const QDBusMessage &call,
                                 std::function<void(const QDBusMessage &)> done)
{
    m_waiting = true;
    auto *watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, done = std::move(done)](QDBusPendingCallWatcher *w) {
                w->deleteLater();
                m_waiting = false;
                done(w->reply());
                if (!m_wanted && !m_waiting)
                    drop();
            });
}

void DesktopIdleInhibitor::drop()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!m_portalRequest.isEmpty()) {
        bus.send(methodCall(QStringLiteral("org.freedesktop.portal.Desktop"), m_portalRequest,
                            QStringLiteral("org.freedesktop.portal.Request"),
                            QStringLiteral("Close")));
        m_portalRequest.clear();
    }
    if (m_cookie) {
        QDBusMessage call = screenSaverCall(QStringLiteral("UnInhibit"));
        call << m_cookie;
        bus.send(call);
        m_cookie = 0;
    }
}
