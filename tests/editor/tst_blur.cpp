#include "bluritem.h"
#include "canvasfixture.h"
#include "counteritem.h"
#include "rectitem.h"
#include "setting.h"

#include <QKeyEvent>
#include <QSet>
#include <QUndoStack>
#include <QtTest>

namespace {

constexpr int kBlurRadius = 12;

// Stripes of two pixels in both directions: any blur changes them, and every spot differs
// from its neighbours.
QImage busyPicture(const QSize &size)
{
    QImage image(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb((x / 2 % 2) * 200, (y / 2 % 2) * 180, (x * 7 + y * 3) % 256));
    }
    return image;
}

QImage asArgb(const QImage &image)
{
    return image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

// The blur and counter tools on a canvas, drawn with the mouse like a user: the filter, what a
// blur reads and where it paints, the bullets' numbers and corners, and their undo steps.
class TestBlur : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void filterFactorFollowsRadius_data();
    void filterFactorFollowsRadius();
    void uniformAreaStaysUnchanged();
    void filterRunsDownRightUpLeft();
    void blurChangesItsRectangleOnly_data();
    void blurChangesItsRectangleOnly();
    void blurSeesOnlyThePictureBelow();
    void blurUndoRedo();
    void zoomKeepsShapesOnThePicture();
    void countersNumberInOrder_data();
    void countersNumberInOrder();
    void bulletSitsBeyondTheEndCorner_data();
    void bulletSitsBeyondTheEndCorner();
    void bulletIsCarriedAndUndone();
    void insideOutFrameUndoesItsBullet();
    void numberStaysReadable_data();
    void numberStaysReadable();
    void numberIsPaintedInTheBullet();

private:
    void drag(const QString &tool, QPoint from, QPoint to);
    QImage output() const;

    CanvasFixture m_canvas;
    QImage m_picture;
};

void TestBlur::initTestCase()
{
    QVERIFY(m_canvas.startService());
    Setting::instance()->setValue(QStringLiteral("widthBlureLine"), kBlurRadius);
    m_picture = busyPicture(QSize(400, 300));
}

void TestBlur::init()
{
    QVERIFY(m_canvas.open(m_picture, QColor(220, 0, 0)));
}

void TestBlur::cleanup()
{
    m_canvas.close();
}

void TestBlur::drag(const QString &tool, QPoint from, QPoint to)
{
    m_canvas.choose(tool);
    m_canvas.drag(from == to ? QList<QPoint> {from} : QList<QPoint> {from, to});
}

QImage TestBlur::output() const
{
    m_canvas.area()->uncheckAllItem();
    return asArgb(m_canvas.output());
}

void TestBlur::filterFactorFollowsRadius_data()
{
    QTest::addColumn<int>("radius");
    QTest::addColumn<int>("factor");
    QTest::newRow("negative") << -3 << 16;
    QTest::newRow("zero") << 0 << 16;
    QTest::newRow("lightest") << 1 << 14;
    QTest::newRow("middle") << 6 << 5;
    QTest::newRow("last of the table") << 17 << 2;
    QTest::newRow("strongest") << 18 << 1;
    QTest::newRow("beyond") << 40 << 1;
}

void TestBlur::filterFactorFollowsRadius()
{
    QFETCH(int, radius);
    QFETCH(int, factor);
    QCOMPARE(BlurItem::filterFactor(radius), factor);
}

void TestBlur::uniformAreaStaysUnchanged()
{
    QImage plain(57, 31, QImage::Format_ARGB32);
    plain.fill(QColor(10, 200, 30, 140));
    QImage blurred = plain;
    BlurItem::blurImage(blurred, 18);
    QCOMPARE(blurred, plain);
    // With no strength at all even a busy picture is left as it is.
    QImage busy = busyPicture(QSize(40, 30));
    BlurItem::blurImage(busy, 0);
    QCOMPARE(busy, busyPicture(QSize(40, 30)));
}

void TestBlur::filterRunsDownRightUpLeft()
{
    // One row, the strongest filter: left to right gives 0, 10, 9; right to left then carries
    // 9 back, each step truncating toward zero.
    QImage row(3, 1, QImage::Format_ARGB32);
    row.setPixel(0, 0, qRgb(0, 0, 0));
    row.setPixel(1, 0, qRgb(160, 160, 160));
    row.setPixel(2, 0, qRgb(0, 0, 0));
    BlurItem::blurImage(row, 18);
    QCOMPARE(row.pixel(0, 0), qRgb(8, 8, 8));
    QCOMPARE(row.pixel(1, 0), qRgb(9, 9, 9));
    QCOMPARE(row.pixel(2, 0), qRgb(9, 9, 9));
    QImage column = row.transformed(QTransform().rotate(90)).convertToFormat(QImage::Format_ARGB32);
    column.setPixel(0, 0, qRgb(0, 0, 0));
    column.setPixel(0, 1, qRgb(160, 160, 160));
    column.setPixel(0, 2, qRgb(0, 0, 0));
    BlurItem::blurImage(column, 18);
    QCOMPARE(column.pixel(0, 0), qRgb(8, 8, 8));
}

void TestBlur::blurChangesItsRectangleOnly_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QRect>("blurred");
    QTest::newRow("inside") << QPoint(50, 40) << QPoint(149, 99) << QRect(50, 40, 100, 60);
    // Drawn backwards, the pointer's pixel is the far one, as with a rectangle.
    QTest::newRow("drawn up and left")
        << QPoint(149, 99) << QPoint(50, 40) << QRect(51, 41, 98, 58);
    QTest::newRow("from the corner") << QPoint(0, 0) << QPoint(79, 59) << QRect(0, 0, 80, 60);
    QTest::newRow("past the far edges")
        << QPoint(340, 250) << QPoint(460, 380) << QRect(340, 250, 60, 50);
}

void TestBlur::blurChangesItsRectangleOnly()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(QRect, blurred);

    drag(QStringLiteral("Blur"), from, to);
    auto *blur = m_canvas.lastStored<BlurItem>(QStringLiteral("Blur"));
    QVERIFY(blur);
    QCOMPARE(blur->lineWidth(), kBlurRadius);
    QCOMPARE(blur->z(), m_canvas.area()->z() + 1);
    const QImage picture = output();
    QImage expected = m_picture.copy(blurred);
    BlurItem::blurImage(expected, kBlurRadius);
    QVERIFY(expected != m_picture.copy(blurred));
    QCOMPARE(picture.copy(blurred), expected);
    // Around the rectangle the picture is untouched.
    const QImage outside = picture.copy(blurred.adjusted(-1, -1, 1, 1));
    for (int x = 0; x < outside.width(); ++x) {
        for (int y : {0, outside.height() - 1}) {
            const QPoint p = blurred.topLeft() + QPoint(x - 1, y - 1);
            if (m_picture.rect().contains(p))
                QCOMPARE(outside.pixel(x, y), m_picture.pixel(p));
        }
    }
    // A selected blur stays under the other shapes, and shows its handles on the screen only.
    blur->setCheck(true);
    QCOMPARE(blur->z(), m_canvas.area()->z() + 1);
    QVERIFY(asArgb(m_canvas.area()->renderRect(QRect(0, 0, 400, 300), 50000, false)) != picture);
}

void TestBlur::blurSeesOnlyThePictureBelow()
{
    drag(QStringLiteral("Rect"), QPoint(60, 60), QPoint(119, 119));
    drag(QStringLiteral("Blur"), QPoint(40, 40), QPoint(139, 139));
    Setting::instance()->setValue(QStringLiteral("widthBlureLine"), 3);
    drag(QStringLiteral("Blur"), QPoint(80, 80), QPoint(179, 179));
    Setting::instance()->setValue(QStringLiteral("widthBlureLine"), kBlurRadius);

    const QImage picture = output();
    // The rectangle drawn before the blurs still lies above them, sharp.
    QCOMPARE(picture.pixelColor(60, 90), QColor(220, 0, 0));
    // The second blur shows the picture blurred once, not the first blur blurred again.
    const QRect second(80, 80, 100, 100);
    QImage expected = m_picture.copy(second);
    BlurItem::blurImage(expected, 3);
    const QImage shown = picture.copy(second);
    for (const QPoint &p : {QPoint(10, 10), QPoint(50, 20), QPoint(90, 90)})
        QCOMPARE(shown.pixel(p), expected.pixel(p));
}

void TestBlur::blurUndoRedo()
{
    drag(QStringLiteral("Blur"), QPoint(20, 20), QPoint(119, 119));
    drag(QStringLiteral("Blur"), QPoint(200, 200), QPoint(200, 200));
    QCOMPARE(m_canvas.area()->moduleFromName(QStringLiteral("Blur"))->storage().size(), 1);
    const QImage blurred = output();
    QVERIFY(blurred != asArgb(m_picture));
    m_canvas.area()->checkUndo();
    QCOMPARE(output(), asArgb(m_picture));
    m_canvas.area()->checkRedo();
    QCOMPARE(output(), blurred);
}

void TestBlur::zoomKeepsShapesOnThePicture()
{
    drag(QStringLiteral("Blur"), QPoint(20, 20), QPoint(119, 69));
    drag(QStringLiteral("Counter"), QPoint(200, 100), QPoint(259, 139));
    drag(QStringLiteral("Counter"), QPoint(300, 200), QPoint(300, 200));
    const auto counters = m_canvas.area()->moduleFromName(QStringLiteral("Counter"))->storage();
    auto *frame = qobject_cast<CounterItem *>(counters.first());
    auto *bullet = qobject_cast<CounterItem *>(counters.last());
    m_canvas.area()->setSize(QSizeF(800, 600));
    QCOMPARE(m_canvas.lastStored<BlurItem>(QStringLiteral("Blur"))->rectangle(),
        QRectF(40, 40, 200, 100));
    QCOMPARE(m_canvas.lastStored<BlurItem>(QStringLiteral("Blur"))->position(), QPointF(35, 35));
    QCOMPARE(frame->rectangle(), QRectF(400, 200, 120, 80));
    QCOMPARE(bullet->rectangle(), QRectF(600, 400, 1, 1));
    QVERIFY(bullet->isPointCounter());
}

void TestBlur::countersNumberInOrder_data()
{
    QTest::addColumn<int>("removed");
    QTest::addColumn<bool>("byUndo");
    QTest::addColumn<int>("next");
    QTest::newRow("third undone") << 3 << true << 3;
    QTest::newRow("first deleted") << 1 << false << 4;
    QTest::newRow("third deleted") << 3 << false << 3;
}

void TestBlur::countersNumberInOrder()
{
    QFETCH(int, removed);
    QFETCH(bool, byUndo);
    QFETCH(int, next);

    QList<CounterItem *> counters;
    for (int i = 0; i < 3; ++i) {
        drag(QStringLiteral("Counter"), QPoint(50 + 80 * i, 50), QPoint(50 + 80 * i, 50));
        counters.append(m_canvas.lastStored<CounterItem>(QStringLiteral("Counter")));
        QVERIFY(counters.last());
        QCOMPARE(counters.last()->number(), i + 1);
        QVERIFY(counters.last()->isPointCounter());
    }
    // A click on a bullet that is there already places nothing.
    drag(QStringLiteral("Counter"), QPoint(51, 51), QPoint(51, 51));
    QCOMPARE(m_canvas.area()->moduleFromName(QStringLiteral("Counter"))->storage().size(), 3);

    CounterItem *gone = counters.at(removed - 1);
    if (byUndo) {
        m_canvas.area()->checkUndo();
    } else {
        QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
        QCoreApplication::sendEvent(gone, &del);
    }
    QVERIFY(!gone->isVisible());
    drag(QStringLiteral("Counter"), QPoint(50, 200), QPoint(50, 200));
    QCOMPARE(m_canvas.lastStored<CounterItem>(QStringLiteral("Counter"))->number(), next);

    // Undoing the new bullet and then the delete brings the deleted one back; an undone
    // bullet was dropped from the history by the new one.
    m_canvas.area()->checkUndo();
    m_canvas.area()->checkUndo();
    QCOMPARE(gone->isVisible(), !byUndo);
}

void TestBlur::bulletSitsBeyondTheEndCorner_data()
{
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QPointF>("centre");
    // Every drag starts at (200, 150).
    QTest::newRow("right down") << QPoint(249, 189) << QPointF(257, 197);
    QTest::newRow("right up") << QPoint(249, 111) << QPointF(257, 105);
    QTest::newRow("left down") << QPoint(151, 189) << QPointF(145, 197);
    QTest::newRow("left up") << QPoint(151, 111) << QPointF(145, 105);
    QTest::newRow("straight right") << QPoint(249, 150) << QPointF(193, 143);
    QTest::newRow("4 pixels wide") << QPoint(203, 150) << QPointF(193, 143);
}

void TestBlur::bulletSitsBeyondTheEndCorner()
{
    QFETCH(QPoint, to);
    QFETCH(QPointF, centre);

    drag(QStringLiteral("Counter"), QPoint(200, 150), to);
    auto *counter = m_canvas.lastStored<CounterItem>(QStringLiteral("Counter"));
    QVERIFY(counter);
    QVERIFY(!counter->isPointCounter());
    QCOMPARE(counter->position() + counter->bulletCentre(), centre);
    // The number is drawn in the bullet, in the shape's colour.
    const QPoint dot = (centre + QPointF(-8, 0)).toPoint();
    QCOMPARE(output().pixelColor(dot), QColor(220, 0, 0));
}

void TestBlur::bulletIsCarriedAndUndone()
{
    drag(QStringLiteral("Counter"), QPoint(100, 100), QPoint(100, 100));
    auto *bullet = m_canvas.lastStored<CounterItem>(QStringLiteral("Counter"));
    QVERIFY(bullet);
    const QRectF placed = bullet->rectangle();
    m_canvas.area()->setCurrentModule(QStringLiteral("Move"));
    const QPoint at = (bullet->position() + bullet->bulletCentre()).toPoint();
    drag(QStringLiteral("Move"), at, at + QPoint(30, 20));
    QCOMPARE(bullet->rectangle(), placed.translated(30, 20));
    QVERIFY(bullet->isPointCounter());
    m_canvas.area()->checkUndo();
    QCOMPARE(bullet->rectangle(), placed);
    QVERIFY(bullet->isVisible());
}

// The bullet's corner belongs to the drag that turned the frame inside out: undo and redo put
// the drawn bullet back where it was before and after.
void TestBlur::insideOutFrameUndoesItsBullet()
{
    drag(QStringLiteral("Counter"), QPoint(200, 150), QPoint(249, 189));
    auto *counter = m_canvas.lastStored<CounterItem>(QStringLiteral("Counter"));
    QVERIFY(counter);
    const QPoint drawn(257, 197);
    QCOMPARE(counter->position() + counter->bulletCentre(), QPointF(drawn));

    m_canvas.area()->setCurrentModule(QStringLiteral("Move"));
    counter->setCheck(true);
    const QPoint handle = (counter->position() + counter->keyPositions().at(2)).toPoint();
    // The top right corner, dragged across to the left.
    QTest::mouseMove(m_canvas.window(), m_canvas.onWindow(handle));
    QTRY_VERIFY_WITH_TIMEOUT(counter->onKey(), 2000);
    m_canvas.drag({handle, handle + QPoint(-40, -20), handle + QPoint(-100, -80)});
    const QPoint flipped = (counter->position() + counter->bulletCentre()).toPoint();
    QVERIFY((flipped - drawn).manhattanLength() > 40);

    const auto bulletAt = [this](const QPoint &centre) {
        return output().pixelColor(centre + QPoint(-8, 0)) == QColor(220, 0, 0);
    };
    QVERIFY(bulletAt(flipped));
    QVERIFY(!bulletAt(drawn));
    m_canvas.area()->checkUndo();
    QCOMPARE(counter->position() + counter->bulletCentre(), QPointF(drawn));
    QVERIFY(bulletAt(drawn));
    QVERIFY(!bulletAt(flipped));
    m_canvas.area()->checkRedo();
    QVERIFY(bulletAt(flipped));
    QVERIFY(!bulletAt(drawn));
}

void TestBlur::numberStaysReadable_data()
{
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QColor>("text");
    QTest::newRow("white") << QColor(255, 255, 255) << QColor(0, 0, 0);
    QTest::newRow("light grey") << QColor(201, 201, 201) << QColor(54, 54, 54);
    QTest::newRow("cyan") << QColor(200, 255, 255) << QColor(Qt::white);
    QTest::newRow("red") << QColor(220, 0, 0) << QColor(Qt::white);
}

void TestBlur::numberStaysReadable()
{
    QFETCH(QColor, colour);
    QFETCH(QColor, text);
    CounterItem counter(1, m_canvas.area());
    counter.setColor(colour);
    QCOMPARE(counter.textColor(), text);
}

// Each bullet shows its own number, in the number's colour, inside the disc.
void TestBlur::numberIsPaintedInTheBullet()
{
    QList<QSet<int>> digits;
    for (int i = 0; i < 2; ++i) {
        drag(QStringLiteral("Counter"), QPoint(100 + 100 * i, 100), QPoint(100 + 100 * i, 100));
        auto *bullet = m_canvas.lastStored<CounterItem>(QStringLiteral("Counter"));
        QVERIFY(bullet);
        QCOMPARE(bullet->number(), i + 1);
    }
    const QImage out = output();
    for (int i = 0; i < 2; ++i) {
        const QPoint centre(100 + 100 * i, 100);
        QSet<int> white;
        int disc = 0;
        for (int y = -12; y <= 12; ++y) {
            for (int x = -12; x <= 12; ++x) {
                const QColor c = out.pixelColor(centre + QPoint(x, y));
                if (c.red() > 200 && c.green() > 200 && c.blue() > 200)
                    white.insert((y + 12) * 25 + x + 12);
                disc += c == QColor(220, 0, 0) ? 1 : 0;
                // Nothing of the number leaves the disc.
                if (x * x + y * y > 121)
                    QVERIFY(!white.contains((y + 12) * 25 + x + 12));
            }
        }
        QVERIFY2(white.size() > 8, qPrintable(QString::number(white.size())));
        QVERIFY(disc > 150);
        digits.append(white);
    }
    QVERIFY(digits.at(0) != digits.at(1));
}

QTEST_MAIN(TestBlur)
#include "tst_blur.moc"
