#include "TarvukeGlimpApp.h"

#include "GameStore.h"
#include "SoundEffects.h"
#include "UiAssets.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQuickWindow>
#include <QScreen>
#include <QTimer>
#include <future>

TarvukeGlimpApp::TarvukeGlimpApp()
    : m_preferences([] { return std::make_unique<SettingsPreferences>(SettingsPreferences::defaultFilePath()); })
{
}

TarvukeGlimpApp::~TarvukeGlimpApp() = default;

GameStore &TarvukeGlimpApp::game()
{
    if (!m_game) {
        m_game = std::make_unique<GameStore>(m_preferences, SoundEffects::shared(), m_haptics,
                                             m_clock, m_random);
        m_game->setIdleInhibitor(&m_idleInhibitor);
    }
    return *m_game;
}

QWindow *TarvukeGlimpApp::window() const
{
    return qobject_cast<QWindow *>(m_window.get());
}

bool TarvukeGlimpApp::show()
{
    // Three things at once: the fonts register on a thread of their own, the QML modules
    // load on the engine's loader thread, and the store is made here. The window is built
    // once all are done (its text needs the fonts).
    auto fonts = std::async(std::launch::async, &UiAssets::install);
    m_engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
    QQmlComponent component(&m_engine, QUrl(QStringLiteral("qrc:/qt/qml/TarvukeGlimp/Main.qml")),
                            QQmlComponent::Asynchronous);
    GameStore &store = game();
    if (component.isLoading()) {
        QEventLoop loaded;
        QObject::connect(&component, &QQmlComponent::statusChanged, &loaded, &QEventLoop::quit);
        loaded.exec();
    }
    fonts.wait();
    if (component.isError()) {
        qWarning().noquote() << component.errorString();
        return false;
    }
    // On a phone the shell gives the game the whole screen; a title bar of the toolkit's own
    // (Qt draws one where a Wayland shell leaves decorations to the app, as Phosh's does)
    // would only take room from the game. Set here rather than in QML: reading the flags'
    // names there builds the whole Qt namespace's enums before the first frame.
    const QScreen *screen = QGuiApplication::primaryScreen();
    const bool phoneSized = screen && qMin(screen->size().width(), screen->size().height()) < 600;
    const Qt::WindowFlags flags = phoneSized ? Qt::Window | Qt::FramelessWindowHint : Qt::Window;
    m_window.reset(component.createWithInitialProperties(
            {{QStringLiteral("game"), QVariant::fromValue(&store)},
             {QStringLiteral("flags"), QVariant::fromValue(flags)}}));
    auto *window = qobject_cast<QQuickWindow *>(m_window.get());
    if (!window) {
        qWarning().noquote() << component.errorString();
        return false;
    }
    // Loading the sounds loads Qt Multimedia and connects to the sound server, then decodes
    // the cues: only once the first frame is on screen, or after a while should no frame
    // come (a hidden window). A sound played before then connects and decodes on the spot.
    QObject::connect(window, &QQuickWindow::frameSwapped, window,
                     &SoundEffects::startSharedLoading,
                     Qt::ConnectionType(Qt::QueuedConnection | Qt::SingleShotConnection));
    QTimer::singleShot(std::chrono::seconds(2), &SoundEffects::startSharedLoading);
    return true;
}
