#include "pictureitem.h"

#include <QPainter>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QSGImageNode>
#include <QtConcurrent>

#include <algorithm>
#include <cstring>

namespace {

// The renderer redraws a node whose geometry is set, even to what it was: only real changes
// may reach it, or every move of the selection would redraw the whole picture.
void setGeometry(QSGImageNode *node, const QRectF &rect, const QRectF &source)
{
    if (node->rect() != rect)
        node->setRect(rect);
    if (node->sourceRect() != source)
        node->setSourceRect(source);
}

// Bands of rows darkened side by side: at 4K one band alone takes longer than the rest of the
// first frame.
const int kBandRows = 256;

} // namespace

PictureItem::PictureItem(QQuickItem *parent)
    : QQuickItem(parent)
{
    setFlag(ItemHasContents, true);
}

void PictureItem::registerQmlType()
{
    qmlRegisterType<PictureItem>("KuvoComponent", 1, 0, "PictureItem");
}

void PictureItem::setPicture(const QPixmap &picture)
{
    if (picture.cacheKey() == m_picture.cacheKey())
        return;
    m_picture = picture;
    m_texturesStale = true;
    startShading();
    update();
    emit pictureChanged();
}

void PictureItem::setShade(const QColor &shade)
{
    if (shade == m_shade)
        return;
    m_shade = shade;
    m_texturesStale = true;
    startShading();
    update();
    emit shadeChanged();
}

void PictureItem::setBrightRect(const QRectF &rect)
{
    if (rect == m_brightRect)
        return;
    m_brightRect = rect;
    update();
    emit brightRectChanged();
}

void PictureItem::componentComplete()
{
    QQuickItem::componentComplete();
    startShading();
}

// Picture and shade usually both arrive while the page is built: the work starts once, when
// the item is complete. A copy made for a picture or shade since replaced is simply dropped.
void PictureItem::startShading()
{
    m_shading = QFuture<QImage>();
    if (!isComponentComplete() || m_picture.isNull() || m_shade.alpha() == 0)
        return;
    m_shading = QtConcurrent::run(&PictureItem::darkened, m_picture.toImage(), m_shade);
}

// A future made empty is a cancelled one; the copy is then made here and now.
QImage PictureItem::takeShaded()
{
    const QImage shaded
        = m_shading.isCanceled() ? darkened(m_picture.toImage(), m_shade) : m_shading.result();
    m_shading = QFuture<QImage>();
    return shaded;
}

QImage PictureItem::darkened(const QImage &original, const QColor &shade)
{
    // Bands share rows with the result, which only whole pixels of 32 bits allow.
    const QImage picture = original.depth() == 32
        ? original
        : original.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage out(picture.size(), picture.format());
    if (out.isNull())
        return out;
    QVector<int> bands;
    for (int top = 0; top < out.height(); top += kBandRows)
        bands << top;
    // Each band copies its rows and paints on a picture of its own that shares them with out.
    QtConcurrent::blockingMap(bands, [&](int top) {
        const int rows = std::min(kBandRows, out.height() - top);
        const qsizetype bytes = std::min(picture.bytesPerLine(), out.bytesPerLine());
        for (int y = top; y < top + rows; ++y)
            std::memcpy(out.scanLine(y), picture.constScanLine(y), size_t(bytes));
        QImage band(out.scanLine(top), out.width(), rows, out.bytesPerLine(), out.format());
        QPainter painter(&band);
        painter.fillRect(band.rect(), shade);
    });
    return out;
}

QSGImageNode *PictureItem::imageNode(const QImage &image) const
{
    QSGImageNode *node = window()->createImageNode();
    node->setTexture(window()->createTextureFromImage(image));
    node->setOwnsTexture(true);
    node->setFiltering(smooth() ? QSGTexture::Linear : QSGTexture::Nearest);
    return node;
}

// The bright rectangle shows the same pixels of the picture as the darkened copy beneath it,
// wherever the item is scaled.
void PictureItem::placeBrightNode(QSGImageNode *node) const
{
    const QRectF rect = m_brightRect.intersected(boundingRect());
    const QSizeF texture = node->texture()->textureSize();
    const qreal sx = width() > 0 ? texture.width() / width() : 0;
    const qreal sy = height() > 0 ? texture.height() / height() : 0;
    setGeometry(
        node, rect, QRectF(rect.x() * sx, rect.y() * sy, rect.width() * sx, rect.height() * sy));
}

// The root holds the darkened picture and, above it, the bright rectangle. New textures come
// with new nodes: the old nodes take their textures with them, so no two pictures are ever
// held at once for longer than this call.
QSGNode *PictureItem::updatePaintNode(QSGNode *old, UpdatePaintNodeData *)
{
    if (m_texturesStale) {
        delete old;
        old = nullptr;
        m_texturesStale = false;
    }
    if (m_picture.isNull() || width() <= 0 || height() <= 0) {
        delete old;
        return nullptr;
    }
    QSGNode *root = old;
    if (!root) {
        root = new QSGNode;
        const QImage picture = m_picture.toImage();
        const bool shaded = m_shade.alpha() > 0;
        root->appendChildNode(imageNode(shaded ? takeShaded() : picture));
        if (shaded)
            root->appendChildNode(imageNode(picture));
    }
    auto *base = static_cast<QSGImageNode *>(root->firstChild());
    setGeometry(base, boundingRect(), QRectF(QPointF(0, 0), base->texture()->textureSize()));
    if (auto *bright = static_cast<QSGImageNode *>(root->lastChild()); bright != base)
        placeBrightNode(bright);
    return root;
}
