#ifndef COUNTERMODULE_H
#define COUNTERMODULE_H

#include "graphmodule.h"

#include <QPointer>

class CounterItem;

// The counter tool: a click places the next numbered bullet, a drag a frame with the bullet
// beyond the corner where the drag ended. Numbers follow the highest one still shown.
class CounterModule : public GraphModule
{
    Q_OBJECT

public:
    explicit CounterModule(QObject *parent);
    static GraphModule *create(KPainterArea *area);

    void beginPaintItem(KPainterArea *area, const QPoint &point) override;
    void paintItem(KPainterArea *area, const QPoint &point) override;
    void endPaintItem(KPainterArea *area, const QPoint &point) override;

private:
    bool onCounter(const QPoint &point) const;
    int nextNumber() const;
    void placeBullet(const QPoint &point);

    // None when the press fell on a bullet that is already there.
    QPointer<CounterItem> m_counter;
};

#endif // COUNTERMODULE_H
