#include "magnifieritem.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QQmlEngine>
#include <QScreen>

namespace {

const int sampleSize = 20;
const int captionHeight = 14;

} // namespace

MagnifierItem::MagnifierItem(QQuickItem *parent)
    : QQuickPaintedItem(parent)
    , hotspot(QStringLiteral(":/component/image/component/magnifier_hotspot.png"))
{
    setFlag(ItemHasContents, true);
}

void MagnifierItem::registerQmlType()
{
    qmlRegisterType<MagnifierItem>("KuvoComponent", 1, 0, "MagnifierItem");
}

void MagnifierItem::setBackground(QPixmap p)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const qreal ratio = screen ? screen->devicePixelRatio() : 1.0;
    // gx and gy are logical pixels, so a grab in device pixels is brought down to that size;
    // at ratio 1 the picture is kept as it is rather than copied whole for nothing.
    if (!qFuzzyCompare(ratio, 1.0))
        p = p.scaled(int(p.width() / ratio), int(p.height() / ratio), Qt::IgnoreAspectRatio,
            Qt::FastTransformation);
    if (!qFuzzyCompare(p.devicePixelRatio(), 1.0))
        p.setDevicePixelRatio(1.0);
    m_background = p;
    emit backgroundChanged(m_background);
}

void MagnifierItem::setGx(int gx)
{
    if (m_gx == gx)
        return;
    m_gx = gx;
    emit gxChanged(gx);
}

void MagnifierItem::setGy(int gy)
{
    if (m_gy == gy)
        return;
    m_gy = gy;
    emit gyChanged(gy);
}

void MagnifierItem::paint(QPainter *painter)
{
    const int w = int(width());
    const int h = int(height());
    if (w <= 0 || h <= 0)
        return;
    const QImage enlarged = sample().scaled(w, h, Qt::KeepAspectRatio, Qt::FastTransformation);

    // Rounded everywhere but the top-left corner, where the loupe meets the pointer.
    QPainterPath shape;
    shape.setFillRule(Qt::WindingFill);
    shape.addRoundedRect(QRectF(0, 0, width(), height()), 5, 5);
    shape.addRect(0, 0, 10, 10);
    painter->save();
    painter->setClipPath(shape);
    painter->drawImage(QRect(0, 0, w, h), enlarged);
    painter->restore();
    painter->drawPixmap(0, 0, hotspot);

    painter->setOpacity(0.3);
    paintCrossHair(painter);
    painter->setOpacity(0.5);
    painter->fillRect(QRect(0, int(height() - captionHeight), w, captionHeight), Qt::black);
    painter->setOpacity(1.0);
    painter->setPen(Qt::white);
    painter->setBrush(Qt::white);
    takeColor(enlarged);
    painter->drawText(QPoint(2, int(height() - 2)), m_currentColor);
}

// Only the neighbourhood is read, never the whole picture, and it stays 20 x 20 at the
// picture's edges so that its centre is always the pixel under the pointer.
QImage MagnifierItem::sample() const
{
    QImage out(sampleSize, sampleSize, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    const QRect wanted(m_gx - sampleSize / 2, m_gy - sampleSize / 2, sampleSize, sampleSize);
    const QRect inside = wanted.intersected(m_background.rect());
    if (inside.isEmpty())
        return out;
    QPainter painter(&out);
    painter.drawPixmap(inside.topLeft() - wanted.topLeft(), m_background, inside);
    return out;
}

void MagnifierItem::paintCrossHair(QPainter *painter) const
{
    const int cx = int(width() * 0.5);
    const int cy = int(height() * 0.5);
    const int armV = int(height() * 0.5 - 2);
    const int armH = int(width() * 0.5 - 2);
    const QColor ink = painter->pen().color();
    painter->fillRect(QRect(cx, 0, 1, armV), ink);
    painter->fillRect(QRect(cx, int(height() * 0.5 + 2), 1, armV), ink);
    painter->fillRect(QRect(0, cy, armH, 1), ink);
    painter->fillRect(QRect(int(width() * 0.5 + 2), cy, armH, 1), ink);
}

void MagnifierItem::takeColor(const QImage &enlarged)
{
    const int x = qBound(0, int(width() * 0.5), enlarged.width() - 1);
    const int y = qBound(0, int(height() * 0.5), enlarged.height() - 1);
    const QString color = QColor(enlarged.pixel(x, y)).name(QColor::HexRgb);
    if (color == m_currentColor)
        return;
    m_currentColor = color;
    emit currentColorChange(m_currentColor);
}
