#include "DeferredAudioBackend.h"
#include "SoundEffects.h"
#include "SystemRandom.h"

#include <QCoreApplication>
#include <QDebug>
#include <QLibrary>

namespace {

// The Qt Multimedia backend, from its module: at the path from the program's folder the
// build chose (../lib/<multiarch>/tarvuke-glimp from /usr/games; the build tree keeps the
// same layout), or where GLIMP_AUDIO_MODULE says. Without it the game plays on, silent.
std::unique_ptr<AudioBackend> loadBackend()
{
    QString path = qEnvironmentVariable("GLIMP_AUDIO_MODULE");
    if (path.isEmpty())
        path = QCoreApplication::applicationDirPath()
               + QStringLiteral("/" GLIMP_AUDIO_MODULE_FROM_GAME);
    QLibrary module(path);
    using Create = AudioBackend *(*)();
    const auto create = reinterpret_cast<Create>(module.resolve("glimp_create_audio_backend"));
    if (!create) {
        qWarning().noquote() << "tarvuke-glimp: no sound:" << module.errorString();
        return nullptr;
    }
    return std::unique_ptr<AudioBackend>(create());
}

DeferredAudioBackend &sharedBackend()
{
    static DeferredAudioBackend *const backend =
            new DeferredAudioBackend(&loadBackend, QStringLiteral(":/Sounds"));
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
