#pragma once

#include "IdleInhibitor.h"

#include <QObject>
#include <functional>
#include <QString>

class QDBusMessage;

// Keeps the session from going idle through the XDG desktop portal's Inhibit, which Phosh,
// Plasma and sandboxed installs all reach, and through org.freedesktop.ScreenSaver where no
// portal answers. Every hold asks the portal first, so a portal that stops answering
// mid-game only sends that turn to the screen saver. Calls never block; with neither
// service nothing happens.
class DesktopIdleInhibitor final : public QObject, public IdleInhibitor
{
    Q_OBJECT

public:
    explicit DesktopIdleInhibitor(QString appName = QStringLiteral("tarvuke-glimp"),
                                  QObject *parent = nullptr);
    ~DesktopIdleInhibitor() override;

    void hold() override;
    void release() override;
    // A service has answered and holds the session awake.
    bool holding() const { return m_cookie || !m_portalRequest.isEmpty(); }

private:
    void askPortal();
    void askScreenSaver();
    void await(const QDBusMessage &call, std::function<void(const QDBusMessage &)> done);
    void drop();

    QString m_appName;
    bool m_wanted = false;
    bool m_waiting = false;
    // What is held: a portal request to close, or a screen saver cookie.
    QString m_portalRequest;
    uint m_cookie = 0;
};
