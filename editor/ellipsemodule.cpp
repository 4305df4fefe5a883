#include "ellipsemodule.h"

#include "ellipseitem.h"
#include "kpainterarea.h"

EllipseModule::EllipseModule(QObject *parent)
    : RectModule(QStringLiteral("Ellipse"), parent)
{
}

GraphModule *EllipseModule::create(KPainterArea *area)
{
    return new EllipseModule(area);
}

RectItem *EllipseModule::newShape(KPainterArea *area) const
{
    return new EllipseItem(area);
}
