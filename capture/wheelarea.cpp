#include "wheelarea.h"

#include <QWheelEvent>

WheelArea::WheelArea(QQuickItem *parent)
    : QQuickItem(parent)
{
}

// A turn that moves neither way stays with the items below, so a list under the area still
// scrolls when the page does not care for the wheel.
void WheelArea::wheelEvent(QWheelEvent *event)
{
    const QPoint delta = event->angleDelta();
    if (delta.isNull()) {
        event->ignore();
        return;
    }
    if (delta.y() != 0)
        emit verticalWheel(delta.y());
    if (delta.x() != 0)
        emit horizontalWheel(delta.x());
    event->accept();
}
