#pragma once

#include "FakeAudio.h"
#include "FakeHaptics.h"
#include "FakePreferences.h"
#include "GameStore.h"
#include "ManualClock.h"
#include "ScriptedRandom.h"
#include "SoundEffects.h"

#include <memory>

// A real GameStore on fakes: preferences in memory, recorded haptics and sounds, a clock
// that moves only when told, seeded random numbers.
class StoreRig
{
public:
    // Fresh preferences unless some are handed over (a restart of the app on the same
    // device).
    explicit StoreRig(std::shared_ptr<FakePreferences> shared = {}, quint64 seed = 1)
        : preferences(shared ? std::move(shared) : std::make_shared<FakePreferences>())
        , random(seed), sound(audio, random), store(*preferences, sound, haptics, clock, random)
    {
    }

    std::shared_ptr<FakePreferences> preferences;
    FakeHaptics haptics;
    ManualClock clock;
    ScriptedRandom random;
    FakeAudioBackend audio;
    SoundEffects sound;
    GameStore store;
};
