#include "abstractgraphitem.h"

#include "historystack.h"
#include "kpainterarea.h"

#include <QCursor>
#include <QPainter>
#include <QPixmap>
#include <QUndoStack>
#include <QtMath>

AbstractGraphItem::AbstractGraphItem(QQuickItem *parent)
    : QQuickPaintedItem(parent)
    , m_paintScene(qobject_cast<KPainterArea *>(parent))
{
    setAcceptHoverEvents(true);
    setAcceptedMouseButtons(Qt::LeftButton);
}

void AbstractGraphItem::setCheck(bool c)
{
    if (c == m_checked)
        return;
    m_checked = c;
    setFocus(c);
    // Both checking and unchecking bring the shape to the top: the last touched shape is seen.
    if (m_upToZ && m_paintScene)
        setZ(m_paintScene->getLastZ());
    update();
    emit checkChanged(c);
}

void AbstractGraphItem::setColor(const QColor &color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
    emit colorChanged(color);
}

void AbstractGraphItem::setLineWidth(int w)
{
    if (w == m_lineWidth)
        return;
    m_lineWidth = w;
    update();
    rebuildKeyPosition();
    emit lineWidthChanged(w);
}

void AbstractGraphItem::setSubstrate(bool substrate)
{
    if (substrate == m_substrate)
        return;
    m_substrate = substrate;
    update();
    rebuildKeyPosition();
}

void AbstractGraphItem::setGeometry(const QRectF &r)
{
    const QRectF n = r.normalized();
    const int m = m_lineWidth / 2 + 5;
    setBoxGeometry(
        QRectF(n.x() - m, n.y() - m, n.width() + m_lineWidth + 10, n.height() + m_lineWidth + 10));
}

void AbstractGraphItem::setBoxGeometry(const QRectF &box)
{
    const QRectF n = box.normalized();
    setPosition(n.topLeft());
    setSize(n.size());
    m_geometry = QRectF(x(), y(), width(), height());
}

void AbstractGraphItem::move(double, double) { }

void AbstractGraphItem::rebuildKeyPosition() { }

void AbstractGraphItem::rescale(double f)
{
    const QPointF o = origin();
    move(o.x() * f, o.y() * f);
}

void AbstractGraphItem::setupPainter(QPainter *painter) const
{
    QPen pen;
    pen.setWidth(m_lineWidth);
    pen.setColor(m_color);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    painter->setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter->setBrush(m_fill ? QBrush(m_color) : QBrush(Qt::transparent));
    painter->setPen(pen);
}

void AbstractGraphItem::geometryChanged(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    QQuickPaintedItem::geometryChanged(newGeometry, oldGeometry);
    if (newGeometry.size() != oldGeometry.size())
        fitTexture();
}

// A texture of the item's own size, scaled down to a third on the screen, keeps one row of
// every three: a thin outline loses whole sides. Painted at the shown size, it keeps them all.
void AbstractGraphItem::fitTexture()
{
    const qreal scale = m_paintScene ? m_paintScene->viewScale() : 1.0;
    const QSize shown(qCeil(width() * scale), qCeil(height() * scale));
    // An empty size lets the texture follow the item's own.
    setTextureSize(qFuzzyCompare(scale, 1.0) ? QSize() : shown);
    update();
}

void AbstractGraphItem::paint(QPainter *painter)
{
    if (!m_checked || m_keyPositions.isEmpty())
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    QPen pen(QColor(QStringLiteral("#ffffff")));
    pen.setCosmetic(true);
    painter->setPen(pen);
    painter->setBrush(QColor(QStringLiteral("#000000")));
    painter->setOpacity(0.6);
    const bool withCentre = m_keyPositions.size() > 1;
    const int circles = withCentre ? m_keyPositions.size() - 1 : 1;
    for (int i = 0; i < circles; ++i) {
        const QPointF &k = m_keyPositions.at(i);
        painter->drawEllipse(QRect(int(k.x()) - 5, int(k.y()) - 5, 10, 10));
    }
    if (withCentre) {
        static const QPixmap centre(QStringLiteral(":/image/image/image/center_key_pos.png"));
        const QPointF &k = m_keyPositions.constLast();
        painter->drawPixmap(QRect(int(k.x() - 4), int(k.y() - 4), 9, 9), centre);
    }
    painter->restore();
}

QPoint AbstractGraphItem::roundedPoint(const QPointF &p)
{
    return QPoint(qFloor(p.x() + 0.5), qFloor(p.y() + 0.5));
}

bool AbstractGraphItem::isMoveToolCurrent() const
{
    return m_paintScene && m_paintScene->isModuleSelect(QStringLiteral("Move"));
}

// The pointer can land straight on a handle: a press may follow before any move inside.
void AbstractGraphItem::hoverEnterEvent(QHoverEvent *event)
{
    hoverMoveEvent(event);
}

void AbstractGraphItem::hoverMoveEvent(QHoverEvent *event)
{
    setCursor(KPainterArea::crossCursor());
    if (!m_paintScene || (!m_checked && !isMoveToolCurrent()))
        return;
    m_onKey = false;
    m_edges = Edges();
    if (!m_resizing)
        m_activeKey = QPointF();
    const QPoint p = roundedPoint(event->posF());
    for (const QPointF &k : qAsConst(m_keyPositions)) {
        const QRect handle(QPoint(int(k.x() - 3), int(k.y() - 3)), QSize(6, 6));
        if (handle.contains(p)) {
            if (!m_resizing)
                m_activeKey = k;
            m_onKey = true;
        }
    }
    if (!m_onKey) {
        if (isMoveToolCurrent())
            setCursor(Qt::SizeAllCursor);
        return;
    }
    if (m_checked)
        classifyActiveKey();
}

void AbstractGraphItem::classifyActiveKey()
{
    int maxX = 0, minX = 0, maxY = 0, minY = 0;
    for (const QPointF &k : qAsConst(m_keyPositions)) {
        if (k.x() > maxX)
            maxX = int(k.x());
        if (minX == 0 || k.x() < minX)
            minX = int(k.x());
        if (k.y() > maxY)
            maxY = int(k.y());
        if (minY == 0 || k.y() < minY)
            minY = int(k.y());
    }
    const double ax = m_activeKey.x();
    const double ay = m_activeKey.y();
    const bool innerX = minX < ax && ax < maxX;
    const bool innerY = minY < ay && ay < maxY;
    Edges e;
    Qt::CursorShape shape = Qt::BitmapCursor;
    if (ax == minX && ay == minY) {
        e.left = e.top = true;
        shape = Qt::SizeFDiagCursor;
    } else if (ax == maxX && ay == minY) {
        e.right = e.top = true;
        shape = Qt::SizeBDiagCursor;
    } else if (ax == maxX && ay == maxY) {
        e.right = e.bottom = true;
        shape = Qt::SizeFDiagCursor;
    } else if (ax == minX && ay == maxY) {
        e.left = e.bottom = true;
        shape = Qt::SizeBDiagCursor;
    } else if (innerX && innerY) {
        e.side = true;
        shape = Qt::SizeAllCursor;
    } else if ((ax == minX || ax == maxX) && innerY) {
        e.side = true;
        (ax == minX ? e.left : e.right) = true;
        shape = Qt::SizeHorCursor;
    } else if (innerX && (ay == minY || ay == maxY)) {
        e.side = true;
        (ay == minY ? e.top : e.bottom) = true;
        shape = Qt::SizeVerCursor;
    }
    m_edges = e;
    if (shape != Qt::BitmapCursor)
        setCursor(shape);
}

void AbstractGraphItem::mousePressEvent(QMouseEvent *event)
{
    m_pressPosition = origin();
    m_moved = false;
    if (!m_paintScene)
        return;
    const bool moveTool = isMoveToolCurrent();
    // A press away from the handles with a drawing tool starts a new shape over this one.
    if (!moveTool && !m_onKey)
        event->ignore();
    if (moveTool) {
        m_paintScene->uncheckAllItem();
        setCheck(true);
    }
    if (!m_activeKey.isNull())
        m_resizing = true;
}

void AbstractGraphItem::mouseMoveEvent(QMouseEvent *)
{
    emit updated();
}

void AbstractGraphItem::mouseReleaseEvent(QMouseEvent *)
{
    m_resizing = false;
    if (m_moved && m_paintScene)
        m_paintScene->undoStack()->push(new MoveCommand(this, origin(), m_pressPosition));
    m_moved = false;
}

void AbstractGraphItem::keyPressEvent(QKeyEvent *event)
{
    QQuickPaintedItem::keyPressEvent(event);
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat())
        m_spaceHeld = true;
    const int step = event->modifiers().testFlag(Qt::ShiftModifier) ? 10 : 1;
    const QPointF old = origin();
    switch (event->key()) {
    case Qt::Key_Up:
        move(old.x(), old.y() - step);
        pushMove(old);
        break;
    case Qt::Key_Down:
        move(old.x(), old.y() + step);
        pushMove(old);
        break;
    case Qt::Key_Right:
        move(old.x() + step, old.y());
        pushMove(old);
        break;
    case Qt::Key_Left:
        move(old.x() - step, old.y());
        pushMove(old);
        break;
    case Qt::Key_Delete:
        setVisible(false);
        if (m_paintScene)
            m_paintScene->undoStack()->push(new DeleteCommand(this));
        break;
    default:
        break;
    }
}

void AbstractGraphItem::pushMove(const QPointF &oldPos)
{
    if (m_paintScene)
        m_paintScene->undoStack()->push(new MoveCommand(this, origin(), oldPos));
}

void AbstractGraphItem::keyReleaseEvent(QKeyEvent *event)
{
    QQuickPaintedItem::keyReleaseEvent(event);
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat())
        m_spaceHeld = false;
}

double angle_point(const QPointF &a, const QPointF &b, const QPointF &c)
{
    const QPointF u = a - b;
    const QPointF v = c - b;
    const double lengths = std::hypot(u.x(), u.y()) * std::hypot(v.x(), v.y());
    return std::acos(QPointF::dotProduct(u, v) / lengths);
}
