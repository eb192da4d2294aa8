#pragma once

#include <QAudioFormat>
#include <QByteArray>

// A whole sound decoded to PCM in memory, ready to be handed to an audio output.
struct DecodedSound
{
    QAudioFormat format;
    QByteArray pcm;

    double seconds() const { return double(format.durationForBytes(pcm.size())) / 1e6; }
};
