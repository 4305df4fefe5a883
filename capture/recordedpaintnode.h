#ifndef RECORDEDPAINTNODE_H
#define RECORDEDPAINTNODE_H

#include <QPicture>
#include <QRectF>
#include <QSGRenderNode>

class QQuickWindow;

// Plays an item's recorded painting straight into the software renderer's own painter. A
// painted item of the software renderer paints into a pixmap of its full size first and then
// copies that pixmap again before painting; over a 4K screen that costs more than the whole
// rest of a frame. The recording is taken while the scene is synchronised, so the render step
// never reads the item itself.
class RecordedPaintNode : public QSGRenderNode
{
public:
    explicit RecordedPaintNode(QQuickWindow *window);

    void setPicture(const QPicture &picture, const QRectF &rect);

    void render(const RenderState *state) override;
    StateFlags changedStates() const override;
    RenderingFlags flags() const override;
    QRectF rect() const override { return m_rect; }

private:
    QQuickWindow *m_window;
    QPicture m_picture;
    QRectF m_rect;
};

#endif // RECORDEDPAINTNODE_H
