#include "ponorampreview.h"

#include <QPainter>
#include <QQmlEngine>

PonoramPreview::PonoramPreview(QQuickItem *parent)
    : QQuickPaintedItem(parent)
    , m_backdrop(QStringLiteral(":/image/image/image/ponoram_preview_background.png"))
{
    setImplicitSize(m_backdrop.width(), m_backdrop.height());
}

void PonoramPreview::registerQmlType()
{
    qmlRegisterType<PonoramPreview>("KuvoComponent", 1, 0, "PonoramPreview");
}

// Only the rows that fit are scaled, straight from the picture's own memory: a copy of the
// rows of a panorama 1920 pixels wide would cost tens of megabytes on every grab.
void PonoramPreview::setImage(const QImage &picture)
{
    if (picture.isNull() || picture.width() <= 0)
        return;
    const double scale = double(kWidth) / picture.width();
    const int fitting = int(kHeight / scale);
    if (fitting < picture.height()) {
        const int top = picture.height() - fitting;
        const QImage newest(picture.constScanLine(top), picture.width(), fitting,
            picture.bytesPerLine(), picture.format());
        m_image = newest.scaled(kWidth, kHeight, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    } else {
        m_image = picture.scaled(kWidth, qMax(1, int(picture.height() * scale)),
            Qt::IgnoreAspectRatio, Qt::FastTransformation);
    }
    update();
}

void PonoramPreview::paint(QPainter *painter)
{
    painter->drawImage(0, 0, m_backdrop);
    painter->setPen(Qt::white);
    painter->setBrush(Qt::white);
    painter->drawRect(kMargin, kMargin, kWidth - 1, kHeight - 1);
    painter->drawImage(kMargin, kMargin, m_image);
}
