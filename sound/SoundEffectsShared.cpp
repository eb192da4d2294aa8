#include "QtAudioBackend.h"
#include "SoundEffects.h"
#include "SystemRandom.h"

namespace {

QtAudioBackend &sharedBackend()
{
    static QtAudioBackend *const backend = new QtAudioBackend(QtAudioBackend::Start::whenAsked);
    return *backend;
}

} // namespace

SoundEffects &SoundEffects::shared()
{
    // Made on first use and never released: the players must outlive every sound.
    static SoundEffects *const instance = new SoundEffects(sharedBackend(), *new SystemRandom);
    return *instance;
}

void SoundEffects::startSharedLoading()
{
    sharedBackend().startLoading();
}
