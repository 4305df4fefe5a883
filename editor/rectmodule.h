#ifndef RECTMODULE_H
#define RECTMODULE_H

#include "graphmodule.h"

class RectItem;

// The rectangle tool: a drag draws a rectangle from the press point to the pointer, both
// included; Shift squares it, Space moves it, Control fills it.
class RectModule : public GraphModule
{
    Q_OBJECT

public:
    explicit RectModule(QObject *parent);
    static GraphModule *create(KPainterArea *area);

    void beginPaintItem(KPainterArea *area, const QPoint &point) override;
    void paintItem(KPainterArea *area, const QPoint &point) override;
    void endPaintItem(KPainterArea *area, const QPoint &point) override;

protected:
    // For the tools that draw another shape in the same way.
    RectModule(const QString &name, QObject *parent);
    virtual RectItem *newShape(KPainterArea *area) const;

private:
    RectItem *rectItem() const;
};

#endif // RECTMODULE_H
