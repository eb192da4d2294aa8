#pragma once

#include "AudioPlayer.h"
#include "SoundLoader.h"

#include <QtGlobal>
#include <memory>

class QAudioSink;
class QIODevice;

// One sound on a Qt Multimedia audio sink. The sound decodes in the background; the
// first play waits for it if it is not ready yet, so that no cue is ever lost. Each
// play hands the whole sound to the audio server at once, so a busy main thread cannot
// make it stutter. Without an output device every call is silent. The loader must
// outlive the player.
class QtAudioPlayer final : public AudioPlayer
{
public:
    QtAudioPlayer(SoundLoader &loader, SoundLoader::Result sound);
    ~QtAudioPlayer() override;

    void setVolume(float volume) override;
    // Opens a sink on the default output so that the first play starts at once, once the
    // backend has connected to the sound server (before that, the first play opens it).
    void prepare() override;
    // Where the next play starts; takes effect at once if the sound is playing.
    void setPosition(double seconds) override;
    void play() override;
    void stop() override;

private:
    bool openSink();
    void silence();
    qint64 startByte() const;

    SoundLoader &m_loader;
    SoundLoader::Result m_sound;
    std::unique_ptr<QAudioSink> m_sink;
    float m_volume = 1.0f;
    double m_position = 0.0;
};
