#include "threadaliasingpoint.h"

#include <QDebug>
#include <QMutexLocker>
#include <cmath>

namespace {

// A worker with nothing new to smooth sleeps at most this long before it looks again, so a
// lost wake-up costs a few milliseconds and never a hang.
constexpr unsigned long kIdleWaitMs = 10;
constexpr int kJoinMs = 5000;

QPointF midpoint(const QPointF &a, const QPointF &b)
{
    return (a + b) / 2;
}

} // namespace

ThreadAliasingPoint::ThreadAliasingPoint(QObject *parent)
    : QThread(parent)
{
}

ThreadAliasingPoint::~ThreadAliasingPoint()
{
    // The worker dies with its tool: it must be done before then, whatever stroke it is in. A
    // pass gives up as soon as it sees the stop flag, so the wait is short in practice.
    if (!stopAndWait(kJoinMs))
        qWarning() << Q_FUNC_INFO << "the smoothing worker did not stop in time";
}

void ThreadAliasingPoint::setSetting(PenItem *item)
{
    QMutexLocker locker(&m_waitLock);
    m_stroke = item ? item->stroke() : PenItem::StrokePointer();
    m_stop = false;
    // Each stroke starts from nothing smoothed: a new stroke that happens to reach the old
    // stroke's size must not be skipped.
    m_lastCount = 0;
}

void ThreadAliasingPoint::stop()
{
    m_stop = true;
    wake();
}

void ThreadAliasingPoint::wake()
{
    QMutexLocker locker(&m_waitLock);
    m_woken = true;
    m_wakeUp.wakeAll();
}

bool ThreadAliasingPoint::stopAndWait(int msecs)
{
    stop();
    return wait(static_cast<unsigned long>(msecs));
}

void ThreadAliasingPoint::run()
{
    while (!m_stop) {
        if (smoothOnce())
            continue;
        QMutexLocker locker(&m_waitLock);
        if (!m_woken && !m_stop)
            m_wakeUp.wait(&m_waitLock, kIdleWaitMs);
        m_woken = false;
    }
}

int ThreadAliasingPoint::resumeAt(int stable, int n) const
{
    // Curve k rests on points k - 2 to k, so the curves before the first changed point stand.
    const int unchanged = qMin(stable, m_lastCount);
    return m_lastCount > 4 && n > 4 && unchanged >= 2 ? unchanged : 1;
}

// Each pass works out only the curves of the points that came (or changed) since the last one,
// so a long stroke costs no more per point than a short one.
bool ThreadAliasingPoint::smoothOnce()
{
    PenItem::StrokePointer stroke;
    {
        QMutexLocker locker(&m_waitLock);
        stroke = m_stroke;
    }
    if (!stroke)
        return false;
    int from = 1;
    QVector<QPointF> points;
    {
        QMutexLocker locker(&stroke->lock);
        const int n = stroke->buffer.size();
        if (n == m_lastCount && stroke->stable >= n)
            return false;
        from = resumeAt(stroke->stable, n);
        points = stroke->buffer.mid(qMax(0, from - 2));
        stroke->stable = n;
        m_lastCount = n;
    }
    if (from == 1 && points.size() <= 4) {
        stroke->replaceTail(0, points);
        emit smoothed();
        return true;
    }
    // The list up to the end of the curve before the first one to work out stays.
    const int kept = from == 1 ? 0 : m_curveEnds.at(from - 1);
    QVector<QPointF> tail;
    m_curveEnds.resize(from);
    if (from == 1) {
        tail << points.first();
        m_curveEnds[0] = tail.size();
    }
    if (!appendCurves(points, qMax(0, from - 2), from, &tail, kept, &m_curveEnds, &m_stop)) {
        m_lastCount = 0;
        return false;
    }
    tail << points.last();
    stroke->replaceTail(kept, tail);
    emit smoothed();
    return true;
}

QList<QPointF> ThreadAliasingPoint::smooth(
    const QList<QPointF> &points, const std::atomic_bool *abandon)
{
    if (points.size() <= 4)
        return points;
    const QVector<QPointF> buffer = points.toVector();
    QVector<QPointF> result {buffer.first()};
    if (!appendCurves(buffer, 0, 1, &result, 0, nullptr, abandon))
        return {};
    result << buffer.last();
    return result.toList();
}

bool ThreadAliasingPoint::appendCurves(const QVector<QPointF> &points, int base, int from,
    QVector<QPointF> *out, int offset, QVector<int> *ends, const std::atomic_bool *abandon)
{
    const auto at = [&points, base](int k) { return points.at(k - base); };
    const int n = base + points.size();
    for (int k = from; k < n; ++k) {
        if (abandon && *abandon)
            return false;
        // The first curve starts on its control point and so adds nothing.
        const QPointF start = k == 1 ? at(0) : midpoint(at(k - 2), at(k - 1));
        for (const QPointF &sample : quadTo(start, at(k - 1), midpoint(at(k - 1), at(k))))
            out->append(sample);
        if (ends)
            ends->append(offset + out->size());
    }
    return true;
}

QList<QPointF> quadTo(const QPointF &start, const QPointF &control, const QPointF &end)
{
    const double a = angle_point(start, control, end);
    // A leg of no length has no corner to round.
    if (std::isnan(a))
        return {};
    const int count = int(50.0 - double(float(a) * 47.0f) / 3.14);
    QList<QPointF> samples;
    for (int i = 0; i < count; ++i) {
        const double t = float(i) / float(count);
        const double u = 1 - t;
        samples.append(u * u * start + 2 * t * u * control + t * t * end);
    }
    return samples;
}
