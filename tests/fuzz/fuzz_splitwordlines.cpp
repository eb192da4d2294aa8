// splitWordLines on arbitrary text: every entry is a non-empty, trimmed piece of one line,
// the entries come in text order, and splitting them again changes nothing.
#include "FuzzText.h"
#include "WordRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = decodeFuzzText(data, size);
    const QStringList lines = splitWordLines(text);

    FUZZ_CHECK(countWordLines(text) == lines.size());
    checkPiecesOf(text, lines);
    // Each piece between breaks that has more than white space gives exactly one entry.
    qsizetype pieces = 0;
    bool pieceHasText = false;
    for (const QChar c : text) {
        if (isLineBreak(c)) {
            pieces += pieceHasText;
            pieceHasText = false;
        } else if (!c.isSpace()) {
            pieceHasText = true;
        }
    }
    pieces += pieceHasText;
    FUZZ_CHECK(pieces == lines.size());

    if (text.size() < bigFuzzTextSize)
        FUZZ_CHECK(splitWordLines(lines.join(u'\n')) == lines);
    return 0;
}
