#include "testshape.h"

#include "kpainterarea.h"

#include <QMouseEvent>
#include <QPainter>

TestShape::TestShape(QQuickItem *parent)
    : AbstractGraphItem(parent)
{
    setName(QStringLiteral("TestRect"));
}

void TestShape::setRect(const QRectF &rect)
{
    m_rect = rect.normalized();
    rebuildKeyPosition();
    update();
}

void TestShape::rebuildKeyPosition()
{
    setGeometry(m_rect);
    const int m = 5;
    const double w = width(), h = height();
    setKeyPositions(
        {QPointF(m + 2, m + 2), QPointF(int(w * 0.5), m + 2), QPointF(int(w - m), m + 2),
            QPointF(int(w - m), int(h * 0.5)), QPointF(int(w - m), int(h - m)),
            QPointF(int(w * 0.5), int(h - m)), QPointF(m + 2, int(h * 0.5)),
            QPointF(m + 2, int(h - m)), QPointF(int(w * 0.5), int(h * 0.5))});
}

void TestShape::paint(QPainter *painter)
{
    setupPainter(painter);
    const int m = lineWidth() / 2 + 5;
    painter->fillRect(QRectF(m, m, m_rect.width(), m_rect.height()), color());
    AbstractGraphItem::paint(painter);
}

void TestShape::move(double x, double y)
{
    m_rect.translate(QPointF(x, y) - position());
    setPosition(QPointF(x, y));
}

void TestShape::mousePressEvent(QMouseEvent *event)
{
    AbstractGraphItem::mousePressEvent(event);
    m_pressPoint = event->screenPos();
}

void TestShape::mouseMoveEvent(QMouseEvent *event)
{
    AbstractGraphItem::mouseMoveEvent(event);
    const QPointF delta = event->screenPos() - m_pressPoint;
    m_pressPoint = event->screenPos();
    move(x() + delta.x(), y() + delta.y());
    setMoved(true);
}

TestShapeModule::TestShapeModule(QObject *parent)
    : GraphModule(QStringLiteral("TestRect"), parent)
{
}

GraphModule *TestShapeModule::create(KPainterArea *area)
{
    return new TestShapeModule(area);
}

void TestShapeModule::beginPaintItem(KPainterArea *area, const QPoint &point)
{
    createItem(new TestShape(area), area);
    setStartPoint(point);
}

void TestShapeModule::paintItem(KPainterArea *, const QPoint &point)
{
    if (shape())
        shape()->setRect(QRectF(startPoint(), point));
}

void TestShapeModule::endPaintItem(KPainterArea *area, const QPoint &point)
{
    if (!shape() || point == startPoint())
        return;
    shape()->setRect(QRectF(startPoint(), point));
    emit currentItemChange(shape());
    addTostorage(shape(), area);
}
