#include "historystack.h"

#include "abstractgraphitem.h"
#include "colorstrip.h"
#include "counteritem.h"
#include "lineitem.h"
#include "penitem.h"
#include "rectitem.h"
#include "textitem.h"

AbstractHistoryCommand::AbstractHistoryCommand(AbstractGraphItem *item, QUndoCommand *parent)
    : QUndoCommand(parent)
    , m_item(item)
{
}

AddCommand::AddCommand(AbstractGraphItem *item)
    : AbstractHistoryCommand(item)
{
}

void AddCommand::undo()
{
    item()->setVisible(false);
}

void AddCommand::redo()
{
    item()->setVisible(true);
    setText(QStringLiteral("Add command"));
}

DeleteCommand::DeleteCommand(AbstractGraphItem *item)
    : AbstractHistoryCommand(item)
{
}

void DeleteCommand::undo()
{
    item()->setVisible(true);
}

void DeleteCommand::redo()
{
    item()->setVisible(false);
    setText(QStringLiteral("Delete command"));
}

MoveCommand::MoveCommand(AbstractGraphItem *item, const QPointF &newPos, const QPointF &oldPos)
    : AbstractHistoryCommand(item)
    , m_newX(newPos.x())
    , m_newY(newPos.y())
    , m_oldX(oldPos.x())
    , m_oldY(oldPos.y())
{
}

void MoveCommand::undo()
{
    item()->move(m_oldX, m_oldY);
    setText(QStringLiteral("Move at %1 %2").arg(m_oldX).arg(m_oldY));
}

void MoveCommand::redo()
{
    item()->move(m_newX, m_newY);
    setText(QStringLiteral("Move"));
}

RectChange::RectChange(RectItem *item, const QRectF &newRect, const QRectF &oldRect)
    : AbstractHistoryCommand(item)
    , m_newRect(newRect)
    , m_oldRect(oldRect)
{
}

RectItem *RectChange::rectItem() const
{
    return static_cast<RectItem *>(item());
}

void RectChange::undo()
{
    rectItem()->setRectangle(m_oldRect);
}

void RectChange::redo()
{
    rectItem()->setRectangle(m_newRect);
    setText(QStringLiteral("Rect change"));
}

CounterChange::CounterChange(CounterItem *item, const QRectF &newRect, const QRectF &oldRect,
    Corner newCorner, Corner oldCorner)
    : RectChange(item, newRect, oldRect)
    , m_newCorner(newCorner)
    , m_oldCorner(oldCorner)
{
}

CounterItem *CounterChange::counterItem() const
{
    return static_cast<CounterItem *>(item());
}

void CounterChange::undo()
{
    RectChange::undo();
    counterItem()->setBulletPos(m_oldCorner.right, m_oldCorner.bottom);
}

void CounterChange::redo()
{
    RectChange::redo();
    counterItem()->setBulletPos(m_newCorner.right, m_newCorner.bottom);
}

PenChange::PenChange(PenItem *item, const QRectF &newRect, const QRectF &oldRect)
    : AbstractHistoryCommand(item)
    , m_newRect(newRect)
    , m_oldRect(oldRect)
{
}

PenItem *PenChange::penItem() const
{
    return static_cast<PenItem *>(item());
}

void PenChange::undo()
{
    penItem()->resize(m_oldRect);
}

void PenChange::redo()
{
    penItem()->resize(m_newRect);
    setText(QStringLiteral("Pen change"));
}

LineChange::LineChange(LineItem *item, const QLineF &newLine, const QLineF &oldLine)
    : AbstractHistoryCommand(item)
    , m_newLine(newLine)
    , m_oldLine(oldLine)
{
}

LineItem *LineChange::lineItem() const
{
    return static_cast<LineItem *>(item());
}

// The line is set exactly: Shift or Space held at an undo must not reshape what was recorded.
void LineChange::undo()
{
    lineItem()->setLineExactly(m_oldLine);
}

void LineChange::redo()
{
    lineItem()->setLineExactly(m_newLine);
    setText(QStringLiteral("Line change"));
}

TextChange::TextChange(TextItem *item, double newPointSize, const QRectF &newRect,
    double oldPointSize, const QRectF &oldRect)
    : AbstractHistoryCommand(item)
    , m_newPointSize(newPointSize)
    , m_newRect(newRect)
    , m_oldPointSize(oldPointSize)
    , m_oldRect(oldRect)
{
}

TextItem *TextChange::textItem() const
{
    return static_cast<TextItem *>(item());
}

void TextChange::undo()
{
    textItem()->resize(m_oldRect, m_oldPointSize);
}

void TextChange::redo()
{
    textItem()->resize(m_newRect, m_newPointSize);
    setText(QStringLiteral("Text change"));
}

TextEditChange::TextEditChange(
    TextItem *item, const QString &oldText, const QRectF &oldRect, double oldPointSize)
    : AbstractHistoryCommand(item)
    , m_oldText(oldText)
    , m_oldRect(oldRect)
    , m_oldPointSize(oldPointSize)
{
}

TextItem *TextEditChange::textItem() const
{
    return static_cast<TextItem *>(item());
}

void TextEditChange::undo()
{
    if (!m_haveNew) {
        m_haveNew = true;
        m_newText = textItem()->text();
        m_newRect = textItem()->geometry();
        m_newPointSize = textItem()->font().pointSizeF();
    }
    textItem()->restore(m_oldText, m_oldRect, m_oldPointSize);
}

void TextEditChange::redo()
{
    if (m_haveNew)
        textItem()->restore(m_newText, m_newRect, m_newPointSize);
    setText(QStringLiteral("Text edit"));
}

ColorChange::ColorChange(AbstractGraphItem *item, int newX, int oldX)
    : AbstractHistoryCommand(item)
    , m_newX(newX)
    , m_oldX(oldX)
{
}

void ColorChange::undo()
{
    apply(m_oldX);
}

void ColorChange::redo()
{
    apply(m_newX);
    setText(QStringLiteral("Color change"));
}

void ColorChange::apply(int x)
{
    item()->setColorX(x);
    item()->setColor(ColorStrip::colorFromX(x));
}

LineWidthChange::LineWidthChange(AbstractGraphItem *item, int newWidth, int oldWidth)
    : AbstractHistoryCommand(item)
    , m_newWidth(newWidth)
    , m_oldWidth(oldWidth)
{
}

void LineWidthChange::undo()
{
    item()->setLineWidth(m_oldWidth);
}

void LineWidthChange::redo()
{
    item()->setLineWidth(m_newWidth);
    setText(QStringLiteral("Line width change"));
}
