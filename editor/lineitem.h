#ifndef LINEITEM_H
#define LINEITEM_H

#include "abstractgraphitem.h"

#include <QLineF>
#include <QPainterPath>
#include <QPoint>

// A straight segment kept in canvas coordinates, in a box that reaches 45 px beyond it on every
// side. Shift snaps it to horizontal, vertical or 45 degrees; Space held while it follows the
// pointer carries the whole segment. Its handles are the two ends and the midpoint.
class LineItem : public AbstractGraphItem
{
    Q_OBJECT

public:
    explicit LineItem(QQuickItem *parent = nullptr);

    QLineF line() const { return m_line; }
    QLineF localLine() const { return m_localLine; }

    // The line from a to b under the keys held. A line that has length keeps its start and a
    // is ignored; a line without length (a new one) starts at a.
    void setLine(const QPointF &a, const QPointF &b);
    // Sets the line exactly, as an undo step does, whatever keys are held.
    void setLineExactly(const QLineF &line);
    bool isDegenerate() const { return m_line.p1() == m_line.p2(); }
    // Forgets the line, so that the next setLine takes both of its ends.
    void clearLine() { m_line = QLineF(); }

    // The drawing tool's stroke: the line from start to the pointer. Until finishDrawing, keys
    // pressed or released reshape it at once, as if the pointer had moved.
    void drawTo(const QPoint &start, const QPoint &pointer);
    void finishDrawing();

    // Places the box around r grown by the margin.
    void setGeometry(const QRectF &r) override;
    // For a zoom of the canvas: the box becomes r and the line scales with it.
    void setRect(const QRectF &r);

    void paint(QPainter *painter) override;
    void move(double x, double y) override;
    void rebuildKeyPosition() override;
    void rescale(double f) override;
    // Only the segment and its handles take the pointer, not the empty corners of the box.
    bool contains(const QPointF &point) const override;
    QPainterPath shape() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

    virtual void createKeyPosition();
    // The width of the pen that outlines the segment for shape().
    virtual int shapeWidth() const { return lineWidth() + 5; }

private:
    // Which end follows the pointer: the drawing tool's and an end handle's drag move the end,
    // a start handle's drag the start.
    enum class Drive { None, End, Start };

    QLineF requested(const QLineF &current, const QPointF &from, const QPointF &to);
    void followPointer(const QPointF &pointer);
    QPoint canvasPoint(const QMouseEvent *event) const;

    QLineF m_line;
    QLineF m_localLine;
    QLineF m_pressLine;
    Drive m_drive = Drive::None;
    QPointF m_pointer;
    QPoint m_pressPoint;
};

#endif // LINEITEM_H
