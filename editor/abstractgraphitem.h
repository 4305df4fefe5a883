#ifndef ABSTRACTGRAPHITEM_H
#define ABSTRACTGRAPHITEM_H

#include <QColor>
#include <QList>
#include <QPoint>
#include <QPointF>
#include <QQuickPaintedItem>
#include <QRectF>

class KPainterArea;

// One shape on the canvas. A shape is a child item of its canvas that paints itself, shows its
// handles (key positions) while checked, is dragged and nudged, and records its own edits on
// the canvas's undo stack. Concrete shapes build their handles and paint their figure, then
// call the base paint for the handles.
class AbstractGraphItem : public QQuickPaintedItem
{
    Q_OBJECT

public:
    explicit AbstractGraphItem(QQuickItem *parent = nullptr);

    QRectF geometry() const { return m_geometry; }
    QColor color() const { return m_color; }
    int colorX() const { return m_colorX; }
    int lineWidth() const { return m_lineWidth; }
    bool substrate() const { return m_substrate; }
    bool fill() const { return m_fill; }
    bool isChecked() const { return m_checked; }
    KPainterArea *paintScene() const { return m_paintScene; }
    Q_INVOKABLE QString name() const { return m_name; }
    QList<QPointF> keyPositions() const { return m_keyPositions; }
    QPointF activeKey() const { return m_activeKey; }
    bool onKey() const { return m_onKey; }

    // Which edges a drag of the active handle moves, as the last hover classified it.
    struct Edges
    {
        bool left = false;
        bool top = false;
        bool right = false;
        bool bottom = false;
        bool side = false;
    };
    Edges edges() const { return m_edges; }

    void setCheck(bool c);
    void setColor(const QColor &color);
    void setColorX(int x) { m_colorX = x; }
    void setLineWidth(int w);
    void setSubstrate(bool substrate);
    void setFill(bool fill) { m_fill = fill; }
    void setUpToZ(bool upToZ) { m_upToZ = upToZ; }
    // Places the item's box around r with room for the stroke and the handles; each shape that
    // keeps other room around its figure places the box its own way.
    virtual void setGeometry(const QRectF &r);

    void paint(QPainter *painter) override;
    // move() places the item so that origin() becomes (x, y); moves are recorded in origins.
    virtual void move(double x, double y);
    // The item's position; a shape whose item shows only part of it names the whole part's.
    virtual QPointF origin() const { return position(); }
    virtual void rebuildKeyPosition();
    // Follows a zoom of the canvas by the factor f; shapes with points of their own scale them.
    virtual void rescale(double f);
    // Paints at the size the canvas is shown at.
    void fitTexture();

    // The pixel that a pointer position falls on, halves rounded up, for the canvas and every
    // shape alike.
    static QPoint roundedPoint(const QPointF &p);

signals:
    void checkChanged(bool checked);
    void lineWidthChanged(int w);
    void colorChanged(const QColor &c);
    void updated();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void hoverEnterEvent(QHoverEvent *event) override;
    void hoverMoveEvent(QHoverEvent *event) override;
    void geometryChanged(const QRectF &newGeometry, const QRectF &oldGeometry) override;

    void setKeyPositions(const QList<QPointF> &keys) { m_keyPositions = keys; }
    void setupPainter(QPainter *painter) const;
    // For shapes whose box is their own rectangle, without the margins that setGeometry adds.
    void setBoxGeometry(const QRectF &box);
    // For shapes whose stored geometry is an inner box of their own, not the item's rectangle.
    void storeGeometry(const QRectF &r) { m_geometry = r; }
    void setName(const QString &name) { m_name = name; }
    void setMoved(bool moved) { m_moved = moved; }
    bool isMoved() const { return m_moved; }
    bool isResizing() const { return m_resizing; }
    bool spaceHeld() const { return m_spaceHeld; }
    bool isMoveToolCurrent() const;

private:
    void classifyActiveKey();
    void pushMove(const QPointF &oldPos);

    QList<QPointF> m_keyPositions;
    QPointF m_activeKey;
    bool m_resizing = false;
    bool m_onKey = false;
    Edges m_edges;
    bool m_upToZ = true;
    bool m_fill = false;
    bool m_spaceHeld = false;
    QRectF m_geometry;
    bool m_checked = false;
    QColor m_color;
    int m_lineWidth = 2;
    bool m_substrate = false;
    int m_colorX = 0;
    QString m_name;
    KPainterArea *m_paintScene;
    QPointF m_pressPosition;
    bool m_moved = false;
};

// The angle at b between a - b and c - b, in radians (0 to pi); not a number when a or c
// coincides with b.
double angle_point(const QPointF &a, const QPointF &b, const QPointF &c);

#endif // ABSTRACTGRAPHITEM_H
