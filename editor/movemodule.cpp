#include "movemodule.h"

#include <QDebug>

MoveModule::MoveModule(QObject *parent)
    : GraphModule(QStringLiteral("Move"), parent)
{
}

void MoveModule::beginPaintItem(KPainterArea *, const QPoint &) { }

void MoveModule::paintItem(KPainterArea *, const QPoint &point)
{
    qDebug() << Q_FUNC_INFO << point;
}

void MoveModule::endPaintItem(KPainterArea *, const QPoint &point)
{
    qDebug() << Q_FUNC_INFO << point;
}
