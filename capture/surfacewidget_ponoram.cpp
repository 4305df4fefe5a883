// The scrolling capture of the capture view: the selection is cut out of the window so that
// the user scrolls the live document under it, the engine glues what shows there into a
// panorama, and the panorama then takes the selection's place as what the view hands on.

#include "kpainterarea.h"
#include "ponorammodule.h"
#include "ponorampreview.h"
#include "ponoramsession.h"
#include "surfacewidget.h"
#include "wheelarea.h"

#include <QQuickItem>

namespace {

// Depth first through the visual items, as the pages nest them.
template <typename Item> Item *findItem(QQuickItem *from, const QString &name)
{
    if (!from)
        return nullptr;
    for (QQuickItem *child : from->childItems()) {
        auto *item = qobject_cast<Item *>(child);
        if (item && child->objectName() == name)
            return item;
        if (Item *found = findItem<Item>(child, name))
            return found;
    }
    return nullptr;
}

} // namespace

void SurfaceWidget::registerPonoramTypes()
{
    PonoramPreview::registerQmlType();
    KPainterArea::registerModule(&PonoramModule::create);
    // The panorama scrolls under the wheel.
    qmlRegisterType<WheelArea>("KuvoComponent", 1, 0, "WheelArea");
}

void SurfaceWidget::connectPonoram()
{
    m_ponoram = new PonoramSession(this);
    connect(m_ponoram, &PonoramSession::finished, this, &SurfaceWidget::ponoramComplete);
    connect(m_ponoram, &PonoramSession::startFailed, this, [this] { setEnableMask(false); });
    connect(m_ponoram, &PonoramSession::changePreview, this, [this](const QImage &picture) {
        if (PonoramPreview *preview = ponoramPreview())
            preview->setImage(picture);
    });
}

Ponoram *SurfaceWidget::ponoram() const
{
    return m_ponoram->engine();
}

KPainterArea *SurfaceWidget::ponoramPaintArea() const
{
    return findItem<KPainterArea>(rootObject(), QStringLiteral("ponoramPaintArea"));
}

KPainterArea *SurfaceWidget::markedCanvas() const
{
    KPainterArea *panorama = ponoramDone() ? ponoramPaintArea() : nullptr;
    return panorama ? panorama : m_paintArea.data();
}

PonoramPreview *SurfaceWidget::ponoramPreview() const
{
    return findItem<PonoramPreview>(rootObject(), QStringLiteral("ponoramPreview"));
}

void SurfaceWidget::startPonoram()
{
    if (isPonoramWork() || ponoramDone() || !hasSelection())
        return;
    if (m_paintArea)
        m_paintArea->uncheckAllItem();
    setEnableMask(true);
    m_ponoram->start(desktopSelectRect());
}

// Stopped before its first grab, a capture has no panorama to show.
void SurfaceWidget::stopPonoram()
{
    m_ponoram->stop();
    if (!ponoramDone())
        setEnableMask(false);
}

void SurfaceWidget::cancelPonoram()
{
    m_ponoram->cancel();
    setEnableMask(false);
}

void SurfaceWidget::ponoramComplete()
{
    if (KPainterArea *area = ponoramPaintArea())
        area->setBackground(ponoramPixmap().toImage());
    setEnableMask(false);
    emit ponoramPixmapComplete();
    raise();
    requestActivate();
}

// The whole panorama with the shapes drawn on it.
QPixmap SurfaceWidget::renderPonoram()
{
    KPainterArea *area = ponoramPaintArea();
    if (!area)
        return ponoramPixmap();
    area->uncheckAllItem();
    area->update();
    return QPixmap::fromImage(
        area->renderRect(QRect(QPoint(0, 0), ponoramSize()), 50000, true, false));
}
