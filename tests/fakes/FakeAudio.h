#pragma once

#include "AudioPlayer.h"

#include <QSet>
#include <QStringList>

// Players that write what happens to them into one shared log, e.g.
// "skip_sound2:position 0", "skip_sound2:play", "game_end1:stop".
class FakeAudioBackend final : public AudioBackend
{
public:
    QString locate(const QString &name) override
    {
        return missing.contains(name) ? QString() : name;
    }

    std::unique_ptr<AudioPlayer> createPlayer(const QString &path) override;

    void configureSession() override { log << QStringLiteral("session"); }

    // Names whose files are absent, and names whose files fail to load.
    QSet<QString> missing;
    QSet<QString> broken;
    QStringList log;
};
