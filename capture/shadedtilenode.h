#ifndef SHADEDTILENODE_H
#define SHADEDTILENODE_H

#include <QColor>
#include <QImage>
#include <QSGRenderNode>

class QQuickWindow;

// One tile of the frozen picture with the shade laid over it, painted straight into the window
// by the raster scene graph whenever the tile shows again. No darkened copy of the picture is
// held: at 4K that copy is a whole frame of memory. A tile is repainted and sent only where
// something over it changed, and the window is sent whole tiles of it, so tiles stay small.
class ShadedTileNode : public QSGRenderNode
{
public:
    // What every tile of one picture paints with.
    struct Paint
    {
        QQuickWindow *window;
        QImage picture;
        QColor shade;
        bool smooth;
    };

    // source, in the picture's pixels, is shown at target, in the item's coordinates.
    ShadedTileNode(
        const Paint &paint, const QRect &source, const QRectF &target, bool populatesWindow);

    StateFlags changedStates() const override { return {}; }
    RenderingFlags flags() const override;
    QRectF rect() const override { return m_target; }
    void render(const RenderState *state) override;

private:
    void populateWindow(const QPaintDevice *device);

    Paint m_paint;
    QRect m_source;
    QRectF m_target;
    bool m_populatesWindow;
    const uchar *m_populated = nullptr;
};

#endif // SHADEDTILENODE_H
