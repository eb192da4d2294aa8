// wordKey on arbitrary text: it equals the plain fold (trim, decompose, drop the
// non-spacing marks, case-fold, recompose) that its fast paths stand in for, white space at
// the ends never matters, a key is its own key, and ё/е never tell two words apart.
#include "FuzzText.h"
#include "WordRules.h"

using namespace Qt::StringLiterals;

namespace {

// The fold done the slow, obvious way: quadratic on long texts, so only used on short ones.
QString plainKey(const QString &word)
{
    const QString decomposed = word.trimmed().normalized(QString::NormalizationForm_D);
    QString kept;
    for (qsizetype i = 0; i < decomposed.size(); ++i) {
        // Whole code points; a lone surrogate stays as it is.
        const QChar c = decomposed.at(i);
        const bool pair = c.isHighSurrogate() && i + 1 < decomposed.size()
                          && decomposed.at(i + 1).isLowSurrogate();
        const char32_t point = pair ? QChar::surrogateToUcs4(c, decomposed.at(i + 1)) : c.unicode();
        if (QChar::category(point) != QChar::Mark_NonSpacing)
            kept += pair ? decomposed.sliced(i, 2) : QString(c);
        i += pair;
    }
    return kept.toCaseFolded().normalized(QString::NormalizationForm_C);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString word = decodeFuzzText(data, size);
    const QString key = wordKey(word);

    // Folding may expand a letter (ß to ss, ﬃ to ffi), but never by more than three.
    FUZZ_CHECK(key.size() <= 3 * word.size());
    if (word.trimmed().isEmpty())
        FUZZ_CHECK(key.isEmpty());
    if (word.size() >= bigFuzzTextSize)
        return 0;

    if (word.size() <= 4096)
        FUZZ_CHECK(key == plainKey(word));
    FUZZ_CHECK(wordKey(u" \t\u3000"_s + word + u"\u00a0\r\n\u2029"_s) == key);
    // Removing a mark can leave white space bare at an end (a word ending in " \u0301"), so
    // a key is its own key up to such ends.
    FUZZ_CHECK(wordKey(key) == key.trimmed());

    QString yo = word;
    yo.replace(u'е', u'ё').replace(u'Е', u'Ё');
    FUZZ_CHECK(wordKey(yo) == key);
    return 0;
}
