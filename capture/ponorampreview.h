#ifndef PONORAMPREVIEW_H
#define PONORAMPREVIEW_H

#include <QImage>
#include <QQuickPaintedItem>

// The live thumbnail of a growing panorama: its newest rows, 96 pixels wide and at most 234
// high, on a white card over the backdrop.
class PonoramPreview : public QQuickPaintedItem
{
    Q_OBJECT

public:
    static constexpr int kWidth = 96;
    static constexpr int kHeight = 234;
    static constexpr int kMargin = 9;

    explicit PonoramPreview(QQuickItem *parent = nullptr);

    // Makes the type known to the capture pages as KuvoComponent 1.0 PonoramPreview.
    static void registerQmlType();

    // The thumbnail as painted over the card.
    QImage shownImage() const { return m_image; }

    void paint(QPainter *painter) override;

public slots:
    // Takes what it shows from picture at once and keeps nothing of picture itself; a null
    // picture leaves the thumbnail as it was.
    void setImage(const QImage &picture);

private:
    QImage m_image;
    QImage m_backdrop;
};

#endif // PONORAMPREVIEW_H
