#include "magnifieritem.h"

#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

namespace {

// Every pixel of the picture has a colour of its own, so a block in the loupe names the
// picture pixel it shows.
QColor pixelColor(int x, int y)
{
    return QColor(x, y, 0x80);
}

QPixmap uniquePicture()
{
    QImage image(256, 256, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixelColor(x, y, pixelColor(x, y));
    return QPixmap::fromImage(image);
}

QImage paintLoupe(MagnifierItem &loupe)
{
    QImage image(int(loupe.width()), int(loupe.height()), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    loupe.paint(&painter);
    return image;
}

} // namespace

// The loupe: 20 x 20 pixels around the pointer in blocks, and the colour under the pointer.
class TestMagnifierItem : public QObject
{
    Q_OBJECT

private slots:
    void blocksShowTheNeighbourhood_data();
    void blocksShowTheNeighbourhood();
    void colourIsToldOnlyWhenItChanges();
    void pictureRatioDoesNotShiftTheSample();
    void centreMovesQuietlyUntilPainted();
};

void TestMagnifierItem::blocksShowTheNeighbourhood_data()
{
    QTest::addColumn<QPoint>("centre");
    QTest::newRow("middle") << QPoint(100, 120);
    QTest::newRow("top left corner") << QPoint(0, 0);
    QTest::newRow("bottom right corner") << QPoint(255, 255);
    QTest::newRow("left edge") << QPoint(3, 200);
    QTest::newRow("bottom edge") << QPoint(128, 250);
}

void TestMagnifierItem::blocksShowTheNeighbourhood()
{
    QFETCH(QPoint, centre);
    MagnifierItem loupe;
    loupe.setSize(QSizeF(100, 100));
    loupe.setBackground(uniquePicture());
    loupe.setGx(centre.x());
    loupe.setGy(centre.y());
    const QImage shown = paintLoupe(loupe);

    QCOMPARE(loupe.currentColor(), pixelColor(centre.x(), centre.y()).name());
    // Blocks clear of the hotspot, the cross-hair and the caption; outside the picture the
    // loupe shows nothing rather than sliding the picture under the pointer.
    const QList<QPoint> blocks {{4, 4}, {15, 6}, {6, 15}, {14, 14}, {3, 12}, {12, 3}};
    for (const QPoint &block : blocks) {
        const QPoint source = centre - QPoint(10, 10) + block;
        const bool onPicture = QRect(0, 0, 256, 256).contains(source);
        for (int dy = 0; dy < 5; ++dy) {
            for (int dx = 0; dx < 5; ++dx) {
                const QColor got = shown.pixelColor(block * 5 + QPoint(dx, dy));
                if (onPicture)
                    QCOMPARE(got, pixelColor(source.x(), source.y()));
                else
                    QCOMPARE(got.alpha(), 0);
            }
        }
    }
}

void TestMagnifierItem::colourIsToldOnlyWhenItChanges()
{
    MagnifierItem loupe;
    loupe.setSize(QSizeF(100, 100));
    loupe.setBackground(uniquePicture());
    QSignalSpy told(&loupe, &MagnifierItem::currentColorChange);
    QVERIFY(loupe.currentColor().isEmpty());

    loupe.setGx(40);
    loupe.setGy(50);
    const QImage shown = paintLoupe(loupe);
    QCOMPARE(told.count(), 1);
    // The colour is written in white on the dark strip at the bottom; the picture around
    // (40, 50) has no light pixel of its own.
    int written = 0;
    for (int y = 86; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            written += shown.pixelColor(x, y).lightness() > 200;
    QVERIFY(written > 20);
    QCOMPARE(told.last().at(0).toString(), QStringLiteral("#283280"));
    paintLoupe(loupe);
    QCOMPARE(told.count(), 1);
    loupe.setGx(41);
    paintLoupe(loupe);
    QCOMPARE(told.count(), 2);
    QCOMPARE(loupe.currentColor(), QStringLiteral("#293280"));
}

// A grab may come marked with its screen's pixel ratio; the loupe still counts in the
// picture's own pixels, as gx and gy do.
void TestMagnifierItem::pictureRatioDoesNotShiftTheSample()
{
    QPixmap picture = uniquePicture();
    picture.setDevicePixelRatio(2);
    MagnifierItem loupe;
    loupe.setSize(QSizeF(100, 100));
    loupe.setBackground(picture);
    loupe.setGx(60);
    loupe.setGy(70);
    const QImage shown = paintLoupe(loupe);
    QCOMPARE(loupe.currentColor(), pixelColor(60, 70).name());
    QCOMPARE(shown.pixelColor(22, 22), pixelColor(54, 64));
}

void TestMagnifierItem::centreMovesQuietlyUntilPainted()
{
    MagnifierItem loupe;
    loupe.setSize(QSizeF(100, 100));
    loupe.setBackground(uniquePicture());
    QSignalSpy gx(&loupe, &MagnifierItem::gxChanged);
    QSignalSpy gy(&loupe, &MagnifierItem::gyChanged);
    loupe.setGx(0);
    loupe.setGy(0);
    QCOMPARE(gx.count() + gy.count(), 0);
    loupe.setGx(7);
    loupe.setGy(9);
    QCOMPARE(gx.count(), 1);
    QCOMPARE(gy.count(), 1);
    QVERIFY(loupe.currentColor().isEmpty());
}

QTEST_MAIN(TestMagnifierItem)
#include "tst_magnifieritem.moc"
