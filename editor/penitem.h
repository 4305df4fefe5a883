#ifndef PENITEM_H
#define PENITEM_H

#include "abstractgraphitem.h"

#include <QList>
#include <QMutex>
#include <QPainterPath>
#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QVector>
#include <functional>
#include <memory>

class StrokeTiles;

// A hand-drawn stroke. It keeps the pointer positions as they came (the buffer) and paints the
// list that the tool's worker smooths from them; once drawn, the painted list is the shape that
// moves, scales and mirrors with the box.
class PenItem : public AbstractGraphItem
{
    Q_OBJECT

public:
    // The two lists that the GUI thread and the smoothing worker share, under one lock. The
    // worker holds them by a shared pointer, so they outlive an item deleted mid-stroke.
    struct Stroke
    {
        QList<QPointF> bufferCopy() const;
        QList<QPointF> paintCopy() const;
        void setPaint(const QList<QPointF> &list);
        // The paint list from index kept on becomes tail; the area it covered and covers now
        // is marked changed.
        void replaceTail(int kept, const QVector<QPointF> &tail);
        // Where the paint list changed since the last call (without the line's width), or all
        // set when the whole list may have.
        QRectF takeChanged(bool *all);
        QRectF bounds() const;

        mutable QMutex lock;
        QVector<QPointF> buffer;
        // How many leading points of the buffer are as the worker last read them.
        int stable = 0;
        QVector<QPointF> paint;
        QRectF changed;
        bool changedAll = true;
    };
    using StrokePointer = std::shared_ptr<Stroke>;

    explicit PenItem(QQuickItem *parent = nullptr);
    ~PenItem() override;

    StrokePointer stroke() const { return m_stroke; }
    // p in canvas coordinates: the box grows around it and it joins the buffer.
    void addPoint(const QPointF &p);
    void movePoint(float dx, float dy);
    void removeLastPoint();
    int countPoint() const;
    QList<QPointF> getBufferPoint() const;
    QList<QPointF> getPaintPoint() const;
    void setPaintPoint(const QList<QPointF> &list);

    // The stroke's box in canvas coordinates; flipped while a handle drag has turned it over.
    QRectF storedRect() const { return m_rect; }
    void setGeometry(const QRectF &r) override;
    void createKeyPosition();
    // The paint list follows the box from oldRect to newRect.
    void updatePoint(const QRectF &oldRect, const QRectF &newRect);
    // The box becomes r; a flipped r also mirrors the stroke on the flipped axes, which is how
    // an undo step turns a mirrored stroke back.
    void resize(const QRectF &r);
    QPainterPath shape() const;

    // While drawing, the stroke is shown in tiles of which a move repaints only those under its
    // new segment; once drawn, as any painted item.
    void startDrawing();
    void finishDrawing();
    // Shows what the worker (or a change of colour or width) changed.
    void showChanges();

    void paint(QPainter *painter) override;
    void move(double x, double y) override;
    void rebuildKeyPosition() override;
    void rescale(double f) override;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

    // The width of the line that paint draws, which the box must keep room for.
    virtual int paintedWidth() const { return lineWidth(); }
    using SegmentPainter = std::function<void(const QPointF &, const QPointF &)>;
    // Hands draw every segment of the paint list, as it shows while the box is flipped, that
    // reaches into the painter's clip.
    void forEachSegment(const QPainter *painter, const SegmentPainter &draw) const;
    QSGNode *updatePaintNode(QSGNode *old, UpdatePaintNodeData *data) override;

private slots:
    void fitStroke();

private:
    int growMargin() const;
    // The paint list as it shows while the box is flipped.
    QList<QPointF> displayedPoints() const;
    // A point of the paint list where it shows while the box is flipped.
    QPointF shown(const QPointF &p) const;
    // How far a segment's pixels reach beyond its ends.
    double reach() const { return paintedWidth() / 2.0 + 2; }
    QRectF box() const { return QRectF(x(), y(), width(), height()); }
    void scalePaint(const QRectF &from, const QRectF &to);
    void mirrorPaint(bool horizontal, bool vertical);
    QRectF draggedRect(double dx, double dy) const;
    void takeRect(const QRectF &r);

    StrokePointer m_stroke;
    bool m_repaintAll = false;
    std::unique_ptr<StrokeTiles> m_tiles;
    QRectF m_rect;
    QRectF m_pressRect;
    QPoint m_pressPoint;
    bool m_bodyMoved = false;
};

#endif // PENITEM_H
