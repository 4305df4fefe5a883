#include "movemodule.h"

MoveModule::MoveModule(QObject *parent)
    : GraphModule(QStringLiteral("Move"), parent)
{
}

void MoveModule::beginPaintItem(KPainterArea *, const QPoint &) { }

// A drag on empty canvas runs through here on every pointer move, so nothing is done or logged.
void MoveModule::paintItem(KPainterArea *, const QPoint &) { }

void MoveModule::endPaintItem(KPainterArea *, const QPoint &) { }
