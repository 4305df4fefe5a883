#include "textmodule.h"

#include "arrowitem.h"
#include "kpainterarea.h"
#include "textitem.h"

TextModule::TextModule(KPainterArea *area)
    : GraphModule(QStringLiteral("Text"), area)
{
    connect(area, &KPainterArea::currentModuleChanged, this, &TextModule::moduleChanged);
}

GraphModule *TextModule::create(KPainterArea *area)
{
    return new TextModule(area);
}

ArrowItem *TextModule::arrow(KPainterArea *area) const
{
    GraphModule *arrows = area->moduleFromName(QStringLiteral("Arrow"));
    return arrows ? qobject_cast<ArrowItem *>(arrows->currentItem()) : nullptr;
}

void TextModule::beginPaintItem(KPainterArea *, const QPoint &point)
{
    m_arrowStarted = false;
    setStartPoint(point);
}

void TextModule::paintItem(KPainterArea *area, const QPoint &point)
{
    GraphModule *arrows = area->moduleFromName(QStringLiteral("Arrow"));
    if (point == startPoint() || !arrows)
        return;
    if (!m_arrowStarted) {
        arrows->beginPaintItem(area, startPoint());
        m_arrowStarted = true;
        return;
    }
    arrows->paintItem(area, point);
    if (ArrowItem *a = arrow(area)) {
        a->setReverse(true);
        a->clearLine();
        a->setLineWidth(2);
        a->setLine(point, startPoint());
    }
}

void TextModule::endPaintItem(KPainterArea *area, const QPoint &point)
{
    auto *text = new TextItem(area);
    createItem(text, area);
    text->setGeometry(QRectF(point.x(), point.y() - 8, 125, 17));
    ArrowItem *a = m_arrowStarted ? arrow(area) : nullptr;
    // A drag back to its start leaves no arrow: it would stay on the picture without a box
    // and without an undo step.
    if (a && point == startPoint()) {
        a->setVisible(false);
        a = nullptr;
    }
    if (a) {
        a->finishDrawing();
        a->setCheck(false);
        a->setLine(point, startPoint());
        a->setReverse(false);
        text->setArrowItem(a);
        a->clearLine();
        a->setLine(point, startPoint());
        a->setTextItem(text);
    }
    addTostorage(text, area);
    text->setFocus(true);
    text->setReadOnly(false);
    text->calcGeometry(true);
    emit currentItemChange(text);
}

// Leaving the tool leaves the box being edited, so an empty one goes away at once.
void TextModule::moduleChanged(const QString &module)
{
    auto *text = qobject_cast<TextItem *>(item());
    if (text && module != name())
        text->setFocus(false);
}
