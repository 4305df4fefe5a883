#ifndef PICTUREITEM_H
#define PICTUREITEM_H

#include <QColor>
#include <QPixmap>
#include <QQuickItem>

class QSGImageNode;

// The frozen screen under a capture page: the picture darkened by the shade, and bright inside
// one rectangle (the selection). The darkened picture stays put, so a moving selection changes
// only the bright rectangle's node: the renderer redraws and sends just the area the rectangle
// covered before and covers now, never the whole screen. The raster scene graph paints the
// darkened picture tile by tile straight into the window (ShadedTileNode); other scene graphs
// are given a darkened copy, made once per picture.
//
// The textures belong to the item's own nodes. An Image fed by an image provider would go
// through the scene graph's shared texture cache, which lets go of a texture only when some
// window synchronises again: the grab of the last capture would then outlive its view.
class PictureItem : public QQuickItem
{
    Q_OBJECT
    Q_PROPERTY(QPixmap picture READ picture WRITE setPicture NOTIFY pictureChanged)
    Q_PROPERTY(QColor shade READ shade WRITE setShade NOTIFY shadeChanged)
    Q_PROPERTY(QRectF brightRect READ brightRect WRITE setBrightRect NOTIFY brightRectChanged)

public:
    explicit PictureItem(QQuickItem *parent = nullptr);

    // Makes the type known to the capture pages as KuvoComponent 1.0 PictureItem.
    static void registerQmlType();

    QPixmap picture() const { return m_picture; }
    void setPicture(const QPixmap &picture);
    QColor shade() const { return m_shade; }
    void setShade(const QColor &shade);
    // In the item's coordinates; an empty rectangle leaves all of the picture shaded.
    QRectF brightRect() const { return m_brightRect; }
    void setBrightRect(const QRectF &rect);

    // picture with shade laid over it; a copy even where the shade is clear.
    static QImage darkened(const QImage &picture, const QColor &shade);

signals:
    void pictureChanged();
    void shadeChanged();
    void brightRectChanged();

protected:
    QSGNode *updatePaintNode(QSGNode *old, UpdatePaintNodeData *data) override;

private:
    bool paintsTiles() const;
    QSGNode *newNodes(bool tiled) const;
    void appendTiles(QSGNode *root, const QImage &picture) const;
    QSGImageNode *imageNode(const QImage &image) const;
    void placeBrightNode(QSGImageNode *node) const;

    QPixmap m_picture;
    QColor m_shade = Qt::transparent;
    QRectF m_brightRect;
    bool m_texturesStale = false;
    // The size the tiles were made for; empty without tiles.
    QSizeF m_tiledSize;
};

#endif // PICTUREITEM_H
