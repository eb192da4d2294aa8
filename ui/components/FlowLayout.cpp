#include "FlowLayout.h"

#include <limits>

FlowLayout::FlowLayout(QQuickItem *parent) : QQuickItem(parent) { }

void FlowLayout::setSpacing(qreal spacing)
{
    m_spacing = spacing;
    emit spacingChanged();
    relayout();
}

QSizeF FlowLayout::measure(std::optional<qreal> offeredWidth, const QList<QSizeF> &childSizes,
                           qreal spacing)
{
    const qreal maxWidth = offeredWidth.value_or(std::numeric_limits<qreal>::infinity());
    qreal x = 0;
    qreal y = 0;
    qreal rowHeight = 0;
    for (const QSizeF &size : childSizes) {
        if (x > 0 && x + size.width() > maxWidth) {
            x = 0;
            y += rowHeight + spacing;
            rowHeight = 0;
        }
        x += size.width() + spacing;
        rowHeight = std::max(rowHeight, size.height());
    }
    return {maxWidth, y + rowHeight};
}

QList<QPointF> FlowLayout::place(const QRectF &granted, const QList<QSizeF> &childSizes,
                                 qreal spacing)
{
    QList<QPointF> positions;
    positions.reserve(childSizes.size());
    qreal x = granted.left();
    qreal y = granted.top();
    qreal rowHeight = 0;
    for (const QSizeF &size : childSizes) {
        if (x > granted.left() && x + size.width() > granted.right()) {
            x = granted.left();
            y += rowHeight + spacing;
            rowHeight = 0;
        }
        positions.append({x, y});
        x += size.width() + spacing;
        rowHeight = std::max(rowHeight, size.height());
    }
    return positions;
}

void FlowLayout::componentComplete()
{
    QQuickItem::componentComplete();
    relayout();
}

void FlowLayout::itemChange(ItemChange change, const ItemChangeData &value)
{
    if (change == ItemChildAddedChange) {
        connect(value.item, &QQuickItem::implicitWidthChanged, this, &FlowLayout::relayout);
        connect(value.item, &QQuickItem::implicitHeightChanged, this, &FlowLayout::relayout);
        relayout();
    } else if (change == ItemChildRemovedChange) {
        disconnect(value.item, nullptr, this, nullptr);
        relayout();
    }
    QQuickItem::itemChange(change, value);
}

void FlowLayout::geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    QQuickItem::geometryChange(newGeometry, oldGeometry);
    if (newGeometry.width() != oldGeometry.width())
        relayout();
}

QList<QQuickItem *> FlowLayout::laidOutChildren() const
{
    QList<QQuickItem *> children;
    for (QQuickItem *child : childItems()) {
        // A Repeater sits among the items it makes but is not one of them.
        if (child->inherits("QQuickRepeater"))
            continue;
        children.append(child);
    }
    return children;
}

void FlowLayout::relayout()
{
    if (!isComponentComplete() || m_inLayout)
        return;
    m_inLayout = true;

    const QList<QQuickItem *> children = laidOutChildren();
    QList<QSizeF> sizes;
    sizes.reserve(children.size());
    for (QQuickItem *child : children)
        sizes.append({child->implicitWidth(), child->implicitHeight()});

    // Unconstrained, the layout is as wide as its one line, without spacing after the last.
    qreal lineWidth = 0;
    for (const QSizeF &size : sizes)
        lineWidth += size.width();
    if (!sizes.isEmpty())
        lineWidth += m_spacing * qreal(sizes.size() - 1);
    setImplicitWidth(lineWidth);
    setImplicitHeight(measure(width(), sizes, m_spacing).height());

    const QList<QPointF> positions = place(QRectF(0, 0, width(), 0), sizes, m_spacing);
    for (qsizetype i = 0; i < children.size(); ++i) {
        children[i]->setPosition(positions[i]);
        children[i]->setSize(sizes[i]);
    }
    m_inLayout = false;
}
