#ifndef BLACKOUTITEM_H
#define BLACKOUTITEM_H

#include "rectitem.h"

// A rectangle that the darkening overlay leaves bright. It is drawn, squared, dragged and
// nudged like a rectangle, but paints only its handles: the overlay around it shows it. Its
// line width is the darkness of the overlay, not a stroke.
class BlackoutItem : public RectItem
{
    Q_OBJECT

public:
    explicit BlackoutItem(QQuickItem *parent = nullptr);

    void setGeometry(const QRectF &r) override;
    void paint(QPainter *painter) override;
    void rescale(double f) override;

signals:
    // The bright area may have changed: the overlay has to be painted again.
    void updateBlackoutArea();
};

#endif // BLACKOUTITEM_H
