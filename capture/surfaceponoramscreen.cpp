#include "surfaceponoramscreen.h"

#include "kpainterarea.h"
#include "ponorampreview.h"
#include "ponoramsession.h"
#include "surfaceselector.h"
#include "surfacewidget.h"

#include <QDebug>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QQuickItem>
#include <QRegion>
#include <QScreen>

namespace {

QRect firstScreenGeometry()
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    return screens.isEmpty() ? QRect() : screens.first()->geometry();
}

} // namespace

QPixmap SurfacePonoramScreen::createBackground()
{
    const QRect geometry = firstScreenGeometry();
    if (!QGuiApplication::primaryScreen() || geometry.isEmpty())
        return QPixmap();
    QPixmap picture = SurfaceWidget::grab(geometry);
    picture.setDevicePixelRatio(qApp->devicePixelRatio());
    return picture;
}

SurfacePonoramScreen::SurfacePonoramScreen(QObject *core, QWindow *parent)
    : QQuickView(parent)
    , m_background(createBackground())
{
    // The page is made of the capture view's parts: its types, and the panorama's.
    SurfaceWidget::registerCaptureTypes();
    connectPonoram();
    loadPage(core);
    setColor(Qt::transparent);
}

void SurfacePonoramScreen::connectPonoram()
{
    m_ponoram = new PonoramSession(this);
    connect(m_ponoram, &PonoramSession::startFailed, this, [this] { setMask(QRegion()); });
    connect(m_ponoram, &PonoramSession::finished, this,
        qOverload<const QPixmap &>(&SurfacePonoramScreen::stopPonoram));
}

void SurfacePonoramScreen::loadPage(QObject *core)
{
    SurfaceWidget::preparePage(this, core);
    setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setResizeMode(QQuickView::SizeRootObjectToView);
    setSource(QUrl(QStringLiteral("qrc:/qml/qml/Window/SurfacePonoram.qml")));
    if (QQuickItem *root = rootObject()) {
        m_selector = root->findChild<SurfaceSelector *>(QStringLiteral("SurfaceSelector"));
        setPaintArea(root->findChild<KPainterArea *>(QStringLiteral("ponoramPaintArea")));
        if (auto *preview = root->findChild<PonoramPreview *>(QStringLiteral("ponoramPreview")))
            connect(m_ponoram, &PonoramSession::changePreview, preview, &PonoramPreview::setImage);
    }
    if (!m_selector || !m_paintArea)
        qWarning() << Q_FUNC_INFO << "the panorama page did not load" << errors();
}

void SurfacePonoramScreen::show()
{
    const QRect geometry = firstScreenGeometry();
    qDebug() << Q_FUNC_INFO << geometry;
    setGeometry(geometry);
    showFullScreen();
    raise();
}

QRect SurfacePonoramScreen::toolbarScreen(int x, int y, int width, int height) const
{
    const QRect area(x, y, width, height);
    const QScreen *lowest = nullptr;
    for (const QScreen *screen : QGuiApplication::screens()) {
        if (screen->geometry().intersects(area)
            && (!lowest || screen->geometry().height() < lowest->geometry().height()))
            lowest = screen;
    }
    return lowest ? lowest->geometry() : QRect();
}

void SurfacePonoramScreen::setPaintArea(KPainterArea *area)
{
    m_paintArea = area;
}

// The selection is cut out of the window, so the document under it scrolls and shows.
void SurfacePonoramScreen::startPonoram()
{
    if (!m_selector || m_ponoram->isPonoramWork() || m_ponoram->ponoramDone())
        return;
    const QRect rect = m_selector->selectRect();
    if (rect.width() < 1 || rect.height() < 1)
        return;
    setMask(QRegion(QRect(QPoint(0, 0), size())).subtracted(QRegion(rect)));
    m_ponoram->start(rect.translated(position()));
}

// Stopped before its first grab, a capture has no panorama to show.
void SurfacePonoramScreen::stopPonoram()
{
    m_ponoram->stop();
    if (!m_ponoram->ponoramDone())
        setMask(QRegion());
}

void SurfacePonoramScreen::cancelPonoram()
{
    m_ponoram->cancel();
    setMask(QRegion());
}

void SurfacePonoramScreen::stopPonoram(const QPixmap &picture)
{
    qDebug() << Q_FUNC_INFO << picture.size();
    if (m_paintArea)
        m_paintArea->setBackground(picture.toImage());
    emit ponoramPixmapComplete(picture);
    setMask(QRegion());
    if (m_selector) {
        m_selector->setFirstDraw(false);
        m_selector->update();
    }
    raise();
    requestActivate();
}

QPixmap SurfacePonoramScreen::renderRubberRect()
{
    if (!m_ponoram->ponoramDone())
        return QPixmap();
    if (!m_paintArea)
        return m_ponoram->ponoramPixmap();
    m_paintArea->uncheckAllItem();
    m_paintArea->update();
    return QPixmap::fromImage(
        m_paintArea->renderRect(QRect(QPoint(0, 0), m_ponoram->ponoramSize()), 50000, true, false));
}

void SurfacePonoramScreen::uploadScreen()
{
    qDebug() << Q_FUNC_INFO;
    if (m_ponoram->ponoramDone())
        emit uploadedScreen();
}

void SurfacePonoramScreen::saveScreen()
{
    if (m_ponoram->ponoramDone())
        emit saveScreenRequested();
}

void SurfacePonoramScreen::screenSaveToClipboard()
{
    if (m_ponoram->ponoramDone())
        emit clipboardRequested();
}

void SurfacePonoramScreen::post(int action)
{
    if (m_ponoram->ponoramDone())
        emit postRequested(action);
}

bool SurfacePonoramScreen::event(QEvent *event)
{
    if (event->type() == QEvent::Close)
        emit closed();
    return QQuickView::event(event);
}

void SurfacePonoramScreen::keyPressEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Escape) {
        QQuickView::keyPressEvent(event);
        return;
    }
    cancelPonoram();
    close();
}
