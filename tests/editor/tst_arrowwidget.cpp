#include "arrowwidget.h"
#include "quicktestsupport.h"

#include <QPainter>
#include <QPointer>
#include <QProcess>
#include <QtTest>

namespace {

const QSize kSize(70, 160);
const char kArrowDown[] = ":/images/images/arrow_down.png";
const char kArrowUp[] = ":/images/images/arrow.png";

struct Frame
{
    int offset;
    double opacity;
};

// What the hint shows after each tick of its clock: 40 px down and back in steps of 2 px,
// three times, then ten steps of fading while it goes on moving; the tenth closes it, so it
// has no frame of its own. The X servers of the tests run no compositing manager, where a
// fading arrow would darken: there the first step closes it.
QVector<Frame> wholeRun()
{
    QVector<Frame> frames;
    int offset = 0;
    for (int bounce = 0; bounce < 3; ++bounce) {
        for (int tick = 0; tick < 20; ++tick)
            frames.append({offset += 2, 1.0});
        for (int tick = 0; tick < 20; ++tick)
            frames.append({offset -= 2, 1.0});
    }
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        frames.removeLast();
        return frames;
    }
    frames.last().opacity = 0.9;
    for (int step = 2; step < 10; ++step)
        frames.append({offset += 2, 1.0 - step / 10.0});
    return frames;
}

// The picture at its place in the window, as the hint should paint it.
QImage expected(const char *picture, const Frame &frame)
{
    QImage image(kSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setOpacity(frame.opacity);
    painter.drawImage(0, frame.offset, QImage(QLatin1String(picture)));
    return image;
}

QImage shown(ArrowWidget &widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

int opaqueInRow(const QImage &image, int y)
{
    int count = 0;
    for (int x = 0; x < image.width(); ++x)
        count += qAlpha(image.pixel(x, y)) > 128;
    return count;
}

QTimer *clockOf(ArrowWidget &widget)
{
    const auto timers = widget.findChildren<QTimer *>(QString(), Qt::FindDirectChildrenOnly);
    return timers.size() == 1 ? timers.first() : nullptr;
}

// Follows the hint tick by tick from its start, comparing each frame with the expected one.
class Watch : public QObject
{
public:
    Watch(ArrowWidget &widget, const char *picture)
        : m_widget(widget)
        , m_picture(picture)
        , m_frames(wholeRun())
    {
        // After the hint's own connection, so each tick is seen once it has been taken.
        connect(clockOf(widget), &QTimer::timeout, this, &Watch::tick);
    }

    int ticks = 0;
    // The first tick whose frame was wrong, or 0.
    int wrongTick = 0;

private:
    void tick()
    {
        ++ticks;
        if (wrongTick || !m_widget.isVisible())
            return;
        if (ticks > m_frames.size()
            || !samePicture(shown(m_widget), expected(m_picture, m_frames[ticks - 1]), 2))
            wrongTick = ticks;
    }

    ArrowWidget &m_widget;
    const char *m_picture;
    QVector<Frame> m_frames;
};

} // namespace

// The arrow hint on any screen: where it stands, how it moves and fades.
class TestArrowWidget : public QObject
{
    Q_OBJECT

private slots:
    void standsBesideItsTarget_data();
    void standsBesideItsTarget();
    void bobsThreeTimesThenFadesAndCloses();
    void startingAgainBeginsAnew();
};

void TestArrowWidget::standsBesideItsTarget_data()
{
    QTest::addColumn<QRect>("target");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<bool>("down");

    const int half = (QGuiApplication::primaryScreen()->virtualGeometry().height() + 1) / 2;
    QTest::newRow("lower half: above it")
        << QRect(200, half + 100, 100, 80) << QPoint(182, half - 60) << true;
    QTest::newRow("top at the middle: above it")
        << QRect(200, half, 50, 50) << QPoint(182, half - 160) << true;
    QTest::newRow("top just above the middle: below")
        << QRect(200, half - 1, 50, 50) << QPoint(182, half + 29) << false;
    QTest::newRow("upper half: below its top")
        << QRect(400, 20, 10, 10) << QPoint(382, 50) << false;
}

void TestArrowWidget::standsBesideItsTarget()
{
    QFETCH(QRect, target);
    QFETCH(QPoint, position);
    QFETCH(bool, down);

    ArrowWidget widget(target);
    widget.startAnimation();
    QVERIFY(widget.isVisible());
    QCOMPARE(widget.pos(), position);
    const QImage first = shown(widget);
    QVERIFY(samePicture(first, expected(down ? kArrowDown : kArrowUp, {0, 1.0}), 2));
    // The picture itself points the right way: its head, the wide part, near the target.
    const int headRow = down ? 80 : 40;
    const int shaftRow = down ? 40 : 80;
    QVERIFY(opaqueInRow(first, headRow) > 50);
    QVERIFY(opaqueInRow(first, shaftRow) < 35);
    // On an X server, once the arrow shows, its clear margin shows the desktop, with a
    // compositing manager or without.
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        const QColor desktop("#3366aa");
        QCOMPARE(QProcess::execute("xsetroot", {"-solid", desktop.name()}), 0);
        const auto screen = [&](int x, int y) {
            return QGuiApplication::primaryScreen()
                ->grabWindow(0, position.x() + x, position.y() + y, 1, 1)
                .toImage()
                .pixelColor(0, 0);
        };
        QTRY_VERIFY(screen(35, 60) != desktop);
        QCOMPARE(screen(3, 5), desktop);
    }
}

void TestArrowWidget::bobsThreeTimesThenFadesAndCloses()
{
    ArrowWidget widget(
        QRect(300, QGuiApplication::primaryScreen()->virtualGeometry().height() - 150, 40, 40));
    QVERIFY(clockOf(widget));
    Watch watch(widget, kArrowDown);
    widget.startAnimation();
    QTRY_VERIFY_WITH_TIMEOUT(!widget.isVisible(), 20000);
    QCOMPARE(watch.wrongTick, 0);
    // 120 ticks of bobbing, the last of them the first fading step, then nine more; or the
    // 120 ticks alone.
    QCOMPARE(watch.ticks, wholeRun().size() + 1);
    QVERIFY(!clockOf(widget)->isActive());
}

void TestArrowWidget::startingAgainBeginsAnew()
{
    ArrowWidget widget(QRect(300, 100, 40, 40));
    QPointer<QTimer> clock = clockOf(widget);
    QVERIFY(clock);
    int firstRun = 0;
    connect(clock, &QTimer::timeout, this, [&firstRun] { ++firstRun; });
    widget.startAnimation();
    // Well into the fading, or near the end of the bobbing where the hint cannot fade.
    QTRY_VERIFY_WITH_TIMEOUT(firstRun >= wholeRun().size() - 3, 20000);
    QVERIFY(widget.isVisible());

    Watch watch(widget, kArrowUp);
    widget.startAnimation();
    QVERIFY(samePicture(shown(widget), expected(kArrowUp, {0, 1.0}), 2));
    QTRY_VERIFY_WITH_TIMEOUT(!widget.isVisible(), 20000);
    // The same pace as the first start: one step per tick, not one per start.
    QCOMPARE(watch.wrongTick, 0);
    QCOMPARE(watch.ticks, wholeRun().size() + 1);
}

QTEST_MAIN(TestArrowWidget)
#include "tst_arrowwidget.moc"
