#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QtQml/qqmlregistration.h>
#include <optional>

// The icons the screens name (after the phone's system symbols, "arrow.left",
// "checkmark.circle.fill", …). Filled symbols are glyphs of Phosphor's Fill face; the line
// symbols (arrows, check, cross) are strokes drawn as heavy as the black titles beside
// them, which Phosphor's heaviest line face is not.
class IconCatalog : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    struct Glyph
    {
        QString name;
        // A Fill glyph, or none for a drawn symbol.
        QString phosphorName;
        char32_t codePoint;
        // A drawn symbol: an SVG path of round-capped strokes on a 24 × 24 grid.
        QString outline;
        // The strokes are drawn in white on a filled disc of the icon's colour.
        bool onDisc;
    };


    static const QList<Glyph> &glyphs();
    static std::optional<Glyph> find(const QString &name);

    // The glyph that draws the icon, empty for unknown names and drawn symbols.
    Q_INVOKABLE QString text(const QString &name) const;
    Q_INVOKABLE QString outline(const QString &name) const;
    Q_INVOKABLE bool onDisc(const QString &name) const;
    Q_INVOKABLE QStringList names() const;

    using QObject::QObject;
};
