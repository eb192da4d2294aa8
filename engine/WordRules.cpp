#include "WordRules.h"

#include <QTextBoundaryFinder>
#include <algorithm>

namespace {

constexpr bool isLineBreak(char16_t c)
{
    return (c >= 0x000A && c <= 0x000D) || c == 0x0085 || c == 0x2028 || c == 0x2029;
}

// The code point that starts at i (a lone surrogate stands for itself) and its length.
std::pair<char32_t, qsizetype> pointAt(QStringView text, qsizetype i)
{
    const QChar c = text.at(i);
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
        return {QChar::surrogateToUcs4(c, text.at(i + 1)), 2};
    return {c.unicode(), 1};
}

// The code point that ends just before i and its length.
std::pair<char32_t, qsizetype> pointBefore(QStringView text, qsizetype i)
{
    const QChar c = text.at(i - 1);
    if (c.isLowSurrogate() && i >= 2 && text.at(i - 2).isHighSurrogate())
        return {QChar::surrogateToUcs4(text.at(i - 2), c), 2};
    return {c.unicode(), 1};
}

// Unicode's default ignorable code points: shown as nothing when they stand alone. Zero-width
// spaces and joiners, direction marks and overrides, the soft hyphen, variation selectors,
// Hangul fillers, tags.
constexpr std::pair<char32_t, char32_t> invisibleRanges[] = {
    {0x00AD, 0x00AD}, {0x034F, 0x034F}, {0x061C, 0x061C}, {0x115F, 0x1160},
    {0x17B4, 0x17B5}, {0x180B, 0x180F}, {0x200B, 0x200F}, {0x202A, 0x202E},
    {0x2060, 0x206F}, {0x3164, 0x3164}, {0xFE00, 0xFE0F}, {0xFEFF, 0xFEFF},
    {0xFFA0, 0xFFA0}, {0xFFF0, 0xFFF8}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A},
    {0xE0000, 0xE0FFF}};

bool isBlank(char32_t point)
{
    return QChar::isSpace(point)
            || std::any_of(std::begin(invisibleRanges), std::end(invisibleRanges),
                           [&](auto range) { return point >= range.first && point <= range.second; });
}

// Invisible characters that change how the character before them looks (variation selectors,
// Mongolian ones, the tags of a subdivision flag): behind a name's last character they stay.
bool modifiesThePrevious(char32_t point)
{
    return (point >= 0xFE00 && point <= 0xFE0F) || (point >= 0xE0100 && point <= 0xE01EF)
            || (point >= 0x180B && point <= 0x180D) || point == 0x180F
            || (point >= 0xE0020 && point <= 0xE007F);
}

// Calls onPiece(piece) for every non-empty trimmed piece of text between separators.
template<typename IsSeparator, typename OnPiece>
void forEachPiece(const QString &text, IsSeparator isSeparator, OnPiece onPiece)
{
    const qsizetype size = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i <= size; ++i) {
        if (i < size && !isSeparator(i))
            continue;
        if (i > start) {
            // Trimming only looks at the piece's ends; QStringView keeps it copy-free.
            const QStringView piece = QStringView(text).mid(start, i - start).trimmed();
            if (!piece.isEmpty())
                onPiece(piece);
        }
        start = i + 1;
    }
}

} // namespace

QStringList splitWordLines(const QString &text)
{
    QStringList lines;
    forEachPiece(
        text, [&](qsizetype i) { return isLineBreak(text.at(i).unicode()); },
        [&](QStringView piece) { lines.append(piece.toString()); });
    return lines;
}

qsizetype countWordLines(const QString &text)
{
    qsizetype count = 0;
    forEachPiece(
        text, [&](qsizetype i) { return isLineBreak(text.at(i).unicode()); },
        [&](QStringView) { ++count; });
    return count;
}

QStringView withoutBlankEnds(QStringView text)
{
    qsizetype start = 0;
    while (start < text.size()) {
        const auto [point, length] = pointAt(text, start);
        if (!isBlank(point))
            break;
        start += length;
    }
    qsizetype shown = text.size();
    while (shown > start) {
        const auto [point, length] = pointBefore(text, shown);
        if (!isBlank(point))
            break;
        shown -= length;
    }
    qsizetype end = shown;
    while (shown > start && end < text.size()) {
        const auto [point, length] = pointAt(text, end);
        if (!modifiesThePrevious(point))
            break;
        end += length;
    }
    return text.sliced(start, end - start);
}

QStringList playerNames(const QString &text)
{
    // A comma followed by a combining mark is one character with it, not a separator. The
    // pair is judged alone: Qt's segmentation of the whole text lets what stands before the
    // comma (a byte order mark) change the answer, so a name read again could split anew.
    const auto isSeparator = [&](qsizetype i) {
        const char16_t c = text.at(i).unicode();
        if (isLineBreak(c))
            return true;
        if (c != u',')
            return false;
        // Nothing in ASCII joins a comma.
        if (i + 1 == text.size() || text.at(i + 1).unicode() < 0x80)
            return true;
        // Nor does anything invisible: it would be trimmed off and leave the comma alone.
        const auto [next, length] = pointAt(text, i + 1);
        if (isBlank(next))
            return true;
        const QString pair = u',' + text.sliced(i + 1, length);
        QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, pair);
        graphemes.setPosition(1);
        return graphemes.isAtBoundary();
    };
    QStringList names;
    forEachPiece(text, isSeparator, [&](QStringView piece) {
        if (const QStringView name = withoutBlankEnds(piece); !name.isEmpty())
            names.append(name.toString());
    });
    return names;
}

namespace {

QString withoutNonSpacingMarks(QStringView text)
{
    QString kept;
    kept.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const auto [point, length] = pointAt(text, i);
        if (QChar::category(point) != QChar::Mark_NonSpacing)
            kept.append(text.sliced(i, length));
        i += length;
    }
    return kept;
}

// Decompose, drop the combining marks, case-fold, recompose. Marks also go before
// decomposing: they are dropped either way, and reordering a long run of them is quadratic.
QString foldedPiece(QStringView piece)
{
    const QString decomposed =
        withoutNonSpacingMarks(piece).normalized(QString::NormalizationForm_D);
    return withoutNonSpacingMarks(decomposed).toCaseFolded().normalized(QString::NormalizationForm_C);
}

// True where no normalisation joins the character at i to what comes before it: it is
// neither a combining mark nor a Hangul vowel or final consonant jamo.
bool startsAFreshCharacter(QStringView text, qsizetype i)
{
    if (text.at(i).isLowSurrogate() && i > 0 && text.at(i - 1).isHighSurrogate())
        return false;
    const char32_t point = pointAt(text, i).first;
    if ((point >= 0x1161 && point <= 0x1175) || (point >= 0x11A8 && point <= 0x11C2))
        return false;
    return !QChar::isMark(point);
}

// The general fold. Qt's normalisation moves the rest of the text for every character it
// decomposes, which takes minutes on one long pasted line, so the word is folded in short
// pieces cut where nothing joins across the cut.
QString foldedKey(QStringView trimmed)
{
    constexpr qsizetype pieceSize = 256;
    QString key;
    for (qsizetype start = 0; start < trimmed.size();) {
        qsizetype end = qMin(start + pieceSize, trimmed.size());
        while (end < trimmed.size() && !startsAFreshCharacter(trimmed, end))
            ++end;
        key += foldedPiece(trimmed.sliced(start, end - start));
        start = end;
    }
    return key;
}

// The same fold for the characters almost every word is made of (ASCII and the Russian
// alphabet), without the normalisation passes. 0 means "not covered".
constexpr char16_t quickFold(char16_t c)
{
    if (c < 0x80)
        return (c >= u'A' && c <= u'Z') ? char16_t(c + 0x20) : c;
    if (c == 0x0419 || c == 0x0439) // Й, й: И with a breve
        return 0x0438;
    if (c == 0x0401 || c == 0x0451) // Ё, ё: Е with a diaeresis
        return 0x0435;
    if (c >= 0x0410 && c <= 0x042F)
        return char16_t(c + 0x20);
    if (c >= 0x0430 && c <= 0x044F)
        return c;
    return 0;
}

} // namespace

QString wordKey(const QString &word)
{
    const QStringView trimmed = QStringView(word).trimmed();
    QString key(trimmed.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(key.data());
    for (qsizetype i = 0; i < trimmed.size(); ++i) {
        const char16_t folded = quickFold(trimmed.at(i).unicode());
        if (!folded)
            return foldedKey(trimmed);
        out[i] = folded;
    }
    return key;
}
