#include "counteritem.h"

#include "historystack.h"
#include "kpainterarea.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QUndoStack>

namespace {

constexpr double kBulletRadius = 10;
// How far the bullet's centre lies outside the frame's corner.
constexpr int kBulletOffset = 7;

QPainterPath circle(const QPointF &centre, double radius)
{
    QPainterPath path;
    path.addEllipse(centre, radius, radius);
    return path;
}

} // namespace

CounterItem::CounterItem(int number, QQuickItem *parent)
    : RectItem(parent)
    , m_number(number)
{
    setName(QStringLiteral("Counter"));
    setMargin(20);
    m_font.setWeight(QFont::Bold);
}

bool CounterItem::isPoint(const QRectF &r)
{
    const QRectF n = r.normalized();
    return n.width() <= 3 && n.height() <= 3;
}

void CounterItem::setDrawCouter(bool draw)
{
    m_drawCounter = draw;
    update();
}

void CounterItem::setBulletPos(bool right, bool bottom)
{
    m_bulletRight = right;
    m_bulletBottom = bottom;
    update();
}

void CounterItem::setGeometry(const QRectF &r)
{
    QRectF n = r.normalized();
    // A lone bullet gets a box of its own around the point.
    if (isPoint(n))
        n = QRectF(n.right() - 10, n.bottom() - 10, n.width() + 20, n.height() + 20);
    const int m = margin();
    setBoxGeometry(
        QRectF(n.x() - m, n.y() - m, n.width() + lineWidth() + 40, n.height() + lineWidth() + 40));
}

void CounterItem::resize(const QRectF &r)
{
    if (isPoint(r))
        setRectangle(r);
    else
        RectItem::resize(r);
    m_lastRectangle = rectangle();
    createKeyPosition();
    update();
}

void CounterItem::normalize()
{
    RectItem::normalize();
    m_lastRectangle = rectangle();
}

void CounterItem::rescale(double f)
{
    // A bullet keeps its size on a zoomed picture; a frame follows the picture.
    const QRectF r = rectangle();
    const QSizeF size = isPointCounter() ? r.size() : r.size() * f;
    setRectangle(QRectF(r.topLeft() * f, size));
    m_lastRectangle = rectangle();
}

void CounterItem::createKeyPosition()
{
    if (!isPointCounter()) {
        RectItem::createKeyPosition();
        return;
    }
    const int m = 20;
    const double w = width();
    const double h = height();
    setKeyPositions({QPointF(m, m), QPointF(w - m, m), QPointF(w - m, h - m), QPointF(m, h - m),
        QPointF(w * 0.5, h * 0.5)});
}

QPointF CounterItem::bulletCentre() const
{
    if (isPointCounter())
        return QPointF(width() * 0.5, height() * 0.5);
    const int m = margin();
    const double w = rectangle().width();
    const double h = rectangle().height();
    const double before = m - kBulletOffset;
    const double afterX = m + w + kBulletOffset;
    const double afterY = m + h + kBulletOffset;
    const double cx = w > 3 ? (m_bulletRight ? afterX : before) : (m_bulletRight ? before : afterX);
    const double cy
        = h > 3 ? (m_bulletBottom ? afterY : before) : (m_bulletBottom ? before : afterY);
    return QPointF(cx, cy);
}

QColor CounterItem::textColor() const
{
    const QColor c = color();
    if (c.red() > 200 && c.green() > 200 && c.blue() > 200)
        return QColor(255 - c.red(), 255 - c.green(), 255 - c.blue());
    return QColor(Qt::white);
}

void CounterItem::paint(QPainter *painter)
{
    setupPainter(painter);
    const QRectF n = rectangle().normalized();
    if (!isPointCounter())
        painter->drawRect(QRect(margin(), margin(), int(n.width()), int(n.height())));
    painter->setOpacity(1.0);
    QPen pen = painter->pen();
    pen.setWidth(2);
    painter->setPen(pen);
    painter->setBrush(pen.color());
    if (m_drawCounter) {
        const QPointF c = bulletCentre();
        painter->drawEllipse(c, kBulletRadius, kBulletRadius);
        const QString text = QString::number(m_number);
        const QFontMetrics metrics(m_font);
        painter->setFont(m_font);
        painter->setPen(textColor());
        painter->drawText(QPoint(int(c.x() - metrics.horizontalAdvance(text) / 2),
                              int(c.y() + metrics.height() / 3)),
            text);
    }
    AbstractGraphItem::paint(painter);
}

QPainterPath CounterItem::shape() const
{
    const QRectF n = rectangle().normalized();
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    if (n.width() < 10 && n.height() < 10) {
        // The bullet itself, where it is drawn, is what a press picks.
        path = circle(bulletCentre(), m_number >= 10 ? 12 : kBulletRadius);
    } else {
        const QRectF frame(margin(), margin(), int(n.width()), int(n.height()));
        path.addRect(frame);
        QPainterPath inside;
        inside.addRect(frame.adjusted(5, 5, -5, -5));
        path = path.subtracted(inside);
        if (m_drawCounter)
            path = path.united(circle(bulletCentre(), kBulletRadius));
    }
    for (const QPointF &k : keyPositions())
        path = path.united(circle(k, 5));
    return path;
}

void CounterItem::mousePressEvent(QMouseEvent *event)
{
    RectItem::mousePressEvent(event);
    m_dragPoint = roundedPoint(event->screenPos());
    m_pointDragged = false;
    m_pressBulletRight = m_bulletRight;
    m_pressBulletBottom = m_bulletBottom;
}

void CounterItem::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint s = roundedPoint(event->screenPos());
    const Edges e = edges();
    const QRectF r = rectangle();
    const bool corner = e.left || e.top || e.right || e.bottom;
    if (r.width() <= 3 && r.height() <= 3 && (e.side || !corner)) {
        // A lone bullet has no sides to drag: any drag but a corner's carries it along.
        AbstractGraphItem::mouseMoveEvent(event);
        const QPoint d = s - m_dragPoint;
        setRectangle(QRectF(int(r.x() + d.x()), int(r.y() + d.y()), r.width(), r.height()));
        m_dragPoint = s;
        m_pointDragged = true;
        return;
    }
    RectItem::mouseMoveEvent(event);
    m_dragPoint = s;
    // The bullet stays where it was while a frame grows out of it.
    if (m_lastRectangle.width() <= 3 && rectangle().width() > 3)
        m_bulletRight = e.left;
    if (m_lastRectangle.height() <= 3 && rectangle().height() > 3)
        m_bulletBottom = e.top;
}

void CounterItem::mouseReleaseEvent(QMouseEvent *event)
{
    // A frame dragged inside out keeps its bullet on the same corner of the picture; the
    // corner is settled before the drag's undo step takes it.
    const QRectF before = rectangle();
    if (before.width() < 0)
        m_bulletRight = !m_bulletRight;
    if (before.height() < 0)
        m_bulletBottom = !m_bulletBottom;
    RectItem::mouseReleaseEvent(event);
    // A carried bullet is an edit like any other, and undo puts it back.
    if (m_pointDragged && rectangle() != pressRectangle() && paintScene())
        paintScene()->undoStack()->push(changeCommand(rectangle(), pressRectangle()));
    m_pointDragged = false;
    m_lastRectangle = rectangle();
    update();
}

QUndoCommand *CounterItem::changeCommand(const QRectF &newRect, const QRectF &oldRect)
{
    return new CounterChange(this, newRect, oldRect, {m_bulletRight, m_bulletBottom},
        {m_pressBulletRight, m_pressBulletBottom});
}
