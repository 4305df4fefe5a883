#include "arrowitem.h"
#include "canvasfixture.h"
#include "lineitem.h"

#include <QUndoStack>
#include <QtTest>

namespace {

const QColor kBackground(40, 40, 40);
const QColor kRed(220, 0, 0);

// Antialiased edges are blended with the picture, so ink is mostly, not exactly, the colour.
bool isInk(const QColor &c)
{
    return c.red() > 180 && c.green() < 30 && c.blue() < 30;
}

QRectF boxAround(const QLineF &line)
{
    return QRectF(line.p1(), line.p2()).normalized().adjusted(-45, -45, 45, 45);
}

} // namespace

// The line and arrow tools on a canvas, driven with the mouse and keys like a user: the drawn
// segment, Shift and Space, the box, the end drags with their undo steps, and the arrow's head
// in the output.
class TestLineItem : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void dragDrawsFromPressToPointer_data();
    void dragDrawsFromPressToPointer();
    void shiftSnaps_data();
    void shiftSnaps();
    void keysActWhileDrawing();
    void clickStoresNothing();
    void dragsAreOneUndoStep_data();
    void dragsAreOneUndoStep();
    void onlyTheSegmentTakesPresses();
    void arrowOutput_data();
    void arrowOutput();
    void lineOutput();

private:
    void drag(QPoint from, QPoint via, QPoint to, Qt::KeyboardModifiers keys = Qt::NoModifier);
    LineItem *draw(const QString &tool, QPoint from, QPoint to, QPoint via = QPoint());
    LineItem *lastChild() const
    {
        return qobject_cast<LineItem *>(m_canvas.area()->childItems().last());
    }

    CanvasFixture m_canvas;
};

void TestLineItem::initTestCase()
{
    QVERIFY(m_canvas.startService());
}

void TestLineItem::init()
{
    QVERIFY(m_canvas.open(plainPicture(QSize(400, 300), kBackground), kRed));
}

void TestLineItem::cleanup()
{
    m_canvas.close();
}

void TestLineItem::drag(QPoint from, QPoint via, QPoint to, Qt::KeyboardModifiers keys)
{
    m_canvas.drag({from, via, to}, keys);
}

// The shape the tool stored for the stroke, or null.
LineItem *TestLineItem::draw(const QString &tool, QPoint from, QPoint to, QPoint via)
{
    m_canvas.choose(tool);
    drag(from, via.isNull() ? (from + to) / 2 : via, to);
    return m_canvas.lastStored<LineItem>(tool);
}

void TestLineItem::dragDrawsFromPressToPointer_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QRectF>("box");
    QTest::newRow("line") << "Line" << QPoint(20, 30) << QPoint(120, 90)
                          << QRectF(-25, -15, 190, 150);
    QTest::newRow("horizontal line of 100")
        << "Line" << QPoint(50, 100) << QPoint(150, 100) << QRectF(5, 55, 190, 90);
    QTest::newRow("arrow, up left")
        << "Arrow" << QPoint(300, 200) << QPoint(150, 40) << QRectF(105, -5, 240, 250);
}

void TestLineItem::dragDrawsFromPressToPointer()
{
    QFETCH(QString, tool);
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(QRectF, box);

    LineItem *line = draw(tool, from, to);
    QVERIFY(line);
    QCOMPARE(line->name(), tool);
    QCOMPARE(line->line(), QLineF(from, to));
    QCOMPARE(QRectF(line->position(), line->size()), box);
    const QPointF at = line->position();
    QCOMPARE(line->keyPositions(),
        (QList<QPointF> {from - at, to - at, QLineF(from, to).center() - at}));
    QCOMPARE(m_canvas.area()->currentItem(), line);

    QCOMPARE(m_canvas.area()->undoStack()->count(), 1);
    m_canvas.area()->checkUndo();
    QVERIFY(!line->isVisible());
    m_canvas.area()->checkRedo();
    QVERIFY(line->isVisible());

    // A zoom scales the segment with the picture, and zooming back restores it.
    m_canvas.area()->setWidth(800);
    QCOMPARE(line->line(), QLineF(from * 2, to * 2));
    m_canvas.area()->setWidth(400);
    QCOMPARE(line->line(), QLineF(from, to));
    QCOMPARE(QRectF(line->position(), line->size()), box);
}

void TestLineItem::shiftSnaps_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QPoint>("by");
    QTest::addColumn<QPoint>("end");
    QTest::newRow("39 above") << "Line" << QPoint(100, -39) << QPoint(100, 0);
    QTest::newRow("39 below, leftwards") << "Line" << QPoint(-100, 39) << QPoint(-100, 0);
    QTest::newRow("39 right, downwards") << "Line" << QPoint(39, 100) << QPoint(0, 100);
    QTest::newRow("39 left, upwards") << "Arrow" << QPoint(-39, -60) << QPoint(0, -60);
    QTest::newRow("40 above is a diagonal") << "Line" << QPoint(100, -40) << QPoint(100, -100);
    QTest::newRow("down right") << "Line" << QPoint(100, 70) << QPoint(100, 100);
    QTest::newRow("down left") << "Arrow" << QPoint(-100, 70) << QPoint(-100, 100);
    QTest::newRow("up right") << "Line" << QPoint(100, -70) << QPoint(100, -100);
    QTest::newRow("up left, steep") << "Line" << QPoint(-70, -100) << QPoint(-70, -70);
}

void TestLineItem::shiftSnaps()
{
    QFETCH(QString, tool);
    QFETCH(QPoint, by);
    QFETCH(QPoint, end);

    m_canvas.area()->setCurrentModule(tool);
    const QPoint from(200, 150);
    drag(from, from + by / 2, from + by, Qt::ShiftModifier);
    QVERIFY(m_canvas.area()->currentItem());
    QCOMPARE(lastChild()->line(), QLineF(from, from + end));
}

void TestLineItem::keysActWhileDrawing()
{
    m_canvas.area()->setCurrentModule(QStringLiteral("Line"));
    QTest::mousePress(
        m_canvas.window(), Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(QPoint(100, 100)));
    QTest::mouseMove(m_canvas.window(), m_canvas.onWindow(QPoint(200, 130)));
    LineItem *line = lastChild();
    QVERIFY(line);
    QTRY_VERIFY_WITH_TIMEOUT(line->hasActiveFocus(), 2000);

    // Shift snaps at once and its release puts the end back under the pointer.
    QTest::keyPress(m_canvas.window(), Qt::Key_Shift, Qt::ShiftModifier);
    QCOMPARE(line->line(), QLineF(100, 100, 200, 100));
    QTest::keyRelease(m_canvas.window(), Qt::Key_Shift, Qt::NoModifier);
    QCOMPARE(line->line(), QLineF(100, 100, 200, 130));

    // Space carries the whole segment; afterwards the end follows again, and Shift no longer
    // snaps the carried segment.
    QTest::keyPress(m_canvas.window(), Qt::Key_Space);
    QTest::mouseMove(m_canvas.window(), m_canvas.onWindow(QPoint(250, 180)));
    QCOMPARE(line->line(), QLineF(150, 150, 250, 180));
    QTest::keyRelease(m_canvas.window(), Qt::Key_Space);
    QTest::mouseMove(m_canvas.window(), m_canvas.onWindow(QPoint(300, 180)));
    QCOMPARE(line->line(), QLineF(150, 150, 300, 180));
    QTest::mouseEvent(QTest::MouseMove, m_canvas.window(), Qt::NoButton, Qt::ShiftModifier,
        m_canvas.onWindow(QPoint(300, 170)));
    QTest::mouseRelease(
        m_canvas.window(), Qt::LeftButton, Qt::ShiftModifier, m_canvas.onWindow(QPoint(300, 170)));
    QCOMPARE(line->line(), QLineF(150, 150, 300, 170));
    QCOMPARE(m_canvas.area()->currentItem(), line);
    QCOMPARE(m_canvas.area()->undoStack()->count(), 1);
}

void TestLineItem::clickStoresNothing()
{
    // A click of either tool, and a stroke back to where it began.
    QVERIFY(!draw(QStringLiteral("Line"), QPoint(50, 50), QPoint(50, 50)));
    QVERIFY(!draw(QStringLiteral("Arrow"), QPoint(50, 50), QPoint(50, 50)));
    QVERIFY(!draw(QStringLiteral("Arrow"), QPoint(50, 50), QPoint(50, 50), QPoint(120, 90)));
    QCOMPARE(m_canvas.area()->undoStack()->count(), 0);
    QCOMPARE(m_canvas.area()->currentItem(), nullptr);
    QVERIFY(!lastChild()->isVisible());
}

void TestLineItem::dragsAreOneUndoStep_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QPoint>("grab");
    QTest::addColumn<QPoint>("via");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<QLineF>("result");
    QTest::addColumn<QString>("step");
    // Drawn from (100, 100) to (200, 150).
    QTest::newRow("end") << "Line" << QPoint(200, 150) << QPoint(215, 140) << QPoint(230, 130)
                         << false << QLineF(100, 100, 230, 130) << "Line change";
    QTest::newRow("start") << "Line" << QPoint(100, 100) << QPoint(90, 105) << QPoint(80, 110)
                           << false << QLineF(80, 110, 200, 150) << "Line change";
    QTest::newRow("arrow's end with Shift")
        << "Arrow" << QPoint(200, 150) << QPoint(220, 130) << QPoint(240, 105) << true
        << QLineF(100, 100, 240, 100) << "Line change";
    QTest::newRow("start with Shift turns around the end")
        << "Line" << QPoint(100, 100) << QPoint(100, 110) << QPoint(100, 120) << true
        << QLineF(100, 150, 200, 150) << "Line change";
    QTest::newRow("midpoint") << "Line" << QPoint(150, 125) << QPoint(155, 135) << QPoint(160, 145)
                              << false << QLineF(110, 120, 210, 170) << "Move";
    QTest::newRow("body") << "Arrow" << QPoint(125, 112) << QPoint(120, 115) << QPoint(110, 117)
                          << false << QLineF(85, 105, 185, 155) << "Move";
    QTest::newRow("end back onto its press position")
        << "Line" << QPoint(200, 150) << QPoint(260, 40) << QPoint(200, 150) << false
        << QLineF(100, 100, 200, 150) << QString();
}

void TestLineItem::dragsAreOneUndoStep()
{
    QFETCH(QString, tool);
    QFETCH(QPoint, grab);
    QFETCH(QPoint, via);
    QFETCH(QPoint, to);
    QFETCH(bool, shift);
    QFETCH(QLineF, result);
    QFETCH(QString, step);

    const QLineF drawn(100, 100, 200, 150);
    LineItem *line = draw(tool, drawn.p1().toPoint(), drawn.p2().toPoint());
    QVERIFY(line);
    m_canvas.area()->setCurrentModule(QStringLiteral("Move"));
    QVERIFY(line->isChecked());

    // Hover comes with motion, on the next frame; the drawing left the pointer on the end.
    QTest::mouseMove(m_canvas.window(), m_canvas.onWindow(QPoint(0, 0)));
    QTest::mouseMove(m_canvas.window(), m_canvas.onWindow(grab));
    const bool onHandle = line->keyPositions().contains(QPointF(grab) - line->position());
    QTRY_COMPARE_WITH_TIMEOUT(line->onKey(), onHandle, 2000);
    drag(grab, via, to, shift ? Qt::ShiftModifier : Qt::NoModifier);
    QCOMPARE(line->line(), result);
    QCOMPARE(QRectF(line->position(), line->size()), boxAround(result));

    QCOMPARE(m_canvas.area()->undoStack()->count(), step.isEmpty() ? 1 : 2);
    if (step.isEmpty())
        return;
    QCOMPARE(m_canvas.area()->undoStack()->text(1), step);
    m_canvas.area()->checkUndo();
    QCOMPARE(line->line(), drawn);
    QCOMPARE(QRectF(line->position(), line->size()), boxAround(drawn));
    // Modifiers held at the redo do not reshape what was recorded.
    QTest::keyPress(m_canvas.window(), Qt::Key_Shift, Qt::ShiftModifier);
    m_canvas.area()->checkRedo();
    QTest::keyRelease(m_canvas.window(), Qt::Key_Shift, Qt::NoModifier);
    QCOMPARE(line->line(), result);
}

// The box reaches far beyond a slanting segment; its empty corners leave shapes below pickable.
void TestLineItem::onlyTheSegmentTakesPresses()
{
    draw(QStringLiteral("Rect"), QPoint(150, 60), QPoint(189, 99));
    AbstractGraphItem *rect = m_canvas.area()->currentItem();
    LineItem *line = draw(QStringLiteral("Line"), QPoint(100, 200), QPoint(300, 50));
    QVERIFY(rect && line);
    m_canvas.area()->setCurrentModule(QStringLiteral("Move"));
    m_canvas.area()->uncheckAllItem();
    QTest::mouseClick(
        m_canvas.window(), Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(QPoint(165, 75)));
    QVERIFY(rect->isChecked());
    QVERIFY(!line->isChecked());
    QTest::mouseClick(
        m_canvas.window(), Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(QPoint(180, 140)));
    QVERIFY(line->isChecked());
}

void TestLineItem::arrowOutput_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("width");
    QTest::addColumn<QPoint>("probe");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<bool>("ink");
    // Probes are pixels relative to the tip at (300, 150), the tail lying to the left. A checked
    // arrow shows its end and centre handles where the output has nothing.
    QTest::newRow("tip") << 200 << 2 << QPoint(-2, 0) << false << true;
    QTest::newRow("beyond the tip") << 200 << 2 << QPoint(3, 0) << false << false;
    QTest::newRow("end handle") << 200 << 2 << QPoint(3, 0) << true << true;
    QTest::newRow("shaft") << 200 << 2 << QPoint(-100, 0) << false << true;
    QTest::newRow("beside the shaft") << 200 << 2 << QPoint(-100, 4) << false << false;
    QTest::newRow("centre handle") << 200 << 2 << QPoint(-100, 4) << true << true;
    QTest::newRow("no head at the tail") << 200 << 2 << QPoint(-194, -4) << false << false;
    QTest::newRow("wing") << 200 << 2 << QPoint(-10, 4) << false << true;
    QTest::newRow("80 px: full head") << 80 << 2 << QPoint(-10, 4) << false << true;
    QTest::newRow("40 px: smaller head") << 40 << 2 << QPoint(-10, 4) << false << false;
    QTest::newRow("wide line: filled head far back")
        << 200 << 12 << QPoint(-18, 7) << false << true;
    QTest::newRow("thin line: no head so far back") << 200 << 2 << QPoint(-18, 7) << false << false;
    QTest::newRow("1 px: nothing") << 1 << 2 << QPoint(-1, 0) << false << false;
}

void TestLineItem::arrowOutput()
{
    QFETCH(int, length);
    QFETCH(int, width);
    QFETCH(QPoint, probe);
    QFETCH(bool, checked);
    QFETCH(bool, ink);

    // Choosing a tool resets the width from the settings.
    m_canvas.area()->setCurrentModule(QStringLiteral("Arrow"));
    m_canvas.area()->setCurrentLineWidth(width);
    const QPoint tip(300, 150);
    LineItem *arrow = draw(QStringLiteral("Arrow"), tip - QPoint(length, 0), tip);
    QVERIFY(arrow);
    arrow->setCheck(checked);
    const QColor seen = m_canvas.output().pixelColor(tip + probe);
    // Handles are drawn half see-through in black and white, not in the arrow's colour.
    const bool painted = checked ? seen != kBackground : isInk(seen);
    QVERIFY2(ink ? painted : seen == kBackground, qPrintable(seen.name()));
}

// A plain line: its colour along the segment and across its width, round ends, and no head.
void TestLineItem::lineOutput()
{
    m_canvas.area()->setCurrentModule(QStringLiteral("Line"));
    m_canvas.area()->setCurrentLineWidth(8);
    QVERIFY(draw(QStringLiteral("Line"), QPoint(100, 150), QPoint(300, 150)));
    m_canvas.area()->uncheckAllItem();
    const QImage out = m_canvas.output();
    for (const QPoint &p : {QPoint(100, 150), QPoint(200, 147), QPoint(200, 153), QPoint(300, 150),
             QPoint(97, 150), QPoint(303, 150)})
        QVERIFY2(
            isInk(out.pixelColor(p)), qPrintable(QStringLiteral("%1, %2").arg(p.x()).arg(p.y())));
    for (const QPoint &p : {QPoint(200, 143), QPoint(200, 157), QPoint(94, 150), QPoint(306, 150),
             QPoint(290, 157), QPoint(290, 143), QPoint(303, 146)})
        QCOMPARE(out.pixelColor(p), kBackground);
}

QTEST_MAIN(TestLineItem)
#include "tst_lineitem.moc"
