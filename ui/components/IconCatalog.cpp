#include "IconCatalog.h"

const QList<IconCatalog::Glyph> &IconCatalog::glyphs()
{
    static const QList<Glyph> table = {
        {QStringLiteral("arrow.left"), {}, 0, QStringLiteral("M19 12H5M11.5 5.5 5 12l6.5 6.5"), false},
        {QStringLiteral("arrow.right"), {}, 0, QStringLiteral("M5 12h14M12.5 5.5 19 12l-6.5 6.5"), false},
        {QStringLiteral("xmark"), {}, 0, QStringLiteral("M6 6l12 12M18 6 6 18"), false},
        {QStringLiteral("eye.fill"), QStringLiteral("eye"), 0xe220, {}, false},
        {QStringLiteral("sparkles"), QStringLiteral("sparkle"), 0xe6a2, {}, false},
        {QStringLiteral("hand.tap.fill"), QStringLiteral("hand-tap"), 0xec90, {}, false},
        {QStringLiteral("arrow.uturn.backward"), {}, 0,
         QStringLiteral("M9 14 4 9l5-5M4 9h10.5a5.5 5.5 0 0 1 0 11H11"), false},
        {QStringLiteral("checkmark"), {}, 0, QStringLiteral("M4.5 12.5l5 5 10-11"), false},
        {QStringLiteral("checkmark.circle.fill"), QStringLiteral("check-circle"), 0xe184, {}, false},
        // The skip mark of the card, turned the other way, in a disc beside the check.
        {QStringLiteral("arrow.uturn.right.circle.fill"), {}, 0,
         QStringLiteral("M15 14l5-5-5-5M20 9H9.5a5.5 5.5 0 0 0 0 11H13"), true},
        {QStringLiteral("crown.fill"), QStringLiteral("crown"), 0xe614, {}, false},
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

QString IconCatalog::text(const QString &name) const
{
    const auto glyph = find(name);
    if (!glyph || !glyph->codePoint)
        return {};
    const char32_t codePoint = glyph->codePoint;
    return QString::fromUcs4(&codePoint, 1);
}

QString IconCatalog::outline(const QString &name) const
{
    const auto glyph = find(name);
    return glyph ? glyph->outline : QString();
}

bool IconCatalog::onDisc(const QString &name) const
{
    const auto glyph = find(name);
    return glyph && glyph->onDisc;
}

QStringList IconCatalog::names() const
{
    QStringList result;
    for (const Glyph &glyph : glyphs())
        result.append(glyph.name);
    return result;
}
