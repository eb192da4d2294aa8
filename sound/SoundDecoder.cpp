#include "SoundDecoder.h"

#include <QAudioBuffer>
#include <QAudioDecoder>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

QAudioFormat SoundDecoder::format()
{
    QAudioFormat format;
    format.setSampleRate(48000);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

std::optional<DecodedSound> SoundDecoder::decode(const QString &path, std::chrono::milliseconds timeout)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;

    DecodedSound sound{format(), {}};
    QAudioDecoder decoder;
    if (!decoder.isSupported())
        return std::nullopt;
    // Without a fixed output format the GStreamer decoder fails on its own planar floats.
    decoder.setAudioFormat(sound.format);
    // Through a device: GStreamer cannot open resources compiled into the program.
    decoder.setSourceDevice(&file);

    QEventLoop loop;
    bool done = false;
    bool failed = false;
    const auto finish = [&](bool ok) {
        done = true;
        failed = failed || !ok;
        loop.quit();
    };
    QObject::connect(&decoder, &QAudioDecoder::bufferReady, &loop, [&] {
        const QAudioBuffer buffer = decoder.read();
        if (buffer.format() != sound.format) {
            finish(false);
            return;
        }
        sound.pcm.append(buffer.constData<char>(), buffer.byteCount());
    });
    QObject::connect(&decoder, &QAudioDecoder::finished, &loop, [&] { finish(true); });
    QObject::connect(&decoder, qOverload<QAudioDecoder::Error>(&QAudioDecoder::error), &loop,
                     [&] { finish(false); });
    QTimer::singleShot(timeout, &loop, [&] { finish(false); });

    decoder.start();
    if (!done)
        loop.exec();
    decoder.stop();

    if (failed || sound.pcm.isEmpty())
        return std::nullopt;
    return sound;
}
