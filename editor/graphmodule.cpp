#include "graphmodule.h"

#include "abstractgraphitem.h"
#include "analytics.h"
#include "historystack.h"
#include "kpainterarea.h"

#include <QGuiApplication>
#include <QUndoStack>

GraphModule::GraphModule(const QString &name, QObject *parent)
    : QObject(parent)
    , m_name(name)
{
}

void GraphModule::startStroke(KPainterArea *area, const QPoint &point)
{
    m_strokeItem.clear();
    beginPaintItem(area, point);
}

void GraphModule::finishStroke(KPainterArea *area, const QPoint &point)
{
    endPaintItem(area, point);
    if (m_strokeItem && !m_storage.contains(m_strokeItem))
        m_strokeItem->setVisible(false);
    m_strokeItem.clear();
}

// The pointer's pixel is part of the shape, hence the one pixel more than the distance.
QRectF GraphModule::strokeRect(const QPoint &point) const
{
    return QRectF(m_startPoint.x(), m_startPoint.y(), point.x() - m_startPoint.x() + 1,
        point.y() - m_startPoint.y() + 1);
}

void GraphModule::createItem(AbstractGraphItem *item, KPainterArea *area)
{
    m_item = item;
    m_strokeItem = item;
    item->setFocus(true);
    item->setZ(area->getLastZ());
    item->setColor(area->currentColor());
    item->setLineWidth(area->currentLineWidth());
    item->setSubstrate(area->currentSubstrate());
    item->setColorX(area->currentColorX());
    new AnalyticsEvent(AnalyticsEvent::CategoryTool, AnalyticsEvent::ActionUse, true, item->name());
    connect(item, &AbstractGraphItem::checkChanged, this, &GraphModule::itemChecked);
    connect(item, &AbstractGraphItem::updated, area, &KPainterArea::updateBlurItem);
}

void GraphModule::addTostorage(AbstractGraphItem *item, KPainterArea *)
{
    if (QGuiApplication::keyboardModifiers() == Qt::ControlModifier)
        item->setFill(true);
    if (item->paintScene())
        item->paintScene()->undoStack()->push(new AddCommand(item));
    m_storage.append(item);
}

void GraphModule::itemChecked(bool checked)
{
    if (checked)
        emit currentItemChange(qobject_cast<AbstractGraphItem *>(sender()));
}
