#pragma once

#include <QList>
#include <QPointF>
#include <QQuickItem>
#include <QRectF>
#include <QSizeF>
#include <optional>

// Lays its children out left to right at their implicit sizes and starts a new line when
// the next child would pass the right edge. Lines are top-aligned; `spacing` separates
// both neighbours and lines. Without a width of its own (width follows implicitWidth)
// everything stays on one line.
class FlowLayout : public QQuickItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(qreal spacing READ spacing WRITE setSpacing NOTIFY spacingChanged)

public:
    explicit FlowLayout(QQuickItem *parent = nullptr);

    qreal spacing() const { return m_spacing; }
    void setSpacing(qreal spacing);

    // The size the children need in the offered width; with no width offered, the width is
    // infinite and there is one line.
    static QSizeF measure(std::optional<qreal> offeredWidth, const QList<QSizeF> &childSizes,
                          qreal spacing);
    // Top-left corner of every child in the granted rectangle (only its left, top and right
    // edges matter).
    static QList<QPointF> place(const QRectF &granted, const QList<QSizeF> &childSizes,
                                qreal spacing);

signals:
    void spacingChanged();

protected:
    void componentComplete() override;
    void itemChange(ItemChange change, const ItemChangeData &value) override;
    void geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry) override;

private:
    QList<QQuickItem *> laidOutChildren() const;
    void relayout();

    qreal m_spacing = 0;
    bool m_inLayout = false;
};
