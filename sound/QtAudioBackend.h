#pragma once

#include "AudioPlayer.h"
#include "SoundLoader.h"

#include <QMetaObject>

// Sounds from a folder, the application's resources (":/Sounds/<name>.flac") unless told
// otherwise, decoded to PCM on a thread of its own once the application's event loop first
// waits (the window is up by then; a sound wanted sooner starts the decoding at once), and
// played on Qt Multimedia audio sinks. Each sound is a stream of its own on the sound
// server, which mixes it with other applications' audio; there is no session to
// configure. Without an audio device, or for a file that does not decode, the players stay
// silent.
class QtAudioBackend final : public AudioBackend
{
public:
    // When the decoding starts by itself: at the first idle moment, or only when asked
    // (startLoading) or when a sound is wanted.
    enum class Start { whenIdle, whenAsked };

    explicit QtAudioBackend(Start start = Start::whenIdle,
                            QString folder = QStringLiteral(":/Sounds"));
    ~QtAudioBackend() override;

    // Connects to the sound server and starts decoding every sound asked for, if that has
    // not happened yet.
    void startLoading() override;

    // The connection to the sound server, made once on the main thread, before any
    // decoding: whenIdle backends make it at once, whenAsked ones at startLoading or at
    // the first sound played. Players open their sinks in advance only once it is made.
    static void connectToServer();
    static bool isConnected();

    QString locate(const QString &name) override;
    // A player at once, its sound still decoding; null for a file that cannot be opened.
    std::unique_ptr<AudioPlayer> createPlayer(const QString &path) override;

    // Blocks until every sound asked for so far has been decoded or given up on.
    void waitUntilLoaded();

private:
    QString m_folder;
    SoundLoader m_loader{true};
    QMetaObject::Connection m_quitConnection;
};
