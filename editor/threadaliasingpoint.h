#ifndef THREADALIASINGPOINT_H
#define THREADALIASINGPOINT_H

#include "penitem.h"

#include <QList>
#include <QMutex>
#include <QPointF>
#include <QThread>
#include <QVector>
#include <QWaitCondition>
#include <atomic>

// The worker of a pen-like tool: while a stroke is drawn it turns the stroke's raw points, over
// and over, into the smoothed list that the stroke paints. It keeps the stroke's shared points,
// never the item, so a stroke item that dies mid-stroke leaves it nothing to touch.
class ThreadAliasingPoint : public QThread
{
    Q_OBJECT

public:
    explicit ThreadAliasingPoint(QObject *parent = nullptr);
    ~ThreadAliasingPoint() override;

    // Only while the worker is not running: the next start smooths this item's stroke.
    void setSetting(PenItem *item);
    void stop();
    // Tells a waiting worker that the stroke has new points.
    void wake();
    // Stops the worker and waits for it; false when it did not end within the time given.
    bool stopAndWait(int msecs);

    // The paint list of a raw stroke: up to 4 points as they are, then the quadratic curves
    // from midpoint to midpoint with every interior point as control point. An empty list
    // means the pass was abandoned because abandon became true.
    static QList<QPointF> smooth(
        const QList<QPointF> &points, const std::atomic_bool *abandon = nullptr);

signals:
    // A new paint list is in place; emitted on the worker thread.
    void smoothed();

protected:
    void run() override;

private:
    bool smoothOnce();
    // The first curve to work out again when the buffer has n points, the first stable of them
    // as at the last pass; 1 when the whole stroke is smoothed again.
    int resumeAt(int stable, int n) const;
    // Appends to out the curves of buffer points from to the last of points, which holds the
    // buffer from point base on; ends gets the list's size after each, out counting from offset.
    static bool appendCurves(const QVector<QPointF> &points, int base, int from,
        QVector<QPointF> *out, int offset, QVector<int> *ends, const std::atomic_bool *abandon);

    std::atomic_bool m_stop {false};
    int m_lastCount = 0;
    // The paint list's size after the curve of each buffer point, as the last pass left it.
    QVector<int> m_curveEnds;
    PenItem::StrokePointer m_stroke;
    QMutex m_waitLock;
    QWaitCondition m_wakeUp;
    bool m_woken = false;
};

// Samples of the quadratic Bezier curve from start to end around control; end itself is left
// out, being the next curve's first sample. The sharper the corner, the more samples.
QList<QPointF> quadTo(const QPointF &start, const QPointF &control, const QPointF &end);

#endif // THREADALIASINGPOINT_H
