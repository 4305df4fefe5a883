#include "pictureitem.h"

#include <QQmlEngine>
#include <QQuickWindow>
#include <QSGImageNode>

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
    m_pictureChanged = true;
    update();
    emit pictureChanged();
}

// A new picture gets a new node: the old node takes its texture with it, so no two pictures
// are ever held at once for longer than this call.
QSGNode *PictureItem::updatePaintNode(QSGNode *old, UpdatePaintNodeData *)
{
    auto *node = static_cast<QSGImageNode *>(old);
    if (m_pictureChanged) {
        delete node;
        node = nullptr;
        m_pictureChanged = false;
    }
    if (m_picture.isNull())
        return nullptr;
    if (!node) {
        node = window()->createImageNode();
        node->setTexture(window()->createTextureFromImage(m_picture.toImage()));
        node->setOwnsTexture(true);
    }
    node->setRect(boundingRect());
    node->setSourceRect(QRectF(QPointF(0, 0), node->texture()->textureSize()));
    node->setFiltering(smooth() ? QSGTexture::Linear : QSGTexture::Nearest);
    return node;
}
