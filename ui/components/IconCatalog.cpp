#include "IconCatalog.h"

const QList<IconCatalog::Glyph> &IconCatalog::glyphs()
{
    static const QList<Glyph> table = {
        {QStringLiteral("arrow.left"), QStringLiteral("arrow-left"), 0xe058, false},
        {QStringLiteral("arrow.right"), QStringLiteral("arrow-right"), 0xe06c, false},
        {QStringLiteral("quote.bubble.fill"), QStringLiteral("chat-teardrop-text"), 0xe178, true},
        {QStringLiteral("xmark"), QStringLiteral("x"), 0xe4f6, false},
        {QStringLiteral("eye.fill"), QStringLiteral("eye"), 0xe220, true},
        {QStringLiteral("sparkles"), QStringLiteral("sparkle"), 0xe6a2, true},
        {QStringLiteral("hand.tap.fill"), QStringLiteral("hand-tap"), 0xec90, true},
        {QStringLiteral("arrow.uturn.backward"), QStringLiteral("arrow-u-up-left"), 0xe08a, false},
        {QStringLiteral("checkmark"), QStringLiteral("check"), 0xe182, false},
        {QStringLiteral("checkmark.circle.fill"), QStringLiteral("check-circle"), 0xe184, true},
        // Phosphor has no u-turn in a circle; "skip forward" keeps the meaning: passed over.
        {QStringLiteral("arrow.uturn.right.circle.fill"), QStringLiteral("skip-forward-circle"),
         0xe430, true},
        {QStringLiteral("crown.fill"), QStringLiteral("crown"), 0xe614, true},
    };
    return table;
}

std::optional<IconCatalog::Glyph> IconCatalog::find(const QString &name)
{
    for (const Glyph &glyph : glyphs()) {
        if (glyph.name == name)
            return glyph;
    }
    return std::nullopt;
}

QString IconCatalog::familyOf(const Glyph &glyph)
{
    return glyph.filled ? QStringLiteral("Phosphor-Fill") : QStringLiteral("Phosphor-Bold");
}

QString IconCatalog::family(const QString &name) const
{
    const auto glyph = find(name);
    return glyph ? familyOf(*glyph) : QString();
}

QString IconCatalog::text(const QString &name) const
{
    const auto glyph = find(name);
    if (!glyph)
        return {};
    const char32_t codePoint = glyph->codePoint;
    return QString::fromUcs4(&codePoint, 1);
}

QStringList IconCatalog::names() const
{
    QStringList result;
    for (const Glyph &glyph : glyphs())
        result.append(glyph.name);
    return result;
}
