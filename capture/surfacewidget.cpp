#include "surfacewidget.h"

#include "bundledfonts.h"
#include "cursorshapearea.h"
#include "kpainterarea.h"
#include "magnifieritem.h"
#include "paths.h"
#include "pictureitem.h"
#include "setting.h"
#include "sharedmemorygrab.h"
#include "surfaceselector.h"
#include "textitem.h"

#include <QBuffer>
#include <QClipboard>
#include <QCoreApplication>
#include <QCursor>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QRegion>
#include <QScreen>
#include <QTimer>
#include <QtConcurrent>

#include <malloc.h>

namespace {

// Long enough for the tool bar to have gone from the window before the copy is taken.
constexpr int kClipboardDelayMs = 200;

// The X root window spans the desktop, so its coordinates are the desktop's; Qt's own grab
// serves where the shared memory one cannot, or where Qt scales the desktop. The primary screen
// grabs relative to its own origin, not the desktop's.
QPixmap grabDesktop(const QRect &rect)
{
    QScreen *primary = QGuiApplication::primaryScreen();
    if (!primary)
        return QPixmap();
    const QImage shared = SharedMemoryGrab::grab(rect, SharedMemoryGrab::displayName());
    if (!shared.isNull())
        return QPixmap::fromImage(shared);
    const QPoint origin = rect.topLeft() - primary->geometry().topLeft();
    return primary->grabWindow(0, origin.x(), origin.y(), rect.width(), rect.height());
}

SurfaceWidget::Grabber &grabber()
{
    static SurfaceWidget::Grabber s_grabber = grabDesktop;
    return s_grabber;
}

bool &grabberIsOwn()
{
    static bool s_own = true;
    return s_own;
}

QRect desktopGeometry()
{
    QRect united;
    for (const QScreen *screen : QGuiApplication::screens())
        united = united.united(screen->geometry());
    return united;
}

QList<QRect> screenGeometries(int screenIndex)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    QList<QRect> geometries;
    for (int i = 0; i < screens.size(); ++i) {
        if (screenIndex == -1 || screenIndex == i)
            geometries << screens.at(i)->geometry();
    }
    return geometries;
}

// One screen, or all screens where they tile their union, come in one grab of this area; only
// gaps need the composition that paints them black (a null area).
QRect singleGrabArea(const QList<QRect> &geometries, bool allScreens)
{
    if (geometries.size() == 1)
        return geometries.first();
    const QRect united = desktopGeometry();
    qint64 covered = 0;
    for (const QRect &geometry : geometries)
        covered += qint64(geometry.width()) * geometry.height();
    return allScreens && covered == qint64(united.width()) * united.height() ? united : QRect();
}

// Started before the page is built and taken after it: the X server writes the screens while
// the page is made. Only the program's own grab runs on a worker, and only where the shared
// memory grab can serve; an empty future leaves the grab to the GUI thread.
QFuture<QImage> grabAhead()
{
    const QByteArray display = SharedMemoryGrab::displayName();
    if (!grabberIsOwn() || display.isEmpty())
        return QFuture<QImage>();
    const QRect area = singleGrabArea(screenGeometries(-1), true);
    if (area.isNull())
        return QFuture<QImage>();
    return QtConcurrent::run(&SharedMemoryGrab::grab, area, display);
}

SurfaceWidget::ModifierSource &modifierSource()
{
    static SurfaceWidget::ModifierSource s_source = &QGuiApplication::queryKeyboardModifiers;
    return s_source;
}

// The store hands the flag back as a bool or as text, depending on who wrote it; unset means on.
bool settingIsOn(const QVariant &value)
{
    return !value.isValid() || (value != QVariant(false) && value.toString() != "false");
}

// A capture may allocate and free pictures of a whole screen (33 MB at 4K): a selection of
// all of it, or Qt's own grab where the shared memory one is not to be had, whose reply from
// the X server lands in the arena of Qt's X event thread. After the first such block is
// freed, glibc raises its mmap threshold to that size, so later ones land in the heap or that
// arena and stay resident after they are freed: memory would stay one or two pictures above
// where it was before the capture. A fixed threshold keeps every large block in a mapping of
// its own that goes back to the system when it is freed.
void keepPicturesOutOfTheHeap()
{
    constexpr int kLargeBlock = 1024 * 1024;
    static const bool fixed = mallopt(M_MMAP_THRESHOLD, kLargeBlock) == 1;
    Q_UNUSED(fixed)
}

// The types are the same for every capture; registering them again would only add entries to
// the type registry that are never freed.
void registerPageTypes()
{
    static const bool registered = [] {
        KPainterArea::registerQmlTypes();
        SurfaceSelector::registerQmlType();
        MagnifierItem::registerQmlType();
        PictureItem::registerQmlType();
        // The tool bar on the page points with it.
        qmlRegisterType<CursorShapeArea>("KuvoComponent", 1, 0, "CursorShapeArea");
        SurfaceWidget::registerPonoramTypes();
        return true;
    }();
    Q_UNUSED(registered)
}

// What every capture page sees of its window.
void publish(QQmlContext *context, QQuickView *view, QObject *core)
{
    context->setContextProperty(QStringLiteral("window"), view);
    context->setContextProperty(QStringLiteral("surface"), view);
    context->setContextProperty(QStringLiteral("settings"), Setting::instance());
    context->setContextProperty(QStringLiteral("core"), core);
}

// One engine serves every capture view, made with the first and kept to the end of the
// process: a view with an engine of its own would resolve the imports and compile the page
// again for each capture. Each view gives its page a context of its own.
QQmlEngine *pageEngine()
{
    static QQmlEngine *const engine = [] {
        auto *made = new QQmlEngine;
        // Added to Qt's own paths: the page needs QtQuick from there.
        made->addImportPath(QCoreApplication::applicationDirPath());
        return made;
    }();
    return engine;
}

// Compiled once; the engine owns it.
QQmlComponent *surfacePage()
{
    static QQmlComponent *const page = new QQmlComponent(
        pageEngine(), QUrl(QStringLiteral("qrc:/qml/qml/Window/SurfaceWindow.qml")), pageEngine());
    return page;
}

} // namespace

void SurfaceWidget::registerCaptureTypes()
{
    keepPicturesOutOfTheHeap();
    registerPageTypes();
}

void SurfaceWidget::preparePage(QQuickView *view, QObject *core)
{
    BundledFonts::install();
    // Added to Qt's own paths: the page needs QtQuick from there.
    view->engine()->addImportPath(QCoreApplication::applicationDirPath());
    publish(view->rootContext(), view, core);
}

void SurfaceWidget::setGrabber(Grabber grab)
{
    grabberIsOwn() = !grab;
    grabber() = grab ? std::move(grab) : Grabber(grabDesktop);
}

void SurfaceWidget::setModifierSource(ModifierSource source)
{
    modifierSource()
        = source ? std::move(source) : ModifierSource(&QGuiApplication::queryKeyboardModifiers);
}

QPixmap SurfaceWidget::grab(const QRect &desktopRect)
{
    return grabber()(desktopRect);
}

bool SurfaceWidget::grabsTheScreen()
{
    return grabberIsOwn();
}

QPixmap SurfaceWidget::composeScreens(const QList<QRect> &geometries, const Grabber &grab)
{
    QRect united;
    for (const QRect &geometry : geometries)
        united = united.united(geometry);
    united = united.normalized();
    if (united.isEmpty())
        return QPixmap();
    QPixmap picture(united.size());
    picture.fill(Qt::black);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const QRect &geometry : geometries) {
        const QPixmap part = grab(geometry);
        if (!part.isNull())
            painter.drawPixmap(QRect(geometry.topLeft() - united.topLeft(), geometry.size()), part);
    }
    return picture;
}

QPixmap SurfaceWidget::createBackground(int screenIndex)
{
    if (!QGuiApplication::primaryScreen())
        return QPixmap();
    const QList<QRect> geometries = screenGeometries(screenIndex);
    const QRect area = singleGrabArea(geometries, screenIndex == -1);
    return area.isNull() ? composeScreens(geometries, grabber()) : grabber()(area);
}

SurfaceWidget::SurfaceWidget(QObject *core, QWindow *parent, const QPixmap &frozen)
    : QQuickView(pageEngine(), parent)
{
    keepPicturesOutOfTheHeap();
    registerPageTypes();
    const bool grab = frozen.isNull() || frozen.size() != desktopGeometry().size();
    QFuture<QImage> early = grab ? grabAhead() : QFuture<QImage>();
    connectPonoram();
    loadPage(core);
    // The X window is made while the grab still runs, so that showing it only maps it. Unmapped,
    // it is not in the grab.
    setGeometry(desktopGeometry());
    create();
    const QImage grabbed = early.isCanceled() ? QImage() : early.result();
    if (!grab)
        setBackground(frozen);
    else
        setBackground(grabbed.isNull() ? createBackground(-1) : QPixmap::fromImage(grabbed));
    // The frozen picture covers the whole view: an opaque window is painted and sent to the X
    // server without blending or clearing to transparent first.
    setColor(Qt::black);
}

// The page is made in a context of the view's own, which goes with the view after the page.
void SurfaceWidget::loadPage(QObject *core)
{
    BundledFonts::install();
    auto *context = new QQmlContext(engine()->rootContext(), this);
    // The page's bindings leave the picture in values of the engine's heap, which the engine
    // lets go of only when it collects them: a whole frame per closed capture would stay.
    connect(this, &QObject::destroyed, engine(), &QQmlEngine::collectGarbage, Qt::QueuedConnection);
    publish(context, this, core);
    context->setContextProperty(QStringLiteral("fullScreen"), false);
    context->setContextProperty(QStringLiteral("quickscreen"), false);
    setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setResizeMode(QQuickView::SizeRootObjectToView);
    QQmlComponent *page = surfacePage();
    setContent(page->url(), page, page->isReady() ? page->create(context) : nullptr);
    QQuickItem *root = rootObject();
    if (!root) {
        qWarning() << Q_FUNC_INFO << "the capture page did not load" << errors();
        return;
    }
    m_selector = root->findChild<SurfaceSelector *>(QStringLiteral("SurfaceSelector"));
    m_paintArea = root->findChild<KPainterArea *>(QStringLiteral("KPainterArea"));
    if (!isLoaded())
        qWarning() << Q_FUNC_INFO << "the capture page lacks its selector or canvas";
}

// The canvas must mark up the very picture the user selects on, not a grab of its own.
void SurfaceWidget::setBackground(const QPixmap &picture)
{
    m_background = picture;
    emit backgroundChanged(m_background);
    if (m_paintArea)
        m_paintArea->setBackground(m_background.toImage());
}

void SurfaceWidget::setVisibleCloseWindow(bool visible)
{
    if (m_visibleCloseWindow == visible)
        return;
    m_visibleCloseWindow = visible;
    emit visibleCloseWindowChanged(visible);
}

bool SurfaceWidget::isCommandModified() const
{
    return modifierSource()().testFlag(Qt::ControlModifier);
}

QRect SurfaceWidget::primaryGeometry()
{
    QScreen *primary = QGuiApplication::primaryScreen();
    return primary ? primary->geometry() : QRect();
}

void SurfaceWidget::setFullscreen(bool value)
{
    if (!m_selector)
        return;
    m_selector->setFullScreen(value);
    // The page asked the selector while it loaded, before the flag was set and before the page
    // had a size: at the size of the desktop the selector now takes all of it.
    rootObject()->setSize(desktopGeometry().size());
    m_selector->checkProperties();
    m_selector->update();
}

void SurfaceWidget::setQuickScreen(bool value)
{
    m_quickScreen = value;
}

// Full screen covers one monitor only; over several the frameless window takes their union.
void SurfaceWidget::show()
{
    setGeometry(desktopGeometry());
    if (QGuiApplication::screens().size() > 1)
        QQuickView::show();
    else
        showFullScreen();
    raise();
}

void SurfaceWidget::showOnWindow(int index, const QRect &rect, const QPixmap &picture)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (index < 0 || index >= screens.size())
        return;
    writeScreenLog(index, rect);
    const QRect geometry = screens.at(index)->geometry();
    setScreen(screens.at(index));
    setGeometry(QRect(geometry.topLeft(), geometry.size() / 2));
    setBackground(picture);
    showFullScreen();
    // The window manager may not honour full screen at once; the view must still cover
    // exactly this screen for its rectangles to map to the desktop.
    setGeometry(geometry);
    raise();
    if (m_selector)
        m_selector->setRubberRect(QRectF(rect));
}

void SurfaceWidget::writeScreenLog(int index, const QRect &rect) const
{
    QDir().mkpath(Paths::settingsFolder());
    QFile log(Paths::settingsFolder() + QStringLiteral("screen_info.log"));
    if (!log.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qDebug() << Q_FUNC_INFO << log.errorString();
        return;
    }
    log.write(QStringLiteral("index = %1\nrect = %2:%3 %4x%5")
                  .arg(index)
                  .arg(rect.x())
                  .arg(rect.y())
                  .arg(rect.width())
                  .arg(rect.height())
                  .toUtf8());
}

MagnifierItem *SurfaceWidget::magnifier() const
{
    return m_selector ? m_selector->findChild<MagnifierItem *>(QStringLiteral("MagnifierItem"))
                      : nullptr;
}

QRect SurfaceWidget::selectRect() const
{
    return m_selector ? m_selector->selectRect() : QRect();
}

bool SurfaceWidget::hasSelection() const
{
    const QRect rect = selectRect();
    return rect.width() >= 1 && rect.height() >= 1;
}

QPixmap SurfaceWidget::renderRubberRect()
{
    if (!m_paintArea || !hasSelection())
        return QPixmap();
    if (ponoramDone())
        return renderPonoram();
    m_paintArea->uncheckAllItem();
    m_paintArea->update();
    return QPixmap::fromImage(m_paintArea->renderRect(selectRect(), 50000, true, false));
}

QString SurfaceWidget::requestBackground() const
{
    QByteArray png;
    if (!m_background.isNull()) {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        m_background.save(&buffer, "PNG", 100);
    }
    return QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64());
}

// The page places the tool bar in its own coordinates, so the screen comes back in them too:
// a bar kept inside (0, 0, w, h) would land on the first monitor for a selection on another.
QRect SurfaceWidget::toolbarScreen(int x, int y, int width, int height) const
{
    const QRect area = QRect(x, y, width, height).translated(position());
    const QScreen *lowest = nullptr;
    for (const QScreen *screen : QGuiApplication::screens()) {
        if (screen->geometry().intersects(area)
            && (!lowest || screen->geometry().height() < lowest->geometry().height()))
            lowest = screen;
    }
    if (!lowest)
        lowest = QGuiApplication::primaryScreen();
    return lowest ? lowest->geometry().translated(-position()) : QRect(0, 0, 0, 0);
}

QPointF SurfaceWidget::mapToScene(QQuickItem *item) const
{
    QPointF sum;
    for (const QQuickItem *step = item; step && step != rootObject(); step = step->parentItem())
        sum += QPointF(int(step->x()), int(step->y()));
    return sum;
}

void SurfaceWidget::setPaintArea(KPainterArea *area)
{
    m_paintArea = area;
}

void SurfaceWidget::checkProperties()
{
    if (m_quickScreen)
        emit uploadedScreen();
}

void SurfaceWidget::setEnableMask(bool enable)
{
    if (!m_selector)
        return;
    if (enable)
        setMask(QRegion(QRect(QPoint(0, 0), size())).subtracted(QRegion(selectRect())));
    else
        setMask(QRegion(QRect(QPoint(0, 0), desktopGeometry().size())));
    update();
}

void SurfaceWidget::uploadScreen()
{
    if (hasSelection())
        emit uploadedScreen();
}

void SurfaceWidget::saveScreen()
{
    if (hasSelection())
        emit saveScreenRequested();
}

void SurfaceWidget::post(PostAction action)
{
    if (hasSelection())
        emit postRequested(action);
}

// The loupe shows the colour as "#rrggbb"; colour fields elsewhere take the bare digits. The
// loupe's last painted colour is what the user saw under the pointer.
void SurfaceWidget::copyColor()
{
    const MagnifierItem *loupe = magnifier();
    QString color = loupe ? loupe->currentColor() : QString();
    QGuiApplication::clipboard()->setText(color.remove(QLatin1Char('#')));
    close();
}

void SurfaceWidget::screenSaveToClipboard()
{
    if (!hasSelection() || m_clipboardPending)
        return;
    m_clipboardPending = true;
    if (m_paintArea)
        m_paintArea->uncheckAllItem();
    emit hideToolBar();
    update();
    // A timer owned by the view rather than a nested loop: a view closed meanwhile takes the
    // pending copy with it.
    QTimer::singleShot(kClipboardDelayMs, this, [this] {
        m_clipboardPending = false;
        if (hasSelection())
            emit clipboardRequested();
    });
}

// A window that was never shown closes without a close event, one that was shown with one;
// either way the owner hears of it exactly once.
void SurfaceWidget::close()
{
    QQuickView::close();
    reportClosed();
}

void SurfaceWidget::reportClosed()
{
    if (m_closeReported)
        return;
    m_closeReported = true;
    emit closed();
}

bool SurfaceWidget::event(QEvent *event)
{
    if (event->type() == QEvent::Close) {
        reportClosed();
        return true;
    }
    return QQuickView::event(event);
}

bool SurfaceWidget::noToolChosen() const
{
    return m_paintArea && m_paintArea->currentModule().isEmpty();
}

void SurfaceWidget::mousePressEvent(QMouseEvent *event)
{
    m_lastPos = event->pos();
    m_pressed = true;
    m_draggingSelection = false;
    // Over a panorama the selection stays where the panorama is shown.
    if (m_selector && !ponoramDone() && noToolChosen() && m_selector->isCompleteSelectRect()
        && m_selector->rubberRect().contains(event->localPos())) {
        m_draggingSelection = true;
        setCursor(Qt::ClosedHandCursor);
    }
    QQuickView::mousePressEvent(event);
}

void SurfaceWidget::mouseMoveEvent(QMouseEvent *event)
{
    if (m_draggingSelection && m_pressed && noToolChosen()) {
        const QPoint d = m_lastPos - event->pos();
        const QRectF rect = m_selector->rubberRect();
        m_selector->moveRubber(int(rect.x()) - d.x(), int(rect.y()) - d.y());
        m_lastPos = event->pos();
        return;
    }
    QQuickView::mouseMoveEvent(event);
}

void SurfaceWidget::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_draggingSelection)
        setCursor(KPainterArea::crossCursor());
    m_draggingSelection = false;
    m_pressed = false;
    if (event->button() == Qt::RightButton && hasSelection())
        emit uploadedScreen();
    QQuickView::mouseReleaseEvent(event);
}

void SurfaceWidget::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (m_selector) {
        const QRectF rect = m_selector->rubberRect();
        if (rect == QRectF(0, 0, width(), height()))
            m_selector->collapseFromFullScreen();
        else if (rect.width() == 0 && rect.height() == 0)
            m_selector->expandToFullScreen();
    }
    QQuickView::mouseDoubleClickEvent(event);
}

TextItem *SurfaceWidget::textWithSelection() const
{
    const KPainterArea *canvas = markedCanvas();
    auto *text = canvas ? qobject_cast<TextItem *>(canvas->currentItem()) : nullptr;
    return text && !text->getSelectedText().isEmpty() ? text : nullptr;
}

SurfaceKeys::State SurfaceWidget::keyState() const
{
    SurfaceKeys::State state;
    state.closePanelVisible = m_visibleCloseWindow;
    state.showCloseSurfaceWindow
        = settingIsOn(Setting::instance()->getValue(SettingKeys::showCloseSurfaceWindow));
    state.selectionEmpty = !hasSelection();
    SurfaceKeys::readCanvas(state, markedCanvas());
    state.currentItemHasSelectedText = textWithSelection();
    state.selectorExists = m_selector;
    state.selectionComplete = m_selector && m_selector->isCompleteSelectRect();
    SurfaceKeys::readToolBar(state, this);
    state.shareModifier = ShareModifier;
    return state;
}

// The event's own modifiers lag one event behind on a synthetic press, so the keyboard's live
// state decides.
void SurfaceWidget::keyPressEvent(QKeyEvent *event)
{
    const SurfaceKeys::Press press
        = SurfaceKeys::press(event->key(), modifierSource()(), event->isAutoRepeat(), keyState());
    if (press.startMoveSelector)
        m_selector->setMoveSelector(true);
    if (press.action == SurfaceKeys::None) {
        QQuickView::keyPressEvent(event);
        return;
    }
    event->accept();
    runKeyAction(press.action);
}

void SurfaceWidget::keyReleaseEvent(QKeyEvent *event)
{
    const SurfaceKeys::Release release
        = SurfaceKeys::release(event->key(), event->isAutoRepeat(), keyState());
    if (release.stopMoveSelector)
        m_selector->setMoveSelector(false);
    if (release.selectLastModule && m_paintArea)
        m_paintArea->selectLastModule();
    QQuickView::keyReleaseEvent(event);
}

void SurfaceWidget::runKeyAction(SurfaceKeys::Action action)
{
    if (SurfaceKeys::runShared(this, markedCanvas(), action))
        return;
    switch (action) {
    case SurfaceKeys::Close:
        close();
        break;
    case SurfaceKeys::HideClosePanel:
        setVisibleCloseWindow(false);
        break;
    case SurfaceKeys::ShowClosePanel:
        setVisibleCloseWindow(true);
        break;
    case SurfaceKeys::CopyColor:
        copyColor();
        break;
    case SurfaceKeys::CopySelectedText:
        QGuiApplication::clipboard()->setText(textWithSelection()->getSelectedText());
        break;
    default:
        break;
    }
}
