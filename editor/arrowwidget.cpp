#include "arrowwidget.h"

#include <QBitmap>
#include <QDebug>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QX11Info>

namespace {

const int kPeriod = 50;
const int kStep = 2;
const int kAmplitude = 40;
const double kOpacityStep = 0.1;
const int kBounces = 3;
// Ten steps of 0.1 leave a trace of rounding above zero, so the last step has to count as
// reaching it; half a step tells the two apart safely.
const double kOpacityLeft = kOpacityStep / 2;

const char kArrowDown[] = ":/images/images/arrow_down.png";
const char kArrowUp[] = ":/images/images/arrow.png";

} // namespace

ArrowWidget::ArrowWidget(QRect rect, QWidget *parent)
    : QWidget(parent)
    , m_target(rect)
    , m_timer(this)
{
    QPalette transparent = palette();
    transparent.setBrush(QPalette::Base, Qt::transparent);
    setPalette(transparent);
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setAttribute(Qt::WA_TranslucentBackground, true);
    setupUi(this);
    // Connected once: a connection per start would run every tick as many times over.
    connect(&m_timer, &QTimer::timeout, this, &ArrowWidget::animation);
    qDebug() << Q_FUNC_INFO;
}

void ArrowWidget::startAnimation()
{
    m_timer.stop();
    qDebug() << Q_FUNC_INFO << m_target;
    m_forward = true;
    m_fading = false;
    m_bounces = 0;
    m_xOffset = 0;
    m_yOffset = 0;
    m_opacity = 1.0;
    const int left = m_target.left() - width() / 2 + 17;
    const QRect desktop = QGuiApplication::primaryScreen()->virtualGeometry();
    if (desktop.height() / 2.0 <= m_target.top()) {
        m_imagePath = QLatin1String(kArrowDown);
        move(left, m_target.top() - height());
    } else {
        m_imagePath = QLatin1String(kArrowUp);
        move(left, m_target.top() + 30);
    }
    m_shape = arrowShape();
    followShape();
    // Placed and shaped before it is shown, so it never flashes where it was the last time.
    show();
    raise();
    update();
    m_timer.start(kPeriod);
}

void ArrowWidget::animation()
{
    if (m_forward) {
        m_yOffset += kStep;
        if (m_yOffset >= kAmplitude)
            m_forward = false;
    } else {
        m_yOffset -= kStep;
        if (m_yOffset <= 0) {
            m_forward = true;
            if (++m_bounces >= kBounces)
                m_fading = true;
        }
    }
    if (m_fading) {
        // Where nothing composes, a fading arrow would darken to black: there it goes at once.
        m_opacity = m_shape.isEmpty() ? m_opacity - kOpacityStep : 0.0;
        if (m_opacity < kOpacityLeft) {
            m_opacity = 0.0;
            m_timer.stop();
            close();
            return;
        }
    }
    followShape();
    update();
}

// Without a compositing manager the clear margin around the arrow shows black: the window
// then takes the arrow's own shape. Empty where the window needs no shape.
QRegion ArrowWidget::arrowShape() const
{
    if (!QX11Info::isPlatformX11() || QX11Info::isCompositingManagerRunning())
        return QRegion();
    // Only the wholly clear pixels are left out: the black merely darkens the soft edge.
    const QImage arrow = QImage(m_imagePath).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return QRegion(QBitmap::fromImage(arrow.createMaskFromColor(0, Qt::MaskInColor)));
}

// The shape goes where the arrow stands in the window.
void ArrowWidget::followShape()
{
    if (!m_shape.isEmpty())
        setMask(m_shape.translated(m_xOffset, m_yOffset));
}

void ArrowWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect(), Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setOpacity(m_opacity);
    painter.drawPixmap(m_xOffset, m_yOffset, QPixmap(m_imagePath));
}
