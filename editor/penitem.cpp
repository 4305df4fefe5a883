#include "penitem.h"

#include "historystack.h"
#include "kpainterarea.h"
#include "stroketiles.h"

#include <QMouseEvent>
#include <QMutexLocker>
#include <QPainter>
#include <QPainterPathStroker>
#include <QSGNode>
#include <QUndoStack>
#include <cmath>
#include <utility>

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

// The area the points from index from on cover, a pixel each.
QRectF coveredBy(const QVector<QPointF> &points, int from = 0)
{
    QRectF area;
    for (int i = qMax(0, from); i < points.size(); ++i)
        area |= QRectF(points.at(i), QSizeF(1, 1));
    return area;
}

} // namespace

QList<QPointF> PenItem::Stroke::bufferCopy() const
{
    QMutexLocker locker(&lock);
    return buffer.toList();
}

QList<QPointF> PenItem::Stroke::paintCopy() const
{
    QMutexLocker locker(&lock);
    return paint.toList();
}

void PenItem::Stroke::setPaint(const QList<QPointF> &list)
{
    QMutexLocker locker(&lock);
    paint = list.toVector();
    changedAll = true;
}

void PenItem::Stroke::replaceTail(int kept, const QVector<QPointF> &tail)
{
    QMutexLocker locker(&lock);
    if (kept == 0)
        changedAll = true;
    // The segment into the first replaced point changes too.
    changed |= coveredBy(paint, kept - 1);
    paint.resize(kept);
    paint += tail;
    changed |= coveredBy(paint, kept - 1);
}

QRectF PenItem::Stroke::bounds() const
{
    QMutexLocker locker(&lock);
    return coveredBy(paint);
}

QRectF PenItem::Stroke::takeChanged(bool *all)
{
    QMutexLocker locker(&lock);
    *all = *all || changedAll;
    changedAll = false;
    return std::exchange(changed, QRectF());
}

PenItem::PenItem(QQuickItem *parent)
    : AbstractGraphItem(parent)
    , m_stroke(std::make_shared<Stroke>())
{
    setName(QStringLiteral("Pen"));
    connect(this, &AbstractGraphItem::lineWidthChanged, this, &PenItem::fitStroke);
    // What changes every pixel of the stroke shows in every tile.
    const auto repaintAll = [this] {
        m_repaintAll = true;
        showChanges();
    };
    connect(this, &AbstractGraphItem::lineWidthChanged, this, repaintAll);
    connect(this, &AbstractGraphItem::colorChanged, this, repaintAll);
    connect(this, &AbstractGraphItem::checkChanged, this, repaintAll);
}

PenItem::~PenItem() = default;

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
        m_stroke->stable = 0;
        m_stroke->changedAll = true;
    }
    takeRect(QRectF(x() + left, y() + top, right - left, bottom - top));
}

void PenItem::movePoint(float dx, float dy)
{
    {
        QMutexLocker locker(&m_stroke->lock);
        for (QPointF &point : m_stroke->buffer)
            point += QPointF(dx, dy);
        m_stroke->stable = 0;
    }
    update();
}

void PenItem::removeLastPoint()
{
    QMutexLocker locker(&m_stroke->lock);
    if (!m_stroke->buffer.isEmpty())
        m_stroke->buffer.removeLast();
    m_stroke->stable = qMin(m_stroke->stable, m_stroke->buffer.size());
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
    m_stroke->changedAll = true;
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
    m_stroke->changedAll = true;
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
    if (m_rect.width() < 0 || m_rect.height() < 0) {
        for (QPointF &point : points)
            point = shown(point);
    }
    return points;
}

QPointF PenItem::shown(const QPointF &p) const
{
    return QPointF(m_rect.width() < 0 ? width() - p.x() : p.x(),
        m_rect.height() < 0 ? height() - p.y() : p.y());
}

void PenItem::forEachSegment(const QPainter *painter, const SegmentPainter &draw) const
{
    const double r = reach();
    const QRectF clip = painter->clipBoundingRect().adjusted(-r, -r, r, r);
    const bool clipped = painter->hasClipping();
    QMutexLocker locker(&m_stroke->lock);
    const QVector<QPointF> &points = m_stroke->paint;
    for (int i = 1; i < points.size(); ++i) {
        const QPointF a = shown(points.at(i - 1));
        const QPointF b = shown(points.at(i));
        if (!clipped
            || (qMax(a.x(), b.x()) >= clip.left() && qMin(a.x(), b.x()) <= clip.right()
                && qMax(a.y(), b.y()) >= clip.top() && qMin(a.y(), b.y()) <= clip.bottom()))
            draw(a, b);
    }
}

void PenItem::paint(QPainter *painter)
{
    setupPainter(painter);
    forEachSegment(
        painter, [painter](const QPointF &a, const QPointF &b) { painter->drawLine(a, b); });
    AbstractGraphItem::paint(painter);
}

void PenItem::startDrawing()
{
    m_tiles = std::make_unique<StrokeTiles>(this, [this](QPainter *painter) { paint(painter); });
    update();
}

void PenItem::finishDrawing()
{
    m_tiles.reset();
    update();
}

void PenItem::showChanges()
{
    if (!m_tiles)
        return;
    bool all = std::exchange(m_repaintAll, false);
    const QRectF changed = m_stroke->takeChanged(&all);
    const double r = reach();
    if (all)
        m_tiles->repaintAll(m_stroke->bounds().adjusted(-r, -r, r, r));
    else
        m_tiles->repaint(changed.adjusted(-r, -r, r, r));
}

// While drawing, the tiles show the stroke: a texture of the box would go whole to the screen
// with every point, and be made anew with every point that grows the box.
QSGNode *PenItem::updatePaintNode(QSGNode *old, UpdatePaintNodeData *data)
{
    if (m_tiles) {
        delete old;
        return nullptr;
    }
    return AbstractGraphItem::updatePaintNode(old, data);
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
