#ifndef MARKERMODULE_H
#define MARKERMODULE_H

#include "penmodule.h"

// The marker tool: drawn like the pen, with a wide half-transparent stroke.
class MarkerModule : public PenModule
{
    Q_OBJECT

public:
    explicit MarkerModule(QObject *parent);
    static GraphModule *create(KPainterArea *area);

protected:
    PenItem *newStroke(KPainterArea *area) const override;
};

#endif // MARKERMODULE_H
