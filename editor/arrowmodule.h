#ifndef ARROWMODULE_H
#define ARROWMODULE_H

#include "linemodule.h"

// The arrow tool: drawn like the line, with the head at the pointer.
class ArrowModule : public LineModule
{
    Q_OBJECT

public:
    explicit ArrowModule(QObject *parent);
    static GraphModule *create(KPainterArea *area);

protected:
    LineItem *newShape(KPainterArea *area) const override;
};

#endif // ARROWMODULE_H
