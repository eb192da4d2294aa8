// playerNames on arbitrary text: names are non-empty and trimmed, show something at both
// ends, hold no line break and no comma that stands alone as a character, and naming the
// names again changes nothing.
#include "FuzzText.h"
#include "WordRules.h"

#include <QTextBoundaryFinder>

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = decodeFuzzText(data, size);
    const QStringList names = playerNames(text);

    checkPiecesOf(text, names);
    // Nothing invisible is left at a name's ends.
    for (const QString &name : names)
        FUZZ_CHECK(withoutBlankEnds(name) == name);
    // No comma that the character after it leaves standing alone. Each comma is judged with
    // that one character alone: Qt's segmentation of a longer text can let a byte order mark
    // before the comma, or a spacing mark after the next, change the answer.
    for (const QString &name : names) {
        for (qsizetype i = name.indexOf(u','); i >= 0; i = name.indexOf(u',', i + 1)) {
            const bool pair = i + 2 < name.size() && name.at(i + 1).isHighSurrogate()
                    && name.at(i + 2).isLowSurrogate();
            const qsizetype length = qMin<qsizetype>(pair ? 3 : 2, name.size() - i);
            QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, name.sliced(i, length));
            graphemes.setPosition(1);
            FUZZ_CHECK(!graphemes.isAtBoundary());
        }
    }
    // Without commas the names are the lines that show something, without their blank ends.
    if (!text.contains(u',')) {
        QStringList shown;
        for (const QString &line : splitWordLines(text)) {
            if (const QStringView name = withoutBlankEnds(line); !name.isEmpty())
                shown << name.toString();
        }
        FUZZ_CHECK(names == shown);
    }

    if (text.size() < bigFuzzTextSize) {
        FUZZ_CHECK(playerNames(names.join(u'\n')) == names);
        FUZZ_CHECK(playerNames(names.join(u", "_s)) == names);
    }
    return 0;
}
