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
    painter->save();
    setupPainter(painter);
    QPen pen = painter->pen();
    pen.setWidth(paintedWidth());
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    painter->setOpacity(0.5);
    // One path drawn at once: where the stroke crosses itself it is no darker, as with ink.
    QPainterPath path;
    forEachSegment(painter, [&path](const QPointF &a, const QPointF &b) {
        path.moveTo(a);
        path.lineTo(b);
    });
    painter->drawPath(path);
    painter->restore();
    AbstractGraphItem::paint(painter);
}
