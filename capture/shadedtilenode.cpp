#include "shadedtilenode.h"

#include "memorypages.h"

#include <QPainter>
#include <QQuickWindow>

ShadedTileNode::ShadedTileNode(
    const Paint &paint, const QRect &source, const QRectF &target, bool populatesWindow)
    : m_paint(paint)
    , m_source(source)
    , m_target(target)
    , m_populatesWindow(populatesWindow)
{
}

QSGRenderNode::RenderingFlags ShadedTileNode::flags() const
{
    return BoundedRectRendering | OpaqueRendering;
}

// The same two steps as a darkened copy: the picture's pixels, then the shade over them with
// Qt's own painter, so that at the picture's own size the shown pixels are those of the copy.
void ShadedTileNode::render(const RenderState *state)
{
    QQuickWindow *window = m_paint.window;
    auto *painter = static_cast<QPainter *>(
        window->rendererInterface()->getResource(window, QSGRendererInterface::PainterResource));
    if (!painter)
        return;
    if (m_populatesWindow)
        populateWindow(painter->device());
    painter->save();
    // The clip is in window coordinates already: it goes first, the tile's place after it.
    if (const QRegion *clip = state->clipRegion())
        painter->setClipRegion(*clip, Qt::ReplaceClip);
    painter->setTransform(matrix()->toTransform());
    painter->setOpacity(inheritedOpacity());
    painter->setRenderHint(QPainter::SmoothPixmapTransform, m_paint.smooth);
    // Neighbouring tiles of a scaled picture meet on whole pixels, with no seam of half-shaded
    // edges between them.
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->drawImage(m_target, m_paint.picture, m_source);
    painter->fillRect(m_target, m_paint.shade);
    painter->restore();
}

// A window's first frame is painted into a fresh buffer of its whole size: mapped here in a few
// calls side by side, it is ready before the first tile is drawn rather than page by page.
void ShadedTileNode::populateWindow(const QPaintDevice *device)
{
    if (!device || device->devType() != QInternal::Image)
        return;
    const auto *buffer = static_cast<const QImage *>(device);
    if (buffer->constBits() == m_populated)
        return;
    m_populated = buffer->constBits();
    MemoryPages::populate(const_cast<uchar *>(m_populated), size_t(buffer->sizeInBytes()));
}
