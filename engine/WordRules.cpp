#include "WordRules.h"

#include <QTextBoundaryFinder>

namespace {

constexpr bool isLineBreak(char16_t c)
{
    return (c >= 0x000A && c <= 0x000D) || c == 0x0085 || c == 0x2028 || c == 0x2029;
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

QStringList playerNames(const QString &text)
{
    // A comma followed by a combining mark is one character with it, not a separator.
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    const auto isSeparator = [&](qsizetype i) {
        const char16_t c = text.at(i).unicode();
        if (isLineBreak(c))
            return true;
        if (c != u',')
            return false;
        graphemes.setPosition(i + 1);
        return graphemes.isAtBoundary();
    };
    QStringList names;
    forEachPiece(text, isSeparator, [&](QStringView piece) { names.append(piece.toString()); });
    return names;
}

namespace {

// The general fold: decompose, drop the combining marks, case-fold, recompose.
QString foldedKey(QStringView trimmed)
{
    const QString decomposed = trimmed.toString().normalized(QString::NormalizationForm_D);
    QString key;
    key.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing)
            key.append(c);
    }
    return key.toCaseFolded().normalized(QString::NormalizationForm_C);
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
