#include "blackoutmodule.h"

#include "blackoutitem.h"
#include "kpainterarea.h"
#include "setting.h"

namespace {

// The bright areas and the overlay share one z below every drawn shape, so that shapes are
// never darkened.
constexpr int kBlackoutZ = 100;

} // namespace

BlackoutModule::BlackoutModule(QObject *parent)
    : GraphModule(QStringLiteral("Blackout"), parent)
{
}

GraphModule *BlackoutModule::create(KPainterArea *area)
{
    return new BlackoutModule(area);
}

BlackoutItem *BlackoutModule::blackoutItem() const
{
    return qobject_cast<BlackoutItem *>(item());
}

void BlackoutModule::beginPaintItem(KPainterArea *area, const QPoint &point)
{
    auto *shape = new BlackoutItem(area);
    createItem(shape, area);
    shape->setLineWidth(Setting::instance()->getValue(SettingKeys::widthBlackoutLine).toInt());
    shape->setZ(kBlackoutZ);
    connect(shape, &BlackoutItem::updateBlackoutArea, this, &GraphModule::updateBlackoutArea);
    setStartPoint(point);
}

void BlackoutModule::paintItem(KPainterArea *, const QPoint &point)
{
    if (blackoutItem())
        blackoutItem()->resize(strokeRect(point));
}

void BlackoutModule::endPaintItem(KPainterArea *area, const QPoint &point)
{
    BlackoutItem *shape = blackoutItem();
    if (!shape || point == startPoint())
        return;
    shape->resize(strokeRect(point));
    // A bright area without width or height shows nothing and cannot be picked again.
    const QRectF r = shape->rectangle();
    if (r.width() == 0 || r.height() == 0)
        return;
    emit currentItemChange(shape);
    shape->normalize();
    emit createNewBlackoutItem(shape);
    addTostorage(shape, area);
}
