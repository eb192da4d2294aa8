#include "SingleInstance.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QWindow>
#include <cstdio>

using namespace Qt::StringLiterals;

// Off unless QT_LOGGING_RULES="glimp.platform.info=true".
Q_LOGGING_CATEGORY(lcPlatform, "glimp.platform", QtWarningMsg)

namespace {

const QString applicationInterface = u"org.freedesktop.Application"_s;
// A running game answers from its event loop; one busy for longer comes to the front
// once it is done, without the second start waiting for it.
constexpr int answerTimeoutMs = 10000;

} // namespace

QVariantMap SingleInstance::launchPlatformData()
{
    QVariantMap data;
    if (const QString token = qEnvironmentVariable("XDG_ACTIVATION_TOKEN"); !token.isEmpty())
        data.insert(u"activation-token"_s, token);
    if (const QString id = qEnvironmentVariable("DESKTOP_STARTUP_ID"); !id.isEmpty())
        data.insert(u"desktop-startup-id"_s, id);
    return data;
}

SingleInstance::SingleInstance(const QString &appId, QObject *parent)
    : QObject(parent)
    , m_name(appId)
    , m_path(u'/' + QString(appId).replace(u'.', u'/'))
{
}

bool SingleInstance::claim(const QVariantMap &platformData)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    // The object first, so that an activation arriving with the name finds it.
    if (!bus.isConnected() || !bus.registerObject(m_path, this, QDBusConnection::ExportScriptableSlots))
        return true;
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> request =
            bus.interface()->registerService(m_name, QDBusConnectionInterface::QueueService,
                                             QDBusConnectionInterface::DontAllowReplacement);
    if (!request.isValid() || request.value() != QDBusConnectionInterface::ServiceQueued)
        return true;
    // Queued behind the running game. Should it quit meanwhile, the name passes to this one.
    for (QString owner; (owner = bus.interface()->serviceOwner(m_name).value()) != bus.baseService();) {
        if (owner.isEmpty())
            return true;
        QDBusMessage call = QDBusMessage::createMethodCall(owner, m_path, applicationInterface,
                                                           u"Activate"_s);
        call << platformData;
        if (bus.call(call, QDBus::Block, answerTimeoutMs).type() == QDBusMessage::ReplyMessage)
            return false;
        if (bus.interface()->serviceOwner(m_name).value() == owner) {
            std::fputs("tarvuke-glimp: a game is running already and does not answer; it comes to "
                       "the front once it does\n", stderr);
            return false;
        }
    }
    return true;
}

void SingleInstance::setWindow(QWindow *window)
{
    m_window = window;
    if (m_activationPending)
        raise();
}

void SingleInstance::Activate(const QVariantMap &platformData)
{
    // Wayland's activation token; GLib's launchers send it as the startup id as well.
    QString token = platformData.value(u"activation-token"_s).toString();
    if (token.isEmpty())
        token = platformData.value(u"desktop-startup-id"_s).toString();
    // Qt's Wayland plugin hands it to xdg-activation at the window's next requestActivate.
    if (!token.isEmpty() && QGuiApplication::platformName().startsWith(u"wayland"))
        qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
    qCInfo(lcPlatform).noquote() << "activated, token" << (token.isEmpty() ? u"none"_s : token);
    m_activationPending = true;
    if (m_window)
        raise();
}

void SingleInstance::raise()
{
    m_activationPending = false;
    m_window->setWindowStates(m_window->windowStates() & ~Qt::WindowMinimized);
    m_window->raise();
    m_window->requestActivate();
    qCInfo(lcPlatform) << "window brought to the front";
}
