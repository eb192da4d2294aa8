#include "QtAudioBackend.h"

#include "QtAudioPlayer.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QFile>
#include <QLoggingCategory>
#include <QMediaDevices>
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

} // namespace

QtAudioBackend::QtAudioBackend(Start start, QString folder)
    : m_folder(std::move(folder))
{
    // The sound server takes a while to answer, and decoding takes the processor; while the
    // window is being built both compete with Qt Quick. So decoding waits for the first
    // idle moment, or for whoever knows better (the game starts it once its first frame is
    // drawn).
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
    // Only whether the file is there now; a broken one decodes to silence later.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    return std::make_unique<QtAudioPlayer>(m_loader, m_loader.load(path));
}

void QtAudioBackend::connectToServer()
{
    // On the main thread, where the players live. Without a server Qt warns once,
    // uncategorised; a missing device only means silence, so that stays unsaid.
    if (g_connected)
        return;
    g_connected = true;
    // Sinks need no media backend, yet Qt 6.8 loads one at the first device query: FFmpeg,
    // its libraries and codecs. Without one Qt keeps devices and sinks, and says so once,
    // uncategorised. A backend the user names still loads. The game says so at start already.
    if (!qEnvironmentVariableIsSet("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "none");
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
