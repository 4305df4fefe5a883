#include "rectmodule.h"

#include "kpainterarea.h"
#include "rectitem.h"

#include <QGuiApplication>

RectModule::RectModule(QObject *parent)
    : RectModule(QStringLiteral("Rect"), parent)
{
}

RectModule::RectModule(const QString &name, QObject *parent)
    : GraphModule(name, parent)
{
}

GraphModule *RectModule::create(KPainterArea *area)
{
    return new RectModule(area);
}

RectItem *RectModule::newShape(KPainterArea *area) const
{
    return new RectItem(area);
}

RectItem *RectModule::rectItem() const
{
    return static_cast<RectItem *>(item());
}

void RectModule::beginPaintItem(KPainterArea *area, const QPoint &point)
{
    createItem(newShape(area), area);
    setStartPoint(point);
}

void RectModule::paintItem(KPainterArea *, const QPoint &point)
{
    if (!rectItem())
        return;
    rectItem()->resize(strokeRect(point));
    rectItem()->setFill(QGuiApplication::keyboardModifiers().testFlag(Qt::ControlModifier));
}

void RectModule::endPaintItem(KPainterArea *area, const QPoint &point)
{
    if (!rectItem() || point == startPoint())
        return;
    rectItem()->resize(strokeRect(point));
    // A shape without area cannot be seen or picked, so it is left out like a click.
    const QRectF r = rectItem()->rectangle();
    if (r.width() == 0 || r.height() == 0)
        return;
    emit currentItemChange(rectItem());
    rectItem()->normalize();
    addTostorage(rectItem(), area);
}
