#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>

// Turns fuzzer bytes into a text. The first byte picks the decoding:
//   UTF-8 (invalid sequences included), raw UTF-16 code units (lone surrogates included),
//   UCS-4 code points, or one troublesome snippet per byte (line breaks of every kind,
//   spaces of every width, combining marks, commas, ё/й, emoji, right-to-left text...).
// A first byte of 0xff repeats the text until it is at least 1 MiB long.
QString decodeFuzzText(const uint8_t *data, size_t size);

// The size that the repeated texts reach.
constexpr qsizetype bigFuzzTextSize = 1 << 20;
