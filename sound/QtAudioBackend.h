#pragma once

#include "AudioPlayer.h"

// Sounds from the application's resources (":/Sounds/<name>.m4a"), played with
// Qt Multimedia. Without an audio device the players stay silent.
class QtAudioBackend final : public AudioBackend
{
public:
    QString locate(const QString &name) override;
    std::unique_ptr<AudioPlayer> createPlayer(const QString &path) override;
};
