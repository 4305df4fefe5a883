#include "editponoramwidget.h"

#include "surfacewidget.h"
#include "textitem.h"

#include <QClipboard>
#include <QDebug>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QQuickItem>
#include <QScreen>
#include <QX11Info>

namespace {

// Shapes at or above it are the canvas's own helpers, never part of the picture.
constexpr double kOutputZLimit = 10000;

QRect primaryGeometry()
{
    const QScreen *primary = QGuiApplication::primaryScreen();
    return primary ? primary->geometry() : QRect();
}

QRect primaryAvailableGeometry()
{
    const QScreen *primary = QGuiApplication::primaryScreen();
    return primary ? primary->availableGeometry() : QRect();
}

} // namespace

EditPonoramWidget::EditPonoramWidget(const QPixmap &pixmap, QObject *core, QWindow *parent)
    : QQuickView(parent)
    , m_maxWidth(primaryGeometry().width())
    , m_maxHeight(primaryGeometry().height())
    , m_pixmapRatio(int(pixmap.devicePixelRatio()))
{
    SurfaceWidget::registerCaptureTypes();
    checkCompositing();
    loadPage(core);
    setBackground(pixmap);
}

void EditPonoramWidget::loadPage(QObject *core)
{
    SurfaceWidget::preparePage(this, core);
    setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setResizeMode(QQuickView::SizeViewToRootObject);
    setColor(Qt::transparent);
    setObjectName(QStringLiteral("EditPonoramWindow"));
    setSource(QUrl(QStringLiteral("qrc:/qml/qml/Window/EditPonoramPage.qml")));
    if (QQuickItem *root = rootObject())
        m_paintArea = root->findChild<KPainterArea *>(QStringLiteral("paintArea"));
    if (!m_paintArea)
        qWarning() << Q_FUNC_INFO << "the editor page did not load" << errors();
}

void EditPonoramWidget::setBackground(const QPixmap &pixmap)
{
    qDebug() << Q_FUNC_INFO << "null:" << pixmap.isNull();
    m_background = pixmap;
    const QRect area = primaryAvailableGeometry();
    setPosition(area.topLeft()
        + QPoint(
            area.width() / 2 - pixmap.width() / 2, area.height() / 2 - pixmap.height() / 2 - 50));
    if (m_paintArea)
        m_paintArea->setBackground(pixmap.toImage());
    emit backgroundChange();
}

// Asked again whenever the window shows: a compositing manager may have started or ended
// since the last time.
void EditPonoramWidget::checkCompositing()
{
    const bool transparent = !QX11Info::isPlatformX11() || QX11Info::isCompositingManagerRunning();
    if (transparent == m_transparent)
        return;
    m_transparent = transparent;
    emit isTransparentSupportChanged(transparent);
}

void EditPonoramWidget::show()
{
    checkCompositing();
    // The view takes its page's size only on the next turn of the event loop; the page grows
    // once it knows the picture, and the window is centred at the size it will have.
    if (const QQuickItem *root = rootObject())
        resize(int(root->width()), int(root->height()));
    // The primary screen need not stand at the desktop's origin.
    const QRect area = primaryAvailableGeometry();
    const QPoint centred
        = area.topLeft() + QPoint(area.width() / 2 - width() / 2, area.height() / 2 - height() / 2);
    setPosition(centred);
    QQuickView::show();
    // A window manager places a new window where it likes; once mapped, it is moved again.
    setPosition(centred);
    raise();
    requestActivate();
}

QPixmap EditPonoramWidget::renderPicture()
{
    if (!m_paintArea || m_background.isNull())
        return m_background;
    // Handles of a checked shape are shapes of the canvas too; unchecked, they are gone.
    m_paintArea->uncheckAllItem();
    const QRect whole(0, 0, int(m_paintArea->width()), int(m_paintArea->height()));
    return QPixmap::fromImage(m_paintArea->renderRect(whole, kOutputZLimit, false));
}

void EditPonoramWidget::close()
{
    hide();
    reportClosed();
}

void EditPonoramWidget::reportClosed()
{
    if (m_closeReported)
        return;
    m_closeReported = true;
    emit closed();
}

void EditPonoramWidget::uploadScreen()
{
    emit uploadRequested(renderPicture());
    close();
}

void EditPonoramWidget::saveScreen()
{
    const QPixmap picture = renderPicture();
    // The save dialog must not open behind a window that stays on top.
    hide();
    emit saveRequested(picture);
    close();
}

void EditPonoramWidget::screenSaveToClipboard()
{
    QGuiApplication::clipboard()->setImage(renderPicture().toImage());
    close();
}

void EditPonoramWidget::post(int action, bool closeAfter)
{
    emit postRequested(action, renderPicture());
    if (closeAfter)
        close();
}

void EditPonoramWidget::move(int x, int y)
{
    setPosition(x, y);
}

// A close from the window manager must reach the controller as well, or the window it keeps
// would never be released and no later picture would open.
bool EditPonoramWidget::event(QEvent *event)
{
    if (event->type() == QEvent::Close)
        reportClosed();
    return QQuickView::event(event);
}

TextItem *EditPonoramWidget::textWithSelection() const
{
    auto *text = m_paintArea ? qobject_cast<TextItem *>(m_paintArea->currentItem()) : nullptr;
    return text && !text->getSelectedText().isEmpty() ? text : nullptr;
}

// There is always a whole picture to send, and no confirmation panel before closing.
SurfaceKeys::State EditPonoramWidget::keyState() const
{
    SurfaceKeys::State state;
    state.showCloseSurfaceWindow = false;
    state.selectionEmpty = false;
    SurfaceKeys::readCanvas(state, m_paintArea.data());
    SurfaceKeys::readToolBar(state, this);
    state.currentItemHasSelectedText = textWithSelection();
    state.selectorExists = false;
    state.shareModifier = ShareModifier;
    return state;
}

// Escape first closes an open accept menu, then takes the handles off a checked shape; only an
// Escape that found neither closes the window, on its release, so one key never loses the
// markup with it.
void EditPonoramWidget::keyPressEvent(QKeyEvent *event)
{
    QQuickView::keyPressEvent(event);
    if (event->key() == Qt::Key_Escape) {
        if (event->isAutoRepeat())
            return;
        const SurfaceKeys::State state = keyState();
        m_escapeUnchecked = state.menuOpen || state.hasCheckedItem;
        if (state.menuOpen)
            runKeyAction(SurfaceKeys::HideMenu);
        else if (state.hasCheckedItem)
            runKeyAction(SurfaceKeys::UncheckItems);
        return;
    }
    const SurfaceKeys::Press press
        = SurfaceKeys::press(event->key(), event->modifiers(), event->isAutoRepeat(), keyState());
    runKeyAction(press.action);
}

void EditPonoramWidget::keyReleaseEvent(QKeyEvent *event)
{
    QQuickView::keyReleaseEvent(event);
    if (event->key() == Qt::Key_Escape && !event->isAutoRepeat()) {
        if (!m_escapeUnchecked)
            close();
        m_escapeUnchecked = false;
        return;
    }
    const SurfaceKeys::Release release
        = SurfaceKeys::release(event->key(), event->isAutoRepeat(), keyState());
    if (release.selectLastModule && m_paintArea)
        m_paintArea->selectLastModule();
}

void EditPonoramWidget::runKeyAction(SurfaceKeys::Action action)
{
    if (SurfaceKeys::runShared(this, m_paintArea.data(), action))
        return;
    if (action == SurfaceKeys::Close)
        close();
    else if (action == SurfaceKeys::CopySelectedText)
        QGuiApplication::clipboard()->setText(textWithSelection()->getSelectedText());
}
