#ifndef ELLIPSEITEM_H
#define ELLIPSEITEM_H

#include "rectitem.h"

// The ellipse inscribed in a rectangle that is drawn, squared and dragged like RectItem's.
class EllipseItem : public RectItem
{
    Q_OBJECT

public:
    explicit EllipseItem(QQuickItem *parent = nullptr);

    void paint(QPainter *painter) override;
    QPainterPath shape() const;
};

#endif // ELLIPSEITEM_H
