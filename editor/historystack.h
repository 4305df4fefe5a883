#ifndef HISTORYSTACK_H
#define HISTORYSTACK_H

#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QUndoCommand>

class AbstractGraphItem;
class CounterItem;
class LineItem;
class PenItem;
class RectItem;
class TextItem;

// The undo steps of the canvas. Shapes are hidden, never deleted, while the canvas lives, so
// every command may keep a plain pointer to its shape.
class AbstractHistoryCommand : public QUndoCommand
{
public:
    explicit AbstractHistoryCommand(AbstractGraphItem *item, QUndoCommand *parent = nullptr);
    AbstractGraphItem *item() const { return m_item; }

private:
    AbstractGraphItem *m_item;
};

class AddCommand : public AbstractHistoryCommand
{
public:
    explicit AddCommand(AbstractGraphItem *item);
    void undo() override;
    void redo() override;
};

class DeleteCommand : public AbstractHistoryCommand
{
public:
    explicit DeleteCommand(AbstractGraphItem *item);
    void undo() override;
    void redo() override;
};

class MoveCommand : public AbstractHistoryCommand
{
public:
    MoveCommand(AbstractGraphItem *item, const QPointF &newPos, const QPointF &oldPos);
    void undo() override;
    void redo() override;

private:
    double m_newX;
    double m_newY;
    double m_oldX;
    double m_oldY;
};

// A drag of a rectangle-like shape's handles or body, recorded as one step.
class RectChange : public AbstractHistoryCommand
{
public:
    RectChange(RectItem *item, const QRectF &newRect, const QRectF &oldRect);
    void undo() override;
    void redo() override;

private:
    RectItem *rectItem() const;

    QRectF m_newRect;
    QRectF m_oldRect;
};

// A drag of a counter's frame, which may have moved its bullet to another corner.
class CounterChange : public RectChange
{
public:
    struct Corner
    {
        bool right;
        bool bottom;
    };
    CounterChange(CounterItem *item, const QRectF &newRect, const QRectF &oldRect, Corner newCorner,
        Corner oldCorner);
    void undo() override;
    void redo() override;

private:
    CounterItem *counterItem() const;

    Corner m_newCorner;
    Corner m_oldCorner;
};

// A drag of a stroke's handles, recorded as one step.
class PenChange : public AbstractHistoryCommand
{
public:
    PenChange(PenItem *item, const QRectF &newRect, const QRectF &oldRect);
    void undo() override;
    void redo() override;

private:
    PenItem *penItem() const;

    QRectF m_newRect;
    QRectF m_oldRect;
};

// A drag of a line's end, recorded as one step.
class LineChange : public AbstractHistoryCommand
{
public:
    LineChange(LineItem *item, const QLineF &newLine, const QLineF &oldLine);
    void undo() override;
    void redo() override;

private:
    LineItem *lineItem() const;

    QLineF m_newLine;
    QLineF m_oldLine;
};

// A click or corner drag on a text box: its box and font size, recorded as one step.
class TextChange : public AbstractHistoryCommand
{
public:
    TextChange(TextItem *item, double newPointSize, const QRectF &newRect, double oldPointSize,
        const QRectF &oldRect);
    void undo() override;
    void redo() override;

private:
    TextItem *textItem() const;

    double m_newPointSize;
    QRectF m_newRect;
    double m_oldPointSize;
    QRectF m_oldRect;
};

// The typing of one editing pass over a box that already existed: text, box and font size come
// back together. The pass is still going on when the step is pushed, so its end state is taken
// when the step is first undone.
class TextEditChange : public AbstractHistoryCommand
{
public:
    TextEditChange(
        TextItem *item, const QString &oldText, const QRectF &oldRect, double oldPointSize);
    void undo() override;
    void redo() override;

private:
    TextItem *textItem() const;

    QString m_oldText;
    QRectF m_oldRect;
    double m_oldPointSize;
    bool m_haveNew = false;
    QString m_newText;
    QRectF m_newRect;
    double m_newPointSize = 0;
};

// Pushed only to drop the steps that could be redone: it leaves nothing on the stack itself.
class ForgetRedoCommand : public QUndoCommand
{
public:
    void redo() override { setObsolete(true); }
};

class ColorChange : public AbstractHistoryCommand
{
public:
    ColorChange(AbstractGraphItem *item, int newX, int oldX);
    void undo() override;
    void redo() override;

private:
    void apply(int x);

    int m_newX;
    int m_oldX;
};

class LineWidthChange : public AbstractHistoryCommand
{
public:
    LineWidthChange(AbstractGraphItem *item, int newWidth, int oldWidth);
    void undo() override;
    void redo() override;

private:
    int m_newWidth;
    int m_oldWidth;
};

#endif // HISTORYSTACK_H
