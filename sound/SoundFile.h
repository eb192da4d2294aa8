#pragma once

#include "DecodedSound.h"

#include <QByteArrayView>
#include <QString>
#include <optional>

// The game's cues as they are stored: FLAC, 48 kHz mono 16-bit, decoded in this process by
// libsndfile (which the sound server's client library loads anyway), with no decoder
// framework to start.
namespace SoundFile {

// What every cue decodes to, and what the players play.
QAudioFormat format();

// The whole sound; nothing when the file cannot be read, is no FLAC in that format, or is
// cut short or damaged anywhere.
std::optional<DecodedSound> read(const QString &path);
std::optional<DecodedSound> decode(QByteArrayView bytes);

} // namespace SoundFile
