// playerNames on arbitrary text: names are non-empty and trimmed, hold no line break and no
// comma that stands alone as a character, and naming the names again changes nothing.
#include "FuzzCheck.h"
#include "FuzzText.h"
#include "WordRules.h"

#include <QTextBoundaryFinder>

namespace {

bool isLineBreak(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x000A && u <= 0x000D) || u == 0x0085 || u == 0x2028 || u == 0x2029;
}

// A comma that the character after it does not join into a larger character. Each comma
// is judged with what follows it alone: Qt's segmentation of a longer text can let a
// byte order mark before the comma change the answer.
bool hasLoneComma(const QString &name)
{
    for (qsizetype i = name.indexOf(u','); i >= 0; i = name.indexOf(u',', i + 1)) {
        const QString pair = name.sliced(i, qMin<qsizetype>(3, name.size() - i));
        QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, pair);
        graphemes.setPosition(1);
        if (graphemes.isAtBoundary())
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = decodeFuzzText(data, size);
    const QStringList names = playerNames(text);

    qsizetype from = 0;
    for (const QString &name : names) {
        FUZZ_CHECK(!name.isEmpty());
        FUZZ_CHECK(name == name.trimmed());
        FUZZ_CHECK(std::none_of(name.begin(), name.end(), isLineBreak));
        FUZZ_CHECK(!hasLoneComma(name));
        const qsizetype at = text.indexOf(name, from);
        FUZZ_CHECK(at >= from);
        from = at + name.size();
    }
    // Without commas the names are the lines.
    if (!text.contains(u','))
        FUZZ_CHECK(names == splitWordLines(text));

    if (text.size() < bigFuzzTextSize) {
        FUZZ_CHECK(playerNames(names.join(u'\n')) == names);
        FUZZ_CHECK(playerNames(names.join(u", "_qs)) == names);
    }
    return 0;
}
