#ifndef TESTSHAPE_H
#define TESTSHAPE_H

#include "abstractgraphitem.h"
#include "graphmodule.h"

// A filled rectangle: the smallest shape that exercises the canvas, its tools and the history
// the way the real shapes will.
class TestShape : public AbstractGraphItem
{
    Q_OBJECT

public:
    explicit TestShape(QQuickItem *parent);

    QRectF rect() const { return m_rect; }
    void setRect(const QRectF &rect);
    void paint(QPainter *painter) override;
    void move(double x, double y) override;
    void rebuildKeyPosition() override;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    QRectF m_rect;
    QPointF m_pressPoint;
};

class TestShapeModule : public GraphModule
{
    Q_OBJECT

public:
    explicit TestShapeModule(QObject *parent);
    static GraphModule *create(KPainterArea *area);

    void beginPaintItem(KPainterArea *area, const QPoint &point) override;
    void paintItem(KPainterArea *area, const QPoint &point) override;
    void endPaintItem(KPainterArea *area, const QPoint &point) override;

private:
    TestShape *shape() const { return static_cast<TestShape *>(item()); }
};

#endif // TESTSHAPE_H
