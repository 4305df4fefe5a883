#ifndef MOVEMODULE_H
#define MOVEMODULE_H

#include "graphmodule.h"

// The move tool draws nothing: with it current, shapes take the presses themselves and a press
// on empty canvas only unchecks every shape.
class MoveModule : public GraphModule
{
    Q_OBJECT

public:
    explicit MoveModule(QObject *parent);

    void beginPaintItem(KPainterArea *area, const QPoint &point) override;
    void paintItem(KPainterArea *area, const QPoint &point) override;
    void endPaintItem(KPainterArea *area, const QPoint &point) override;
};

#endif // MOVEMODULE_H
