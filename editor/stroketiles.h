#ifndef STROKETILES_H
#define STROKETILES_H

#include <QHash>
#include <QRectF>
#include <functional>

class QPainter;
class QQuickItem;
class QQuickPaintedItem;

// A stroke shown as a grid of small painted items while it is drawn. A painted item's texture is
// as large as its box and goes whole to the screen after every change, so a move late in a long
// stroke cost as much as drawing all of it; here a move repaints and sends only the parts of the
// tiles its new segment touches.
class StrokeTiles
{
public:
    // paint draws the stroke in owner's coordinates; it is clipped to what changed.
    using Painter = std::function<void(QPainter *)>;
    StrokeTiles(QQuickItem *owner, Painter paint);
    ~StrokeTiles();
    StrokeTiles(const StrokeTiles &) = delete;
    StrokeTiles &operator=(const StrokeTiles &) = delete;

    // Paints area (owner's coordinates) again.
    void repaint(const QRectF &area);
    // Paints every tile again, and area, where the stroke now lies.
    void repaintAll(const QRectF &area);

private:
    QQuickPaintedItem *tile(int column, int row);

    QQuickItem *m_owner;
    Painter m_paint;
    QHash<quint64, QQuickPaintedItem *> m_tiles;
};

#endif // STROKETILES_H
