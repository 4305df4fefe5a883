#ifndef RECTITEM_H
#define RECTITEM_H

#include "abstractgraphitem.h"

#include <QPainterPath>
#include <QPoint>
#include <QRectF>

class QUndoCommand;

// An axis-aligned rectangle. Its geometry rules, handles, drawing modifiers (Space moves, Shift
// squares) and drag rules are shared by every rectangle-like shape, which only paints itself
// differently.
class RectItem : public AbstractGraphItem
{
    Q_OBJECT

public:
    explicit RectItem(QQuickItem *parent = nullptr);

    // The shape's own rectangle in canvas coordinates; it may have a negative width or height
    // while it is being drawn.
    QRectF rectangle() const { return m_rectangle; }
    // Sets the rectangle exactly, as an undo step does, whatever keys are held.
    void setRectangle(const QRectF &rectangle);

    // The reverse of setGeometry: the rectangle that fits the box, for a zoom of the canvas.
    void setRect(const QRectF &box);
    void normalize();
    // r is a start corner and a signed size: the rectangle grows from its anchor corner to the
    // far corner of r, moves with it while Space is held, or becomes a square while Shift is.
    void resize(const QRectF &r);

    void paint(QPainter *painter) override;
    void move(double nx, double ny) override;
    void rebuildKeyPosition() override;
    void rescale(double f) override;
    QPainterPath shape() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

    virtual void createKeyPosition();
    // The undo step of a finished handle or body drag.
    virtual QUndoCommand *changeCommand(const QRectF &newRect, const QRectF &oldRect);
    // For shapes that leave more room around the rectangle, such as a bullet beside it.
    void setMargin(int margin) { m_margin = margin; }
    // The rectangle as it was when the last press on the shape began.
    QRectF pressRectangle() const { return m_pressRectangle; }
    // The rectangle as it is painted, in item coordinates.
    QRect paintedRect() const;
    // The area of path together with its outline as the pen draws it.
    QPainterPath withStroke(const QPainterPath &path) const;

private:
    int boxMargin() const { return lineWidth() / 2 + m_margin; }
    void reshape(const QRectF &r);
    void moveFarCorner(const QRectF &r);
    void growFromAnchor(const QRectF &r);
    void square(QRectF r);
    void dragBy(double dx, double dy);

    int m_margin = 5;
    QRectF m_rectangle;
    QRectF m_pressRectangle;
    QPointF m_anchor;
    // While the tool draws the shape, the modifier keys reshape it at once; a released key puts
    // the far corner back where the tool last asked for it.
    bool m_drawing = false;
    QPointF m_lastFarCorner;
    QPoint m_pressPoint;
    bool m_dragged = false;
};

#endif // RECTITEM_H
