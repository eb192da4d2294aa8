#pragma once

#include "FakeAudio.h"
#include "FakeHaptics.h"
#include "FakePreferences.h"
#include "GameStore.h"
#include "ManualClock.h"
#include "ScriptedRandom.h"
#include "SoundEffects.h"

#include <QTest>
#include <memory>

using namespace std::chrono_literals;

// A real store on fakes; restart() makes a new store on the same preferences.
struct StoreHarness
{
    explicit StoreHarness(quint64 seed = 1) : random(seed) { restart(); }

    void restart() { store = std::make_unique<GameStore>(prefs, sound, haptics, clock, random); }

    GameStore &operator*() { return *store; }
    GameStore *operator->() { return store.get(); }

    // Types the names, forms teams in typed order and reaches the ready screen.
    void reachReady(const QString &players, bool random = false)
    {
        store->startNewGame();
        store->setPlayerText(players);
        store->openFormation();
        store->formTeams(random);
        if (store->screen() == AppScreen::observerWheel)
            store->confirmObserver();
        store->setScreen(AppScreen::ready);
    }

    FakePreferences prefs;
    FakeHaptics haptics;
    ManualClock clock;
    ScriptedRandom random;
    ScriptedRandom soundRandom{99};
    FakeAudioBackend audioBackend;
    SoundEffects sound{audioBackend, soundRandom};
    std::unique_ptr<GameStore> store;
};
