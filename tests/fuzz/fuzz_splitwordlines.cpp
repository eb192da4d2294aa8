// splitWordLines on arbitrary text: every entry is a non-empty, trimmed piece of one line,
// the entries come in text order, and splitting them again changes nothing.
#include "FuzzCheck.h"
#include "FuzzText.h"
#include "WordRules.h"

namespace {

bool isLineBreak(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x000A && u <= 0x000D) || u == 0x0085 || u == 0x2028 || u == 0x2029;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = decodeFuzzText(data, size);
    const QStringList lines = splitWordLines(text);

    FUZZ_CHECK(countWordLines(text) == lines.size());
    qsizetype from = 0;
    for (const QString &line : lines) {
        FUZZ_CHECK(!line.isEmpty());
        FUZZ_CHECK(line == line.trimmed());
        FUZZ_CHECK(std::none_of(line.begin(), line.end(), isLineBreak));
        // In order, each a piece of the text itself.
        const qsizetype at = text.indexOf(line, from);
        FUZZ_CHECK(at >= from);
        from = at + line.size();
    }
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
