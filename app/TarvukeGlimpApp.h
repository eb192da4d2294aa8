#pragma once

#include "BackgroundPreferences.h"
#include "FeedbackdHaptics.h"
#include "DesktopIdleInhibitor.h"
#include "OnScreenKeyboard.h"
#include "SettingsPreferences.h"
#include "SystemClock.h"
#include "SystemRandom.h"

#include <QQmlEngine>
#include <memory>

class GameStore;
class QWindow;

// The application object: owns the one GameStore for the life of the process and the
// window that shows it.
class TarvukeGlimpApp
{
public:
    TarvukeGlimpApp();
    ~TarvukeGlimpApp();

    // Created on first use, exactly once.
    GameStore &game();
    // Opens the window on the root view; false when it could not be built.
    bool show();
    QWindow *window() const;

private:
    BackgroundPreferences m_preferences;
    FeedbackdHaptics m_haptics;
    DesktopIdleInhibitor m_idleInhibitor;
    // Outlives the window, so a keyboard it opened is closed as the game quits.
    OnScreenKeyboard m_keyboard;
    SystemClock m_clock;
    SystemRandom m_random;
    std::unique_ptr<GameStore> m_game;
    // A plain engine: an application engine would also look for translations and run every
    // file it loads through a file selector, neither of which the game uses.
    QQmlEngine m_engine;
    // The window; goes before the engine that made it.
    std::unique_ptr<QObject> m_window;
};
