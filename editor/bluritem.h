#ifndef BLURITEM_H
#define BLURITEM_H

#include "rectitem.h"

#include <QImage>

// A rectangle that hides what lies under it by blurring it. It shows the picture and whatever
// lies below its own z, which it shares with every other blur: a blur never blurs another.
class BlurItem : public RectItem
{
    Q_OBJECT

public:
    explicit BlurItem(QQuickItem *parent = nullptr);

    // The blur strength; the tool bar's width slider sets it.
    int lineWidth() const { return m_radius; }

    void setGeometry(const QRectF &r) override;
    void paint(QPainter *painter) override;
    void rescale(double f) override;
    QPainterPath shape() const;

    // The share of each new pixel in the running average, in sixteenths: the larger, the less
    // the picture is blurred.
    static int filterFactor(int radius);
    // Blurs image (32-bit ARGB) in place with four running averages: down, right, up, left.
    static void blurImage(QImage &image, int radius);

private slots:
    void radiusChange(int radius);

private:
    // The pixels of the rectangle that lie on the canvas, in canvas coordinates.
    QRect sourceRect() const;

    int m_radius = 15;
};

#endif // BLURITEM_H
