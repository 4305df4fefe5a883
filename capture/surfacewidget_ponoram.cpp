// The scrolling capture of the capture view: the selection is cut out of the window so that
// the user scrolls the live document under it, the engine glues what shows there into a
// panorama, and the panorama then takes the selection's place as what the view hands on.

#include "kpainterarea.h"
#include "ponoram.h"
#include "ponorammodule.h"
#include "ponorampreview.h"
#include "surfacewidget.h"
#include "wheelarea.h"

#include <QCoreApplication>
#include <QDebug>
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

KPainterArea *SurfaceWidget::ponoramPaintArea() const
{
    return findItem<KPainterArea>(rootObject(), QStringLiteral("ponoramPaintArea"));
}

PonoramPreview *SurfaceWidget::ponoramPreview() const
{
    return findItem<PonoramPreview>(rootObject(), QStringLiteral("ponoramPreview"));
}

void SurfaceWidget::startPonoram()
{
    if (m_isPonoramWork || !hasSelection())
        return;
    if (!m_ponoram) {
        m_ponoram = new Ponoram(this);
        m_ponoram->setGrabber([](const QRect &rect) { return grab(rect).toImage(); });
        connect(m_ponoram, &Ponoram::complete, this, &SurfaceWidget::ponoramComplete);
        connect(m_ponoram, &Ponoram::rectChange, this, &SurfaceWidget::setPonoramSize);
        connect(m_ponoram, &Ponoram::errorGlueImage, this, &SurfaceWidget::ponoramError);
        connect(m_ponoram, &Ponoram::heightLimitReached, this, [this] {
            m_isPonoramFull = true;
            emit isPonoramFullChanged(true);
        });
        if (PonoramPreview *preview = ponoramPreview())
            connect(m_ponoram, &Ponoram::changePreview, preview, &PonoramPreview::setImage);
    }
    if (m_paintArea)
        m_paintArea->uncheckAllItem();
    setEnableMask(true);
    setPonoramError(false);
    m_isPonoramFull = false;
    emit isPonoramFullChanged(false);
    setPonoramWork(true);
    // The window must have let go of the selection before the first grab looks through it.
    QCoreApplication::processEvents();
    if (!m_ponoram->startPonoram(desktopSelectRect())) {
        setEnableMask(false);
        setPonoramWork(false);
        setPonoramError(true);
    }
}

void SurfaceWidget::stopPonoram()
{
    if (m_ponoram)
        m_ponoram->stopPonoram();
    setPonoramWork(false);
}

void SurfaceWidget::cancelPonoram()
{
    if (m_ponoram)
        m_ponoram->cancelPonoram();
    setEnableMask(false);
    setPonoramWork(false);
}

void SurfaceWidget::ponoramComplete(const QPixmap &picture)
{
    m_ponoramDone = true;
    m_ponoramPixmap = picture;
    if (KPainterArea *area = ponoramPaintArea())
        area->setBackground(picture.toImage());
    setEnableMask(false);
    setPonoramWork(false);
    emit ponoramPixmapComplete();
    raise();
    requestActivate();
}

void SurfaceWidget::setPonoramSize(const QSize &size)
{
    m_ponoramSize = size;
    emit ponoramSizeChanged(size);
    setPonoramError(false);
}

void SurfaceWidget::ponoramError()
{
    setPonoramError(true);
}

void SurfaceWidget::setPonoramWork(bool work)
{
    m_isPonoramWork = work;
    emit isPonoramWorkChanged(work);
}

void SurfaceWidget::setPonoramError(bool error)
{
    m_isPonoramError = error;
    emit isPonoramErrorChanged(error);
}

// The whole panorama with the shapes drawn on it.
QPixmap SurfaceWidget::renderPonoram()
{
    KPainterArea *area = ponoramPaintArea();
    if (!area || m_ponoramPixmap.isNull())
        return m_ponoramPixmap;
    area->uncheckAllItem();
    area->update();
    return QPixmap::fromImage(
        area->renderRect(QRect(QPoint(0, 0), m_ponoramPixmap.size()), 50000, true, false));
}
