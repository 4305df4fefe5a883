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

bool ThreadAliasingPoint::smoothOnce()
{
    PenItem::StrokePointer stroke;
    {
        QMutexLocker locker(&m_waitLock);
        stroke = m_stroke;
    }
    if (!stroke)
        return false;
    const QList<QPointF> buffer = stroke->bufferCopy();
    const int n = buffer.size();
    if (n == m_lastCount)
        return false;
    const QList<QPointF> result = smooth(buffer, &m_stop);
    if (result.isEmpty() && n > 0)
        return false;
    // Short strokes are shown as they are, once: a pass that changes nothing is skipped.
    m_lastCount = n;
    stroke->setPaint(result);
    emit smoothed();
    return true;
}

QList<QPointF> ThreadAliasingPoint::smooth(
    const QList<QPointF> &points, const std::atomic_bool *abandon)
{
    const int n = points.size();
    if (n <= 4)
        return points;
    QList<QPointF> result {points.first()};
    QPointF start = points.first();
    for (int k = 1; k < n; ++k) {
        if (abandon && *abandon)
            return {};
        const QPointF end = midpoint(points.at(k - 1), points.at(k));
        result.append(quadTo(start, points.at(k - 1), end));
        start = end;
    }
    result.append(points.last());
    return result;
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
