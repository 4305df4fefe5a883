#ifndef ELLIPSEMODULE_H
#define ELLIPSEMODULE_H

#include "rectmodule.h"

// The ellipse tool: drawn like the rectangle, the ellipse inscribed in it is shown.
class EllipseModule : public RectModule
{
    Q_OBJECT

public:
    explicit EllipseModule(QObject *parent);
    static GraphModule *create(KPainterArea *area);

protected:
    RectItem *newShape(KPainterArea *area) const override;
};

#endif // ELLIPSEMODULE_H
