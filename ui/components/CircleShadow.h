#pragma once

#include <QColor>
#include <QImage>
#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

// The soft shadow under a round face: a disc of the given colour whose edge fades out over
// the blur radius, 2 × (diameter / 2 + blur) on each side. Painted once into an image and
// drawn at the colour's opacity: a gradient drawn afresh in every frame of a fade cost the
// software renderer a colour table for each opacity the fade passed through, and the
// shapes module a load at the first turn.
class CircleShadow : public QQuickItem
{
    Q_OBJECT
    QML_ELEMENT
    // Diameter of the face that casts it.
    Q_PROPERTY(qreal diameter READ diameter WRITE setDiameter NOTIFY diameterChanged)
    Q_PROPERTY(qreal blur READ blur WRITE setBlur NOTIFY blurChanged)
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)

public:
    explicit CircleShadow(QQuickItem *parent = nullptr);

    qreal diameter() const { return m_diameter; }
    void setDiameter(qreal diameter);
    qreal blur() const { return m_blur; }
    void setBlur(qreal blur);
    QColor color() const { return m_color; }
    void setColor(const QColor &color);

    // The shadow in an opaque colour, pixelRatio device pixels to a point; the colour's own
    // alpha is left to the drawing.
    static QImage paint(qreal diameter, qreal blur, QColor color, qreal pixelRatio);

signals:
    void diameterChanged();
    void blurChanged();
    void colorChanged();

protected:
    QSGNode *updatePaintNode(QSGNode *oldNode, UpdatePaintNodeData *) override;
    void itemChange(ItemChange change, const ItemChangeData &value) override;

private:
    void resize();
    void repaint();

    qreal m_diameter = 100;
    qreal m_blur = 8;
    QColor m_color = Qt::black;
    bool m_imageStale = true;
};
