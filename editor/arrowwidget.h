#ifndef ARROWWIDGET_H
#define ARROWWIDGET_H

#include "ui_arrowform.h"

#include <QRect>
#include <QRegion>
#include <QString>
#include <QTimer>
#include <QWidget>

// A hint that points at a place on the screen: an arrow beside the target rectangle that bobs
// three times and fades out, in a frameless window above everything else. The arrow stands
// above a target in the lower half of the desktop, pointing down at it, and below the top of
// one in the upper half, pointing up.
class ArrowWidget : public QWidget, private Ui::ArrowForm
{
    Q_OBJECT

public:
    explicit ArrowWidget(QRect rect, QWidget *parent = nullptr);

    // Shows the hint beside the target; a second call starts it over from the beginning.
    void startAnimation();

protected:
    void paintEvent(QPaintEvent *event) override;

private slots:
    void animation();

private:
    QRegion arrowShape() const;
    void followShape();

    QRect m_target;
    QTimer m_timer;
    bool m_forward = true;
    bool m_fading = false;
    int m_bounces = 0;
    double m_opacity = 1.0;
    QString m_imagePath;
    QRegion m_shape;
    int m_xOffset = 0;
    int m_yOffset = 0;
};

#endif // ARROWWIDGET_H
