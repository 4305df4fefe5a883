#include "surfaceselector.h"

#include "kpainterarea.h"

#include <QCursor>
#include <QKeyEvent>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QSGRectangleNode>

#include <algorithm>
#include <cmath>

namespace {

const QColor guideColor(QStringLiteral("#33FFFFFF"));
// Four bands of shade around the bright area, then up to two cross-hair lines and four guides.
const int kShadeNodes = 4;
const int kGuideNodes = 6;

// Pointer positions are whole pixels, halves upwards (so -0.5 gives 0), so that what the user
// sees framed is exactly what is cut out.
int wholePixel(qreal value)
{
    return int(std::floor(value + 0.5));
}

QPointF wholePixels(QPointF p)
{
    return QPointF(wholePixel(p.x()), wholePixel(p.y()));
}

// One axis of the size limit: the span may not exceed the limit less the smaller margin.
// Both margins can exceed the limit, so the allowed span is held at zero rather than going
// negative and turning the selection inside out.
void limitSpan(int limit, qreal itemSpan, qreal &pos, qreal &span, qreal posBefore, bool resizing)
{
    if (limit == -1)
        return;
    const qreal freeBefore = pos;
    const qreal freeAfter = itemSpan - (pos + span);
    const int allowed = std::max(0, int(limit - std::min(freeBefore, freeAfter)));
    if (span <= allowed)
        return;
    span = allowed;
    if (resizing && freeBefore > freeAfter)
        pos = posBefore;
}

} // namespace

SurfaceSelector::SurfaceSelector(QQuickItem *parent)
    : QQuickItem(parent)
{
    setFlag(ItemHasContents, true);
    const QPoint cursor = QCursor::pos();
    m_gx = cursor.x();
    m_gy = cursor.y();
    setClip(true);
    setObjectName(QStringLiteral("SurfaceSelector"));
    setAcceptedMouseButtons(Qt::AllButtons);
    setAcceptHoverEvents(true);
    setCrossCursor();
    refresh();
}

void SurfaceSelector::registerQmlType()
{
    qmlRegisterType<SurfaceSelector>("KuvoComponent", 1, 0, "SurfaceSelector");
}

void SurfaceSelector::setCrossCursor()
{
    setCursor(KPainterArea::crossCursor());
}

QRectF SurfaceSelector::rubberRect() const
{
    return m_rubberRect.normalized();
}

int SurfaceSelector::rubberRectLeft() const
{
    return int(rubberRect().x());
}

int SurfaceSelector::rubberRectRight() const
{
    return int(rubberRect().right());
}

int SurfaceSelector::rubberRectTop() const
{
    return int(rubberRect().y());
}

int SurfaceSelector::rubberRectBottom() const
{
    return int(rubberRect().bottom());
}

int SurfaceSelector::gRubberRectLeft() const
{
    return int(m_gRect.normalized().x());
}

int SurfaceSelector::gRubberRectRight() const
{
    return int(m_gRect.normalized().right());
}

int SurfaceSelector::gRubberRectTop() const
{
    return int(m_gRect.normalized().y());
}

int SurfaceSelector::gRubberRectBottom() const
{
    return int(m_gRect.normalized().bottom());
}

bool SurfaceSelector::isCompleteSelectRect() const
{
    return !m_firstDraw;
}

QRect SurfaceSelector::selectRect() const
{
    const QRectF r = rubberRect();
    const QRect whole(QPoint(wholePixel(r.x()), wholePixel(r.y())),
        QPoint(wholePixel(r.x() + r.width()) - 1, wholePixel(r.y() + r.height()) - 1));
    // A null rectangle, never an empty one that copying code would read as "everything".
    return whole.isValid() ? whole : QRect();
}

void SurfaceSelector::setRubberRect(QRectF r)
{
    m_rubberRect = r.normalized();
    selectionMade = true;
    m_isPress = false;
    m_firstDraw = false;
    m_showToolBar = true;
    emit showToolBarChanged(true);
    emitRectSignals();
    emit firstDrawChanged(false);
    emit isPressChanged(false);
    emit selectComplete();
}

void SurfaceSelector::setGRect(QRectF globalRect, QRectF localRect)
{
    m_gRect = globalRect;
    m_rubberRect = localRect;
    m_isPress = true;
    m_firstDraw = true;
    emit gRubberRectLeftChanged(int(m_gRect.x()));
    emit gRubberRectRightChanged(int(m_gRect.right()));
    emit gRubberRectTopChanged(int(m_gRect.y()));
    emit gRubberRectBottomChanged(int(m_gRect.bottom()));
    emitRectSignals();
}

void SurfaceSelector::moveRubber(int x, int y)
{
    m_rubberRect = QRectF(x, y, int(m_rubberRect.width()), int(m_rubberRect.height()));
    emitRectSignals();
}

void SurfaceSelector::expandToFullScreen()
{
    savedRect = m_rubberRect;
    m_rubberRect = QRectF(0, 0, width(), height());
    emitRectSignals();
}

void SurfaceSelector::collapseFromFullScreen()
{
    m_firstDraw = true;
    emit firstDrawChanged(true);
    selectionMade = false;
    m_showToolBar = false;
    emit showToolBarChanged(false);
    m_rubberRect = QRectF(0, 0, 0, 0);
    emitRectSignals();
}

void SurfaceSelector::checkProperties()
{
    if (!m_fullScreen)
        return;
    m_rubberRect = QRectF(0, 0, width(), height());
    m_firstDraw = false;
    selectionMade = true;
    m_showToolBar = true;
    emit showToolBarChanged(true);
    emitRectSignals();
}

void SurfaceSelector::setMoveSelector(bool on)
{
    moveSelector = on;
}

void SurfaceSelector::setX(int x)
{
    m_gx = x;
    refresh();
}

void SurfaceSelector::setY(int y)
{
    m_gy = y;
    refresh();
}

void SurfaceSelector::setFullScreen(bool value)
{
    if (m_fullScreen == value)
        return;
    m_fullScreen = value;
    emit fullScreenChanged(value);
}

void SurfaceSelector::setQuickScreen(bool value)
{
    if (m_quickScreen == value)
        return;
    m_quickScreen = value;
    emit quickScreenChanged(value);
}

void SurfaceSelector::setFirstDraw(bool value)
{
    if (m_firstDraw == value)
        return;
    m_firstDraw = value;
    emit firstDrawChanged(value);
    refresh();
}

void SurfaceSelector::setIsShowMagnified(bool value)
{
    if (m_isShowMagnified == value)
        return;
    m_isShowMagnified = value;
    emit isShowMagnifiedChanged();
}

void SurfaceSelector::setScreenIndex(int index)
{
    m_screenIndex = index;
    // The per-monitor windows rely on hearing their index even when it did not change.
    emit screenIndexChanged(index);
}

void SurfaceSelector::setMaxSelectWidth(int width)
{
    if (m_maxSelectWidth == width)
        return;
    m_maxSelectWidth = width;
    emit maxSelectWidthChanged(width);
    if (width != -1)
        calcFreeSpace();
}

void SurfaceSelector::setMaxSelectHeight(int height)
{
    if (m_maxSelectHeight == height)
        return;
    m_maxSelectHeight = height;
    emit maxSelectHeightChanged(height);
    // A height limit alone must hold at once too, just as a width limit does.
    if (height != -1)
        calcFreeSpace();
}

void SurfaceSelector::calcFreeSpace()
{
    applyLimits(false, m_rubberRect.topLeft());
    emitRectSignals();
}

void SurfaceSelector::setShapeRect(QRect rect)
{
    shapeRect = rect;
    shapeActive = true;
    refresh();
}

void SurfaceSelector::clearShapeRect()
{
    shapeRect = QRect();
    shapeActive = false;
    refresh();
}

void SurfaceSelector::stopResize()
{
    resizeStopped = true;
}

bool SurfaceSelector::contains(const QPointF &point) const
{
    if (!QQuickItem::contains(point))
        return false;
    return rubberIsZero() || !m_rubberRect.contains(point);
}

void SurfaceSelector::keyPressEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Space) {
        event->ignore();
        return;
    }
    moveSelector = true;
}

void SurfaceSelector::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Space) {
        event->ignore();
        return;
    }
    moveSelector = false;
}

void SurfaceSelector::mousePressEvent(QMouseEvent *event)
{
    m_isPress = true;
    emit isPressChanged(true);
    anchor = lastPos = wholePixels(event->localPos());
    if (m_rubberRect.contains(anchor))
        event->ignore();
    refresh();
}

void SurfaceSelector::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF p = wholePixels(event->localPos());
    setPointer(p);
    if (resizeStopped) {
        event->ignore();
        return;
    }
    if (moveSelector) {
        // The far corner follows the pointer, so the size drawn so far is kept.
        m_rubberRect.moveTo(m_gx - m_rubberRect.width(), m_gy - m_rubberRect.height());
        anchor = lastPos = wholePixels(m_rubberRect.topLeft());
    } else if (!selectionMade) {
        m_rubberRect = QRectF(anchor, QSizeF(p.x() - anchor.x(), p.y() - anchor.y()));
    } else if (m_isPress && resizeArmed) {
        resizeStep(p);
    } else if (m_rubberRect.contains(p)) {
        event->ignore();
    }
    emit gRectChanged(m_rubberRect);
    emitRectSignals();
}

void SurfaceSelector::mouseReleaseEvent(QMouseEvent *event)
{
    resizeArmed = false;
    if (!shapeRect.isNull())
        markSelected();
    const QRectF r = m_rubberRect.normalized();
    if (r.width() < 1 || r.height() < 1) {
        // A click, or a drag along one axis only: nothing can be cut out of that, so the item
        // waits for a real selection instead of offering a tool bar for an empty picture.
        const bool wasZero = rubberIsZero();
        m_rubberRect.setSize(QSizeF(0, 0));
        selectionMade = false;
        m_firstDraw = true;
        m_isPress = false;
        moveSelector = false;
        emit firstDrawChanged(true);
        emit isPressChanged(false);
        if (!wasZero)
            emitRectSignals();
        refresh();
        return;
    }
    finishSelection(event);
}

void SurfaceSelector::finishSelection(QMouseEvent *event)
{
    m_showToolBar = true;
    emit showToolBarChanged(true);
    moveSelector = false;
    markSelected();
    if (m_rubberRect.contains(event->localPos()))
        event->ignore();
    // The edges told while drawing may have been those of a rectangle drawn up or left.
    m_rubberRect = m_rubberRect.normalized();
    emitRectSignals();
}

void SurfaceSelector::markSelected()
{
    selectionMade = true;
    m_firstDraw = false;
    m_isPress = false;
    emit firstDrawChanged(false);
    emit isPressChanged(false);
    emit selectComplete();
}

// The scene sends no move with the enter, and the pointer may come in straight over an edge
// of the selection: it must show the resizing cursor there at once.
void SurfaceSelector::hoverEnterEvent(QHoverEvent *event)
{
    event->accept();
    QQuickItem::hoverEnterEvent(event);
    hoverMoveEvent(event);
}

void SurfaceSelector::hoverLeaveEvent(QHoverEvent *event)
{
    event->accept();
    QQuickItem::hoverLeaveEvent(event);
}

void SurfaceSelector::hoverMoveEvent(QHoverEvent *event)
{
    const QPointF p = wholePixels(event->posF());
    if (m_firstDraw) {
        setPointer(p);
        refresh();
        return;
    }
    if (m_rubberRect.contains(p)) {
        resizeArmed = false;
        setCrossCursor();
        event->ignore();
        refresh();
        return;
    }
    if (!resizeStopped)
        resizeArmed = true;
    else if (!resizeArmed) {
        refresh();
        return;
    }
    armEdges(p);
    refresh();
}

void SurfaceSelector::armEdges(QPointF p)
{
    const QRectF r = m_rubberRect.normalized();
    edgeTop = p.y() < r.y();
    edgeBottom = !edgeTop && p.y() > r.y() + r.height();
    edgeLeft = p.x() < r.x();
    edgeRight = !edgeLeft && p.x() > r.x() + r.width();
    edgeCorner = (edgeTop || edgeBottom) && (edgeLeft || edgeRight);
    if (edgeCorner)
        setCursor((edgeTop == edgeLeft) ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor);
    else if (edgeTop || edgeBottom)
        setCursor(Qt::SizeVerCursor);
    else
        setCursor(Qt::SizeHorCursor);
}

void SurfaceSelector::resizeStep(QPointF p)
{
    const qreal dx = p.x() - lastPos.x();
    const qreal dy = p.y() - lastPos.y();
    qreal left = m_rubberRect.x();
    qreal top = m_rubberRect.y();
    qreal right = left + m_rubberRect.width();
    qreal bottom = top + m_rubberRect.height();
    if (edgeCorner) {
        (edgeRight ? right : left) += dx;
        (edgeBottom ? bottom : top) += dy;
    } else if (edgeRight) {
        right += dx;
    } else if (edgeBottom) {
        bottom += dy;
    } else if (edgeTop) {
        top += dy;
    } else if (edgeLeft) {
        left += dx;
    }
    const QPointF before = m_rubberRect.topLeft();
    m_rubberRect = QRectF(QPointF(int(left), int(top)), QPointF(int(right), int(bottom)));
    applyLimits(true, before);
    lastPos = p;
}

void SurfaceSelector::applyLimits(bool resizing, QPointF before)
{
    qreal x = m_rubberRect.x();
    qreal y = m_rubberRect.y();
    qreal w = m_rubberRect.width();
    qreal h = m_rubberRect.height();
    limitSpan(m_maxSelectWidth, width(), x, w, before.x(), resizing);
    limitSpan(m_maxSelectHeight, height(), y, h, before.y(), resizing);
    m_rubberRect = QRectF(x, y, w, h);
}

void SurfaceSelector::setPointer(QPointF p)
{
    m_gx = int(p.x());
    m_gy = int(p.y());
    emit gxChanged(m_gx);
    emit gyChanged(m_gy);
}

void SurfaceSelector::emitRectSignals()
{
    emit rubberRectChanged(m_rubberRect);
    emit rubberRectLeftChanged(int(m_rubberRect.x()));
    emit rubberRectRightChanged(int(m_rubberRect.right()));
    emit rubberRectTopChanged(int(m_rubberRect.y()));
    emit rubberRectBottomChanged(int(m_rubberRect.bottom()));
    refresh();
}

bool SurfaceSelector::rubberIsZero() const
{
    return m_rubberRect.width() == 0 && m_rubberRect.height() == 0;
}

void SurfaceSelector::setShaded(bool shaded)
{
    if (m_shaded == shaded)
        return;
    m_shaded = shaded;
    emit shadedChanged(shaded);
    refresh();
}

QColor SurfaceSelector::shadeColor()
{
    return QColor(QStringLiteral("#6c141517"));
}

void SurfaceSelector::refresh()
{
    update();
    const QRectF bright = brightRect();
    if (bright == m_toldBrightRect)
        return;
    m_toldBrightRect = bright;
    emit brightRectChanged(bright);
}

// Edges are cut to whole pixels toward zero, as the guides are.
QRectF SurfaceSelector::brightRect() const
{
    QRectF hole;
    if (shapeActive)
        hole = QRectF(shapeRect.normalized());
    else if ((m_isPress && m_firstDraw) || selectionMade)
        hole = m_rubberRect.normalized();
    const QPoint topLeft(int(hole.x()), int(hole.y()));
    const QPoint bottomRight(int(hole.x() + hole.width()), int(hole.y() + hole.height()));
    const QRectF whole(
        topLeft, QSizeF(bottomRight.x() - topLeft.x(), bottomRight.y() - topLeft.y()));
    return whole.isEmpty() ? QRectF() : whole;
}

QVector<QRectF> SurfaceSelector::shadeRects() const
{
    if (!m_shaded)
        return {};
    const QRectF hole = brightRect();
    const qreal w = std::ceil(width());
    const qreal h = std::ceil(height());
    if (hole.isEmpty())
        return {QRectF(0, 0, w, h)};
    return {QRectF(0, 0, w, hole.y()), QRectF(0, hole.y(), hole.x(), hole.height()),
        QRectF(hole.right(), hole.y(), w - hole.right(), hole.height()),
        QRectF(0, hole.bottom(), w, h - hole.bottom())};
}

QVector<QRectF> SurfaceSelector::crossHair() const
{
    return {QRectF(m_gx, 0, 1, height()), QRectF(0, m_gy, width(), 1)};
}

QVector<QRectF> SurfaceSelector::startGuides() const
{
    const int x = int(m_rubberRect.x());
    const int y = int(m_rubberRect.y());
    return {QRectF(x, 0, 1, height()), QRectF(0, y, width(), 1)};
}

QVector<QRectF> SurfaceSelector::stopGuides() const
{
    const QRectF r = m_rubberRect.normalized();
    const int x = int(r.x() + r.width());
    const int y = int(r.y() + r.height());
    return {QRectF(x, 0, 1, height()), QRectF(0, y, width(), 1)};
}

// What is drawn depends on the state, first matching row: a shape being placed; the first
// rectangle being drawn; waiting for the first press; a finished selection.
QVector<QRectF> SurfaceSelector::guideRects() const
{
    if (shapeActive)
        return (rubberIsZero() ? crossHair() : QVector<QRectF>()) + startGuides() + stopGuides();
    if (m_isPress && m_firstDraw)
        return crossHair() + (rubberIsZero() ? QVector<QRectF>() : startGuides());
    if (!selectionMade)
        return crossHair();
    return startGuides() + stopGuides();
}

// A fixed set of rectangle nodes whose geometry follows the state: the renderer redraws only
// the nodes that moved, where they were and where they are.
QSGNode *SurfaceSelector::updatePaintNode(QSGNode *old, UpdatePaintNodeData *)
{
    QSGNode *root = old;
    if (!root) {
        root = new QSGNode;
        for (int i = 0; i < kShadeNodes + kGuideNodes; ++i) {
            QSGRectangleNode *node = window()->createRectangleNode();
            node->setColor(i < kShadeNodes ? shadeColor() : guideColor);
            root->appendChildNode(node);
        }
    }
    const QVector<QRectF> shade = shadeRects();
    const QVector<QRectF> guides = guideRects();
    int i = 0;
    for (QSGNode *child = root->firstChild(); child; child = child->nextSibling(), ++i) {
        const QRectF rect = i < kShadeNodes ? shade.value(i) : guides.value(i - kShadeNodes);
        // Setting a rectangle redraws it even when it has not moved.
        auto *node = static_cast<QSGRectangleNode *>(child);
        if (node->rect() != rect)
            node->setRect(rect);
    }
    return root;
}
