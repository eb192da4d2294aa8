#include "QtAudioBackend.h"
#include "SoundEffects.h"
#include "SystemRandom.h"

SoundEffects &SoundEffects::shared()
{
    // Made on first use and never released: the players must outlive every sound.
    static SoundEffects *const instance = new SoundEffects(*new QtAudioBackend, *new SystemRandom);
    return *instance;
}
