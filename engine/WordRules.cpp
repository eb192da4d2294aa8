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

QString wordKey(const QString &word)
{
    const QString decomposed = word.trimmed().normalized(QString::NormalizationForm_D);
    QString key;
    key.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing)
            key.append(c);
    }
    return key.toCaseFolded().normalized(QString::NormalizationForm_C);
}
