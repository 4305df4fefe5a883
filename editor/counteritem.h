#ifndef COUNTERITEM_H
#define COUNTERITEM_H

#include "rectitem.h"

#include <QFont>

// A numbered bullet, alone where a click put it or beside the corner of a frame where a drag
// ended. A rectangle of at most 3 x 3 pixels is a bullet without a frame.
class CounterItem : public RectItem
{
    Q_OBJECT

public:
    CounterItem(int number, QQuickItem *parent = nullptr);

    int number() const { return m_number; }
    bool drawCounter() const { return m_drawCounter; }
    void setDrawCouter(bool draw);
    bool bulletRight() const { return m_bulletRight; }
    bool bulletBottom() const { return m_bulletBottom; }
    void setBulletPos(bool right, bool bottom);
    bool isPointCounter() const { return isPoint(rectangle()); }
    // The bullet's centre in item coordinates.
    QPointF bulletCentre() const;
    // White, or the inverse of a light item colour so that the number stays readable.
    QColor textColor() const;

    void resize(const QRectF &r);
    void normalize();
    void setGeometry(const QRectF &r) override;
    void paint(QPainter *painter) override;
    void rescale(double f) override;
    QPainterPath shape() const;

protected:
    void createKeyPosition() override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    QUndoCommand *changeCommand(const QRectF &newRect, const QRectF &oldRect) override;

private:
    static bool isPoint(const QRectF &r);
    int margin() const { return lineWidth() / 2 + 20; }

    int m_number;
    bool m_drawCounter = false;
    bool m_bulletRight = false;
    bool m_bulletBottom = false;
    QFont m_font;
    // Tells whether a handle drag started from a bullet without a frame.
    QRectF m_lastRectangle;
    QPoint m_dragPoint;
    bool m_pointDragged = false;
    bool m_pressBulletRight = false;
    bool m_pressBulletBottom = false;
};

#endif // COUNTERITEM_H
