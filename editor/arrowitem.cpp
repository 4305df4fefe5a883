#include "arrowitem.h"

#include "textitem.h"

#include <QPainter>
#include <QPolygonF>

namespace {

// The head's wings stand out from its base by the head length divided by this, the shaft's
// corners by the head length divided by the second; single precision, as the look was tuned.
constexpr float kWing = 1.4700383f;
constexpr float kShaft = 4.027802f;
// Arrows shorter than this get a smaller head, so that the head never hides the shaft.
constexpr double kFullLength = 80;
constexpr double kSmallestScale = 0.3;

QPointF aside(const QPointF &at, float vx, float vy, float divisor)
{
    return QPointF(at.x() + vy / divisor, at.y() - vx / divisor);
}

} // namespace

ArrowItem::ArrowItem(QQuickItem *parent)
    : LineItem(parent)
{
    setName(QStringLiteral("Arrow"));
}

void ArrowItem::setLine(const QPointF &a, const QPointF &b)
{
    if (m_reverse)
        LineItem::setLine(b, a);
    else
        LineItem::setLine(a, b);
}

void ArrowItem::setTextItem(TextItem *item)
{
    m_textItem = item;
    rebuildKeyPosition();
}

TextItem *ArrowItem::textItem() const
{
    return m_textItem;
}

void ArrowItem::createKeyPosition()
{
    // The start belongs to the text box, which moves it; only the head is the user's.
    if (m_textItem)
        setKeyPositions({localLine().p2()});
    else
        setKeyPositions({localLine().p1(), localLine().p2(), localLine().center()});
}

void ArrowItem::mouseMoveEvent(QMouseEvent *event)
{
    LineItem::mouseMoveEvent(event);
    emit positionChange();
}

double ArrowItem::headScale(double length) const
{
    const double full = (lineWidth() - 1) * 0.1 + 1.0;
    if (length > kFullLength)
        return full;
    return (full - kSmallestScale) / kFullLength * length + kSmallestScale;
}

void ArrowItem::paint(QPainter *painter)
{
    // Nothing to point with on the shortest arrows, but the handles still show.
    if (localLine().length() > 1)
        paintArrow(painter);
    AbstractGraphItem::paint(painter);
}

void ArrowItem::paintArrow(QPainter *painter) const
{
    // A reversed arrow points at the start of its line.
    const QLineF line = m_reverse ? QLineF(localLine().p2(), localLine().p1()) : localLine();
    const double length = line.length();
    const double s = headScale(length);
    const QPointF tail = line.p1();
    const QPointF tip = line.p2();
    // The point k scaled pixels before the tip; behind the tail on the very shortest arrows.
    const auto before = [&](double k) { return tail + (tip - tail) * ((length - k * s) / length); };
    const QPointF base = before(10);
    const float vx = float(tip.x() - base.x());
    const float vy = float(tip.y() - base.y());
    const QPointF shaftEnd = before(6);

    setupPainter(painter);
    QPen pen(color(), 3);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    painter->setPen(pen);
    painter->setBrush(color());
    painter->drawPolygon(
        QPolygonF({tip, aside(base, vx, vy, kWing), before(8), aside(base, -vx, -vy, kWing)}),
        Qt::OddEvenFill);
    painter->drawPolygon(
        QPolygonF({tip, aside(shaftEnd, vx, vy, kShaft), tail, aside(shaftEnd, -vx, -vy, kShaft)}),
        Qt::OddEvenFill);
}
