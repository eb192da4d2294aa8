#include "QtAudioBackend.h"
#include "SoundEffects.h"
#include "SystemRandom.h"

SoundEffects &SoundEffects::shared()
{
    // Created on first use, never released: players must outlive every sound.
    static QtAudioBackend backend;
    static SystemRandom random;
    static SoundEffects *instance = new SoundEffects(backend, random);
    return *instance;
}
