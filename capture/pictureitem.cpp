#include "pictureitem.h"

#include "shadedtilenode.h"

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

// A tile repainted is sent to the X server whole: a small change over the picture sends little.
const int kTileSide = 256;

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
    update();
    emit pictureChanged();
}

void PictureItem::setShade(const QColor &shade)
{
    if (shade == m_shade)
        return;
    m_shade = shade;
    m_texturesStale = true;
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

// Shading while painting needs the raster scene graph.
bool PictureItem::paintsTiles() const
{
    const QSGRendererInterface *renderer = window()->rendererInterface();
    return m_shade.alpha() > 0 && renderer
        && renderer->graphicsApi() == QSGRendererInterface::Software;
}

// The darkened picture first, then, over it, the bright rectangle.
QSGNode *PictureItem::newNodes(bool tiled) const
{
    auto *root = new QSGNode;
    const QImage picture = m_picture.toImage();
    const bool shaded = m_shade.alpha() > 0;
    if (tiled)
        appendTiles(root, picture);
    else
        root->appendChildNode(imageNode(shaded ? darkened(picture, m_shade) : picture));
    if (shaded)
        root->appendChildNode(imageNode(picture));
    return root;
}

// Each tile stands where the item shows its part of the picture. The first tile is the first
// painted in a frame that paints them all.
void PictureItem::appendTiles(QSGNode *root, const QImage &picture) const
{
    const qreal sx = width() / picture.width();
    const qreal sy = height() / picture.height();
    ShadedTileNode::Paint paint {window(), picture, m_shade, smooth()};
    for (int y = 0; y < picture.height(); y += kTileSide) {
        for (int x = 0; x < picture.width(); x += kTileSide) {
            const QRect source = QRect(x, y, kTileSide, kTileSide).intersected(picture.rect());
            const QRectF target(
                source.x() * sx, source.y() * sy, source.width() * sx, source.height() * sy);
            root->appendChildNode(new ShadedTileNode(paint, source, target, !root->firstChild()));
        }
    }
}

// New textures come with new nodes: the old nodes take their textures with them, so no two
// pictures are ever held at once for longer than this call.
QSGNode *PictureItem::updatePaintNode(QSGNode *old, UpdatePaintNodeData *)
{
    // Tiles stand at the item's size: a new size takes new ones.
    const QSizeF tiledSize = paintsTiles() ? size() : QSizeF();
    if (m_texturesStale || tiledSize != m_tiledSize) {
        delete old;
        old = nullptr;
        m_texturesStale = false;
    }
    if (m_picture.isNull() || width() <= 0 || height() <= 0) {
        delete old;
        return nullptr;
    }
    const bool tiled = !tiledSize.isEmpty();
    QSGNode *root = old ? old : newNodes(tiled);
    m_tiledSize = tiledSize;
    if (!tiled) {
        auto *base = static_cast<QSGImageNode *>(root->firstChild());
        setGeometry(base, boundingRect(), QRectF(QPointF(0, 0), base->texture()->textureSize()));
    }
    if (m_shade.alpha() > 0)
        placeBrightNode(static_cast<QSGImageNode *>(root->lastChild()));
    return root;
}
