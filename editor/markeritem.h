#ifndef MARKERITEM_H
#define MARKERITEM_H

#include "penitem.h"

// A highlighter stroke: the pen's stroke, 10 px wider and half transparent.
class MarkerItem : public PenItem
{
    Q_OBJECT

public:
    explicit MarkerItem(QQuickItem *parent = nullptr);

    void paint(QPainter *painter) override;

protected:
    int paintedWidth() const override { return lineWidth() + 10; }
};

#endif // MARKERITEM_H
