// The cue decoder on arbitrary bytes: libsndfile reads them through our bounds-checked
// reads and seeks over memory. Whatever comes in, it returns, and what it returns is a
// whole sound in the one format the players take, the same each time.
#include "FuzzText.h"
#include "SoundFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    const std::optional<DecodedSound> sound = SoundFile::decode(bytes);
    if (!sound)
        return 0;
    FUZZ_CHECK(sound->format == SoundFile::format());
    FUZZ_CHECK(!sound->pcm.isEmpty() && sound->pcm.size() % 2 == 0);
    FUZZ_CHECK(sound->seconds() <= 60.0);
    const std::optional<DecodedSound> again = SoundFile::decode(bytes);
    FUZZ_CHECK(again && again->pcm == sound->pcm);
    return 0;
}
