#ifndef PICTUREITEM_H
#define PICTUREITEM_H

#include <QPixmap>
#include <QQuickItem>

// The frozen screen under a capture page, handed to the scene graph as one texture that the
// item's own node owns. An Image fed by an image provider would go through the scene graph's
// shared texture cache, which lets go of a texture only when some window synchronises again:
// the grab of the last capture would then outlive its view by a whole picture.
class PictureItem : public QQuickItem
{
    Q_OBJECT
    Q_PROPERTY(QPixmap picture READ picture WRITE setPicture NOTIFY pictureChanged)

public:
    explicit PictureItem(QQuickItem *parent = nullptr);

    // Makes the type known to the capture pages as KuvoComponent 1.0 PictureItem.
    static void registerQmlType();

    QPixmap picture() const { return m_picture; }
    void setPicture(const QPixmap &picture);

signals:
    void pictureChanged();

protected:
    QSGNode *updatePaintNode(QSGNode *old, UpdatePaintNodeData *data) override;

private:
    QPixmap m_picture;
    bool m_pictureChanged = false;
};

#endif // PICTUREITEM_H
