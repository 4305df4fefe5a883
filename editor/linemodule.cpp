#include "linemodule.h"

#include "kpainterarea.h"
#include "lineitem.h"

LineModule::LineModule(QObject *parent)
    : LineModule(QStringLiteral("Line"), parent)
{
}

LineModule::LineModule(const QString &name, QObject *parent)
    : GraphModule(name, parent)
{
}

GraphModule *LineModule::create(KPainterArea *area)
{
    return new LineModule(area);
}

LineItem *LineModule::newShape(KPainterArea *area) const
{
    return new LineItem(area);
}

LineItem *LineModule::lineItem() const
{
    return static_cast<LineItem *>(item());
}

void LineModule::beginPaintItem(KPainterArea *area, const QPoint &point)
{
    createItem(newShape(area), area);
    setStartPoint(point);
}

void LineModule::paintItem(KPainterArea *, const QPoint &point)
{
    if (lineItem())
        lineItem()->drawTo(startPoint(), point);
}

void LineModule::endPaintItem(KPainterArea *area, const QPoint &point)
{
    if (!lineItem())
        return;
    lineItem()->drawTo(startPoint(), point);
    lineItem()->finishDrawing();
    // A line without length cannot be seen or picked, so it is left out like a click. Space may
    // have carried the line away, so the release point alone does not tell.
    if (lineItem()->isDegenerate())
        return;
    emit currentItemChange(lineItem());
    addTostorage(lineItem(), area);
}
