#include "blackoutitem.h"

namespace {

// No stroke is drawn, so the box only leaves room for the handles, whatever the darkness.
constexpr double kMargin = 5;

} // namespace

BlackoutItem::BlackoutItem(QQuickItem *parent)
    : RectItem(parent)
{
    setName(QStringLiteral("Blackout"));
    // Selecting a bright area must not lift it above the shapes drawn over the picture.
    setUpToZ(false);
    // Delete, undo and redo only hide or show the item; the hole must follow.
    connect(this, &QQuickItem::visibleChanged, this, &BlackoutItem::updateBlackoutArea);
}

// Every reshape, drag, nudge and undo step of a rectangle places its box here, so this is the
// one spot from which the overlay learns of them.
void BlackoutItem::setGeometry(const QRectF &r)
{
    setBoxGeometry(r.normalized().adjusted(-kMargin, -kMargin, kMargin, kMargin));
    emit updateBlackoutArea();
}

void BlackoutItem::paint(QPainter *painter)
{
    AbstractGraphItem::paint(painter);
}

// The box keeps a fixed margin rather than one that grows with the line width, so the
// rectangle scales on its own instead of being derived from the scaled box.
void BlackoutItem::rescale(double f)
{
    const QRectF r = rectangle();
    setRectangle(QRectF(r.x() * f, r.y() * f, r.width() * f, r.height() * f));
}
