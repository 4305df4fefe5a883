#include "selectorwidgetmac.h"

#include "magnifieritem.h"
#include "surfaceselector.h"
#include "surfacewidget.h"

#include <QDebug>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QQuickItem>
#include <QScreen>

namespace {

// The pixels a selection covers, by the whole-pixel rule of the capture items.
QRect wholePixels(const QRectF &rect)
{
    return QRect(QPoint(qRound(rect.left()), qRound(rect.top())),
        QPoint(qRound(rect.right()) - 1, qRound(rect.bottom()) - 1));
}

} // namespace

SelectorWidgetMac::SelectorWidgetMac(QObject *core, QWindow *parent)
    : QQuickView(parent)
{
    SurfaceWidget::registerCaptureTypes();
    SurfaceWidget::preparePage(this, core);
    setFlags(Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setResizeMode(QQuickView::SizeRootObjectToView);
    setColor(Qt::black);
    setSource(QUrl(QStringLiteral("qrc:/qml/qml/Window/SurfaceSelectorMacWindow.qml")));
    if (!selector())
        qWarning() << Q_FUNC_INFO << "the selector page did not load" << errors();
}

void SelectorWidgetMac::setIndexScreen(int index)
{
    m_indexScreen = index;
    emit indexScreenChanged(index);
}

void SelectorWidgetMac::showOnScreen(int index, const QPixmap &frozen)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (index < 0 || index >= screens.size())
        return;
    setIndexScreen(index);
    const QRect geometry = screens.at(index)->geometry();
    m_background = frozen.isNull() ? SurfaceWidget::grab(geometry) : frozen;
    emit backgroundChanged(m_background);
    emit backgroundImgChanged(backgroundImg());
    setScreen(screens.at(index));
    // Placed on the monitor first, so that full screen lands there.
    setGeometry(QRect(geometry.topLeft(), geometry.size() / 2));
    showFullScreen();
    setGeometry(geometry);
    raise();
}

void SelectorWidgetMac::setListSelector(const QList<SelectorWidgetMac *> &list)
{
    m_list.clear();
    for (SelectorWidgetMac *window : list)
        m_list << window;
}

SurfaceSelector *SelectorWidgetMac::selector() const
{
    QQuickItem *root = rootObject();
    return root ? root->findChild<SurfaceSelector *>(QStringLiteral("SurfaceSelector")) : nullptr;
}

MagnifierItem *SelectorWidgetMac::magnifier() const
{
    const SurfaceSelector *item = selector();
    return item ? item->findChild<MagnifierItem *>(QStringLiteral("MagnifierItem")) : nullptr;
}

void SelectorWidgetMac::setIsShowMagnified(bool show)
{
    if (SurfaceSelector *item = selector())
        item->setIsShowMagnified(show);
}

QRect SelectorWidgetMac::screenGeometry() const
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    return m_indexScreen >= 0 && m_indexScreen < screens.size()
        ? screens.at(m_indexScreen)->geometry()
        : QRect();
}

// A pointer beyond this monitor leaves its loupe and cross just off the picture.
void SelectorWidgetMac::setGlobalX(int x)
{
    const QRect s = screenGeometry();
    const int local = x - s.left();
    if (SurfaceSelector *item = selector())
        item->setX(local < 0 || local > s.width() ? -5 : local);
}

void SelectorWidgetMac::setGlobalY(int y)
{
    const QRect s = screenGeometry();
    const int local = y - s.top();
    if (SurfaceSelector *item = selector())
        item->setY(local < 0 || local > s.height() ? -5 : local);
}

void SelectorWidgetMac::setGlobalRect(const QRectF &rect)
{
    const QRectF s(screenGeometry());
    const QRectF normal = rect.normalized();
    const QRectF visible
        = normal.intersects(s) ? (normal & s).translated(-s.topLeft()) : QRectF(0, 0, -1, -1);
    if (SurfaceSelector *item = selector())
        item->setGRect(rect, visible);
}

void SelectorWidgetMac::changeSelectorPos(int x, int y)
{
    const QPoint origin = screenGeometry().topLeft();
    for (SelectorWidgetMac *window : qAsConst(m_list)) {
        if (!window || window == this)
            continue;
        window->setGlobalX(x + origin.x());
        window->setGlobalY(y + origin.y());
        window->setIsShowMagnified(false);
    }
    setIsShowMagnified(true);
}

void SelectorWidgetMac::changeSelectorRect(const QRectF &rect)
{
    m_localSelection = rect;
    const QRectF global = rect.translated(screenGeometry().topLeft());
    for (SelectorWidgetMac *window : qAsConst(m_list)) {
        if (window)
            window->setGlobalRect(global);
    }
}

// Of no area there is nothing to cut: the windows stay for a real selection, which is never
// taken for the whole desktop.
void SelectorWidgetMac::selectComplete()
{
    const QRectF g = m_localSelection.translated(screenGeometry().topLeft()).normalized();
    const QRect pixels = wholePixels(g);
    if (g.width() < 1 || g.height() < 1 || !pixels.isValid())
        return;
    const QList<QScreen *> screens = QGuiApplication::screens();
    QRect united;
    int touched = 0;
    int last = 0;
    for (int i = 0; i < screens.size(); ++i) {
        united |= screens.at(i)->geometry();
        if (screens.at(i)->geometry().intersects(pixels)) {
            ++touched;
            last = i;
        }
    }
    if (touched == 1) {
        const SelectorWidgetMac *owner = last < m_list.size() ? m_list.at(last).data() : this;
        const QRect rect = pixels.translated(-screens.at(last)->geometry().topLeft());
        emit selectCompleted(last, rect, owner ? owner->background() : QPixmap());
    } else {
        emit selectCompleted(composite(united).copy(pixels.translated(-united.topLeft())));
    }
    close();
}

QPixmap SelectorWidgetMac::composite(const QRect &united) const
{
    QPixmap picture(united.size());
    picture.fill(Qt::black);
    QPainter painter(&picture);
    for (const SelectorWidgetMac *window : m_list) {
        if (window)
            painter.drawPixmap(
                window->screenGeometry().topLeft() - united.topLeft(), window->background());
    }
    return picture;
}

void SelectorWidgetMac::close()
{
    if (m_closing)
        return;
    m_closing = true;
    for (SelectorWidgetMac *window : qAsConst(m_list)) {
        if (window && window != this)
            window->close();
    }
    QQuickView::close();
    emit closed();
}

// Closed by the window manager, the window still takes the whole capture with it.
bool SelectorWidgetMac::event(QEvent *event)
{
    if (event->type() == QEvent::Close && !m_closing) {
        close();
        return true;
    }
    return QQuickView::event(event);
}

void SelectorWidgetMac::keyPressEvent(QKeyEvent *event)
{
    QQuickView::keyPressEvent(event);
    if (event->key() == Qt::Key_Escape)
        close();
}
