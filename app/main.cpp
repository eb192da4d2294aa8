#include "QuitOnSignals.h"
#include "SingleInstance.h"
#include "TarvukeGlimpApp.h"

#include <QGuiApplication>
#include <QQuickWindow>
#include <cstdio>
#include <ctime>

namespace {

bool hasDisplay()
{
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY")
           || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

// For the start-up benchmark: prints the monotonic clock and the main thread's CPU time at
// the first frame drawn, once (more frames may be swapped before the loop ends), and quits.
void quitAfterFirstFrame()
{
    const QWindowList windows = QGuiApplication::topLevelWindows();
    auto *window = windows.isEmpty() ? nullptr : qobject_cast<QQuickWindow *>(windows.first());
    if (!window)
        return;
    QObject::connect(window, &QQuickWindow::frameSwapped, window, [] {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        timespec cpu{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
        std::printf("first-frame-ns=%lld\nmain-thread-cpu-ns=%lld\n",
                    now.tv_sec * 1000000000LL + now.tv_nsec, cpu.tv_sec * 1000000000LL + cpu.tv_nsec);
        std::fflush(stdout);
        QCoreApplication::exit(0);
    }, Qt::ConnectionType(Qt::DirectConnection | Qt::SingleShotConnection));
}

} // namespace

int main(int argc, char *argv[])
{
    if (!hasDisplay()) {
        std::fputs("tarvuke-glimp: no display to open the game on; run it in a desktop session, "
                   "or in a virtual one: xvfb-run -s '-screen 0 390x844x24' ./scripts/play\n",
                   stderr);
        return 2;
    }

    // The cues play on Qt Multimedia's sinks, which need no media backend (see
    // QtAudioBackend::connectToServer); said here, before any thread could read the
    // environment while it changes.
    if (!qEnvironmentVariableIsSet("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "none");
    const QVariantMap launch = SingleInstance::launchPlatformData();
    QGuiApplication application(argc, argv);
    QGuiApplication::setOrganizationName(QStringLiteral("tarvuke"));
    QGuiApplication::setApplicationName(QStringLiteral("glimp"));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("tarvuk’s glimp"));
    QGuiApplication::setDesktopFileName(QStringLiteral("app.tarvuke.glimp"));
    // The toolkit's plain style, chosen without linking its style library at start-up.
    qputenv("QT_QUICK_CONTROLS_STYLE", "Basic");

    // Before anything reads or tidies the game's files; outlives the game, so that a second
    // start waits until the last edit is written.
    SingleInstance instance(QGuiApplication::desktopFileName());
    if (!instance.claim(launch))
        return 0;
    // The window's and the screens' QML compiled at build time. Qt 6.8 puts that code in
    // each module's static library, where nothing refers to it and the linker leaves it
    // out: the QML was compiled from source at start and cached on disk instead.
    Q_INIT_RESOURCE(qmlcache_glimp_shell);
    Q_INIT_RESOURCE(qmlcache_glimp_screens);
    TarvukeGlimpApp app;
    if (!app.show())
        return 1;
    instance.setWindow(app.window());
    if (qEnvironmentVariableIsSet("GLIMP_QUIT_AFTER_FIRST_FRAME"))
        quitAfterFirstFrame();
    const QuitOnSignals quitOnSignals;
    return application.exec();
}
