#ifndef PONORAMMODULE_H
#define PONORAMMODULE_H

#include "graphmodule.h"

// The tool of a scrolling capture: chosen while the panorama grows, so that presses and
// drags on the canvas draw nothing.
class PonoramModule : public GraphModule
{
    Q_OBJECT

public:
    explicit PonoramModule(QObject *parent);
    static GraphModule *create(KPainterArea *area);

    void beginPaintItem(KPainterArea *area, const QPoint &point) override;
    void paintItem(KPainterArea *area, const QPoint &point) override;
    void endPaintItem(KPainterArea *area, const QPoint &point) override;
};

#endif // PONORAMMODULE_H
