#ifndef WHEELAREA_H
#define WHEELAREA_H

#include <QQuickItem>

// Hands the wheel turns over a zoomable picture to the page, one signal per direction, with
// the wheel's angle delta in eighths of a degree (120 for one notch of a common wheel).
class WheelArea : public QQuickItem
{
    Q_OBJECT

public:
    explicit WheelArea(QQuickItem *parent = nullptr);

signals:
    void verticalWheel(int delta);
    void horizontalWheel(int delta);

protected:
    void wheelEvent(QWheelEvent *event) override;
};

#endif // WHEELAREA_H
