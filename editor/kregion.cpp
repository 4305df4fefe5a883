#include "kregion.h"

namespace {

void addBand(KRegion &region, const QPointF &topLeft, const QPointF &bottomRight)
{
    const QRectF band(topLeft, bottomRight);
    if (band.width() > 0 && band.height() > 0)
        region.addRegion(band);
}

} // namespace

KRegion::KRegion(const QRectF &rect)
    : m_rects {rect}
{
}

void KRegion::addRegion(const QRectF &rect)
{
    m_rects.append(rect);
}

KRegion KRegion::xored(const QRectF &cut) const
{
    KRegion result;
    QList<QRectF> hit;
    // Touching edges leave a rectangle whole: only an overlap with some area cuts it.
    for (const QRectF &r : m_rects) {
        if (r.intersects(cut))
            hit.append(r);
        else
            result.addRegion(r);
    }
    // Four bands turning around the hole like a pinwheel tile what is left of r without
    // overlapping one another.
    for (const QRectF &r : qAsConst(hit)) {
        const QRectF i = r.intersected(cut);
        addBand(result, r.topLeft(), QPointF(i.right(), i.top()));
        addBand(result, QPointF(r.left(), i.top()), QPointF(i.left(), r.bottom()));
        addBand(result, i.bottomLeft(), r.bottomRight());
        addBand(result, QPointF(i.right(), r.top()), QPointF(r.right(), i.bottom()));
    }
    return result;
}
