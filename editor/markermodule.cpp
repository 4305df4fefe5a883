#include "markermodule.h"

#include "kpainterarea.h"
#include "markeritem.h"

MarkerModule::MarkerModule(QObject *parent)
    : PenModule(QStringLiteral("Marker"), parent)
{
}

GraphModule *MarkerModule::create(KPainterArea *area)
{
    return new MarkerModule(area);
}

PenItem *MarkerModule::newStroke(KPainterArea *area) const
{
    return new MarkerItem(area);
}
