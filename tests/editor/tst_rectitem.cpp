#include "canvasfixture.h"
#include "ellipseitem.h"
#include "rectitem.h"

#include <QUndoStack>
#include <QtTest>

namespace {

const QColor kBackground(40, 40, 40);
const QColor kRed(220, 0, 0);

// The edges of a curve are blended with the picture, so a stroke pixel is mostly, not exactly,
// the stroke's colour.
bool isInk(const QColor &c)
{
    return c.red() > 180 && c.green() < 30 && c.blue() < 30;
}

using Points = QList<QPoint>;

} // namespace

// The rectangle and ellipse tools on a canvas, driven with the mouse and keys like a user:
// the drawn rectangle, the Shift, Space and Control rules, the box around the rectangle, the
// handle drags with their undo steps, and what the output shows.
class TestRectItem : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void dragDrawsFromStartToPointer_data();
    void dragDrawsFromStartToPointer();
    void shiftSquaresTowardThePointer_data();
    void shiftSquaresTowardThePointer();
    void shiftTakesEffectWithoutAMove();
    void spaceMovesInsteadOfGrowing();
    void controlFills_data();
    void controlFills();
    void strokeWithoutAreaStoresNothing_data();
    void strokeWithoutAreaStoresNothing();
    void boxFollowsLineWidthAndZoom();
    void keysMoveTheRectangleWithItsBox();
    void handleDragIsOneUndoStep_data();
    void handleDragIsOneUndoStep();
    void outputShowsTheStrokeWithoutHandles_data();
    void outputShowsTheStrokeWithoutHandles();
    void shapeCoversAreaAndOutline();

private:
    RectItem *draw(const QString &tool, QPoint from, QPoint to);
    void moveWith(Qt::KeyboardModifiers modifiers, QPoint canvasPoint);

    CanvasFixture m_canvas;
};

void TestRectItem::initTestCase()
{
    QVERIFY(m_canvas.startService());
}

void TestRectItem::init()
{
    QVERIFY(m_canvas.open(plainPicture(QSize(400, 300), kBackground), kRed, 2));
}

void TestRectItem::cleanup()
{
    m_canvas.close();
}

void TestRectItem::moveWith(Qt::KeyboardModifiers modifiers, QPoint canvasPoint)
{
    QTest::mouseEvent(QTest::MouseMove, m_canvas.window(), Qt::NoButton, modifiers,
        m_canvas.onWindow(canvasPoint));
}

RectItem *TestRectItem::draw(const QString &tool, QPoint from, QPoint to)
{
    m_canvas.choose(tool);
    m_canvas.drag({from, (from + to) / 2, to});
    return m_canvas.lastStored<RectItem>(tool);
}

void TestRectItem::dragDrawsFromStartToPointer_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<int>("lineWidth");
    QTest::addColumn<QRectF>("box");
    QTest::addColumn<Points>("keys");
    // Left and top handles 7 pixels inside the box, right and bottom ones 5, then the centre.
    QTest::newRow("rectangle") << "Rect" << 2 << QRectF(4, 4, 112, 62)
                               << Points {{7, 7}, {56, 7}, {107, 7}, {107, 31}, {107, 57}, {56, 57},
                                      {7, 31}, {7, 57}, {56, 31}};
    QTest::newRow("ellipse, odd width") << "Ellipse" << 5 << QRectF(3, 3, 115, 65)
                                        << Points {{7, 7}, {57, 7}, {110, 7}, {110, 32}, {110, 60},
                                               {57, 60}, {7, 32}, {7, 60}, {57, 32}};
}

void TestRectItem::dragDrawsFromStartToPointer()
{
    QFETCH(QString, tool);
    QFETCH(int, lineWidth);
    QFETCH(QRectF, box);
    QFETCH(Points, keys);

    m_canvas.area()->setCurrentModule(tool);
    m_canvas.area()->setCurrentLineWidth(lineWidth);
    RectItem *shape = draw(tool, QPoint(10, 10), QPoint(109, 59));
    QVERIFY(shape);
    QCOMPARE(shape->name(), tool);
    QCOMPARE(shape->parentItem(), m_canvas.area());
    QCOMPARE(shape->rectangle(), QRectF(10, 10, 100, 50));
    QCOMPARE(QRectF(shape->position(), shape->size()), box);
    QCOMPARE(shape->geometry(), box);
    QCOMPARE(shape->keyPositions().size(), keys.size());
    for (int i = 0; i < keys.size(); ++i)
        QCOMPARE(shape->keyPositions().at(i), QPointF(keys.at(i)));
    QCOMPARE(m_canvas.area()->currentItem(), shape);
    QVERIFY(!shape->fill());

    // The drawn shape is one undo step.
    QCOMPARE(m_canvas.area()->undoStack()->count(), 1);
    m_canvas.area()->checkUndo();
    QVERIFY(!shape->isVisible());
    m_canvas.area()->checkRedo();
    QVERIFY(shape->isVisible());
    QCOMPARE(shape->rectangle(), QRectF(10, 10, 100, 50));
}

void TestRectItem::shiftSquaresTowardThePointer_data()
{
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QRectF>("drawing");
    QTest::addColumn<QRectF>("stored");
    // From (100, 100); the pointer's pixel counts, so the request is one pixel larger.
    QTest::newRow("down right") << QPoint(199, 149) << QRectF(100, 100, 50, 50)
                                << QRectF(100, 100, 50, 50);
    QTest::newRow("down left") << QPoint(41, 149) << QRectF(100, 100, -50, 50)
                               << QRectF(50, 100, 50, 50);
    QTest::newRow("up right") << QPoint(179, 61) << QRectF(100, 100, 38, -38)
                              << QRectF(100, 62, 38, 38);
    QTest::newRow("up left") << QPoint(61, 21) << QRectF(100, 100, -38, -38)
                             << QRectF(62, 62, 38, 38);
}

void TestRectItem::shiftSquaresTowardThePointer()
{
    QFETCH(QPoint, to);
    QFETCH(QRectF, drawing);
    QFETCH(QRectF, stored);

    m_canvas.area()->setCurrentModule(QStringLiteral("Rect"));
    const QPoint from(100, 100);
    QTest::mousePress(m_canvas.window(), Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(from));
    moveWith(Qt::ShiftModifier, (from + to) / 2);
    moveWith(Qt::ShiftModifier, to);
    auto *shape = qobject_cast<RectItem *>(m_canvas.area()->childItems().constLast());
    QVERIFY(shape);
    QCOMPARE(shape->rectangle(), drawing);
    QCOMPARE(QRectF(shape->position(), shape->size()), drawing.normalized().adjusted(-6, -6, 6, 6));
    QTest::mouseRelease(
        m_canvas.window(), Qt::LeftButton, Qt::ShiftModifier, m_canvas.onWindow(to));
    QCOMPARE(m_canvas.lastStored<RectItem>(QStringLiteral("Rect")), shape);
    QCOMPARE(shape->rectangle(), stored);
}

void TestRectItem::shiftTakesEffectWithoutAMove()
{
    m_canvas.area()->setCurrentModule(QStringLiteral("Rect"));
    QTest::mousePress(
        m_canvas.window(), Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(QPoint(10, 10)));
    QTest::mouseMove(m_canvas.window(), m_canvas.onWindow(QPoint(109, 59)));
    auto *shape = qobject_cast<RectItem *>(m_canvas.area()->childItems().constLast());
    QVERIFY(shape);
    QTRY_VERIFY_WITH_TIMEOUT(shape->hasActiveFocus(), 2000);
    QCOMPARE(shape->rectangle(), QRectF(10, 10, 100, 50));

    QTest::keyPress(m_canvas.window(), Qt::Key_Shift, Qt::ShiftModifier);
    QCOMPARE(shape->rectangle(), QRectF(10, 10, 50, 50));
    QTest::keyRelease(m_canvas.window(), Qt::Key_Shift, Qt::NoModifier);
    QCOMPARE(shape->rectangle(), QRectF(10, 10, 100, 50));
    QTest::mouseRelease(
        m_canvas.window(), Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(QPoint(109, 59)));
    QCOMPARE(m_canvas.lastStored<RectItem>(QStringLiteral("Rect")), shape);

    // Once stored, the shape keeps its form while the button is held for something else.
    m_canvas.area()->setCurrentModule(QStringLiteral("Rect"));
    QVERIFY(m_canvas.area()->currentModule().isEmpty());
    QVERIFY(shape->hasActiveFocus());
    QTest::mousePress(
        m_canvas.window(), Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(QPoint(300, 250)));
    QTest::keyPress(m_canvas.window(), Qt::Key_Shift, Qt::ShiftModifier);
    QTest::keyRelease(m_canvas.window(), Qt::Key_Shift, Qt::NoModifier);
    QTest::mouseRelease(
        m_canvas.window(), Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(QPoint(300, 250)));
    QCOMPARE(shape->rectangle(), QRectF(10, 10, 100, 50));
}

void TestRectItem::spaceMovesInsteadOfGrowing()
{
    m_canvas.area()->setCurrentModule(QStringLiteral("Rect"));
    QTest::mousePress(
        m_canvas.window(), Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(QPoint(20, 20)));
    QTest::mouseMove(m_canvas.window(), m_canvas.onWindow(QPoint(60, 40)));
    auto *shape = qobject_cast<RectItem *>(m_canvas.area()->childItems().constLast());
    QVERIFY(shape);
    QTRY_VERIFY_WITH_TIMEOUT(shape->hasActiveFocus(), 2000);
    QCOMPARE(shape->rectangle(), QRectF(20, 20, 41, 21));

    // With Space held the far corner follows the pointer and the size stays.
    QTest::keyPress(m_canvas.window(), Qt::Key_Space);
    QCOMPARE(shape->rectangle(), QRectF(20, 20, 41, 21));
    QTest::mouseMove(m_canvas.window(), m_canvas.onWindow(QPoint(100, 90)));
    QCOMPARE(shape->rectangle(), QRectF(60, 70, 41, 21));
    QCOMPARE(shape->position(), QPointF(54, 64));

    // Released, the shape grows again from where the move left its near corner.
    QTest::keyRelease(m_canvas.window(), Qt::Key_Space);
    QCOMPARE(shape->rectangle(), QRectF(60, 70, 41, 21));
    QTest::mouseMove(m_canvas.window(), m_canvas.onWindow(QPoint(150, 120)));
    QCOMPARE(shape->rectangle(), QRectF(60, 70, 91, 51));
    QTest::mouseRelease(
        m_canvas.window(), Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(QPoint(150, 120)));
    QCOMPARE(m_canvas.lastStored<RectItem>(QStringLiteral("Rect")), shape);
    QCOMPARE(shape->rectangle(), QRectF(60, 70, 91, 51));
}

void TestRectItem::controlFills_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<int>("lastMove");
    QTest::addColumn<int>("release");
    QTest::addColumn<bool>("filled");
    QTest::newRow("rectangle, held to the end")
        << "Rect" << int(Qt::ControlModifier) << int(Qt::ControlModifier) << true;
    QTest::newRow("ellipse, held to the end")
        << "Ellipse" << int(Qt::ControlModifier) << int(Qt::ControlModifier) << true;
    QTest::newRow("let go before the last move")
        << "Rect" << int(Qt::NoModifier) << int(Qt::NoModifier) << false;
    QTest::newRow("let go only at the release")
        << "Rect" << int(Qt::ControlModifier) << int(Qt::NoModifier) << true;
    QTest::newRow("pressed only at the release")
        << "Rect" << int(Qt::NoModifier) << int(Qt::ControlModifier) << true;
}

void TestRectItem::controlFills()
{
    QFETCH(QString, tool);
    QFETCH(int, lastMove);
    QFETCH(int, release);
    QFETCH(bool, filled);

    m_canvas.area()->setCurrentModule(tool);
    QTest::mousePress(
        m_canvas.window(), Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(QPoint(20, 20)));
    moveWith(Qt::ControlModifier, QPoint(80, 60));
    auto *shape = qobject_cast<RectItem *>(m_canvas.area()->childItems().constLast());
    QVERIFY(shape);
    QVERIFY(shape->fill());
    moveWith(Qt::KeyboardModifiers(lastMove), QPoint(119, 99));
    QTest::mouseRelease(m_canvas.window(), Qt::LeftButton, Qt::KeyboardModifiers(release),
        m_canvas.onWindow(QPoint(119, 99)));
    QCOMPARE(m_canvas.lastStored<RectItem>(tool), shape);
    QCOMPARE(shape->fill(), filled);

    // The middle of the shape shows its colour only when it is filled.
    m_canvas.area()->uncheckAllItem();
    const QColor middle
        = m_canvas.area()->renderRect(QRect(0, 0, 400, 300), 50000, false).pixelColor(70, 60);
    QCOMPARE(middle, filled ? kRed : kBackground);
}

void TestRectItem::strokeWithoutAreaStoresNothing_data()
{
    QTest::addColumn<QPoint>("via");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("click") << QPoint(50, 50) << QPoint(50, 50) << int(Qt::NoModifier);
    QTest::newRow("back to the start") << QPoint(120, 90) << QPoint(50, 50) << int(Qt::NoModifier);
    QTest::newRow("one pixel to the left")
        << QPoint(49, 70) << QPoint(49, 90) << int(Qt::NoModifier);
    QTest::newRow("square one pixel up")
        << QPoint(90, 49) << QPoint(120, 49) << int(Qt::ShiftModifier);
}

void TestRectItem::strokeWithoutAreaStoresNothing()
{
    QFETCH(QPoint, via);
    QFETCH(QPoint, to);
    QFETCH(int, modifiers);

    m_canvas.area()->setCurrentModule(QStringLiteral("Rect"));
    const int children = m_canvas.area()->childItems().size();
    const auto keys = Qt::KeyboardModifiers(modifiers);
    QTest::mousePress(m_canvas.window(), Qt::LeftButton, keys, m_canvas.onWindow(QPoint(50, 50)));
    moveWith(keys, via);
    moveWith(keys, to);
    QTest::mouseRelease(m_canvas.window(), Qt::LeftButton, keys, m_canvas.onWindow(to));

    QVERIFY(m_canvas.area()->moduleFromName(QStringLiteral("Rect"))->storage().isEmpty());
    QCOMPARE(m_canvas.area()->undoStack()->count(), 0);
    QCOMPARE(m_canvas.area()->currentItem(), nullptr);
    QCOMPARE(m_canvas.area()->childItems().size(), children + 1);
    QVERIFY(!m_canvas.area()->childItems().constLast()->isVisible());
}

void TestRectItem::boxFollowsLineWidthAndZoom()
{
    RectItem *shape = draw(QStringLiteral("Rect"), QPoint(30, 20), QPoint(129, 69));
    QVERIFY(shape);

    // A wider line keeps the rectangle and grows the box around it.
    shape->setLineWidth(10);
    QCOMPARE(shape->rectangle(), QRectF(30, 20, 100, 50));
    QCOMPARE(QRectF(shape->position(), shape->size()), QRectF(20, 10, 120, 70));
    QCOMPARE(shape->keyPositions().constLast(), QPointF(60, 35));

    // The zoom scales the box; the rectangle is what fits in it, and zooming back restores it.
    m_canvas.area()->setWidth(800);
    QCOMPARE(QRectF(shape->position(), shape->size()), QRectF(40, 20, 240, 140));
    QCOMPARE(shape->rectangle(), QRectF(50, 30, 220, 120));
    m_canvas.area()->setWidth(400);
    QCOMPARE(QRectF(shape->position(), shape->size()), QRectF(20, 10, 120, 70));
    QCOMPARE(shape->rectangle(), QRectF(30, 20, 100, 50));

    // The box given by setRect is the one that setGeometry places around the rectangle.
    shape->setRect(QRectF(QPointF(150, 90), QPointF(30, 40)));
    QCOMPARE(shape->rectangle(), QRectF(40, 50, 100, 30));
    QCOMPARE(QRectF(shape->position(), shape->size()), QRectF(30, 40, 120, 50));
    shape->setGeometry(shape->rectangle());
    QCOMPARE(QRectF(shape->position(), shape->size()), QRectF(30, 40, 120, 50));
}

void TestRectItem::keysMoveTheRectangleWithItsBox()
{
    RectItem *shape = draw(QStringLiteral("Ellipse"), QPoint(30, 20), QPoint(129, 69));
    QVERIFY(shape);
    shape->setCheck(true);
    QTRY_VERIFY_WITH_TIMEOUT(shape->hasActiveFocus(), 2000);
    QTest::keyClick(m_canvas.window(), Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(m_canvas.window(), Qt::Key_Down);
    QCOMPARE(shape->rectangle(), QRectF(20, 21, 100, 50));
    QCOMPARE(shape->position(), QPointF(14, 15));
    m_canvas.area()->checkUndo();
    m_canvas.area()->checkUndo();
    QCOMPARE(shape->rectangle(), QRectF(30, 20, 100, 50));
    QCOMPARE(shape->position(), QPointF(24, 14));
    QVERIFY(shape->isVisible());
}

void TestRectItem::handleDragIsOneUndoStep_data()
{
    QTest::addColumn<QPoint>("grab");
    QTest::addColumn<QPoint>("by");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QRectF>("result");
    // A 100 x 50 rectangle at (100, 100) with a line of 2: its box starts at (94, 94) and its
    // handles lie at x 101, 150, 201 and y 101, 125, 151 on the canvas.
    const int none = Qt::NoModifier;
    const int shift = Qt::ShiftModifier;
    QTest::newRow("bottom right") << QPoint(201, 151) << QPoint(20, 10) << none
                                  << QRectF(100, 100, 120, 60);
    QTest::newRow("bottom right keeps the ratio")
        << QPoint(201, 151) << QPoint(20, 0) << shift << QRectF(100, 100, 120, 60);
    QTest::newRow("top right keeps the ratio")
        << QPoint(201, 101) << QPoint(20, 0) << shift << QRectF(100, 90, 120, 60);
    QTest::newRow("top left") << QPoint(101, 101) << QPoint(-10, -6) << none
                              << QRectF(90, 94, 110, 56);
    QTest::newRow("bottom left") << QPoint(101, 151) << QPoint(8, 4) << none
                                 << QRectF(108, 100, 92, 54);
    QTest::newRow("top") << QPoint(150, 101) << QPoint(7, -8) << none << QRectF(100, 92, 100, 58);
    QTest::newRow("bottom") << QPoint(150, 151) << QPoint(7, 12) << none
                            << QRectF(100, 100, 100, 62);
    QTest::newRow("right") << QPoint(201, 125) << QPoint(14, 9) << none
                           << QRectF(100, 100, 114, 50);
    QTest::newRow("left past the right edge")
        << QPoint(101, 125) << QPoint(150, 0) << none << QRectF(200, 100, 50, 50);
    QTest::newRow("centre handle moves")
        << QPoint(150, 125) << QPoint(13, 9) << none << QRectF(113, 109, 100, 50);
    QTest::newRow("body with Shift moves along the diagonal")
        << QPoint(130, 140) << QPoint(20, 0) << shift << QRectF(120, 110, 100, 50);
}

void TestRectItem::handleDragIsOneUndoStep()
{
    QFETCH(QPoint, grab);
    QFETCH(QPoint, by);
    QFETCH(int, modifiers);
    QFETCH(QRectF, result);

    RectItem *shape = draw(QStringLiteral("Rect"), QPoint(100, 100), QPoint(199, 149));
    QVERIFY(shape);
    const QRectF drawn(100, 100, 100, 50);
    QCOMPARE(shape->rectangle(), drawn);
    m_canvas.area()->setCurrentModule(QStringLiteral("Move"));
    QVERIFY(shape->isChecked());

    const auto keys = Qt::KeyboardModifiers(modifiers);
    QTest::mouseMove(m_canvas.window(), m_canvas.onWindow(grab));
    // The window hands hover to its items with the next frame.
    const bool onHandle = shape->keyPositions().contains(QPointF(grab) - shape->position());
    QTRY_COMPARE_WITH_TIMEOUT(shape->onKey(), onHandle, 2000);
    QTest::mousePress(m_canvas.window(), Qt::LeftButton, keys, m_canvas.onWindow(grab));
    moveWith(keys, grab + by / 2);
    moveWith(keys, grab + by);
    QTest::mouseRelease(m_canvas.window(), Qt::LeftButton, keys, m_canvas.onWindow(grab + by));
    QCOMPARE(shape->rectangle(), result);
    QCOMPARE(QRectF(shape->position(), shape->size()), result.adjusted(-6, -6, 6, 6));
    QCOMPARE(shape->keyPositions().constLast(),
        QPointF(int(shape->width() * 0.5), int(shape->height() * 0.5)));

    QCOMPARE(m_canvas.area()->undoStack()->count(), 2);
    QCOMPARE(m_canvas.area()->undoStack()->text(1), QStringLiteral("Rect change"));
    m_canvas.area()->checkUndo();
    QCOMPARE(shape->rectangle(), drawn);
    QCOMPARE(QRectF(shape->position(), shape->size()), drawn.adjusted(-6, -6, 6, 6));
    // Modifiers held at the redo do not reshape what was recorded.
    QTest::keyPress(m_canvas.window(), Qt::Key_Shift, Qt::ShiftModifier);
    m_canvas.area()->checkRedo();
    QTest::keyRelease(m_canvas.window(), Qt::Key_Shift, Qt::NoModifier);
    QCOMPARE(shape->rectangle(), result);
}

void TestRectItem::outputShowsTheStrokeWithoutHandles_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<Points>("ink");
    QTest::addColumn<Points>("clear");
    // The shape spans pixels 10 to 109 and 10 to 59; its 2-pixel line is centred on the edges
    // at 10 and 110, 10 and 60.
    QTest::newRow("rectangle") << "Rect"
                               << Points {{9, 35}, {10, 35}, {109, 35}, {110, 35}, {60, 9},
                                      {60, 10}, {60, 59}, {60, 60}, {10, 15}, {105, 59}}
                               << Points {{8, 35}, {11, 35}, {108, 35}, {111, 35}, {60, 8},
                                      {60, 11}, {60, 58}, {60, 61}, {60, 35}};
    QTest::newRow("ellipse") << "Ellipse"
                             << Points {{9, 35}, {10, 35}, {109, 35}, {110, 35}, {60, 9}, {60, 10},
                                    {60, 59}, {60, 60}}
                             << Points {{8, 35}, {12, 35}, {111, 35}, {60, 8}, {60, 61}, {10, 15},
                                    {105, 59}, {12, 12}, {60, 35}};
}

void TestRectItem::outputShowsTheStrokeWithoutHandles()
{
    QFETCH(QString, tool);
    QFETCH(Points, ink);
    QFETCH(Points, clear);

    RectItem *shape = draw(tool, QPoint(10, 10), QPoint(109, 59));
    QVERIFY(shape);
    m_canvas.area()->uncheckAllItem();
    const QImage picture = m_canvas.area()->renderRect(QRect(0, 0, 400, 300), 50000, false);
    for (const QPoint &p : qAsConst(ink))
        QVERIFY2(isInk(picture.pixelColor(p)),
            qPrintable(QStringLiteral("no stroke at %1, %2").arg(p.x()).arg(p.y())));
    for (const QPoint &p : qAsConst(clear))
        QVERIFY2(picture.pixelColor(p) == kBackground,
            qPrintable(QStringLiteral("paint at %1, %2").arg(p.x()).arg(p.y())));

    // A checked shape shows its centre handle, which the clean output above left out.
    const QPoint centre = (shape->position() + shape->keyPositions().constLast()).toPoint();
    shape->setCheck(true);
    QVERIFY(m_canvas.area()->renderRect(QRect(0, 0, 400, 300), 50000, false).pixelColor(centre)
        != kBackground);
}

void TestRectItem::shapeCoversAreaAndOutline()
{
    RectItem *rect = draw(QStringLiteral("Rect"), QPoint(10, 10), QPoint(109, 59));
    auto *ellipse = qobject_cast<EllipseItem *>(
        draw(QStringLiteral("Ellipse"), QPoint(10, 10), QPoint(109, 59)));
    QVERIFY(rect && ellipse);
    // In item coordinates the rectangle starts at (6, 6): its corner, inside and outline.
    for (const QPointF &p : {QPointF(7, 7), QPointF(56, 31), QPointF(5.5, 30)})
        QVERIFY(rect->shape().contains(p));
    QVERIFY(!rect->shape().contains(QPointF(4, 30)));
    QVERIFY(!ellipse->shape().contains(QPointF(7, 7)));
    QVERIFY(ellipse->shape().contains(QPointF(56, 31)));
    QVERIFY(ellipse->shape().contains(QPointF(5.5, 31)));
}

QTEST_MAIN(TestRectItem)
#include "tst_rectitem.moc"
