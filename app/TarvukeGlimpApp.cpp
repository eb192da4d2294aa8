#include "TarvukeGlimpApp.h"

#include "GameStore.h"
#include "SoundEffects.h"
#include "UiAssets.h"

#include <QQuickWindow>
#include <QTimer>

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

bool TarvukeGlimpApp::show()
{
    UiAssets::install();
    m_engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
    m_engine.setInitialProperties({{QStringLiteral("game"), QVariant::fromValue(&game())}});
    m_engine.load(QUrl(QStringLiteral("qrc:/qt/qml/TarvukeGlimp/Main.qml")));
    if (m_engine.rootObjects().isEmpty())
        return false;
    // Decoding the sounds starts GStreamer, dozens of libraries: only once the first frame
    // is on screen, or after a while should no frame come (a hidden window). A sound played
    // before then is decoded on the spot.
    auto *window = qobject_cast<QQuickWindow *>(m_engine.rootObjects().constFirst());
    if (window) {
        QObject::connect(window, &QQuickWindow::frameSwapped, window,
                         &SoundEffects::startSharedLoading,
                         Qt::ConnectionType(Qt::QueuedConnection | Qt::SingleShotConnection));
    }
    QTimer::singleShot(std::chrono::seconds(2), &SoundEffects::startSharedLoading);
    return true;
}
