#include "XSession.h"

#include <QElapsedTimer>
#include <QStandardPaths>
#include <QThread>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <xcb/xcb.h>

namespace {

struct FreeDeleter
{
    void operator()(void *p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

xcb_screen_t *firstScreen(xcb_connection_t *connection)
{
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
}

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

} // namespace

XSession::~XSession()
{
    stop();
}

QStringList XSession::missingTools()
{
    QStringList missing;
    for (const QString &tool : {u"Xvfb"_qs, u"xdotool"_qs, u"setxkbmap"_qs}) {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            missing << tool;
    }
    return missing;
}

bool XSession::start(QSize screen, QString *error)
{
    // The server picks a free display itself and writes its number to our pipe.
    m_server.setProgram(u"Xvfb"_qs);
    m_server.setArguments({u"-displayfd"_qs, u"1"_qs, u"-screen"_qs, u"0"_qs,
                           u"%1x%2x24"_qs.arg(screen.width()).arg(screen.height()),
                           u"-nolisten"_qs, u"tcp"_qs});
    m_server.setProcessChannelMode(QProcess::SeparateChannels);
    m_server.start();
    if (!m_server.waitForStarted(10000)) {
        *error = u"Xvfb did not start: "_qs + m_server.errorString();
        return false;
    }
    QByteArray number;
    QElapsedTimer waited;
    waited.start();
    while (!number.contains('\n') && waited.elapsed() < 20000
           && m_server.state() == QProcess::Running) {
        m_server.waitForReadyRead(200);
        number += m_server.readAllStandardOutput();
    }
    if (!number.contains('\n')) {
        *error = u"Xvfb gave no display: "_qs + QString::fromLocal8Bit(m_server.readAllStandardError());
        return false;
    }
    m_display = u":"_qs + QString::fromLatin1(number.trimmed());

    m_connection = xcb_connect(m_display.toLatin1().constData(), nullptr);
    if (xcb_connection_has_error(m_connection)) {
        *error = u"cannot connect to the X server on "_qs + m_display;
        return false;
    }

    // The players here type in Russian; with the letters on the keyboard xdotool need not
    // remap keys on the fly, which loses the first keystrokes of a word.
    const int status = QProcess::execute(u"setxkbmap"_qs, {u"-display"_qs, m_display, u"ru"_qs});
    if (status != 0) {
        *error = u"setxkbmap could not set a Russian keyboard"_qs;
        return false;
    }
    return true;
}

void XSession::stop()
{
    if (m_connection) {
        xcb_disconnect(m_connection);
        m_connection = nullptr;
    }
    if (m_server.state() != QProcess::NotRunning) {
        m_server.terminate();
        if (!m_server.waitForFinished(5000)) {
            m_server.kill();
            m_server.waitForFinished(5000);
        }
    }
}

QByteArray XSession::xdotool(const QStringList &arguments, int timeoutMs)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"DISPLAY"_qs, m_display);
    process.setProcessEnvironment(environment);
    process.start(u"xdotool"_qs, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput();
}

quint32 XSession::waitForWindow(qint64 pid, int timeoutMs)
{
    QElapsedTimer waited;
    waited.start();
    do {
        const QByteArray found = xdotool({u"search"_qs, u"--onlyvisible"_qs, u"--pid"_qs,
                                          QString::number(pid)});
        const QList<QByteArray> ids = found.split('\n');
        bool ok = false;
        const quint32 window = ids.first().trimmed().toUInt(&ok);
        if (ok && window != 0)
            return window;
        QThread::msleep(100);
    } while (waited.elapsed() < timeoutMs);
    return 0;
}

QRect XSession::geometry(quint32 window)
{
    const Reply<xcb_get_geometry_reply_t> size(
        xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, window), nullptr));
    const Reply<xcb_translate_coordinates_reply_t> origin(xcb_translate_coordinates_reply(
        m_connection,
        xcb_translate_coordinates(m_connection, window, firstScreen(m_connection)->root, 0, 0),
        nullptr));
    if (!size || !origin)
        return {};
    return QRect(origin->dst_x, origin->dst_y, size->width, size->height);
}

void XSession::tap(QPoint at)
{
    xdotool({u"mousemove"_qs, QString::number(at.x()), QString::number(at.y()), u"click"_qs,
             u"1"_qs});
}

void XSession::drag(QPoint from, QPoint offset, bool hold, int steps)
{
    QStringList arguments{u"mousemove"_qs, QString::number(from.x()), QString::number(from.y()),
                          u"mousedown"_qs, u"1"_qs};
    for (int i = 1; i <= steps; ++i) {
        const QPoint at = from + offset * i / steps;
        // About one frame apart, as a finger moves.
        arguments << u"sleep"_qs << u"0.016"_qs << u"mousemove"_qs << QString::number(at.x())
                  << QString::number(at.y());
    }
    if (!hold)
        arguments << u"sleep"_qs << u"0.03"_qs << u"mouseup"_qs << u"1"_qs;
    xdotool(arguments);
}

void XSession::lift()
{
    xdotool({u"mouseup"_qs, u"1"_qs});
}

void XSession::scroll(QPoint at, int clicks)
{
    xdotool({u"mousemove"_qs, QString::number(at.x()), QString::number(at.y()), u"click"_qs,
             u"--repeat"_qs, QString::number(qAbs(clicks)), u"--delay"_qs, u"40"_qs,
             clicks > 0 ? u"5"_qs : u"4"_qs});
}

void XSession::type(const QString &text)
{
    xdotool({u"type"_qs, u"--delay"_qs, u"40"_qs, u"--"_qs, text});
}

void XSession::key(const QString &keys)
{
    xdotool({u"key"_qs, u"--delay"_qs, u"40"_qs, keys});
}

bool XSession::closeWindow(quint32 window)
{
    const xcb_atom_t protocols = atom(m_connection, "WM_PROTOCOLS");
    const xcb_atom_t deleteWindow = atom(m_connection, "WM_DELETE_WINDOW");
    if (protocols == XCB_ATOM_NONE || deleteWindow == XCB_ATOM_NONE)
        return false;
    xcb_client_message_event_t event;
    std::memset(&event, 0, sizeof event);
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = protocols;
    event.data.data32[0] = deleteWindow;
    event.data.data32[1] = XCB_CURRENT_TIME;
    const xcb_void_cookie_t sent = xcb_send_event_checked(
        m_connection, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&event));
    const Reply<xcb_generic_error_t> failed(xcb_request_check(m_connection, sent));
    return !failed;
}

QImage XSession::grab() const
{
    xcb_screen_t *screen = firstScreen(m_connection);
    const Reply<xcb_get_image_reply_t> reply(xcb_get_image_reply(
        m_connection,
        xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, 0, 0,
                      screen->width_in_pixels, screen->height_in_pixels, ~0u),
        nullptr));
    if (!reply || reply->depth != 24)
        return {};
    const int width = screen->width_in_pixels;
    const int height = screen->height_in_pixels;
    const int length = xcb_get_image_data_length(reply.get());
    if (length < width * height * 4)
        return {};
    // Depth 24 comes as 32-bit pixels, 0x00RRGGBB in the machine's byte order.
    const QImage view(xcb_get_image_data(reply.get()), width, height, length / height,
                      QImage::Format_RGB32);
    return view.copy();
}
