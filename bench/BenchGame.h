#pragma once

#include "BackgroundPreferences.h"
#include "FakeAudio.h"
#include "FakeHaptics.h"
#include "GameStore.h"
#include "ManualClock.h"
#include "SettingsPreferences.h"
#include "SoundEffects.h"
#include "SystemRandom.h"

#include <QTemporaryDir>
#include <memory>

// A real GameStore whose words go to a real preferences file (in a folder of its own, on the
// app's writer thread); haptics, sound and clock are fakes.
struct DiskBackedGame
{
    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("glimp.conf"));
    BackgroundPreferences prefs{[path = file] { return std::make_unique<SettingsPreferences>(path); }};
    FakeHaptics haptics;
    ManualClock clock;
    SystemRandom random;
    FakeAudioBackend audio;
    SoundEffects sound{audio, random};
    GameStore game{prefs, sound, haptics, clock, random};
};
