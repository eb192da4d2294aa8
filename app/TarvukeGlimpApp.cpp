#include "TarvukeGlimpApp.h"

#include "GameStore.h"
#include "SoundEffects.h"
#include "UiAssets.h"

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
    return !m_engine.rootObjects().isEmpty();
}
