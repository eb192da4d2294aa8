#include "QtAudioBackend.h"

#include "QtAudioPlayer.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QFile>
#include <QLoggingCategory>
#include <QMediaDevices>
#include <QtEndian>
#include <array>
#include <atomic>
#include <thread>

namespace {

bool g_connected = false;

// What Qt Multimedia says at every start and a player can do nothing about: the levels
// silenced, by category. Qt 6.8's FFmpeg backend names its version and licence.
struct Chatter
{
    const char *category;
    std::array<QtMsgType, 2> levels;
};
constexpr Chatter chatter[] = {{"qt.multimedia.ffmpeg", {QtDebugMsg, QtInfoMsg}}};

std::atomic<QLoggingCategory::CategoryFilter> g_previousFilter = nullptr;
thread_local bool t_installing = false;

// Installing a filter runs it over every category made so far. Those are set already, some
// by hand (QSG_RENDER_TIMING switches Qt's own timing on), so they keep what they have and
// only the chatter is silenced. A category made later goes through the filters before this
// one (the user's QT_LOGGING_RULES among them) as well; one made on another thread while
// this one is installed waits for it to know what it chains to.
void withoutChatter(QLoggingCategory *category)
{
    if (!t_installing) {
        QLoggingCategory::CategoryFilter previous;
        while (!(previous = g_previousFilter.load()))
            std::this_thread::yield();
        previous(category);
    }
    for (const Chatter &quiet : chatter) {
        if (qstrcmp(category->categoryName(), quiet.category) == 0) {
            for (const QtMsgType level : quiet.levels)
                category->setEnabled(level, false);
        }
    }
}

// An MPEG-4 file is a chain of boxes (32-bit size, 4-letter type; size 1 means a 64-bit
// size follows, 0 means "to the end"). A file that opens with "ftyp", holds a "moov" and
// whose boxes fit it exactly is worth decoding; anything else (text, noise, a file cut
// short) is refused here. Qt's decoder does not always report such files as broken.
bool isCompleteMp4(QIODevice &file)
{
    const qint64 size = file.size();
    qint64 offset = 0;
    bool sawMovie = false;
    while (offset < size) {
        if (!file.seek(offset))
            return false;
        const QByteArray header = file.read(16);
        if (header.size() < 8)
            return false;
        const QByteArray type = header.mid(4, 4);
        if (offset == 0 && type != "ftyp")
            return false;
        sawMovie = sawMovie || type == "moov";
        qint64 boxSize = qFromBigEndian<quint32>(header.constData());
        if (boxSize == 0)
            boxSize = size - offset;
        else if (boxSize == 1 && header.size() == 16)
            boxSize = qint64(qMin<quint64>(qFromBigEndian<quint64>(header.constData() + 8),
                                           quint64(size)));
        if (boxSize < 8 || boxSize > size - offset)
            return false;
        offset += boxSize;
    }
    return sawMovie;
}

} // namespace

QtAudioBackend::QtAudioBackend(Start start, QString folder)
    : m_folder(std::move(folder))
{
    // GStreamer's start loads dozens of libraries, and the sound server takes a while to
    // answer; while the window is being built both compete with Qt Quick loading its own.
    // So decoding waits for the first idle moment, or for whoever knows better (the game
    // starts it once its first frame is drawn).
    if (start == Start::whenIdle) {
        connectToServer();
        m_loader.releaseWhenIdle();
    }
    // The decoding thread must end while the application still exists.
    if (QCoreApplication *application = QCoreApplication::instance())
        m_quitConnection = QObject::connect(application, &QCoreApplication::aboutToQuit,
                                            application, [this] { m_loader.stop(); });
}

QtAudioBackend::~QtAudioBackend()
{
    QObject::disconnect(m_quitConnection);
}

QString QtAudioBackend::locate(const QString &name)
{
    return soundFile(m_folder, name);
}

std::unique_ptr<AudioPlayer> QtAudioBackend::createPlayer(const QString &path)
{
    // A quick look now, the real decoding later.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !isCompleteMp4(file))
        return nullptr;
    return std::make_unique<QtAudioPlayer>(m_loader, m_loader.load(path));
}

void QtAudioBackend::connectToServer()
{
    // On the main thread, where the players live, and before the loader's thread starts
    // Qt Multimedia. Without a server Qt warns once, uncategorised; a missing device only
    // means silence, so that stays unsaid.
    if (g_connected)
        return;
    g_connected = true;
    t_installing = true;
    g_previousFilter = QLoggingCategory::installFilter(withoutChatter);
    t_installing = false;
    QLoggingCategory *plain = QLoggingCategory::defaultCategory();
    const bool warns = plain->isWarningEnabled();
    plain->setEnabled(QtWarningMsg, false);
    QMediaDevices::defaultAudioOutput();
    plain->setEnabled(QtWarningMsg, warns);
}

bool QtAudioBackend::isConnected()
{
    return g_connected;
}

void QtAudioBackend::startLoading()
{
    connectToServer();
    m_loader.release();
}

void QtAudioBackend::waitUntilLoaded()
{
    m_loader.waitUntilIdle();
}
