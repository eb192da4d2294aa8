#include "QtAudioPlayer.h"

#include "QtAudioBackend.h"
#include "SoundFile.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QMediaDevices>

QtAudioPlayer::QtAudioPlayer(SoundLoader &loader, SoundLoader::Result sound)
    : m_loader(loader), m_sound(std::move(sound))
{
}

QtAudioPlayer::~QtAudioPlayer() = default;

void QtAudioPlayer::setVolume(float volume)
{
    m_volume = qBound(0.0f, volume, 1.0f);
    if (m_sink)
        m_sink->setVolume(m_volume);
}

void QtAudioPlayer::prepare()
{
    // Before the connection to the server the sink waits for the first play.
    if (QtAudioBackend::isConnected())
        openSink();
}

void QtAudioPlayer::setPosition(double seconds)
{
    // Anything odd (negative, NaN, beyond a day) means the start.
    m_position = (seconds > 0.0 && seconds < 86400.0) ? seconds : 0.0;
    if (m_sink && m_sink->state() == QAudio::ActiveState)
        play();
}

void QtAudioPlayer::play()
{
    // The server first, on this thread. Waits only when the sound is asked for before it
    // has finished decoding.
    QtAudioBackend::connectToServer();
    const std::optional<DecodedSound> &sound = m_loader.wait(m_sound);
    if (!sound || !openSink())
        return;
    silence();
    // The server takes the whole cue in this one write (its default limit is megabytes, a
    // cue a few hundred kilobytes): it starts sounding at once, and a busy main thread
    // cannot make it stutter.
    m_sink->setBufferSize(qMax<qsizetype>(sound->pcm.size(), 4096));
    QIODevice *output = m_sink->start();
    if (!output)
        return;
    const qint64 from = qMin<qint64>(startByte(), sound->pcm.size());
    output->write(sound->pcm.constData() + from, sound->pcm.size() - from);
}

void QtAudioPlayer::stop()
{
    if (m_sink)
        silence();
}

void QtAudioPlayer::silence()
{
    // Qt 6.8's PulseAudio sink plays out what it holds before stop() returns: a whole cue's
    // worth, and with a stream the server has stopped taking, never (a second skip froze the
    // game). reset() drops it at once on every Qt, and stop() then has nothing left to wait for.
    m_sink->reset();
    m_sink->stop();
}

bool QtAudioPlayer::openSink()
{
    if (m_sink)
        return true;
    // No device (a headless box, no sound server): the sound stays silent.
    QtAudioBackend::connectToServer();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return false;
    m_sink = std::make_unique<QAudioSink>(device, SoundFile::format());
    m_sink->setVolume(m_volume);
    return true;
}

qint64 QtAudioPlayer::startByte() const
{
    const QAudioFormat format = SoundFile::format();
    return format.bytesForFrames(format.framesForDuration(qint64(m_position * 1e6)));
}
