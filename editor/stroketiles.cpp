#include "stroketiles.h"

#include <QPainter>
#include <QQuickPaintedItem>
#include <QtMath>

namespace {

// Small enough that a move's segment touches one to four tiles, large enough that a long
// stroke needs few of them.
constexpr int kTileSize = 128;

class StrokeTile : public QQuickPaintedItem
{
public:
    StrokeTile(QQuickItem *owner, const QPoint &origin, const StrokeTiles::Painter &paint)
        : QQuickPaintedItem(owner)
        , m_paint(paint)
    {
        setPosition(origin);
        setSize(QSizeF(kTileSize, kTileSize));
    }

    void paint(QPainter *painter) override
    {
        painter->translate(-position());
        m_paint(painter);
    }

private:
    const StrokeTiles::Painter &m_paint;
};

} // namespace

StrokeTiles::StrokeTiles(QQuickItem *owner, Painter paint)
    : m_owner(owner)
    , m_paint(std::move(paint))
{
}

StrokeTiles::~StrokeTiles()
{
    qDeleteAll(m_tiles);
}

QQuickPaintedItem *StrokeTiles::tile(int column, int row)
{
    const quint64 key = (quint64(quint32(column)) << 32) | quint32(row);
    QQuickPaintedItem *&found = m_tiles[key];
    if (!found)
        found = new StrokeTile(m_owner, QPoint(column, row) * kTileSize, m_paint);
    return found;
}

void StrokeTiles::repaint(const QRectF &area)
{
    const QRect changed = area.toAlignedRect();
    if (changed.isEmpty())
        return;
    for (int row = qFloor(double(changed.top()) / kTileSize); row * kTileSize <= changed.bottom();
         ++row) {
        for (int column = qFloor(double(changed.left()) / kTileSize);
             column * kTileSize <= changed.right(); ++column) {
            QQuickPaintedItem *part = tile(column, row);
            part->update(changed.translated(-part->position().toPoint())
                & QRect(0, 0, kTileSize, kTileSize));
        }
    }
}

void StrokeTiles::repaintAll(const QRectF &area)
{
    // Whole rectangles, never update(): a painted item forgets a pending update() of everything
    // when a rectangle comes after it.
    for (QQuickPaintedItem *part : qAsConst(m_tiles))
        part->update(QRect(0, 0, kTileSize, kTileSize));
    repaint(area);
}
