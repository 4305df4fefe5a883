#include "ponorammodule.h"

#include "kpainterarea.h"

PonoramModule::PonoramModule(QObject *parent)
    : GraphModule(QStringLiteral("Ponoram"), parent)
{
}

GraphModule *PonoramModule::create(KPainterArea *area)
{
    return new PonoramModule(area);
}

void PonoramModule::beginPaintItem(KPainterArea *, const QPoint &) { }

void PonoramModule::paintItem(KPainterArea *, const QPoint &) { }

void PonoramModule::endPaintItem(KPainterArea *, const QPoint &) { }
