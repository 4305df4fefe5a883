#ifndef LINEMODULE_H
#define LINEMODULE_H

#include "graphmodule.h"

class LineItem;

// The line tool: a drag draws a straight line from the press point to the pointer; Shift snaps
// it to horizontal, vertical or 45 degrees, Space carries it.
class LineModule : public GraphModule
{
    Q_OBJECT

public:
    explicit LineModule(QObject *parent);
    static GraphModule *create(KPainterArea *area);

    void beginPaintItem(KPainterArea *area, const QPoint &point) override;
    void paintItem(KPainterArea *area, const QPoint &point) override;
    void endPaintItem(KPainterArea *area, const QPoint &point) override;

protected:
    // For the tools that draw another line-like shape in the same way.
    LineModule(const QString &name, QObject *parent);
    virtual LineItem *newShape(KPainterArea *area) const;

private:
    LineItem *lineItem() const;
};

#endif // LINEMODULE_H
