#pragma once

#include "AudioPlayer.h"

#include <QSet>
#include <QStringList>

// Players that write what happens to them into one shared log, e.g.
// "skip_sound2:position 0", "skip_sound2:play", "game_end1:stop".
class FakeAudioBackend final : public AudioBackend
{
public:
    QString locate(const QString &name) override { return missing.contains(name) ? QString() : name; }
    std::unique_ptr<AudioPlayer> createPlayer(const QString &path) override
    {
        return broken.contains(path) ? nullptr : std::make_unique<Player>(path, log);
    }
    void configureSession() override { log << QStringLiteral("session"); }

    // Names whose files are absent, and names whose files fail to load.
    QSet<QString> missing;
    QSet<QString> broken;
    QStringList log;

private:
    struct Player final : AudioPlayer
    {
        Player(QString name, QStringList &log) : name(std::move(name)), log(log) { }
        void setVolume(float volume) override { log << name + QStringLiteral(":volume %1").arg(volume); }
        void prepare() override { log << name + QStringLiteral(":prepare"); }
        void setPosition(double seconds) override { log << name + QStringLiteral(":position %1").arg(seconds); }
        void play() override { log << name + QStringLiteral(":play"); }
        void stop() override { log << name + QStringLiteral(":stop"); }
        QString name;
        QStringList &log;
    };
};
