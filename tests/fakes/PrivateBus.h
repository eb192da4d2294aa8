#pragma once

#include <QProcess>
#include <QStandardPaths>

// A session bus of the test's own (dbus-daemon), so that nothing reaches the desktop's
// daemons; ended with the test.
class PrivateBus
{
public:
    // env: what the services it starts on demand see; their files are looked for in
    // $XDG_DATA_DIRS/dbus-1/services.
    explicit PrivateBus(const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
    {
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
            return;
        m_daemon.setProcessEnvironment(env);
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"),
                        QStringLiteral("--print-address=1")});
        if (m_daemon.waitForReadyRead(10000))
            m_address = QString::fromLocal8Bit(m_daemon.readLine().trimmed());
    }
    ~PrivateBus()
    {
        m_daemon.kill();
        m_daemon.waitForFinished();
    }

    // Empty when there is none (dbus-daemon is not installed): such a test skips.
    QString address() const { return m_address; }

private:
    QProcess m_daemon;
    QString m_address;
};
