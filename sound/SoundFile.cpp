#include "SoundFile.h"

#include <QFile>
#include <algorithm>
#include <cstring>
#include <memory>
#include <sndfile.h>

namespace {

// A cue lasts seconds; a file that claims more is none of ours.
constexpr sf_count_t longestFrames = 48000 * 60;
constexpr qint64 largestFile = 16 << 20;

// libsndfile reads from memory through these; every offset is checked against the bytes.
struct Source
{
    QByteArrayView bytes;
    sf_count_t at = 0;
};

sf_count_t sourceLength(void *source)
{
    return sf_count_t(static_cast<Source *>(source)->bytes.size());
}

sf_count_t sourceSeek(sf_count_t offset, int whence, void *data)
{
    auto *source = static_cast<Source *>(data);
    const auto size = sf_count_t(source->bytes.size());
    sf_count_t base = 0;
    if (whence == SEEK_CUR)
        base = source->at;
    else if (whence == SEEK_END)
        base = size;
    else if (whence != SEEK_SET)
        return -1;
    if (offset < -base || offset > size - base)
        return -1;
    source->at = base + offset;
    return source->at;
}

sf_count_t sourceRead(void *into, sf_count_t count, void *data)
{
    auto *source = static_cast<Source *>(data);
    const sf_count_t left = sf_count_t(source->bytes.size()) - source->at;
    const sf_count_t n = std::clamp<sf_count_t>(count, 0, left);
    if (n > 0)
        std::memcpy(into, source->bytes.data() + source->at, size_t(n));
    source->at += n;
    return n;
}

sf_count_t sourceTell(void *source)
{
    return static_cast<Source *>(source)->at;
}

} // namespace

QAudioFormat SoundFile::format()
{
    QAudioFormat format;
    format.setSampleRate(48000);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

std::optional<DecodedSound> SoundFile::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > largestFile)
        return std::nullopt;
    return decode(file.read(largestFile));
}

std::optional<DecodedSound> SoundFile::decode(QByteArrayView bytes)
{
    SF_VIRTUAL_IO io{&sourceLength, &sourceSeek, &sourceRead, nullptr, &sourceTell};
    Source source{bytes};
    SF_INFO info{};
    const std::unique_ptr<SNDFILE, int (*)(SNDFILE *)> file(
            sf_open_virtual(&io, SFM_READ, &info, &source), &sf_close);
    const QAudioFormat wanted = format();
    if (!file || (info.format & SF_FORMAT_TYPEMASK) != SF_FORMAT_FLAC
        || info.channels != wanted.channelCount() || info.samplerate != wanted.sampleRate()
        || info.frames <= 0 || info.frames > longestFrames)
        return std::nullopt;
    DecodedSound sound{wanted, QByteArray(qsizetype(info.frames) * 2, Qt::Uninitialized)};
    // Fewer frames than the header promised, or a frame whose checksum fails: damaged.
    const sf_count_t frames =
            sf_readf_short(file.get(), reinterpret_cast<short *>(sound.pcm.data()), info.frames);
    if (frames != info.frames || sf_error(file.get()) != SF_ERR_NO_ERROR)
        return std::nullopt;
    return sound;
}
