#ifndef PENMODULE_H
#define PENMODULE_H

#include "graphmodule.h"

class PenItem;
class ThreadAliasingPoint;

// The pen tool: a drag draws a free-hand stroke, smoothed on the tool's worker thread while it
// is drawn; Shift alone draws a straight segment from the previous point.
class PenModule : public GraphModule
{
    Q_OBJECT

public:
    explicit PenModule(QObject *parent);
    static GraphModule *create(KPainterArea *area);

    ThreadAliasingPoint *worker() const { return m_worker; }

    void beginPaintItem(KPainterArea *area, const QPoint &point) override;
    void paintItem(KPainterArea *area, const QPoint &point) override;
    void endPaintItem(KPainterArea *area, const QPoint &point) override;

protected:
    // For the tools that draw another kind of stroke in the same way.
    PenModule(const QString &name, QObject *parent);
    virtual PenItem *newStroke(KPainterArea *area) const;

private:
    PenItem *penItem() const;
    void repaintStroke();

    ThreadAliasingPoint *m_worker;
};

#endif // PENMODULE_H
