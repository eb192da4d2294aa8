#pragma once

#include "IdleInhibitor.h"

#include <QObject>
#include <QString>

// org.freedesktop.ScreenSaver Inhibit/UnInhibit on the session bus. Calls never block;
// without a bus or a screen saver service nothing happens.
class ScreenSaverInhibitor final : public QObject, public IdleInhibitor
{
    Q_OBJECT

public:
    explicit ScreenSaverInhibitor(QString appName = QStringLiteral("tarvuke-glimp"),
                                  QObject *parent = nullptr);
    ~ScreenSaverInhibitor() override;

    void hold() override;
    void release() override;

private:
    void uninhibit(uint cookie);

    QString m_appName;
    bool m_wanted = false;
    bool m_waitingForCookie = false;
    uint m_cookie = 0;
};
