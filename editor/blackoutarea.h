#ifndef BLACKOUTAREA_H
#define BLACKOUTAREA_H

#include "kpainterarea.h"

#include <QColor>
#include <QList>
#include <QPointer>
#include <QQuickPaintedItem>
#include <QRectF>

class BlackoutItem;

// The darkening overlay of a canvas: it covers the selection with one translucent black layer,
// minus the rectangles of the visible blackout items. It keeps no list of them and looks them
// up among the canvas's children on every paint, so undo, redo and deletion need no bookkeeping.
class BlackoutArea : public QQuickPaintedItem
{
    Q_OBJECT
    Q_PROPERTY(KPainterArea *paintArea READ paintArea WRITE setPaintArea NOTIFY paintAreaChanged)
    Q_PROPERTY(QRectF selectRect READ selectRect WRITE setSelectRect NOTIFY selectRectChanged)

public:
    explicit BlackoutArea(QQuickItem *parent = nullptr);

    KPainterArea *paintArea() const { return m_paintArea; }
    void setPaintArea(KPainterArea *area);
    QRectF selectRect() const { return m_selectRect; }
    // r is in the canvas's coordinates; the overlay moves and sizes itself to it.
    void setSelectRect(const QRectF &r);
    // The darkness as a tool-bar width (2 to 26).
    int lineWidth() const;
    // The rectangles to darken, in the overlay's own coordinates; empty while no bright area
    // exists, so that a selection without one is not darkened at all.
    QList<QRectF> getPaintRect() const;

    void paint(QPainter *painter) override;

protected:
    QSGNode *updatePaintNode(QSGNode *oldNode, UpdatePaintNodeData *data) override;

public slots:
    void createNewBlackoutItem(BlackoutItem *item);
    // The darkness from a tool-bar width: 2 is the lightest, 26 the darkest.
    void setLineWidth(int w);

signals:
    void paintAreaChanged(KPainterArea *area);
    void selectRectChanged(const QRectF &rect);

private:
    QList<QRectF> brightRects() const;

    QPointer<KPainterArea> m_paintArea;
    QRectF m_selectRect {0, 0, 0, 0};
    QColor m_color {0, 0, 0, 119};
};

#endif // BLACKOUTAREA_H
