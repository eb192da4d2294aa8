#pragma once

#include "DecodedSound.h"

#include <QString>
#include <chrono>
#include <optional>

// Decodes a compressed sound file (the game's .m4a cues) to PCM with Qt Multimedia.
class SoundDecoder
{
public:
    // What every sound is decoded to: 48 kHz mono 16-bit, the rate the cues are made at.
    static QAudioFormat format();

    // Decodes the whole file on the calling thread, which must be free to run an event
    // loop meanwhile. Nothing when the file cannot be read or decoded, or when decoding
    // takes longer than timeout.
    static std::optional<DecodedSound> decode(const QString &path, std::chrono::milliseconds timeout);
};
