#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QtQml/qqmlregistration.h>
#include <optional>

// The icons the screens name (after the phone's system symbols, "arrow.left",
// "checkmark.circle.fill", …) and the Phosphor glyphs that stand in for them. Filled
// symbols take the Fill face, outline ones the Bold face to match black-weight text.
class IconCatalog : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    struct Glyph
    {
        QString name;
        QString phosphorName;
        char32_t codePoint;
        bool filled;
    };

    static const QList<Glyph> &glyphs();
    static std::optional<Glyph> find(const QString &name);
    static QString familyOf(const Glyph &glyph);

    // The font family and the text that draw the icon; empty for unknown names.
    Q_INVOKABLE QString family(const QString &name) const;
    Q_INVOKABLE QString text(const QString &name) const;
    Q_INVOKABLE QStringList names() const;

    using QObject::QObject;
};
