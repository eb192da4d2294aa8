#pragma once

#include <QObject>
#include <QPointer>
#include <QVariantMap>

class QWindow;

// One game at a time: two would write the same own-words file, the last writer silently
// winning. The running game owns the application's id as a name on the session bus and
// answers org.freedesktop.Application's Activate at the id's path, as Qt/KDE and GTK
// applications do; a launcher that honours the desktop entry's DBusActivatable calls it
// directly (the bus starts the game first when none runs), and a second start calls it
// itself and ends. Without a session bus every start is a game of its own.
class SingleInstance final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

public:
    // The launcher's activation token, for a running game to come to the front with: read
    // before the platform is set up, which clears it.
    static QVariantMap launchPlatformData();

    // appId: the desktop entry's name without ".desktop", a valid D-Bus name.
    explicit SingleInstance(const QString &appId, QObject *parent = nullptr);

    // True when this process is to be the game; false when a running game was asked to come
    // to the front instead (or holds the name but never answered: a message says so).
    bool claim(const QVariantMap &platformData);
    // The window an activation brings to the front, also one that came before it was made.
    void setWindow(QWindow *window);

public Q_SLOTS:
    Q_SCRIPTABLE void Activate(const QVariantMap &platformData);

private:
    void raise();

    QString m_name;
    QString m_path;
    QPointer<QWindow> m_window;
    bool m_activationPending = false;
};
