#ifndef MAGNIFIERITEM_H
#define MAGNIFIERITEM_H

#include <QPixmap>
#include <QQuickPaintedItem>
#include <QString>

// The loupe over the capture overlay: the 20 x 20 pixels of the frozen picture around the
// pointer, enlarged in blocks, with the colour under the pointer written below.
class MagnifierItem : public QQuickPaintedItem
{
    Q_OBJECT
    Q_PROPERTY(QPixmap background READ background WRITE setBackground NOTIFY backgroundChanged)
    Q_PROPERTY(int gx READ gx WRITE setGx NOTIFY gxChanged)
    Q_PROPERTY(int gy READ gy WRITE setGy NOTIFY gyChanged)
    Q_PROPERTY(QString currentColor READ currentColor NOTIFY currentColorChange)

public:
    explicit MagnifierItem(QQuickItem *parent = nullptr);

    // Makes the type known to the capture pages as KuvoComponent 1.0 MagnifierItem.
    static void registerQmlType();

    QPixmap background() const { return m_background; }
    void setBackground(QPixmap p);
    int gx() const { return m_gx; }
    // Moving the centre does not repaint: the pages call update() once both have moved.
    void setGx(int gx);
    int gy() const { return m_gy; }
    void setGy(int gy);
    QString currentColor() const { return m_currentColor; }

    void paint(QPainter *painter) override;

signals:
    void backgroundChanged(QPixmap background);
    void gxChanged(int gx);
    void gyChanged(int gy);
    void currentColorChange(QString color);

private:
    QImage sample() const;
    void paintCrossHair(QPainter *painter) const;
    void takeColor(const QImage &enlarged);

    QPixmap m_background;
    QPixmap hotspot;
    int m_gx = 0;
    int m_gy = 0;
    QString m_currentColor;
};

#endif // MAGNIFIERITEM_H
