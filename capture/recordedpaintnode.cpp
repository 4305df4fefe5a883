#include "recordedpaintnode.h"

#include <QPainter>
#include <QQuickWindow>
#include <QSGRendererInterface>

RecordedPaintNode::RecordedPaintNode(QQuickWindow *window)
    : m_window(window)
{
}

void RecordedPaintNode::setPicture(const QPicture &picture, const QRectF &rect)
{
    m_picture = picture;
    m_rect = rect;
    markDirty(QSGNode::DirtyMaterial);
}

// The clip must be set before the transform: the renderer hands it over in window
// coordinates.
void RecordedPaintNode::render(const RenderState *state)
{
    auto *painter = static_cast<QPainter *>(m_window->rendererInterface()->getResource(
        m_window, QSGRendererInterface::PainterResource));
    if (!painter)
        return;
    // The painter goes on to the nodes after this one as it came.
    painter->save();
    const QRegion *clip = state->clipRegion();
    if (clip && !clip->isEmpty())
        painter->setClipRegion(*clip, Qt::ReplaceClip);
    painter->setTransform(matrix()->toTransform());
    painter->setOpacity(inheritedOpacity());
    painter->drawPicture(QPointF(0, 0), m_picture);
    painter->restore();
}

QSGRenderNode::StateFlags RecordedPaintNode::changedStates() const
{
    return {};
}

QSGRenderNode::RenderingFlags RecordedPaintNode::flags() const
{
    return BoundedRectRendering;
}
