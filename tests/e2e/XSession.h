#pragma once

#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QString>
#include <QStringList>

struct xcb_connection_t;

// A private X server (Xvfb) of one screen, and the hands of a person in front of it:
// pointer and keys go in through xdotool as real input events; pictures come out of the
// server's own framebuffer. Everything it starts ends with it.
class XSession
{
public:
    XSession() = default;
    ~XSession();
    XSession(const XSession &) = delete;
    XSession &operator=(const XSession &) = delete;

    // The tools this needs that the machine lacks, by name; empty when all are there.
    static QStringList missingTools();

    // Starts the server with a screen of the given size and a Russian keyboard, as a
    // player here would type. On failure returns false with the reason in error.
    bool start(QSize screen, QString *error);
    QString display() const { return m_display; }

    // The top-level window that the process shows, once it is mapped; 0 after timeoutMs.
    quint32 waitForWindow(qint64 pid, int timeoutMs);
    QRect geometry(quint32 window);

    void tap(QPoint at);
    // A finger put down at from and moved by offset in steps, with a pause between the
    // moves so that the application sees every position on the way, then lifted unless
    // hold is set; lift() lifts a held finger.
    void drag(QPoint from, QPoint offset, bool hold = false, int steps = 14);
    void lift();
    // Scrolls with the wheel under at: positive clicks scroll down.
    void scroll(QPoint at, int clicks);
    void type(const QString &text);
    // Presses a key combination, in xdotool's names ("Return", "ctrl+a").
    void key(const QString &keys);

    // Asks the window to close as a window manager's close button does.
    bool closeWindow(quint32 window);

    QImage grab() const;

private:
    // Runs xdotool; its standard output, or nothing when it failed.
    QByteArray xdotool(const QStringList &arguments, int timeoutMs = 10000);
    void stop();

    QProcess m_server;
    QString m_display;
    xcb_connection_t *m_connection = nullptr;
};
