#ifndef ARROWITEM_H
#define ARROWITEM_H

#include "lineitem.h"

// A line with a filled head at its end and a shaft that tapers from the head to a point at its
// start. The head and shaft grow with the line width and shrink on arrows shorter than 80 px.
class ArrowItem : public LineItem
{
    Q_OBJECT

public:
    explicit ArrowItem(QQuickItem *parent = nullptr);

    void paint(QPainter *painter) override;

protected:
    int shapeWidth() const override { return 9; }

private:
    double headScale(double length) const;
    void paintArrow(QPainter *painter) const;
};

#endif // ARROWITEM_H
