#ifndef BLACKOUTMODULE_H
#define BLACKOUTMODULE_H

#include "graphmodule.h"

class BlackoutItem;

// The blackout tool: a drag marks a rectangle, from the press point to the pointer, that stays
// bright while the rest of the selection darkens.
class BlackoutModule : public GraphModule
{
    Q_OBJECT

public:
    explicit BlackoutModule(QObject *parent);
    static GraphModule *create(KPainterArea *area);

    void beginPaintItem(KPainterArea *area, const QPoint &point) override;
    void paintItem(KPainterArea *area, const QPoint &point) override;
    void endPaintItem(KPainterArea *area, const QPoint &point) override;

signals:
    void createNewBlackoutItem(BlackoutItem *item);

private:
    BlackoutItem *blackoutItem() const;
};

#endif // BLACKOUTMODULE_H
