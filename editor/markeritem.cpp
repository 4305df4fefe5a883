#include "markeritem.h"

#include <QPainter>
#include <QPainterPath>

MarkerItem::MarkerItem(QQuickItem *parent)
    : PenItem(parent)
{
    setName(QStringLiteral("Marker"));
}

void MarkerItem::paint(QPainter *painter)
{
    const QList<QPointF> points = displayedPoints();
    painter->save();
    setupPainter(painter);
    QPen pen = painter->pen();
    pen.setWidth(paintedWidth());
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    painter->setOpacity(0.5);
    // One path drawn at once: where the stroke crosses itself it is no darker, as with ink.
    QPainterPath path;
    if (!points.isEmpty())
        path.moveTo(points.first());
    for (int i = 1; i < points.size(); ++i) {
        path.lineTo(points.at(i));
        path.moveTo(points.at(i));
    }
    painter->drawPath(path);
    painter->restore();
    AbstractGraphItem::paint(painter);
}
