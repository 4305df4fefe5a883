#include "rectitem.h"

#include "historystack.h"
#include "kpainterarea.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPathStroker>
#include <QUndoStack>

namespace {

bool onlyLeftButtonHeld()
{
    return QGuiApplication::mouseButtons() == Qt::LeftButton;
}

} // namespace

RectItem::RectItem(QQuickItem *parent)
    : AbstractGraphItem(parent)
{
    setName(QStringLiteral("Rect"));
}

void RectItem::setRectangle(const QRectF &rectangle)
{
    m_rectangle = rectangle;
    setGeometry(m_rectangle);
    createKeyPosition();
    update();
}

void RectItem::setRect(const QRectF &box)
{
    const QRectF n = box.normalized();
    const int m = boxMargin();
    const int grow = lineWidth() + 10;
    m_rectangle = QRectF(n.x() + m, n.y() + m, n.width() - grow, n.height() - grow);
    setGeometry(m_rectangle);
    update();
    createKeyPosition();
}

void RectItem::resize(const QRectF &r)
{
    m_lastFarCorner = QPointF(r.x() + r.width(), r.y() + r.height());
    m_drawing = true;
    reshape(r);
}

void RectItem::reshape(const QRectF &r)
{
    if (spaceHeld())
        moveFarCorner(r);
    else if (!QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier) || m_dragged)
        growFromAnchor(r);
    else
        square(r);
    setGeometry(m_rectangle);
    createKeyPosition();
    update();
}

void RectItem::moveFarCorner(const QRectF &r)
{
    // The size stays whole so that the shape does not shimmer while it travels.
    const double w = int(m_rectangle.width());
    const double h = int(m_rectangle.height());
    const double x = int(r.x() + r.width() - w);
    const double y = int(r.y() + r.height() - h);
    m_rectangle = QRectF(x, y, w, h);
    // Growing resumes from where the move left the shape once Space is released.
    m_anchor = QPointF(x, y);
}

void RectItem::growFromAnchor(const QRectF &r)
{
    if (m_anchor.isNull())
        m_anchor = r.topLeft();
    m_rectangle = QRectF(m_anchor.x(), m_anchor.y(), r.x() + r.width() - m_anchor.x(),
        r.y() + r.height() - m_anchor.y());
}

void RectItem::square(QRectF r)
{
    // Once the shape exists its corner stays where it is (Space may have moved it away from the
    // start point); only the far corner comes from the request.
    if (m_rectangle.width() != 0 || m_rectangle.height() != 0) {
        const QPointF far(r.x() + r.width(), r.y() + r.height());
        r = QRectF(
            m_rectangle.topLeft(), QSizeF(far.x() - m_rectangle.x(), far.y() - m_rectangle.y()));
    }
    const QRectF n = r.normalized();
    const double side = int(n.width() < n.height() ? n.width() : n.height());
    const int ox = int(r.x());
    const int oy = int(r.y());
    const double fx = r.x() + r.width();
    const double fy = r.y() + r.height();
    double w = side;
    double h = side;
    if (fy > oy) {
        w = fx > ox ? side : -side;
    } else if (fy == oy) {
        w = -side;
    } else if (fx > ox) {
        h = -side;
    } else if (fx == ox) {
        w = -side;
    } else {
        w = h = -side;
    }
    m_rectangle = QRectF(r.x(), r.y(), w, h);
}

QRect RectItem::paintedRect() const
{
    const QRectF n = m_rectangle.normalized();
    return QRect(boxMargin(), boxMargin(), int(n.width()), int(n.height()));
}

void RectItem::paint(QPainter *painter)
{
    setupPainter(painter);
    painter->drawRect(paintedRect());
    AbstractGraphItem::paint(painter);
}

QPainterPath RectItem::shape() const
{
    QPainterPath path;
    path.addRect(paintedRect());
    return withStroke(path);
}

QPainterPath RectItem::withStroke(const QPainterPath &path) const
{
    QPainterPathStroker stroker;
    stroker.setWidth(lineWidth());
    return path.united(stroker.createStroke(path));
}

void RectItem::move(double nx, double ny)
{
    if (nx == x() && ny == y())
        return;
    m_rectangle.translate(nx - x(), ny - y());
    setGeometry(m_rectangle);
    createKeyPosition();
}

void RectItem::rebuildKeyPosition()
{
    setGeometry(m_rectangle);
    createKeyPosition();
}

void RectItem::rescale(double f)
{
    move(x() * f, y() * f);
    setRect(QRectF(x(), y(), width() * f, height() * f));
}

void RectItem::createKeyPosition()
{
    const int m = m_margin;
    const double w = width();
    const double h = height();
    const int left = m + 2;
    const int top = m + 2;
    const int right = int(w - m);
    const int bottom = int(h - m);
    const int midX = int(w * 0.5);
    const int midY = int(h * 0.5);
    setKeyPositions({QPointF(left, top), QPointF(midX, top), QPointF(right, top),
        QPointF(right, midY), QPointF(right, bottom), QPointF(midX, bottom), QPointF(left, midY),
        QPointF(left, bottom), QPointF(midX, midY)});
}

void RectItem::keyPressEvent(QKeyEvent *event)
{
    AbstractGraphItem::keyPressEvent(event);
    // Shift or Space pressed while drawing takes effect without waiting for a move. A finished
    // shape is left alone: the button may be held elsewhere, and nothing would record the change.
    if (m_drawing && onlyLeftButtonHeld())
        reshape(m_rectangle);
}

void RectItem::keyReleaseEvent(QKeyEvent *event)
{
    AbstractGraphItem::keyReleaseEvent(event);
    // Releasing Shift or Space while drawing puts the far corner back under the pointer.
    if (m_drawing && onlyLeftButtonHeld())
        reshape(QRectF(m_rectangle.topLeft(),
            QSizeF(m_lastFarCorner.x() - m_rectangle.x(), m_lastFarCorner.y() - m_rectangle.y())));
}

void RectItem::normalize()
{
    m_rectangle = m_rectangle.normalized();
    // Both the tool and a drag normalise the shape when they are done with it.
    m_drawing = false;
}

void RectItem::mousePressEvent(QMouseEvent *event)
{
    AbstractGraphItem::mousePressEvent(event);
    m_anchor = QPointF();
    m_pressRectangle = m_rectangle;
    m_pressPoint = roundedPoint(event->screenPos());
    m_dragged = false;
    m_drawing = false;
}

void RectItem::mouseMoveEvent(QMouseEvent *event)
{
    AbstractGraphItem::mouseMoveEvent(event);
    m_dragged = true;
    const QPoint s = roundedPoint(event->screenPos());
    double dx = m_pressPoint.x() - s.x();
    double dy = m_pressPoint.y() - s.y();
    const Edges e = edges();
    const double w = m_rectangle.width();
    const double h = m_rectangle.height();
    // A shape with a side of zero has no ratio to keep.
    if (event->modifiers().testFlag(Qt::ShiftModifier) && !e.side && w != 0 && h != 0) {
        const bool rising = (e.right && e.top) || (e.left && e.bottom);
        if (dx == 0)
            dx = (rising ? -1 : 1) * (w / h) * dy;
        else
            dy = (rising ? -1 : 1) * (h / w) * dx;
    }
    dragBy(dx, dy);
    m_pressPoint = s;
}

// dx and dy are the pointer's motion with the sign turned, as the edges table takes them.
void RectItem::dragBy(double dx, double dy)
{
    const Edges e = edges();
    double x = m_rectangle.x();
    double y = m_rectangle.y();
    double w = m_rectangle.width();
    double h = m_rectangle.height();
    if (e.left && e.top) {
        x -= dx;
        y -= dy;
        w += dx;
        h += dy;
    } else if (e.right && e.top) {
        y -= dy;
        w -= dx;
        h += dy;
    } else if (e.top && e.side) {
        y -= dy;
        h += dy;
    } else if (e.right && e.bottom) {
        w -= dx;
        h -= dy;
    } else if (e.left && e.bottom) {
        x -= dx;
        w += dx;
        h -= dy;
    } else if (e.bottom && e.side) {
        h -= dy;
    } else if (e.left && e.side) {
        x -= dx;
        w += dx;
    } else if (e.right && e.side) {
        w -= dx;
    } else {
        // A move: the shape lands on whole pixels, and its handles stay as they are.
        m_rectangle = QRectF(int(x - dx), int(y - dy), int(w), int(h));
        setGeometry(m_rectangle);
        return;
    }
    m_rectangle = QRectF(x, y, w, h);
    setGeometry(m_rectangle);
    createKeyPosition();
    update();
}

QUndoCommand *RectItem::changeCommand(const QRectF &newRect, const QRectF &oldRect)
{
    return new RectChange(this, newRect, oldRect);
}

void RectItem::mouseReleaseEvent(QMouseEvent *event)
{
    normalize();
    // The whole drag is one undo step; a drag that ends where it began is none.
    if (m_dragged && m_rectangle != m_pressRectangle.normalized() && paintScene())
        paintScene()->undoStack()->push(changeCommand(m_rectangle, m_pressRectangle));
    m_dragged = false;
    AbstractGraphItem::mouseReleaseEvent(event);
    setGeometry(m_rectangle);
    createKeyPosition();
    update();
}
