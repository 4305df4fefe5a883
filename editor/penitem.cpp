#include "penitem.h"

#include "historystack.h"
#include "kpainterarea.h"

#include <QMouseEvent>
#include <QMutexLocker>
#include <QPainter>
#include <QPainterPathStroker>
#include <QUndoStack>
#include <cmath>

namespace {

// The box keeps this much room around the stroke while it grows.
constexpr int kGrowMargin = 15;

double ratio(double to, double from)
{
    const double a = to == 0 ? 1 : qAbs(to);
    const double b = from == 0 ? 1 : qAbs(from);
    return a / b;
}

// r turned over on the axes on which like is turned over, so that it names the same box.
QRectF flippedLike(const QRectF &r, const QRectF &like)
{
    QRectF out = r;
    if (like.width() < 0)
        out = QRectF(out.x() + out.width(), out.y(), -out.width(), out.height());
    if (like.height() < 0)
        out = QRectF(out.x(), out.y() + out.height(), out.width(), -out.height());
    return out;
}

} // namespace

QList<QPointF> PenItem::Stroke::bufferCopy() const
{
    QMutexLocker locker(&lock);
    return buffer;
}

QList<QPointF> PenItem::Stroke::paintCopy() const
{
    QMutexLocker locker(&lock);
    return paint;
}

void PenItem::Stroke::setPaint(const QList<QPointF> &list)
{
    QMutexLocker locker(&lock);
    paint = list;
}

PenItem::PenItem(QQuickItem *parent)
    : AbstractGraphItem(parent)
    , m_stroke(std::make_shared<Stroke>())
{
    setName(QStringLiteral("Pen"));
    connect(this, &AbstractGraphItem::lineWidthChanged, this, &PenItem::fitStroke);
}

int PenItem::growMargin() const
{
    // A wide marker reaches further than the usual margin; its edge must not be cut off.
    return qMax(kGrowMargin, paintedWidth() / 2 + 1);
}

void PenItem::addPoint(const QPointF &p)
{
    const int w = lineWidth();
    const int m = growMargin();
    const QRectF inner = geometry().normalized().adjusted(m, m, -m, -m);
    if (width() == 0 && height() == 0) {
        // The first point's cap needs room on every side: a stroke heading left or up never
        // widens the box beyond it again.
        const int a = qMax(w + 5, m);
        setGeometry(QRectF(int(p.x() - a), int(p.y() - a), 2 * a, 2 * a));
    } else if (!inner.contains(p)) {
        QRectF g = geometry();
        if (p.x() > inner.right())
            g.setWidth(int(p.x() - inner.right() + g.width()));
        if (p.y() > inner.bottom())
            g.setHeight(int(p.y() - inner.bottom() + g.height() + w));
        if (p.x() < inner.left()) {
            const float d = float(inner.left() - p.x());
            movePoint(w + d, 0);
            g = QRectF(int(g.x() - d - w), g.y(), int(g.width() + d + w), g.height());
        }
        if (p.y() < inner.top()) {
            const float d = float(inner.top() - p.y());
            movePoint(0, w + d);
            g = QRectF(g.x(), int(g.y() - d - w), g.width(), int(g.height() + d + w));
        }
        setGeometry(g);
    }
    m_rect = geometry();
    {
        QMutexLocker locker(&m_stroke->lock);
        m_stroke->buffer.append(p - position());
    }
    update();
    createKeyPosition();
}

// A wider line needs more room around the stroke than the box kept for the old one.
void PenItem::fitStroke()
{
    const QList<QPointF> points = m_stroke->paintCopy();
    if (points.isEmpty() || m_rect.width() < 0 || m_rect.height() < 0)
        return;
    QRectF need(points.first(), QSizeF());
    for (const QPointF &p : points)
        need |= QRectF(p, QSizeF(0, 0));
    const int r = paintedWidth() / 2 + 1;
    need.adjust(-r, -r, r, r);
    const double left = qMin(0.0, std::floor(need.left()));
    const double top = qMin(0.0, std::floor(need.top()));
    const double right = qMax(width(), std::ceil(need.right()));
    const double bottom = qMax(height(), std::ceil(need.bottom()));
    if (left == 0 && top == 0 && right == width() && bottom == height())
        return;
    {
        QMutexLocker locker(&m_stroke->lock);
        for (QPointF &point : m_stroke->paint)
            point -= QPointF(left, top);
        for (QPointF &point : m_stroke->buffer)
            point -= QPointF(left, top);
    }
    takeRect(QRectF(x() + left, y() + top, right - left, bottom - top));
}

void PenItem::movePoint(float dx, float dy)
{
    {
        QMutexLocker locker(&m_stroke->lock);
        for (QPointF &point : m_stroke->buffer)
            point += QPointF(dx, dy);
    }
    update();
}

void PenItem::removeLastPoint()
{
    QMutexLocker locker(&m_stroke->lock);
    if (!m_stroke->buffer.isEmpty())
        m_stroke->buffer.removeLast();
}

int PenItem::countPoint() const
{
    QMutexLocker locker(&m_stroke->lock);
    return m_stroke->buffer.size();
}

QList<QPointF> PenItem::getBufferPoint() const
{
    return m_stroke->bufferCopy();
}

QList<QPointF> PenItem::getPaintPoint() const
{
    return m_stroke->paintCopy();
}

void PenItem::setPaintPoint(const QList<QPointF> &list)
{
    m_stroke->setPaint(list);
    update();
}

void PenItem::setGeometry(const QRectF &r)
{
    setBoxGeometry(r);
}

void PenItem::createKeyPosition()
{
    const double w = width();
    const double h = height();
    setKeyPositions({QPointF(5, 5), QPointF(int(w * 0.5), 5), QPointF(int(w - 5), 5),
        QPointF(int(w - 5), int(h * 0.5)), QPointF(int(w - 5), int(h - 5)),
        QPointF(int(w * 0.5), int(h - 5)), QPointF(5, int(h * 0.5)), QPointF(5, int(h - 5)),
        QPointF(int(w * 0.5), int(h * 0.5))});
}

void PenItem::rebuildKeyPosition()
{
    createKeyPosition();
}

void PenItem::scalePaint(const QRectF &from, const QRectF &to)
{
    const double sx = ratio(to.width(), from.width());
    const double sy = ratio(to.height(), from.height());
    QMutexLocker locker(&m_stroke->lock);
    for (QPointF &point : m_stroke->paint)
        point = QPointF(point.x() * sx, point.y() * sy);
}

void PenItem::mirrorPaint(bool horizontal, bool vertical)
{
    if (!horizontal && !vertical)
        return;
    const double w = width();
    const double h = height();
    QMutexLocker locker(&m_stroke->lock);
    for (QPointF &point : m_stroke->paint)
        point
            = QPointF(horizontal ? w - point.x() : point.x(), vertical ? h - point.y() : point.y());
}

void PenItem::takeRect(const QRectF &r)
{
    m_rect = r;
    setGeometry(r);
    createKeyPosition();
    update();
}

void PenItem::updatePoint(const QRectF &oldRect, const QRectF &newRect)
{
    scalePaint(oldRect, newRect);
    takeRect(newRect);
}

void PenItem::resize(const QRectF &r)
{
    scalePaint(m_rect, r);
    setGeometry(r);
    mirrorPaint(r.width() < 0, r.height() < 0);
    takeRect(r.normalized());
}

void PenItem::move(double x, double y)
{
    takeRect(QRectF(x, y, width(), height()));
}

void PenItem::rescale(double f)
{
    updatePoint(box(), QRectF(x() * f, y() * f, width() * f, height() * f));
}

QPainterPath PenItem::shape() const
{
    QPainterPath path;
    const QList<QPointF> points = displayedPoints();
    QPainterPath outline;
    if (!points.isEmpty()) {
        path.moveTo(points.first());
        for (int i = 1; i < points.size(); ++i)
            path.lineTo(points.at(i));
        QPainterPathStroker stroker;
        stroker.setWidth(5);
        stroker.setCapStyle(Qt::SquareCap);
        stroker.setJoinStyle(Qt::BevelJoin);
        outline = stroker.createStroke(path);
    }
    for (const QPointF &key : keyPositions())
        outline.addEllipse(key, 5, 5);
    return outline;
}

QList<QPointF> PenItem::displayedPoints() const
{
    QList<QPointF> points = m_stroke->paintCopy();
    const bool horizontal = m_rect.width() < 0;
    const bool vertical = m_rect.height() < 0;
    if (horizontal || vertical) {
        for (QPointF &point : points)
            point = QPointF(horizontal ? width() - point.x() : point.x(),
                vertical ? height() - point.y() : point.y());
    }
    return points;
}

void PenItem::paint(QPainter *painter)
{
    setupPainter(painter);
    const QList<QPointF> points = displayedPoints();
    for (int i = 1; i < points.size(); ++i)
        painter->drawLine(points.at(i - 1), points.at(i));
    AbstractGraphItem::paint(painter);
}

void PenItem::mousePressEvent(QMouseEvent *event)
{
    AbstractGraphItem::mousePressEvent(event);
    m_pressPoint = roundedPoint(event->screenPos());
    m_pressRect = m_rect;
    m_bodyMoved = false;
}

// dx and dy are the pointer's motion with the sign turned.
QRectF PenItem::draggedRect(double dx, double dy) const
{
    const Edges e = edges();
    const QRectF &r = m_rect;
    if (!isResizing() || (!e.left && !e.top && !e.right && !e.bottom))
        return QRectF(int(r.x() - dx), int(r.y() - dy), int(r.width()), int(r.height()));
    double left = r.x();
    double top = r.y();
    double right = r.x() + r.width();
    double bottom = r.y() + r.height();
    if (e.left)
        left -= dx;
    if (e.right)
        right -= dx;
    if (e.top)
        top -= dy;
    if (e.bottom)
        bottom -= dy;
    return QRectF(left, top, right - left, bottom - top);
}

void PenItem::mouseMoveEvent(QMouseEvent *event)
{
    AbstractGraphItem::mouseMoveEvent(event);
    const QPoint s = roundedPoint(event->screenPos());
    double dx = m_pressPoint.x() - s.x();
    double dy = m_pressPoint.y() - s.y();
    const Edges e = edges();
    const bool moving = !isResizing() || (!e.left && !e.top && !e.right && !e.bottom);
    const QRectF g = box();
    // A box with a side of zero has no ratio to keep.
    if (!moving && event->modifiers().testFlag(Qt::ShiftModifier) && g.width() > 0
        && g.height() > 0) {
        const double sign = ((e.right && e.top) || (e.left && e.bottom)) ? -1 : 1;
        if (dx == 0)
            dx = sign * dy * g.width() / g.height();
        else
            dy = sign * dx * g.height() / g.width();
    }
    if (moving) {
        setMoved(true);
        m_bodyMoved = true;
    }
    const QRectF next = draggedRect(dx, dy);
    scalePaint(m_rect, next);
    takeRect(next);
    m_pressPoint = s;
}

void PenItem::mouseReleaseEvent(QMouseEvent *event)
{
    // A move is the base's own step. The push runs the step at once: it mirrors a flipped stroke
    // and normalises its box. The old box is flipped alike so that the undo mirrors the stroke
    // back.
    if (!m_bodyMoved && m_rect != m_pressRect && paintScene()) {
        paintScene()->undoStack()->push(
            new PenChange(this, m_rect, flippedLike(m_pressRect, m_rect)));
    } else {
        mirrorPaint(m_rect.width() < 0, m_rect.height() < 0);
        m_rect = m_rect.normalized();
    }
    AbstractGraphItem::mouseReleaseEvent(event);
    takeRect(box().normalized());
}
