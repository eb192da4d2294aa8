#include "CircleShadow.h"

#include <QPainter>
#include <QQuickWindow>
#include <QRadialGradient>
#include <QSGImageNode>
#include <QSGOpacityNode>
#include <QtMath>
#include <cmath>

CircleShadow::CircleShadow(QQuickItem *parent)
    : QQuickItem(parent)
{
    setFlag(ItemHasContents);
    resize();
}

void CircleShadow::setDiameter(qreal diameter)
{
    diameter = std::isfinite(diameter) ? qMax<qreal>(0, diameter) : 0;
    if (diameter == m_diameter)
        return;
    m_diameter = diameter;
    emit diameterChanged();
    resize();
    repaint();
}

void CircleShadow::setBlur(qreal blur)
{
    blur = std::isfinite(blur) ? qMax<qreal>(0, blur) : 0;
    if (blur == m_blur)
        return;
    m_blur = blur;
    emit blurChanged();
    resize();
    repaint();
}

void CircleShadow::setColor(const QColor &color)
{
    if (color == m_color)
        return;
    // Only a change of hue needs a new image; the alpha is the drawing's opacity.
    if (color.rgb() != m_color.rgb())
        m_imageStale = true;
    m_color = color;
    emit colorChanged();
    update();
}

QImage CircleShadow::paint(qreal diameter, qreal blur, QColor color, qreal pixelRatio)
{
    const qreal outer = diameter / 2 + blur;
    const int side = qCeil(2 * outer * pixelRatio);
    if (side <= 0)
        return {};
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(Qt::transparent);
    color.setAlphaF(1);
    QColor half = color;
    half.setAlphaF(0.5);
    QRadialGradient gradient(QPointF(outer, outer), outer);
    gradient.setColorAt(0, color);
    gradient.setColorAt(qMax<qreal>(0, (diameter / 2 - blur) / outer), color);
    gradient.setColorAt(diameter / 2 / outer, half);
    gradient.setColorAt(1, Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    painter.drawEllipse(QPointF(outer, outer), outer, outer);
    return image;
}

QSGNode *CircleShadow::updatePaintNode(QSGNode *oldNode, UpdatePaintNodeData *)
{
    auto *fade = static_cast<QSGOpacityNode *>(oldNode);
    if (width() <= 0 || m_color.alpha() == 0) {
        delete fade;
        m_imageStale = true;
        return nullptr;
    }
    if (!fade) {
        fade = new QSGOpacityNode;
        QSGImageNode *image = window()->createImageNode();
        image->setOwnsTexture(true);
        image->setFiltering(QSGTexture::Linear);
        fade->appendChildNode(image);
        m_imageStale = true;
    }
    auto *image = static_cast<QSGImageNode *>(fade->firstChild());
    if (m_imageStale) {
        const QImage painted = paint(m_diameter, m_blur, m_color,
                                     window()->effectiveDevicePixelRatio());
        image->setTexture(window()->createTextureFromImage(painted));
        m_imageStale = false;
    }
    fade->setOpacity(m_color.alphaF());
    image->setRect(QRectF(0, 0, 2 * (m_diameter / 2 + m_blur), 2 * (m_diameter / 2 + m_blur)));
    return fade;
}

void CircleShadow::itemChange(ItemChange change, const ItemChangeData &value)
{
    QQuickItem::itemChange(change, value);
    // A window of another pixel density wants an image of another size.
    if (change == ItemDevicePixelRatioHasChanged || change == ItemSceneChange)
        repaint();
}

void CircleShadow::resize()
{
    const qreal side = 2 * (m_diameter / 2 + m_blur);
    setImplicitSize(side, side);
}

void CircleShadow::repaint()
{
    m_imageStale = true;
    update();
}
