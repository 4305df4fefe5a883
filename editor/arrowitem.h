#ifndef ARROWITEM_H
#define ARROWITEM_H

#include "lineitem.h"

#include <QPointer>

class TextItem;

// A line with a filled head at its end and a shaft that tapers from the head to a point at its
// start. The head and shaft grow with the line width and shrink on arrows shorter than 80 px.
class ArrowItem : public LineItem
{
    Q_OBJECT

public:
    explicit ArrowItem(QQuickItem *parent = nullptr);

    // As LineItem::setLine; a reversed arrow takes the ends swapped, so its head stays at b.
    void setLine(const QPointF &a, const QPointF &b);
    void setReverse(bool reverse) { m_reverse = reverse; }
    bool isReverse() const { return m_reverse; }
    // The text box that drives the arrow's start; the arrow then offers only its head to drag.
    void setTextItem(TextItem *item);
    TextItem *textItem() const;

    void paint(QPainter *painter) override;

signals:
    // The user dragged the arrow, so the text box it belongs to pulls its start back.
    void positionChange();

protected:
    int shapeWidth() const override { return 9; }
    void createKeyPosition() override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    double headScale(double length) const;
    void paintArrow(QPainter *painter) const;

    bool m_reverse = false;
    QPointer<TextItem> m_textItem;
};

#endif // ARROWITEM_H
