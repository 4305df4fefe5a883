#include "lineitem.h"

#include "historystack.h"
#include "kpainterarea.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPathStroker>
#include <QUndoStack>

namespace {

// The box reaches this far beyond the segment, so that the arrow head, the pen's round caps and
// the handles always fit in it.
constexpr double kMargin = 45;
// Below this distance from an axis, Shift lays the end on the axis instead of the diagonal.
constexpr double kSnap = 40;

QPointF snapped(const QPointF &s, const QPointF &e)
{
    const double dx = e.x() - s.x();
    const double dy = e.y() - s.y();
    if (qAbs(dy) < kSnap && dx != 0)
        return QPointF(e.x(), s.y());
    if (qAbs(dx) < kSnap)
        return QPointF(s.x(), e.y());
    return QPointF(s.x() + dx, s.y() + (dy < 0 ? -qAbs(dx) : qAbs(dx)));
}

QLineF reversed(const QLineF &line)
{
    return QLineF(line.p2(), line.p1());
}

} // namespace

LineItem::LineItem(QQuickItem *parent)
    : AbstractGraphItem(parent)
{
    setName(QStringLiteral("Line"));
}

void LineItem::setLine(const QPointF &a, const QPointF &b)
{
    const QPointF start = isDegenerate() ? a : m_line.p1();
    setLineExactly(requested(m_line, start, b));
}

// The line whose moving end the pointer puts at `to`, while `from` is the end that stays.
QLineF LineItem::requested(const QLineF &current, const QPointF &from, const QPointF &to)
{
    // A line without length has nothing to carry.
    if (spaceHeld() && current.p1() != current.p2()) {
        const QPointF d = current.p2() - to;
        setMoved(true);
        return QLineF(current.p1() - d, to);
    }
    if (!isMoved() && QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier))
        return QLineF(from, snapped(from, to));
    return QLineF(from, to);
}

void LineItem::setLineExactly(const QLineF &line)
{
    m_line = line;
    setGeometry(QRectF(line.p1(), line.p2()));
    m_localLine = line.translated(-position());
    createKeyPosition();
    update();
}

void LineItem::drawTo(const QPoint &start, const QPoint &pointer)
{
    m_drive = Drive::End;
    m_pointer = pointer;
    setLine(start, pointer);
}

void LineItem::finishDrawing()
{
    m_drive = Drive::None;
}

void LineItem::followPointer(const QPointF &pointer)
{
    m_pointer = pointer;
    // The start follows the pointer as the end does, with the end staying: Shift snaps it
    // around the end and Space carries the whole line behind it.
    if (m_drive == Drive::Start)
        setLineExactly(reversed(requested(reversed(m_line), m_line.p2(), pointer)));
    else
        setLine(m_line.p1(), pointer);
}

void LineItem::setGeometry(const QRectF &r)
{
    setBoxGeometry(r.normalized().adjusted(-kMargin, -kMargin, kMargin, kMargin));
}

void LineItem::setRect(const QRectF &r)
{
    const QRectF box = r.normalized();
    const QSizeF old = size();
    setBoxGeometry(box);
    // A line that never got a box (a click of the tool) has nothing to scale.
    if (!old.isEmpty()) {
        const double fx = box.width() / old.width();
        const double fy = box.height() / old.height();
        m_localLine = QLineF(m_localLine.x1() * fx, m_localLine.y1() * fy, m_localLine.x2() * fx,
            m_localLine.y2() * fy);
    }
    m_line = m_localLine.translated(position());
    update();
    createKeyPosition();
}

void LineItem::move(double x, double y)
{
    const QPointF to(x, y);
    if (to == position())
        return;
    m_line.translate(to - position());
    setBoxGeometry(QRectF(to, size()));
    createKeyPosition();
}

void LineItem::rebuildKeyPosition()
{
    createKeyPosition();
}

void LineItem::rescale(double f)
{
    move(x() * f, y() * f);
    setRect(QRectF(x(), y(), width() * f, height() * f));
}

void LineItem::createKeyPosition()
{
    setKeyPositions({m_localLine.p1(), m_localLine.p2(), m_localLine.center()});
}

void LineItem::paint(QPainter *painter)
{
    setupPainter(painter);
    painter->drawLine(m_localLine);
    AbstractGraphItem::paint(painter);
}

QPainterPath LineItem::shape() const
{
    QPainterPath segment(m_localLine.p1());
    segment.lineTo(m_localLine.p2());
    QPen pen;
    pen.setWidth(shapeWidth());
    QPainterPath path = QPainterPathStroker(pen).createStroke(segment);
    for (const QPointF &k : keyPositions()) {
        QPainterPath handle;
        handle.addEllipse(k, 5, 5);
        path = path.united(handle);
    }
    return path;
}

bool LineItem::contains(const QPointF &point) const
{
    return shape().contains(point);
}

void LineItem::keyPressEvent(QKeyEvent *event)
{
    AbstractGraphItem::keyPressEvent(event);
    // Shift or Space takes effect without waiting for the pointer to move.
    if (m_drive != Drive::None && QGuiApplication::mouseButtons().testFlag(Qt::LeftButton))
        followPointer(m_pointer);
}

void LineItem::keyReleaseEvent(QKeyEvent *event)
{
    AbstractGraphItem::keyReleaseEvent(event);
    // A released key puts the moving end back under the pointer.
    if (m_drive != Drive::None && QGuiApplication::mouseButtons().testFlag(Qt::LeftButton))
        followPointer(m_pointer);
}

// The line lives in canvas coordinates, so the pointer is taken there too: the canvas need not
// stand at the screen's origin.
QPoint LineItem::canvasPoint(const QMouseEvent *event) const
{
    return roundedPoint(mapToItem(parentItem(), event->localPos()));
}

void LineItem::mousePressEvent(QMouseEvent *event)
{
    AbstractGraphItem::mousePressEvent(event);
    m_pressLine = m_line;
    m_drive = Drive::None;
    if (isResizing() && activeKey() == m_localLine.p2())
        m_drive = Drive::End;
    else if (isResizing() && activeKey() == m_localLine.p1())
        m_drive = Drive::Start;
    m_pressPoint = canvasPoint(event);
    m_pointer = m_pressPoint;
}

void LineItem::mouseMoveEvent(QMouseEvent *event)
{
    AbstractGraphItem::mouseMoveEvent(event);
    const QPoint pointer = canvasPoint(event);
    if (m_drive == Drive::None) {
        // The body or the midpoint: the whole line travels with the pointer.
        const QPoint d = pointer - m_pressPoint;
        move(x() + d.x(), y() + d.y());
        setMoved(true);
    } else {
        followPointer(pointer);
    }
    m_pressPoint = pointer;
}

void LineItem::mouseReleaseEvent(QMouseEvent *event)
{
    // An end drag is recorded whole by its line change, even when Space carried the line; a
    // drag that ends where it began is no step at all.
    if (m_drive != Drive::None || m_line == m_pressLine)
        setMoved(false);
    AbstractGraphItem::mouseReleaseEvent(event);
    if (m_drive != Drive::None && m_line != m_pressLine && paintScene())
        paintScene()->undoStack()->push(new LineChange(this, m_line, m_pressLine));
    m_drive = Drive::None;
}
