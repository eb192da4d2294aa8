#include "DoodleStar.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QQuickWindow>
#include <QSGImageNode>
#include <QtMath>
#include <cmath>

DoodleStar::DoodleStar(QQuickItem *parent)
    : QQuickItem(parent)
{
    setFlag(ItemHasContents);
    setAntialiasing(true);
    connect(this, &QQuickItem::antialiasingChanged, this, [this] { repaint(); });
}

void DoodleStar::setFillColor(const QColor &color)
{
    if (color == m_fillColor)
        return;
    m_fillColor = color;
    emit fillColorChanged();
    repaint();
}

void DoodleStar::setStrokeColor(const QColor &color)
{
    if (color == m_strokeColor)
        return;
    m_strokeColor = color;
    emit strokeColorChanged();
    repaint();
}

void DoodleStar::setLineWidth(qreal width)
{
    width = std::isfinite(width) ? qMax<qreal>(0, width) : 0;
    if (width == m_lineWidth)
        return;
    m_lineWidth = width;
    emit lineWidthChanged();
    repaint();
}

QList<QPointF> DoodleStar::corners(const QSizeF &box)
{
    const qreal outer = qMin(box.width(), box.height()) / 2;
    const qreal inner = 0.42 * outer;
    QList<QPointF> points;
    for (int k = 0; k < 10; ++k) {
        const qreal angle = qDegreesToRadians(-90.0 + 36 * k);
        const qreal radius = k % 2 == 0 ? outer : inner;
        points.append({box.width() / 2 + radius * std::cos(angle),
                       box.height() / 2 + radius * std::sin(angle)});
    }
    return points;
}

QVariantList DoodleStar::vertices() const
{
    QVariantList list;
    for (const QPointF &point : corners(size()))
        list.append(point);
    return list;
}

void DoodleStar::repaint()
{
    m_imageStale = true;
    update();
}

void DoodleStar::geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    QQuickItem::geometryChange(newGeometry, oldGeometry);
    if (newGeometry.size() != oldGeometry.size()) {
        emit verticesChanged();
        repaint();
    }
}

void DoodleStar::itemChange(ItemChange change, const ItemChangeData &value)
{
    QQuickItem::itemChange(change, value);
    // A window of another pixel density wants an image of another size.
    if (change == ItemDevicePixelRatioHasChanged || change == ItemSceneChange)
        repaint();
}

QSGNode *DoodleStar::updatePaintNode(QSGNode *oldNode, UpdatePaintNodeData *)
{
    auto *node = static_cast<QSGImageNode *>(oldNode);
    const bool stroked = m_lineWidth > 0 && m_strokeColor.alpha() > 0;
    if (width() <= 0 || height() <= 0 || (!stroked && m_fillColor.alpha() == 0)) {
        delete node;
        return nullptr;
    }
    // A mitred point passes its corner by at most the miter limit (2) times half the
    // stroke; one pixel more for the antialiased edge.
    const qreal margin = stroked ? m_lineWidth + 1 : 1;
    const QRectF area = boundingRect().adjusted(-margin, -margin, margin, margin);
    if (!node) {
        node = window()->createImageNode();
        node->setOwnsTexture(true);
        node->setFiltering(QSGTexture::Linear);
        m_imageStale = true;
    }
    if (m_imageStale) {
        const qreal ratio = window()->effectiveDevicePixelRatio();
        QImage image((area.size() * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, antialiasing());
        painter.translate(margin, margin);
        QPainterPath outline;
        outline.addPolygon(QPolygonF(corners(size())));
        outline.closeSubpath();
        painter.setBrush(m_fillColor);
        if (stroked) {
            QPen pen(m_strokeColor, m_lineWidth);
            pen.setJoinStyle(Qt::MiterJoin);
            pen.setMiterLimit(2);
            painter.setPen(pen);
        } else {
            painter.setPen(Qt::NoPen);
        }
        painter.drawPath(outline);
        painter.end();
        node->setTexture(window()->createTextureFromImage(image));
        m_imageStale = false;
    }
    node->setRect(area);
    return node;
}
