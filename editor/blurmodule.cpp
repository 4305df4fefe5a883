#include "blurmodule.h"

#include "bluritem.h"
#include "kpainterarea.h"
#include "setting.h"

BlurModule::BlurModule(QObject *parent)
    : GraphModule(QStringLiteral("Blur"), parent)
{
}

GraphModule *BlurModule::create(KPainterArea *area)
{
    return new BlurModule(area);
}

BlurItem *BlurModule::blurItem() const
{
    return static_cast<BlurItem *>(item());
}

void BlurModule::beginPaintItem(KPainterArea *area, const QPoint &point)
{
    auto *blur = new BlurItem(area);
    createItem(blur, area);
    blur->setLineWidth(Setting::instance()->getValue(SettingKeys::widthBlureLine).toInt());
    setStartPoint(point);
    blur->resize(QRectF(point.x(), point.y(), 1, 1));
    // All blurs lie just above the canvas, under every other shape.
    blur->setZ(area->z() + 1.0);
}

void BlurModule::paintItem(KPainterArea *, const QPoint &point)
{
    if (blurItem())
        blurItem()->resize(strokeRect(point));
}

void BlurModule::endPaintItem(KPainterArea *area, const QPoint &point)
{
    if (!blurItem() || point == startPoint())
        return;
    blurItem()->resize(strokeRect(point));
    emit currentItemChange(blurItem());
    blurItem()->normalize();
    addTostorage(blurItem(), area);
}
