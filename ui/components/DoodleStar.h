#pragma once

#include <QColor>
#include <QList>
#include <QPointF>
#include <QQuickItem>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

// A five-pointed star with one point straight up, fitted to the smaller side of its box and
// centred in it; outlined, filled or both, as the caller colours it. Painted into an image
// rather than drawn with Qt Quick Shapes: every screen shows stars on its paper, and that
// module alone cost the first frame milliseconds to load. The image reaches past the box as
// far as the stroke's mitred points do, so nothing of the outline is cut.
class DoodleStar : public QQuickItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QColor fillColor READ fillColor WRITE setFillColor NOTIFY fillColorChanged)
    Q_PROPERTY(QColor strokeColor READ strokeColor WRITE setStrokeColor NOTIFY strokeColorChanged)
    Q_PROPERTY(qreal lineWidth READ lineWidth WRITE setLineWidth NOTIFY lineWidthChanged)
    // The ten corners clockwise from the top point, in the item's coordinates.
    Q_PROPERTY(QVariantList vertices READ vertices NOTIFY verticesChanged)

public:
    explicit DoodleStar(QQuickItem *parent = nullptr);

    QColor fillColor() const { return m_fillColor; }
    void setFillColor(const QColor &color);
    QColor strokeColor() const { return m_strokeColor; }
    void setStrokeColor(const QColor &color);
    qreal lineWidth() const { return m_lineWidth; }
    void setLineWidth(qreal width);
    QVariantList vertices() const;

    // Outer radius half the smaller side, inner radius 0.42 of it, points 36° apart.
    static QList<QPointF> corners(const QSizeF &box);

signals:
    void fillColorChanged();
    void strokeColorChanged();
    void lineWidthChanged();
    void verticesChanged();

protected:
    QSGNode *updatePaintNode(QSGNode *oldNode, UpdatePaintNodeData *) override;
    void geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry) override;
    void itemChange(ItemChange change, const ItemChangeData &value) override;

private:
    void repaint();

    QColor m_fillColor = Qt::transparent;
    QColor m_strokeColor = Qt::transparent;
    qreal m_lineWidth = 0;
    bool m_imageStale = true;
};
