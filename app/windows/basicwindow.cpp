#include "basicwindow.h"
#include "analytics.h"
#include "autorization.h"
#include "bundledfonts.h"
#include "core.h"
#include "cursorshapearea.h"
#include "dropboxauth.h"
#include "handleftpupload.h"
#include "logging.h"
#include "magnifieritem.h"
#include "setting.h"
#include "uploadmodel.h"
#include "wheelarea.h"

#include <QBitmap>
#include <QCoreApplication>
#include <QDebug>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QPainter>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QScreen>
#include <QX11Info>
#include <QtMath>

namespace {

const char kCornerPicture[] = ":/image/image/image/rounded_edge.png";
const char kWindowIcon[] = ":/icon/image/icon/icon.ico";
const char kPageFolder[] = "qrc:/qml/qml/Window/";

// Pointer positions count in whole pixels, halves upwards.
QPoint whole(const QPointF &point)
{
    return QPoint(qFloor(point.x() + 0.5), qFloor(point.y() + 0.5));
}

// Once per process, before the first window: every window would otherwise add one more
// registration of each type, and a tray program that shows no window needs none of them.
void registerTypes()
{
    static const bool registered = [] {
        qmlRegisterType<AnalyticsEvent>("KuvoComponent", 1, 0, "AnalyticsEvent");
        qmlRegisterType<Autorization>("Core", 1, 0, "Autorization");
        qmlRegisterType<DropboxAuth>("Core", 1, 0, "DropboxAuth");
        qmlRegisterType<UploadModel>("UploadModel", 1, 0, "UploadModel");
        MagnifierItem::registerQmlType();
        qmlRegisterType<CursorShapeArea>("KuvoComponent", 1, 0, "CursorShapeArea");
        qmlRegisterType<WheelArea>("KuvoComponent", 1, 0, "WheelArea");
        qmlRegisterType<HandleFTPUpload>("KuvoComponent", 1, 0, "HandleFTPUpload");
        return true;
    }();
    Q_UNUSED(registered)
}

} // namespace

BasicWindow::BasicWindow(QWindow *parent)
    : QQuickView(parent)
{
    setIcon(QIcon(QLatin1String(kWindowIcon)));
    m_corner = QPixmap(QLatin1String(kCornerPicture));
    // An alpha channel, so that the shadow around the page lets the desktop through.
    QSurfaceFormat surface = requestedFormat();
    surface.setAlphaBufferSize(8);
    setFormat(surface);
    setColor(Qt::transparent);
    setResizeMode(QQuickView::SizeViewToRootObject);
    registerTypes();
    BundledFonts::install();
    // Beside Qt's own module folders, never instead of them.
    engine()->addImportPath(QCoreApplication::applicationDirPath());
    setFlags(Qt::FramelessWindowHint);
    connect(this, &QWindow::widthChanged, this, &BasicWindow::widthChanged);
    connect(this, &QWindow::heightChanged, this, &BasicWindow::heightChanged);
    checkCompositing();
}

void BasicWindow::setupUi()
{
    rootContext()->setContextProperty(QStringLiteral("window"), this);
    rootContext()->setContextProperty(QStringLiteral("core"), Core::instance());
    rootContext()->setContextProperty(QStringLiteral("settings"), Setting::instance());
    init();
}

void BasicWindow::setTitleWithUser(const QString &title)
{
    setTitle(title + QStringLiteral(" - ")
        + Setting::instance()->getValue(SettingKeys::username).toString());
}

bool BasicWindow::loadPage(const QString &page)
{
    setSource(QUrl(QLatin1String(kPageFolder) + page));
    if (status() == QQuickView::Ready && rootObject())
        return true;
    QStringList problems;
    for (const QQmlError &error : errors())
        problems << error.toString();
    const QString text = QStringLiteral("The page %1 could not be loaded: %2")
                             .arg(page, problems.join(QStringLiteral("; ")));
    qWarning() << Q_FUNC_INFO << text;
    Logging::instance()->writeMessage(text);
    return false;
}

QPoint BasicWindow::placement(const QRect &available, const QSize &size, bool centred)
{
    QPoint position;
    if (centred) {
        position = QPoint(available.x() + available.width() / 2 - size.width() / 2,
            available.y() + available.height() / 2 - size.height() / 2);
    } else {
        // The page's own transparent shadow keeps the frame off the edges; beyond the edge the
        // window would reach onto a neighbouring monitor.
        position = QPoint(available.x() + available.width() - size.width(),
            available.y() + available.height() - size.height());
    }
    return QPoint(qMax(position.x(), available.x()), qMax(position.y(), available.y()));
}

QRect BasicWindow::availableArea()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

QRegion BasicWindow::roundedMask(const QSize &size, const QPixmap &corner)
{
    const int width = size.width();
    const int height = size.height();
    if (corner.isNull() || width <= 0 || height <= 0)
        return QRegion(0, 0, qMax(width, 0), qMax(height, 0));
    const int cw = qMin(corner.width(), width) / 2;
    const int ch = qMin(corner.height(), height) / 2;

    QPixmap shape(size);
    shape.fill(Qt::transparent);
    QPainter painter(&shape);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawRect(QRect(QPoint(cw, 0), QPoint(width - cw - 1, ch - 1)));
    painter.drawRect(QRect(QPoint(0, ch), QPoint(width - 1, height - ch - 1)));
    painter.drawRect(QRect(QPoint(cw, height - ch), QPoint(width - cw - 1, height - 1)));
    const int right = corner.width() - cw;
    const int bottom = corner.height() - ch;
    painter.drawPixmap(0, 0, corner, 0, 0, cw, ch);
    painter.drawPixmap(0, height - ch, corner, 0, bottom, cw, ch);
    painter.drawPixmap(width - cw, 0, corner, right, 0, cw, ch);
    painter.drawPixmap(width - cw, height - ch, corner, right, bottom, cw, ch);
    painter.end();
    return QRegion(shape.mask());
}

void BasicWindow::setData(const QString &key, const QVariant &value)
{
    m_data.insert(key, value);
    emit dataChanged(key, value);
}

QVariant BasicWindow::data(const QString &key) const
{
    return m_data.value(key);
}

// Asked again whenever the window shows: a compositing manager may have started or ended
// since the last time.
void BasicWindow::checkCompositing()
{
    const bool transparent = !QX11Info::isPlatformX11() || QX11Info::isCompositingManagerRunning();
    if (transparent == m_transparent)
        return;
    m_transparent = transparent;
    emit isTransparentSupportChanged();
}

void BasicWindow::show()
{
    checkCompositing();
    updatePos();
    emit geometryChanged();
    emit showed();
    QQuickView::show();
    raise();
}

void BasicWindow::hide()
{
    emit geometryChanged();
    emit hided();
    QQuickView::hide();
}

void BasicWindow::close()
{
    emit closed();
    m_closing = true;
    QQuickView::close();
    m_closing = false;
}

// The window manager closes a window with a Close event (Alt+F4, a panel's menu): its owner
// must hear of it as of a close from the page, or a window released on closed() would stay.
bool BasicWindow::event(QEvent *event)
{
    if (event->type() == QEvent::Close && !m_closing)
        emit closed();
    return QQuickView::event(event);
}

void BasicWindow::updatePos()
{
    const QPoint position = placement(availableArea(), size(), m_centred);
    move(position.x(), position.y());
}

void BasicWindow::move(int x, int y)
{
    setGeometry(x, y, width(), height());
    emit geometryChanged();
}

void BasicWindow::setPosCenter(bool centred)
{
    m_centred = centred;
    if (m_centred)
        updatePos();
}

void BasicWindow::setWidth(int width)
{
    if (width != this->width()) {
        setMinimumWidth(width);
        setMaximumWidth(width);
        resize(width, height());
        if (m_centred)
            updatePos();
    }
    emit geometryChanged();
}

void BasicWindow::setHeight(int height)
{
    if (height != this->height()) {
        setMinimumHeight(height);
        setMaximumHeight(height);
        resize(width(), height);
        if (!m_moved)
            updatePos();
        update();
    }
    emit geometryChanged();
}

QPointF BasicWindow::mapToScene(QQuickItem *item) const
{
    int x = 0;
    int y = 0;
    for (; item && item->parentItem(); item = item->parentItem()) {
        x = int(x + item->x());
        y = int(y + item->y());
    }
    return QPointF(x, y);
}

QPointF BasicWindow::mapToScenePoint(QQuickItem *item, int x, int y) const
{
    return item ? item->mapFromScene(QPointF(x, y)) : QPointF();
}

void BasicWindow::resizeEvent(QResizeEvent *event)
{
    setMask(roundedMask(event->size(), m_corner));
    QQuickView::resizeEvent(event);
}

void BasicWindow::keyPressEvent(QKeyEvent *event)
{
    // Unless an item of the page takes the key, it stays refused and Escape closes.
    event->ignore();
    QQuickView::keyPressEvent(event);
    if (!event->isAccepted() && event->key() == Qt::Key_Escape)
        close();
}

void BasicWindow::mousePressEvent(QMouseEvent *event)
{
    // The band lies over the title row, which moves up with the shadow gone.
    const int shift = m_transparent ? 0 : kShadowSize;
    const QPoint local = whole(event->localPos());
    if (event->button() == Qt::LeftButton && local.y() >= kDragBandTop - shift
        && local.y() <= kDragBandBottom - shift) {
        m_pressPoint = local;
        m_dragging = true;
    }
    QQuickView::mousePressEvent(event);
}

void BasicWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (m_moviable && m_dragging) {
        const QPoint local = whole(event->localPos());
        move(local.x() + x() - m_pressPoint.x(), local.y() + y() - m_pressPoint.y());
        m_moved = true;
    }
    QQuickView::mouseMoveEvent(event);
}

void BasicWindow::mouseReleaseEvent(QMouseEvent *event)
{
    m_dragging = false;
    QQuickView::mouseReleaseEvent(event);
}

QString BasicWindow::fitText(const QString &text)
{
    constexpr int kLongest = 600;
    if (text.size() <= kLongest)
        return text;
    const int half = kLongest / 2;
    return text.left(half) + QStringLiteral(" \u2026 ") + text.right(half);
}
