#ifndef CURSORSHAPEAREA_H
#define CURSORSHAPEAREA_H

#include <QQuickItem>

// Chooses the pointer shape over a QML element. It takes no mouse buttons, so the element
// below keeps its clicks: the window shows an item's cursor whether the item takes events or
// not.
class CursorShapeArea : public QQuickItem
{
    Q_OBJECT
    Q_PROPERTY(
        Qt::CursorShape cursorShape READ cursorShape WRITE setCursorShape NOTIFY cursorShapeChanged)

public:
    explicit CursorShapeArea(QQuickItem *parent = nullptr);

    Qt::CursorShape cursorShape() const;
    void setCursorShape(Qt::CursorShape shape);

signals:
    void cursorShapeChanged();
};

#endif // CURSORSHAPEAREA_H
