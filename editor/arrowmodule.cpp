#include "arrowmodule.h"

#include "arrowitem.h"
#include "kpainterarea.h"

ArrowModule::ArrowModule(QObject *parent)
    : LineModule(QStringLiteral("Arrow"), parent)
{
}

GraphModule *ArrowModule::create(KPainterArea *area)
{
    return new ArrowModule(area);
}

LineItem *ArrowModule::newShape(KPainterArea *area) const
{
    return new ArrowItem(area);
}
