#ifndef TEXTMODULE_H
#define TEXTMODULE_H

#include "graphmodule.h"

class ArrowItem;

// The text tool: a click puts an editable text box there; a drag draws an arrow from the press
// point to the pointer and puts the box, tied to the arrow, where the drag ends.
class TextModule : public GraphModule
{
    Q_OBJECT

public:
    explicit TextModule(KPainterArea *area);
    static GraphModule *create(KPainterArea *area);

    void beginPaintItem(KPainterArea *area, const QPoint &point) override;
    void paintItem(KPainterArea *area, const QPoint &point) override;
    void endPaintItem(KPainterArea *area, const QPoint &point) override;

private slots:
    void moduleChanged(const QString &module);

private:
    ArrowItem *arrow(KPainterArea *area) const;

    bool m_arrowStarted = false;
};

#endif // TEXTMODULE_H
