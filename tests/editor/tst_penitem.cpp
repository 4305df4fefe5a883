#include "canvasfixture.h"
#include "markeritem.h"
#include "penmodule.h"
#include "threadaliasingpoint.h"

#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QUndoStack>
#include <QtMath>
#include <QtTest>

namespace {

const QColor kBackground(40, 40, 40);
const QColor kRed(220, 0, 0);

using Points = QList<QPoint>;
using PointsF = QList<QPointF>;

double distanceToSegment(const QPointF &p, const QPointF &a, const QPointF &b)
{
    const QPointF d = b - a;
    const double length = QPointF::dotProduct(d, d);
    const double t = length == 0 ? 0 : qBound(0.0, QPointF::dotProduct(p - a, d) / length, 1.0);
    const QPointF q = a + t * d - p;
    return std::hypot(q.x(), q.y());
}

double distanceToPolyline(const QPointF &p, const PointsF &line)
{
    double best = std::hypot(p.x() - line.first().x(), p.y() - line.first().y());
    for (int i = 1; i < line.size(); ++i)
        best = qMin(best, distanceToSegment(p, line.at(i - 1), line.at(i)));
    return best;
}

// The canvas with a stroke on it as one was always painted: a line for every pair of smoothed
// points, one by one (the pen), or one path of them at half opacity (the marker); on the screen
// through a layer of the stroke's box, in the output straight onto the picture.
QImage paintedTheOldWay(QImage canvas, const QString &tool, const PenItem *stroke, bool layered)
{
    const PointsF line = ThreadAliasingPoint::smooth(stroke->getBufferPoint());
    QImage layer(stroke->size().toSize(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    QPainter painter(layered ? &layer : &canvas);
    if (!layered)
        painter.translate(stroke->position());
    painter.setRenderHints(QPainter::Antialiasing);
    const bool marker = tool == QLatin1String("Marker");
    const int width = stroke->lineWidth() + (marker ? 10 : 0);
    painter.setPen(QPen(kRed, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setOpacity(marker ? 0.5 : 1);
    QPainterPath path;
    for (int i = 1; i < line.size(); ++i) {
        if (!marker)
            painter.drawLine(line.at(i - 1), line.at(i));
        path.moveTo(line.at(i - 1));
        path.lineTo(line.at(i));
    }
    if (marker)
        painter.drawPath(path);
    painter.end();
    if (layered)
        QPainter(&canvas).drawImage(stroke->position(), layer);
    return canvas.convertToFormat(QImage::Format_RGB32);
}

bool sameLists(const PointsF &a, const PointsF &b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        if (std::hypot(a.at(i).x() - b.at(i).x(), a.at(i).y() - b.at(i).y()) > 1e-6)
            return false;
    }
    return true;
}

} // namespace

// The pen and marker tools: the smoothing of a raw stroke, strokes drawn on a canvas with the
// mouse, their output, their handle drags with undo, and the worker thread's lifetime.
class TestPenItem : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void cornerSamples_data();
    void cornerSamples();
    void shortStrokesStayRaw();
    void smoothedStrokeFollowsTheRawOne();
    void dragStoresOneStroke_data();
    void dragStoresOneStroke();
    void clickStoresNothing();
    void workerSmoothsWhileDrawing();
    void shiftAloneDrawsStraight();
    void markerPaintsWiderAndHalfTransparent();
    void wideStrokeKeepsItsCaps_data();
    void wideStrokeKeepsItsCaps();
    void dragsAreUndone_data();
    void dragsAreUndone();
    void canvasDeletedMidStrokeStopsTheWorker();
    void strokeShowsAsEverySegmentDrawn_data();
    void strokeShowsAsEverySegmentDrawn();

private:
    PenItem *draw(const QString &tool, const Points &path, int lineWidth = 0);
    QImage onScreen() const;

    CanvasFixture m_canvas;
};

// The window's backing store, not a new render: a part a move fails to paint again shows.
QImage TestPenItem::onScreen() const
{
    const QImage shown
        = m_canvas.window()->screen()->grabWindow(m_canvas.window()->winId()).toImage();
    return shown.copy(QRect(m_canvas.onWindow(QPoint(0, 0)), m_canvas.area()->size().toSize()))
        .convertToFormat(QImage::Format_RGB32);
}

void TestPenItem::initTestCase()
{
    QVERIFY(m_canvas.startService());
}

void TestPenItem::init()
{
    QVERIFY(m_canvas.open(plainPicture(QSize(400, 300), kBackground), kRed, 2));
}

void TestPenItem::cleanup()
{
    m_canvas.close();
}

PenItem *TestPenItem::draw(const QString &tool, const Points &path, int lineWidth)
{
    m_canvas.choose(tool);
    // Choosing a tool takes its width from the settings; a width given here comes after.
    if (lineWidth > 0)
        m_canvas.area()->setCurrentLineWidth(lineWidth);
    m_canvas.drag(path);
    return m_canvas.lastStored<PenItem>(tool);
}

void TestPenItem::cornerSamples_data()
{
    QTest::addColumn<QPointF>("end");
    QTest::addColumn<int>("count");
    // From (0, 0) around the corner at (10, 0).
    QTest::newRow("straight on") << QPointF(20, 0) << 2;
    QTest::newRow("135 degrees") << QPointF(20, 10) << 14;
    QTest::newRow("right angle") << QPointF(10, 10) << 26;
    QTest::newRow("reversal") << QPointF(5, 0) << 50;
    QTest::newRow("leg of no length") << QPointF(10, 0) << 0;
}

void TestPenItem::cornerSamples()
{
    QFETCH(QPointF, end);
    QFETCH(int, count);
    const PointsF samples = quadTo(QPointF(0, 0), QPointF(10, 0), end);
    QCOMPARE(samples.size(), count);
    if (count > 1) {
        QCOMPARE(samples.first(), QPointF(0, 0));
        // The curve ends short of its end point, which the next curve starts with.
        const double t = double(count - 1) / count;
        const QPointF last = 2 * t * (1 - t) * QPointF(10, 0) + t * t * end;
        QVERIFY(std::hypot(samples.last().x() - last.x(), samples.last().y() - last.y()) < 1e-4);
    }
}

void TestPenItem::shortStrokesStayRaw()
{
    PointsF raw;
    for (int n = 1; n <= 4; ++n) {
        raw.append(QPointF(n * 10, (n % 2) * 10));
        QCOMPARE(ThreadAliasingPoint::smooth(raw), raw);
    }
    raw.append(QPointF(50, 10));
    // p0, then the three corners at p1, p2 and p3 (right angles, 26 samples each), then p4.
    const PointsF smoothed = ThreadAliasingPoint::smooth(raw);
    QCOMPARE(smoothed.size(), 1 + 3 * 26 + 1);
    QCOMPARE(smoothed.first(), raw.first());
    QCOMPARE(smoothed.last(), raw.last());
}

void TestPenItem::smoothedStrokeFollowsTheRawOne()
{
    // A staircase: right angles at every point.
    PointsF raw;
    for (int i = 0; i < 12; ++i)
        raw.append(QPointF(20 * ((i + 1) / 2), 20 * (i / 2)));
    const PointsF smoothed = ThreadAliasingPoint::smooth(raw);
    for (const QPointF &p : smoothed)
        QVERIFY(distanceToPolyline(p, raw) < 4);
    // A curve cuts each corner by an eighth of its diagonal at most.
    for (const QPointF &p : raw)
        QVERIFY2(distanceToPolyline(p, smoothed) < 20 * M_SQRT2 / 8 + 0.5,
            qPrintable(QStringLiteral("%1, %2").arg(p.x()).arg(p.y())));
    // Where the raw stroke turns by 90 degrees at once, the smoothed one turns a little at a time.
    double sharpest = 0;
    for (int i = 2; i < smoothed.size(); ++i) {
        const double turn
            = M_PI - angle_point(smoothed.at(i - 2), smoothed.at(i - 1), smoothed.at(i));
        if (!std::isnan(turn))
            sharpest = qMax(sharpest, turn);
    }
    QVERIFY2(qRadiansToDegrees(sharpest) < 15, qPrintable(QString::number(sharpest)));
}

void TestPenItem::dragStoresOneStroke_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<int>("lineWidth");
    QTest::addColumn<Points>("path");
    QTest::newRow("pen, right and down")
        << "Pen" << 2 << Points {{100, 100}, {130, 110}, {160, 140}, {200, 150}, {240, 170}};
    // Growing to the left and up moves the points already buffered.
    QTest::newRow("pen, left and up")
        << "Pen" << 2
        << Points {{200, 200}, {170, 190}, {140, 150}, {100, 120}, {60, 60}, {50, 40}};
    QTest::newRow("marker") << "Marker" << 2
                            << Points {{100, 100}, {150, 90}, {200, 120}, {250, 80}};
    QTest::newRow("wide marker") << "Marker" << 26
                                 << Points {
                                        {100, 100}, {150, 90}, {200, 120}, {250, 80}, {150, 40}};
}

void TestPenItem::dragStoresOneStroke()
{
    QFETCH(QString, tool);
    QFETCH(int, lineWidth);
    QFETCH(Points, path);

    PenItem *stroke = draw(tool, path, lineWidth);
    QVERIFY(stroke);
    QCOMPARE(stroke->name(), tool);
    QCOMPARE(m_canvas.area()->moduleFromName(tool)->storage().size(), 1);
    QCOMPARE(m_canvas.area()->currentItem(), stroke);
    QCOMPARE(stroke->geometry(), QRectF(stroke->position(), stroke->size()));

    // The buffer holds the pointer's positions where they were on the canvas.
    const PointsF buffer = stroke->getBufferPoint();
    QCOMPARE(buffer.size(), path.size());
    for (int i = 0; i < path.size(); ++i)
        QCOMPARE(buffer.at(i) + stroke->position(), QPointF(path.at(i)));
    QCOMPARE(stroke->getPaintPoint(), ThreadAliasingPoint::smooth(buffer));
    // The box holds the whole line that is drawn through the points.
    const int reach = (lineWidth + (tool == QLatin1String("Marker") ? 10 : 0)) / 2;
    for (const QPointF &p : buffer)
        QVERIFY(QRectF(QPointF(0, 0), stroke->size())
                    .adjusted(reach, reach, -reach, -reach)
                    .contains(p));

    QCOMPARE(m_canvas.area()->undoStack()->count(), 1);
    m_canvas.area()->checkUndo();
    QVERIFY(!stroke->isVisible());
    m_canvas.area()->checkRedo();
    QVERIFY(stroke->isVisible());
}

void TestPenItem::clickStoresNothing()
{
    QVERIFY(!draw(QStringLiteral("Pen"), Points {{100, 100}}));
    QVERIFY(!draw(QStringLiteral("Pen"), Points {{100, 100}, {100, 100}}));
    QCOMPARE(m_canvas.area()->undoStack()->count(), 0);
    for (QQuickItem *item : m_canvas.area()->childItems())
        QVERIFY(!qobject_cast<PenItem *>(item) || !item->isVisible());
}

void TestPenItem::workerSmoothsWhileDrawing()
{
    m_canvas.area()->setCurrentModule(QStringLiteral("Pen"));
    QTest::mousePress(
        m_canvas.window(), Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(QPoint(50, 50)));
    for (const QPoint &p : {QPoint(90, 60), QPoint(100, 100), QPoint(140, 110), QPoint(150, 150)})
        QTest::mouseMove(m_canvas.window(), m_canvas.onWindow(p));
    auto *stroke = qobject_cast<PenItem *>(m_canvas.area()->childItems().constLast());
    QVERIFY(stroke);
    const PointsF expected = ThreadAliasingPoint::smooth(stroke->getBufferPoint());
    QVERIFY(expected.size() > 5);
    QTRY_COMPARE_WITH_TIMEOUT(stroke->getPaintPoint(), expected, 5000);
    QTest::mouseRelease(
        m_canvas.window(), Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(QPoint(150, 150)));
}

void TestPenItem::shiftAloneDrawsStraight()
{
    m_canvas.area()->setCurrentModule(QStringLiteral("Pen"));
    const auto moveWith = [this](Qt::KeyboardModifiers modifiers, QPoint p) {
        QTest::mouseEvent(
            QTest::MouseMove, m_canvas.window(), Qt::NoButton, modifiers, m_canvas.onWindow(p));
    };
    QTest::mousePress(
        m_canvas.window(), Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(QPoint(100, 100)));
    auto *stroke = qobject_cast<PenItem *>(m_canvas.area()->childItems().constLast());
    QVERIFY(stroke);
    const auto last = [stroke] { return stroke->getBufferPoint().last() + stroke->position(); };
    // Right after the press the press point gives way to six copies of the pointer.
    moveWith(Qt::ShiftModifier, QPoint(120, 100));
    QCOMPARE(stroke->countPoint(), 6);
    QCOMPARE(last(), QPointF(120, 100));
    // Then the last point follows the pointer.
    moveWith(Qt::ShiftModifier, QPoint(160, 130));
    QCOMPARE(stroke->countPoint(), 6);
    QCOMPARE(last(), QPointF(160, 130));
    // Shift with another key draws as usual.
    moveWith(Qt::ShiftModifier | Qt::ControlModifier, QPoint(170, 140));
    QCOMPARE(stroke->countPoint(), 7);
    QTest::mouseRelease(
        m_canvas.window(), Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(QPoint(170, 140)));
}

void TestPenItem::markerPaintsWiderAndHalfTransparent()
{
    Points penLine;
    Points markerLine;
    for (int x = 50; x <= 300; x += 50) {
        penLine.append(QPoint(x, 100));
        markerLine.append(QPoint(x, 200));
    }
    QVERIFY(draw(QStringLiteral("Pen"), penLine));
    QVERIFY(qobject_cast<MarkerItem *>(draw(QStringLiteral("Marker"), markerLine)));
    m_canvas.area()->uncheckAllItem();
    const QImage picture = m_canvas.area()->renderRect(QRect(0, 0, 400, 300), 50000, false);
    const auto across = [&picture](int y0, int low, int high) {
        int count = 0;
        for (int y = y0 - 20; y <= y0 + 20; ++y) {
            const QColor c = picture.pixelColor(175, y);
            count += c.red() >= low && c.red() <= high && c.green() < 40 ? 1 : 0;
        }
        return count;
    };
    // The pen: the full colour, about the line width; the marker: half the colour over the
    // picture, 10 px wider.
    QCOMPARE(picture.pixelColor(175, 100), kRed);
    QVERIFY(across(100, 180, 255) <= 3);
    QVERIFY(across(200, 180, 255) == 0);
    const int markerWidth = across(200, 115, 145);
    QVERIFY2(markerWidth >= 11 && markerWidth <= 13, qPrintable(QString::number(markerWidth)));
}

void TestPenItem::wideStrokeKeepsItsCaps_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<int>("lineWidth");
    QTest::addColumn<Points>("path");
    QTest::newRow("marker heading left")
        << "Marker" << 26 << Points {{300, 150}, {250, 150}, {200, 150}, {150, 150}};
    QTest::newRow("marker heading up")
        << "Marker" << 26 << Points {{200, 250}, {200, 200}, {200, 150}, {200, 100}};
    QTest::newRow("pen heading left and up")
        << "Pen" << 26 << Points {{300, 250}, {250, 200}, {200, 150}, {150, 100}};
    // Drawn thin, then widened from the tool bar while selected.
    QTest::newRow("pen widened") << "Pen" << 2 << Points {{100, 150}, {200, 150}, {300, 150}};
}

// The round caps at both ends of the line show whole in the output, however the stroke runs.
void TestPenItem::wideStrokeKeepsItsCaps()
{
    QFETCH(QString, tool);
    QFETCH(int, lineWidth);
    QFETCH(Points, path);

    PenItem *stroke = draw(tool, path, lineWidth);
    QVERIFY(stroke);
    if (lineWidth == 2) {
        QCOMPARE(m_canvas.area()->currentItem(), stroke);
        m_canvas.area()->setCurrentLineWidth(26);
        QCOMPARE(stroke->lineWidth(), 26);
    }
    m_canvas.area()->uncheckAllItem();
    const QImage picture = m_canvas.area()->renderRect(QRect(0, 0, 400, 300), 50000, false);
    const int reach = (tool == QLatin1String("Marker") ? 36 : 26) / 2;
    for (const QPoint &end : {path.first(), path.last()}) {
        const QPoint along = end - (end == path.first() ? path.at(1) : path.at(path.size() - 2));
        const double length = std::hypot(along.x(), along.y());
        // Just inside the cap's round end, on the line's axis beyond the end point.
        const QPointF tip = QPointF(end) + QPointF(along) * ((reach - 3) / length);
        const QColor c = picture.pixelColor(tip.toPoint());
        QVERIFY2(c.red() > kBackground.red() + 40,
            qPrintable(QStringLiteral("cap cut at %1, %2").arg(tip.x()).arg(tip.y())));
    }
}

void TestPenItem::dragsAreUndone_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<int>("key");
    QTest::addColumn<QPoint>("by");
    QTest::addColumn<bool>("pastTheOtherEdge");
    // Handles: 3 the right edge, 6 the left edge, 8 the centre.
    QTest::newRow("right handle widens") << "Pen" << 3 << QPoint(30, 7) << false;
    QTest::newRow("left handle narrows") << "Marker" << 6 << QPoint(25, 0) << false;
    QTest::newRow("left past the right edge mirrors") << "Pen" << 6 << QPoint(40, 0) << true;
    QTest::newRow("marker mirrors too") << "Marker" << 6 << QPoint(40, 0) << true;
    QTest::newRow("centre handle moves") << "Pen" << 8 << QPoint(13, 9) << false;
}

void TestPenItem::dragsAreUndone()
{
    QFETCH(QString, tool);
    QFETCH(int, key);
    QFETCH(QPoint, by);
    QFETCH(bool, pastTheOtherEdge);

    PenItem *stroke = draw(tool, Points {{100, 100}, {150, 130}, {200, 110}, {250, 160}});
    QVERIFY(stroke);
    const QRectF before = stroke->storedRect();
    const PointsF points = stroke->getPaintPoint();
    if (pastTheOtherEdge)
        by.rx() += int(before.width());
    m_canvas.area()->setCurrentModule(QStringLiteral("Move"));
    QVERIFY(stroke->isChecked());

    const QPoint grab = (stroke->position() + stroke->keyPositions().at(key)).toPoint();
    QTest::mouseMove(m_canvas.window(), m_canvas.onWindow(grab));
    QTRY_VERIFY_WITH_TIMEOUT(stroke->onKey(), 2000);
    QTest::mousePress(m_canvas.window(), Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(grab));
    QTest::mouseMove(m_canvas.window(), m_canvas.onWindow(grab + by / 2));
    QTest::mouseMove(m_canvas.window(), m_canvas.onWindow(grab + by));
    QTest::mouseRelease(
        m_canvas.window(), Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(grab + by));

    QRectF turned = before;
    if (key == 8)
        turned.translate(by);
    else if (key == 3)
        turned.setRight(before.right() + by.x());
    else
        turned.setLeft(before.left() + by.x());
    const double sx = qAbs(turned.width()) / before.width();
    PointsF expected;
    for (const QPointF &p : points)
        expected.append(
            QPointF(turned.width() < 0 ? -turned.width() - p.x() * sx : p.x() * sx, p.y()));
    QCOMPARE(stroke->storedRect(), turned.normalized());
    QCOMPARE(QRectF(stroke->position(), stroke->size()), turned.normalized());
    QVERIFY(sameLists(stroke->getPaintPoint(), expected));

    QCOMPARE(m_canvas.area()->undoStack()->count(), 2);
    m_canvas.area()->checkUndo();
    QCOMPARE(stroke->storedRect(), before);
    QCOMPARE(QRectF(stroke->position(), stroke->size()), before);
    QVERIFY(sameLists(stroke->getPaintPoint(), points));
    m_canvas.area()->checkRedo();
    QCOMPARE(stroke->storedRect(), turned.normalized());
    QVERIFY(sameLists(stroke->getPaintPoint(), expected));
}

void TestPenItem::canvasDeletedMidStrokeStopsTheWorker()
{
    m_canvas.area()->setCurrentModule(QStringLiteral("Pen"));
    QTest::mousePress(
        m_canvas.window(), Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(QPoint(20, 20)));
    for (int i = 1; i < 200; ++i)
        QTest::mouseMove(m_canvas.window(), m_canvas.onWindow(QPoint(20 + i, 20 + (i * 7) % 150)));
    auto *module
        = qobject_cast<PenModule *>(m_canvas.area()->moduleFromName(QStringLiteral("Pen")));
    QVERIFY(module);
    QPointer<ThreadAliasingPoint> worker = module->worker();
    QPointer<QQuickItem> stroke = m_canvas.area()->childItems().constLast();
    QVERIFY(worker->isRunning());

    // A stroke deleted under the running worker leaves it nothing to touch.
    delete stroke;
    QTest::mouseMove(m_canvas.window(), m_canvas.onWindow(QPoint(300, 200)));
    QTest::qWait(50);
    QVERIFY(worker->isRunning());

    // A worker still running when its thread object goes would abort the whole program.
    m_canvas.close();
    QTRY_VERIFY_WITH_TIMEOUT(worker.isNull(), 5000);
}

void TestPenItem::strokeShowsAsEverySegmentDrawn_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<int>("lineWidth");
    QTest::addColumn<Points>("path");
    Points wave;
    for (int i = 0; i < 300; ++i)
        wave.append(QPoint(20 + i % 150 * 2, 60 + i / 150 * 120 + int(30 * std::sin(i * 0.15))));
    QTest::newRow("pen, long and waving") << "Pen" << 26 << wave;
    QTest::newRow("marker, long and waving") << "Marker" << 6 << wave;
    // The box grows to the left and up: every point moves.
    QTest::newRow("pen, left and up")
        << "Pen" << 9
        << Points {{300, 250}, {250, 240}, {200, 150}, {120, 160}, {60, 40}, {80, 30}};
    // Sharp turns back: many samples a point.
    QTest::newRow("pen, zigzag") << "Pen" << 4
                                 << Points {{50, 50}, {150, 60}, {60, 70}, {160, 80}, {70, 90},
                                        {170, 100}, {80, 110}, {180, 120}};
}

// What shows while a stroke is drawn, and once it is done, is the stroke as it was always
// painted, pixel for pixel, however few of its pixels a move paints again.
void TestPenItem::strokeShowsAsEverySegmentDrawn()
{
    QFETCH(QString, tool);
    QFETCH(int, lineWidth);
    QFETCH(Points, path);

    m_canvas.choose(tool);
    m_canvas.area()->setCurrentLineWidth(lineWidth);
    const QImage before = onScreen();
    QQuickWindow *window = m_canvas.window();
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(path.first()));
    auto *stroke = qobject_cast<PenItem *>(m_canvas.area()->childItems().constLast());
    QVERIFY(stroke);
    const auto shownAsPainted = [&] {
        QTRY_COMPARE_WITH_TIMEOUT(onScreen(), paintedTheOldWay(before, tool, stroke, true), 5000);
    };
    for (int i = 1; i < path.size(); ++i) {
        QTest::mouseEvent(
            QTest::MouseMove, window, Qt::NoButton, Qt::NoModifier, m_canvas.onWindow(path.at(i)));
        if (i == path.size() / 2 || i == path.size() - 1)
            shownAsPainted();
    }
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(path.last()));
    m_canvas.area()->uncheckAllItem();
    shownAsPainted();
    const QImage picture = plainPicture(QSize(400, 300), kBackground);
    QCOMPARE(m_canvas.output().convertToFormat(QImage::Format_RGB32),
        paintedTheOldWay(picture, tool, stroke, false));
}

QTEST_MAIN(TestPenItem)
#include "tst_penitem.moc"
