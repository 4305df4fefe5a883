#pragma once

#include <QMouseEvent>
#include <QQuickItem>

// An item below the one under test that counts the presses let through to it.
class PressCounter : public QQuickItem
{
public:
    explicit PressCounter(QQuickItem *parent)
        : QQuickItem(parent)
    {
        setAcceptedMouseButtons(Qt::LeftButton);
    }
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        ++presses;
        event->accept();
    }
};
