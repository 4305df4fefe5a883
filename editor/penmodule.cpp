#include "penmodule.h"

#include "kpainterarea.h"
#include "penitem.h"
#include "threadaliasingpoint.h"

#include <QGuiApplication>

namespace {

// A worker gives up its pass as soon as it is asked to stop, so this is never reached in
// practice; it only keeps a stuck worker from freezing the window for good.
constexpr int kJoinMs = 5000;

// Shift alone draws straight: the segment needs enough points behind it to stay straight
// through the smoothing.
constexpr int kStraightPoints = 5;

bool hasExtent(const QList<QPointF> &points)
{
    for (const QPointF &point : points) {
        if (point != points.first())
            return true;
    }
    return false;
}

} // namespace

PenModule::PenModule(QObject *parent)
    : PenModule(QStringLiteral("Pen"), parent)
{
}

PenModule::PenModule(const QString &name, QObject *parent)
    : GraphModule(name, parent)
    , m_worker(new ThreadAliasingPoint(this))
{
    connect(m_worker, &ThreadAliasingPoint::smoothed, this, &PenModule::repaintStroke);
}

GraphModule *PenModule::create(KPainterArea *area)
{
    return new PenModule(area);
}

PenItem *PenModule::newStroke(KPainterArea *area) const
{
    return new PenItem(area);
}

PenItem *PenModule::penItem() const
{
    return static_cast<PenItem *>(item());
}

void PenModule::repaintStroke()
{
    if (penItem())
        penItem()->showChanges();
}

void PenModule::beginPaintItem(KPainterArea *area, const QPoint &point)
{
    // A stroke whose release never came is left as it is.
    m_worker->stopAndWait(kJoinMs);
    if (penItem())
        penItem()->finishDrawing();
    PenItem *stroke = newStroke(area);
    createItem(stroke, area);
    stroke->startDrawing();
    m_worker->setSetting(stroke);
    m_worker->start(QThread::InheritPriority);
    stroke->addPoint(point);
    setStartPoint(point);
}

void PenModule::paintItem(KPainterArea *, const QPoint &point)
{
    if (!penItem())
        return;
    if (QGuiApplication::queryKeyboardModifiers() != Qt::ShiftModifier) {
        penItem()->addPoint(point);
    } else {
        penItem()->removeLastPoint();
        if (penItem()->countPoint() < kStraightPoints) {
            for (int i = 0; i < kStraightPoints; ++i)
                penItem()->addPoint(point);
        }
        penItem()->addPoint(point);
    }
    m_worker->wake();
}

void PenModule::endPaintItem(KPainterArea *area, const QPoint &)
{
    if (!penItem())
        return;
    m_worker->stopAndWait(kJoinMs);
    // The worker may have stopped a pass short of the last points; the kept stroke is the whole
    // one.
    const QList<QPointF> points = penItem()->getBufferPoint();
    penItem()->setPaintPoint(ThreadAliasingPoint::smooth(points));
    penItem()->finishDrawing();
    // A click draws nothing that could be seen, so it leaves no shape and no undo step.
    if (!hasExtent(points))
        return;
    emit currentItemChange(penItem());
    addTostorage(penItem(), area);
}
