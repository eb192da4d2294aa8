#pragma once

#include <QByteArrayView>
#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QQuickItem>
#include <QtQml/qqmlregistration.h>
#include <optional>

// Type that the build set with HarfBuzz from one of the game's fonts (hb-view's SVG: each
// glyph's outline once, then where each one stands on the line), drawn as filled shapes in
// one colour and as large as the line the text would take. The home screen's title word and
// badge are drawn so: as text each cost the first frame a font engine (fontconfig's matching
// alone is a million instructions), and the title's serif face was embedded for five letters.
class GlyphArt : public QQuickItem
{
    Q_OBJECT
    QML_ELEMENT
    // A resource the build made (":/art/….svg").
    Q_PROPERTY(QString source READ source WRITE setSource NOTIFY sourceChanged)
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)

public:
    struct Art
    {
        // The line's box: the glyphs' advances wide, ascent and descent high.
        QSizeF size{0, 0};
        // Every glyph where it stands; it may reach past the box (an italic's overhang).
        QPainterPath outline;
    };

    explicit GlyphArt(QQuickItem *parent = nullptr);

    QString source() const { return m_source; }
    void setSource(const QString &source);
    QColor color() const { return m_color; }
    void setColor(const QColor &color);

    // The art in hb-view's SVG (as cairo writes it: glyphs defined as symbols or groups,
    // placed by <use>), or nothing for anything else.
    static std::optional<Art> parse(QByteArrayView svg);
    // SVG path data of moves, lines, quadratic and cubic curves and closes.
    static std::optional<QPainterPath> parsePathData(QByteArrayView data);
    // What the art covers in the item, on whole units and one more around for the
    // antialiased edge, and the art painted there at the window's pixel density.
    static QRectF area(const Art &art);
    static QImage paint(const Art &art, const QColor &color, qreal ratio);

signals:
    void sourceChanged();
    void colorChanged();

protected:
    QSGNode *updatePaintNode(QSGNode *oldNode, UpdatePaintNodeData *) override;
    void itemChange(ItemChange change, const ItemChangeData &value) override;

private:
    void repaint();

    QString m_source;
    QColor m_color = Qt::black;
    Art m_art;
    bool m_imageStale = true;
};
