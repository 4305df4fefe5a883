#include "countermodule.h"

#include "counteritem.h"
#include "kpainterarea.h"

#include <QtGlobal>

CounterModule::CounterModule(QObject *parent)
    : GraphModule(QStringLiteral("Counter"), parent)
{
}

GraphModule *CounterModule::create(KPainterArea *area)
{
    return new CounterModule(area);
}

bool CounterModule::onCounter(const QPoint &point) const
{
    for (AbstractGraphItem *item : storage()) {
        auto *counter = qobject_cast<CounterItem *>(item);
        if (counter && counter->isVisible()
            && counter->shape().contains(counter->mapFromItem(counter->parentItem(), point)))
            return true;
    }
    return false;
}

// Hidden bullets (undone or deleted) do not count, so their numbers are given again.
int CounterModule::nextNumber() const
{
    int number = 1;
    for (AbstractGraphItem *item : storage()) {
        auto *counter = qobject_cast<CounterItem *>(item);
        if (counter && counter->isVisible())
            number = qMax(number, counter->number() + 1);
    }
    return number;
}

void CounterModule::beginPaintItem(KPainterArea *area, const QPoint &point)
{
    m_counter.clear();
    if (onCounter(point))
        return;
    m_counter = new CounterItem(nextNumber(), area);
    createItem(m_counter, area);
    setStartPoint(point);
}

void CounterModule::paintItem(KPainterArea *, const QPoint &point)
{
    if (m_counter)
        m_counter->resize(strokeRect(point));
}

void CounterModule::endPaintItem(KPainterArea *area, const QPoint &point)
{
    if (!m_counter)
        return;
    m_counter->resize(strokeRect(point));
    m_counter->setDrawCouter(true);
    emit currentItemChange(m_counter);
    placeBullet(point);
    m_counter->normalize();
    addTostorage(m_counter, area);
}

// The bullet goes beyond the corner where the drag ended.
void CounterModule::placeBullet(const QPoint &point)
{
    const QPoint s = startPoint();
    if (point.x() < s.x())
        m_counter->setBulletPos(false, point.y() >= s.y());
    else if (point.x() > s.x() && point.y() != s.y())
        m_counter->setBulletPos(true, point.y() > s.y());
    else
        m_counter->setBulletPos(false, true);
}
