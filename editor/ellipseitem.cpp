#include "ellipseitem.h"

#include <QPainter>

EllipseItem::EllipseItem(QQuickItem *parent)
    : RectItem(parent)
{
    setName(QStringLiteral("Ellipse"));
}

void EllipseItem::paint(QPainter *painter)
{
    setupPainter(painter);
    painter->drawEllipse(paintedRect());
    AbstractGraphItem::paint(painter);
}

QPainterPath EllipseItem::shape() const
{
    QPainterPath path;
    path.addEllipse(paintedRect());
    return withStroke(path);
}
