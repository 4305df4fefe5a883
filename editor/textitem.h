#ifndef TEXTITEM_H
#define TEXTITEM_H

#include "abstractgraphitem.h"

#include <QFont>
#include <QHash>
#include <QLineF>
#include <QPainterPath>
#include <QPair>
#include <QPoint>
#include <QPointer>
#include <QStringList>
#include <QTimer>

class ArrowItem;

// An editable text box that lays out and paints its text itself, with its own caret and
// selection, so no text widget has to live on the canvas. The box follows its text: it grows
// with typing, breaks a line that would leave the selection, and scales its font when a corner
// is dragged. It can carry an arrow whose start it keeps on its border.
class TextItem : public AbstractGraphItem
{
    Q_OBJECT

public:
    explicit TextItem(QQuickItem *parent = nullptr);

    QString text() const { return m_text; }
    QStringList lines() const { return m_lines; }
    QFont font() const { return m_font; }
    int caretLine() const { return m_caretLine; }
    int caretColumn() const { return m_caretColumn; }
    bool isReadOnly() const { return m_readOnly; }
    ArrowItem *arrowItem() const;

    // The box of the text; the item stands 5 px outside it on every side.
    void setGeometry(const QRectF &r) override;
    void rebuildKeyPosition() override;
    void calcGeometry(bool wrap);
    // Sets box and font exactly, as an undo step does.
    void resize(const QRectF &r, double pointSize);
    // Puts text, box and font back as they were, as undoing an editing pass does.
    void restore(const QString &text, const QRectF &r, double pointSize);
    void move(double x, double y) override;
    void setArrowItem(ArrowItem *arrow);
    void setReadOnly(bool readOnly);

    QString getSelectedText() const;
    QPair<int, int> getIndexSelect() const;
    void clearCursor();
    int getTextHeight() const { return int(m_textHeight); }

    void paint(QPainter *painter) override;
    QPainterPath shape() const;
    QPointF origin() const override;
    bool contains(const QPointF &point) const override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private slots:
    void updateFlashing();
    void checkFlashing(bool on);
    void updateArrowItem();
    void checkVisible();
    void changeLineWidth(int w);
    void changeColor(QColor c);
    void changeCheck(bool b);
    void arrowPositionChange();

private:
    struct Position
    {
        int line;
        int column;
    };

    void createKeyPosition();
    void setText(const QString &text);
    void setPointSize(double size);
    double textLineWidth(const QString &line) const;
    void layoutLines();
    bool wrapLines();
    int breakColumn(const QString &line, double room) const;
    void setCaretAbsolute(int position);
    QRect outputArea() const;
    int rightLimit() const;
    double placedTop(double top) const;
    int absolute(int line, int column) const;
    void clampCaret();
    int boundaryAtOrBefore(int line, int column) const;
    void insertAtCaret(const QString &text);
    bool removeSelection();
    bool hasSelection() const { return m_anchorLine != -1; }
    Position selectionStart() const;
    Position selectionEnd() const;
    // The columns [first, second) of line i that the selection covers, or (-1, -1).
    QPair<int, int> selectedColumns(int i) const;
    int advance(const QString &s) const;
    QPair<int, int> shownLines(QPainter *painter, int pitch) const;
    void paintText(QPainter *painter);
    QRectF wholeItemRect() const;
    int lineHeight() const;

    bool editKey(QKeyEvent *event);
    bool shiftKey(QKeyEvent *event);
    bool controlKey(QKeyEvent *event);
    void plainKey(QKeyEvent *event);
    void newLine();
    void caretLeft();
    void caretRight();
    void caretVertically(int step);
    void backspace();
    void deleteForward();
    void typeText(const QString &text);
    void paste(const QString &text);
    void discardIfEmpty();
    void recordEdit(const QString &oldText, const QRectF &oldRect, double oldPointSize);

    void pullArrow();
    void placeArrow(const QPoint &p);
    void scaleFont(const Edges &e, const QPoint &d);

    QTimer m_blinkTimer;
    bool m_caretVisible = false;
    QString m_text;
    QStringList m_lines;
    QFont m_font;
    // The measured width of each line, for the current font.
    mutable QHash<QString, double> m_widths;
    // How far the top of the item lies below the top of the whole box, when the box reaches
    // above the canvas.
    double m_shownTop = 0;
    double m_textWidth = 25.0;
    double m_textHeight = 10.0;
    int m_caretLine = 0;
    int m_caretColumn = 0;
    int m_anchorColumn = -1;
    int m_anchorLine = -1;
    int m_endColumn = -1;
    int m_endLine = -1;
    QPointer<ArrowItem> m_arrow;
    QPoint m_arrowTarget;
    QTimer m_arrowTimer;
    bool m_readOnly = false;
    QRectF m_pressGeometry;
    double m_pressPointSize = 0;
    QPoint m_lastPointer;
    bool m_dragged = false;
    // Whether the text typed in this editing pass is already covered by an undo step: a new
    // box by the step that added it, a box opened again by the step its first change pushed.
    bool m_editRecorded = true;
};

// The line from p to the point of r's border nearest to it, from 40 samples along the border.
QLineF getShortLine(const QPointF &p, const QRectF &r);

#endif // TEXTITEM_H
