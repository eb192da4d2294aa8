#pragma once

#include <QDebug>
#include <QStringList>
#include <algorithm>
#include <cstdint>
#include <cstdlib>

// A broken property is a finding: report it and stop, so that libFuzzer saves the input.
#define FUZZ_CHECK(condition)                                                                     \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            qCritical("%s:%d: property failed: %s", __FILE__, __LINE__, #condition);              \
            std::abort();                                                                         \
        }                                                                                         \
    } while (false)

// Turns fuzzer bytes into a text. The first byte picks the decoding:
//   UTF-8 (invalid sequences included), raw UTF-16 code units (lone surrogates included),
//   UCS-4 code points, or one troublesome snippet per byte (line breaks of every kind,
//   spaces of every width, combining marks, commas, ё/й, emoji, right-to-left text...).
// A first byte of 0xff repeats the text until it is at least 1 MiB long.
QString decodeFuzzText(const uint8_t *data, size_t size);

// The size that the repeated texts reach.
constexpr qsizetype bigFuzzTextSize = 1 << 20;

// Every character that ends a line of words or names.
inline bool isLineBreak(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x000A && u <= 0x000D) || u == 0x0085 || u == 0x2028 || u == 0x2029;
}

// Each piece is non-empty, trimmed, within one line, and found in text after the one before.
inline void checkPiecesOf(const QString &text, const QStringList &pieces)
{
    qsizetype from = 0;
    for (const QString &piece : pieces) {
        FUZZ_CHECK(!piece.isEmpty());
        FUZZ_CHECK(piece == piece.trimmed());
        FUZZ_CHECK(std::none_of(piece.begin(), piece.end(), isLineBreak));
        const qsizetype at = text.indexOf(piece, from);
        FUZZ_CHECK(at >= from);
        from = at + piece.size();
    }
}
