#include "blackoutarea.h"
#include "blackoutitem.h"
#include "canvasfixture.h"
#include "setting.h"

#include <QSignalSpy>
#include <QUndoStack>
#include <QtTest>

namespace {

const QColor kBackground(200, 200, 200);
using Rects = QList<QRectF>;

} // namespace

// The blackout tool on a canvas, drawn with the mouse like a user: what the overlay darkens,
// how dark it is, and what the output shows after drawing, undo and redo.
class TestBlackout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void darkensAllButTheBrightAreas_data();
    void darkensAllButTheBrightAreas();
    void clickLeavesNoBrightArea();
    void undoRedoAndDeleteFollowTheHole();
    void darknessFollowsTheWidth_data();
    void darknessFollowsTheWidth();
    void outputIsDarkOutsideAndUntouchedInside();
    void nothingIsDarkBeforeASelection();

private:
    BlackoutItem *draw(QPoint from, QPoint to);
    BlackoutArea *overlay() const { return m_canvas.area()->findChild<BlackoutArea *>(); }
    QColor rendered(const QPoint &p) const { return m_canvas.output().pixelColor(p); }

    CanvasFixture m_canvas;
};

void TestBlackout::initTestCase()
{
    QVERIFY(m_canvas.startService());
}

void TestBlackout::init()
{
    // The darkness that a row chose stays in the store; each row starts from the default.
    Setting::instance()->setValue(QStringLiteral("widthBlackoutLine"), 9);
    QVERIFY(m_canvas.open(plainPicture(QSize(400, 300), kBackground)));
}

void TestBlackout::cleanup()
{
    m_canvas.close();
}

BlackoutItem *TestBlackout::draw(QPoint from, QPoint to)
{
    m_canvas.choose(QStringLiteral("Blackout"));
    m_canvas.drag({from, to});
    return m_canvas.lastStored<BlackoutItem>(QStringLiteral("Blackout"));
}

void TestBlackout::darkensAllButTheBrightAreas_data()
{
    QTest::addColumn<QRectF>("selection");
    QTest::addColumn<Rects>("bright");
    QTest::addColumn<Rects>("darkened");
    const QRectF square(0, 0, 100, 100);
    QTest::newRow("no bright area") << square << Rects {} << Rects {};
    QTest::newRow("one area cuts a pinwheel")
        << square << Rects {{10, 20, 30, 40}}
        << Rects {{0, 0, 40, 20}, {0, 20, 10, 80}, {10, 60, 90, 40}, {40, 0, 60, 60}};
    QTest::newRow("selection away from the origin")
        << QRectF(50, 30, 100, 100) << Rects {{60, 40, 30, 40}}
        << Rects {{0, 0, 40, 10}, {0, 10, 10, 90}, {10, 50, 90, 50}, {40, 0, 60, 50}};
    QTest::newRow("touching the edge cuts nothing")
        << square << Rects {{100, 10, 20, 20}} << Rects {square};
    QTest::newRow("outside cuts nothing") << square << Rects {{200, 200, 20, 20}} << Rects {square};
    QTest::newRow("covering all leaves nothing") << square << Rects {{0, 0, 150, 150}} << Rects {};
    QTest::newRow("two overlapping leave their union bright")
        << square << Rects {{10, 10, 50, 50}, {40, 40, 50, 50}}
        << Rects {{0, 0, 60, 10}, {0, 10, 10, 90}, {10, 60, 30, 40}, {40, 90, 60, 10},
               {90, 60, 10, 30}, {60, 0, 30, 40}, {90, 0, 10, 60}};
}

void TestBlackout::darkensAllButTheBrightAreas()
{
    QFETCH(QRectF, selection);
    QFETCH(Rects, bright);
    QFETCH(Rects, darkened);

    m_canvas.area()->setSelectRect(selection);
    QCOMPARE(QRectF(overlay()->position(), overlay()->size()), selection);
    for (const QRectF &r : qAsConst(bright))
        QVERIFY(draw(r.topLeft().toPoint(), r.bottomRight().toPoint() - QPoint(1, 1)));
    QCOMPARE(overlay()->getPaintRect(), darkened);
}

void TestBlackout::clickLeavesNoBrightArea()
{
    m_canvas.area()->setSelectRect(QRectF(0, 0, 100, 100));
    QVERIFY(!draw(QPoint(50, 50), QPoint(50, 50)));
    QCOMPARE(m_canvas.area()->undoStack()->count(), 0);
    QVERIFY(overlay()->getPaintRect().isEmpty());

    // While a drag runs up and left of its start, the area under it is already bright.
    QTest::mousePress(
        m_canvas.window(), Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(QPoint(50, 50)));
    QTest::mouseMove(m_canvas.window(), m_canvas.onWindow(QPoint(0, 0)));
    QCOMPARE(overlay()->getPaintRect(),
        (Rects {{0, 0, 50, 1}, {0, 1, 1, 99}, {1, 50, 99, 50}, {50, 0, 50, 50}}));
    QTest::mouseRelease(
        m_canvas.window(), Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(QPoint(0, 0)));
}

void TestBlackout::undoRedoAndDeleteFollowTheHole()
{
    m_canvas.area()->setSelectRect(QRectF(0, 0, 100, 100));
    QVERIFY(draw(QPoint(0, 0), QPoint(49, 99)));
    BlackoutItem *second = draw(QPoint(50, 0), QPoint(99, 49));
    QVERIFY(second);
    QCOMPARE(second->z(), 100.0);
    const Rects bothBright {{50, 50, 50, 50}};
    const Rects firstBright {{50, 0, 50, 100}};
    QCOMPARE(overlay()->getPaintRect(), bothBright);

    QSignalSpy repaints(m_canvas.area(), &KPainterArea::updateBlackoutArea);
    m_canvas.area()->checkUndo();
    QCOMPARE(overlay()->getPaintRect(), firstBright);
    m_canvas.area()->checkRedo();
    QCOMPARE(overlay()->getPaintRect(), bothBright);

    // Deleting the checked area darkens it at once; checking it does not lift it above shapes.
    m_canvas.area()->setCurrentModule(QStringLiteral("Move"));
    second->setCheck(true);
    QCOMPARE(second->z(), 100.0);
    QTRY_VERIFY_WITH_TIMEOUT(second->hasActiveFocus(), 2000);
    repaints.clear();
    QTest::keyClick(m_canvas.window(), Qt::Key_Delete);
    QVERIFY(!repaints.isEmpty());
    QCOMPARE(overlay()->getPaintRect(), firstBright);
    m_canvas.area()->checkUndo();
    QCOMPARE(overlay()->getPaintRect(), bothBright);
}

void TestBlackout::darknessFollowsTheWidth_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("alpha");
    QTest::newRow("lightest") << 2 << 30;
    QTest::newRow("odd width") << 9 << 82;
    QTest::newRow("darkest") << 26 << 210;
}

void TestBlackout::darknessFollowsTheWidth()
{
    QFETCH(int, width);
    QFETCH(int, alpha);

    m_canvas.area()->setSelectRect(QRectF(0, 0, 100, 100));
    BlackoutItem *area = draw(QPoint(10, 10), QPoint(29, 29));
    QVERIFY(area);
    // The tool bar's width slider restyles the current area, and with it the whole overlay.
    m_canvas.area()->setCurrentLineWidth(width);
    QCOMPARE(area->lineWidth(), width);
    QCOMPARE(overlay()->lineWidth(), width);
    const int expected = qRound(kBackground.red() * (255 - alpha) / 255.0);
    QVERIFY(qAbs(rendered(QPoint(60, 60)).red() - expected) <= 1);

    // A new area drawn after the width was chosen without one keeps what the bar shows.
    const int chosen = width == 2 ? 26 : 2;
    m_canvas.area()->uncheckAllItem();
    m_canvas.area()->setCurrentLineWidth(chosen);
    m_canvas.area()->pushLineWidthChange(chosen, width);
    QVERIFY(draw(QPoint(40, 40), QPoint(49, 49)));
    QCOMPARE(overlay()->lineWidth(), chosen);
}

void TestBlackout::outputIsDarkOutsideAndUntouchedInside()
{
    m_canvas.area()->setSelectRect(QRectF(20, 20, 200, 150));
    BlackoutItem *bright = draw(QPoint(50, 40), QPoint(149, 99));
    QVERIFY(bright);
    // A rectangle drawn over the darkness stands above it.
    m_canvas.area()->setCurrentModule(QStringLiteral("Rect"));
    m_canvas.area()->setCurrentColor(Qt::red);
    QTest::mousePress(
        m_canvas.window(), Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(QPoint(170, 120)));
    QTest::mouseMove(m_canvas.window(), m_canvas.onWindow(QPoint(200, 150)));
    QTest::mouseRelease(m_canvas.window(), Qt::LeftButton, Qt::ControlModifier,
        m_canvas.onWindow(QPoint(200, 150)));
    m_canvas.area()->uncheckAllItem();

    for (const QPoint &p :
        {QPoint(50, 40), QPoint(100, 70), QPoint(149, 99), QPoint(10, 10), QPoint(300, 200)})
        QCOMPARE(rendered(p), kBackground);
    for (const QPoint &p :
        {QPoint(20, 20), QPoint(49, 70), QPoint(150, 70), QPoint(100, 100), QPoint(219, 169)})
        QVERIFY2(rendered(p).red() < kBackground.red() - 40,
            qPrintable(QStringLiteral("not dark at %1, %2").arg(p.x()).arg(p.y())));
    QCOMPARE(rendered(QPoint(185, 135)), QColor(Qt::red));

    // Zoomed with the picture, the bright area stays on the same spot of it.
    m_canvas.area()->setWidth(800);
    QCOMPARE(bright->rectangle(), QRectF(100, 80, 200, 120));
}

// Until a selection exists the overlay has nothing to cover: a blackout rectangle drawn then
// leaves the whole picture as it was.
void TestBlackout::nothingIsDarkBeforeASelection()
{
    QVERIFY(draw(QPoint(50, 40), QPoint(149, 99)));
    const QImage output = m_canvas.output();
    for (const QPoint &p : {QPoint(0, 0), QPoint(100, 70), QPoint(300, 200), QPoint(399, 299)})
        QCOMPARE(output.pixelColor(p), kBackground);
    QVERIFY(overlay()->getPaintRect().isEmpty());

    // The first selection brings the darkness around the bright rectangle.
    m_canvas.area()->setSelectRect(QRectF(0, 0, 400, 300));
    QVERIFY(m_canvas.output().pixelColor(QPoint(300, 200)).red() < kBackground.red() - 40);
    QCOMPARE(m_canvas.output().pixelColor(QPoint(100, 70)), kBackground);
}

QTEST_MAIN(TestBlackout)
#include "tst_blackout.moc"
