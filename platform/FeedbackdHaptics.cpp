#include "FeedbackdHaptics.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>

FeedbackdHaptics::FeedbackdHaptics(QString appId)
    : m_appId(std::move(appId))
{
}

// Sent with the quiet profile, so each is one of the default theme's quiet events:
// a 100 ms buzz for a guess, 150 ms for a skip, two 500 ms buzzes when the time is up.
QString FeedbackdHaptics::eventFor(HapticCue cue)
{
    switch (cue) {
    case HapticCue::success:
        return QStringLiteral("timeout-completed");
    case HapticCue::warning:
        return QStringLiteral("message-new-instant");
    case HapticCue::error:
        return QStringLiteral("message-new-sms");
    }
    return {};
}

void FeedbackdHaptics::notify(HapticCue cue)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.sigxcpu.Feedback"),
                                                       QStringLiteral("/org/sigxcpu/Feedback"),
                                                       QStringLiteral("org.sigxcpu.Feedback"),
                                                       QStringLiteral("TriggerFeedback"));
    // Never start a daemon just to vibrate; no reply is awaited.
    call.setAutoStartService(false);
    const QVariantMap hints{{QStringLiteral("profile"), QStringLiteral("quiet")}};
    call << m_appId << eventFor(cue) << hints << -1;
    bus.send(call);
}
