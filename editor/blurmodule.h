#ifndef BLURMODULE_H
#define BLURMODULE_H

#include "graphmodule.h"

class BlurItem;

// The blur tool: a drag blurs the picture from the press point to the pointer, both included.
class BlurModule : public GraphModule
{
    Q_OBJECT

public:
    explicit BlurModule(QObject *parent);
    static GraphModule *create(KPainterArea *area);

    void beginPaintItem(KPainterArea *area, const QPoint &point) override;
    void paintItem(KPainterArea *area, const QPoint &point) override;
    void endPaintItem(KPainterArea *area, const QPoint &point) override;

private:
    BlurItem *blurItem() const;
};

#endif // BLURMODULE_H
