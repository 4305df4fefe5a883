#include "blackoutarea.h"

#include "blackoutitem.h"
#include "kregion.h"
#include "setting.h"

#include <QDebug>
#include <QPainter>
#include <QSGNode>

BlackoutArea::BlackoutArea(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    qDebug() << Q_FUNC_INFO;
    setAcceptedMouseButtons(Qt::LeftButton);
    setFlag(QQuickItem::ItemHasContents);
    setLineWidth(Setting::instance()->getValue(SettingKeys::widthBlackoutLine).toInt());
}

void BlackoutArea::setPaintArea(KPainterArea *area)
{
    if (area == m_paintArea)
        return;
    m_paintArea = area;
    emit paintAreaChanged(area);
}

void BlackoutArea::setSelectRect(const QRectF &r)
{
    if (r == m_selectRect)
        return;
    m_selectRect = r;
    setPosition(r.topLeft());
    setSize(r.size());
    update();
    emit selectRectChanged(r);
}

void BlackoutArea::setLineWidth(int w)
{
    qDebug() << Q_FUNC_INFO << w;
    // A width from outside the slider's range (an edited settings store) must still give a
    // colour that exists.
    m_color.setAlpha(qBound(0, int((w - 2) * 7.5 + 30.0), 255));
    update();
}

int BlackoutArea::lineWidth() const
{
    // Odd widths lose half a step of alpha on the way in; rounding gives them back.
    return qRound((m_color.alpha() - 30) / 7.5 + 2.0);
}

void BlackoutArea::createNewBlackoutItem(BlackoutItem *item)
{
    qDebug() << Q_FUNC_INFO << (isVisible() ? "true" : "false") << boundingRect();
    connect(item, &AbstractGraphItem::lineWidthChanged, this, &BlackoutArea::setLineWidth,
        Qt::UniqueConnection);
    // The newest area takes the darkness that the tool bar shows, even when the width was
    // chosen while no area existed to pass it on.
    setLineWidth(item->lineWidth());
    update();
}

QList<QRectF> BlackoutArea::brightRects() const
{
    QList<QRectF> rects;
    if (!m_paintArea)
        return rects;
    for (QQuickItem *child : m_paintArea->childItems()) {
        auto *item = qobject_cast<BlackoutItem *>(child);
        if (!item || !item->isVisible())
            continue;
        // While it is drawn up or left of its start the rectangle has a negative size; it is
        // bright all the same.
        const QRectF r = item->rectangle().normalized();
        if (r.width() > 0 && r.height() > 0)
            rects.append(
                QRectF(int(r.x() - x()), int(r.y() - y()), int(r.width()), int(r.height())));
    }
    return rects;
}

QList<QRectF> BlackoutArea::getPaintRect() const
{
    const QList<QRectF> bright = brightRects();
    const QRectF whole(0, 0, int(width()), int(height()));
    if (bright.isEmpty() || whole.isEmpty())
        return {};
    KRegion region(whole);
    for (const QRectF &r : bright)
        region = region.xored(r);
    return region.rects();
}

void BlackoutArea::paint(QPainter *painter)
{
    const QList<QRectF> rects = getPaintRect();
    if (rects.isEmpty())
        return;
    painter->setPen(Qt::NoPen);
    painter->setBrush(m_color);
    for (const QRectF &r : rects)
        painter->drawRect(r);
}

QSGNode *BlackoutArea::updatePaintNode(QSGNode *oldNode, UpdatePaintNodeData *data)
{
    // A selection thinner than a pixel has no pixel to darken, and Qt warns when asked to paint
    // into a texture of no width. Without a blackout area there is nothing to darken either:
    // a painted overlay as large as the selection would cost a buffer of its size and a repaint
    // of all of it on every move of the selection.
    if (width() < 1 || height() < 1 || getPaintRect().isEmpty()) {
        delete oldNode;
        return nullptr;
    }
    return QQuickPaintedItem::updatePaintNode(oldNode, data);
}
