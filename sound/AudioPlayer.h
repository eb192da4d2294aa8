#pragma once

#include <QString>
#include <memory>

// One loaded sound, ready to be started again and again.
class AudioPlayer
{
public:
    virtual ~AudioPlayer() = default;

    virtual void setVolume(float volume) = 0;
    virtual void prepare() = 0;
    virtual void setPosition(double seconds) = 0;
    virtual void play() = 0;
    virtual void stop() = 0;
};

// Makes players from sound files and sets up how the game's audio mixes with others.
class AudioBackend
{
public:
    virtual ~AudioBackend() = default;

    // Lets the game's sounds mix with other applications' audio. Failures are ignored.
    virtual void configureSession() { }
    // The path of the named sound among the application's resources, or an empty
    // string when there is no such sound.
    virtual QString locate(const QString &name) = 0;
    // A player for the file at path, or null when it cannot be loaded.
    virtual std::unique_ptr<AudioPlayer> createPlayer(const QString &path) = 0;
    // Connects to the sound server and decodes the sounds asked for, if that waits for a
    // word; a backend ready at once ignores it.
    virtual void startLoading() { }
};

// The folder's file for a sound name ("<folder>/<name>.flac"), or an empty string when
// there is none.
QString soundFile(const QString &folder, const QString &name);
