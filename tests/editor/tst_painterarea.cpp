#include "canvasfixture.h"
#include "historystack.h"
#include "setting.h"
#include "testshape.h"

#include <QPainter>
#include <QQuickView>
#include <QSignalSpy>
#include <QUndoStack>
#include <QtTest>
#include <cmath>

namespace {

const QColor kBackground(40, 40, 40);
const QColor kRed(220, 0, 0);
const QColor kBlue(0, 0, 220);

// Collects the warnings printed while it lives (and still prints them).
class WarningCatcher
{
public:
    WarningCatcher()
    {
        s_caught.clear();
        s_previous = qInstallMessageHandler(&WarningCatcher::handle);
    }
    ~WarningCatcher() { qInstallMessageHandler(s_previous); }
    WarningCatcher(const WarningCatcher &) = delete;
    WarningCatcher &operator=(const WarningCatcher &) = delete;
    QStringList warnings() const { return s_caught; }

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &text)
    {
        if (type != QtDebugMsg && type != QtInfoMsg)
            s_caught << text;
        s_previous(type, context, text);
    }

    static inline QtMessageHandler s_previous = nullptr;
    static inline QStringList s_caught;
};

} // namespace

// The canvas driven through a small filled-rectangle tool: what is drawn, how it stacks and
// renders, how the pointer reaches the tools and the shapes, and the undo history.
class TestPainterArea : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void renderStacksShapesAsShown();
    void renderLeavesOutHiddenShapesAndThoseAboveTheLimit();
    void renderClipsEachShapeToItsBox();
    void renderShowsTheHandlesOfACheckedShape();
    void renderTakesTheScaledBackgroundUnderTheArea();
    void renderOfAnEmptyAreaIsNull_data();
    void renderOfAnEmptyAreaIsNull();

    void drawingFollowsThePointerOnAMovedAndZoomedCanvas();
    void dragBackToTheStartLeavesNothing();
    void releaseGoesToTheToolThatTookThePress();
    void moveToolDragsAShapeAsOneStep();
    void pressOnAShapeWithADrawingToolStartsANewShape();
    void controlAtTheReleaseFillsTheShape();

    void undoAndRedoAtBothEndsOfTheStack();
    void pushAfterUndoDropsTheRedoBranch();
    void arrowKeysAndDeleteAreUndoSteps();
    void colourAndWidthChangesAreUndone();

    void hoverClassifiesTheNineHandles_data();
    void hoverClassifiesTheNineHandles();

    void zoomKeepsShapesOnTheirSpots();
    void qmlPageDrawsAndRenders();
    void zValuesStayBelowTheOutputLimit();
    void choosingTools();
    void toolUseIsCounted();
    void anglePoint_data();
    void anglePoint();

private:
    TestShape *draw(const QPoint &from, const QPoint &to, const QColor &color);

    CanvasFixture m_canvas;
};

void TestPainterArea::initTestCase()
{
    QVERIFY(m_canvas.startService());
    KPainterArea::registerModule(&TestShapeModule::create);
}

void TestPainterArea::init()
{
    QVERIFY(
        m_canvas.open(plainPicture(QSize(400, 300), kBackground), QColor(), 0, QPointF(50, 40)));
}

void TestPainterArea::cleanup()
{
    m_canvas.close();
}

TestShape *TestPainterArea::draw(const QPoint &from, const QPoint &to, const QColor &color)
{
    m_canvas.choose(QStringLiteral("TestRect"));
    // A colour chosen while a shape is current restyles that shape; the new one alone takes it.
    m_canvas.area()->uncheckAllItem();
    m_canvas.area()->setCurrentColor(color);
    m_canvas.drag({from, (from + to) / 2, to});
    return m_canvas.lastStored<TestShape>(QStringLiteral("TestRect"));
}

void TestPainterArea::renderStacksShapesAsShown()
{
    TestShape *red = draw(QPoint(20, 20), QPoint(120, 120), kRed);
    TestShape *blue = draw(QPoint(70, 70), QPoint(170, 170), kBlue);
    QVERIFY(red && blue);
    m_canvas.area()->uncheckAllItem();
    QCOMPARE(m_canvas.area()->renderRect(QRect(0, 0, 400, 300), 50000, false).pixelColor(100, 100),
        kBlue);

    // Touching the red shape brings it to the top on the screen, and so in the picture.
    red->setCheck(true);
    red->setCheck(false);
    QVERIFY(red->z() > blue->z());
    const QImage picture = m_canvas.area()->renderRect(QRect(0, 0, 400, 300), 50000, false);
    QCOMPARE(picture.pixelColor(100, 100), kRed);
    QCOMPARE(picture.pixelColor(150, 150), kBlue);
    QCOMPARE(picture.pixelColor(30, 30), kRed);
    QCOMPARE(picture.pixelColor(300, 250), kBackground);
}

void TestPainterArea::renderLeavesOutHiddenShapesAndThoseAboveTheLimit()
{
    TestShape *red = draw(QPoint(20, 20), QPoint(60, 60), kRed);
    TestShape *blue = draw(QPoint(100, 20), QPoint(140, 60), kBlue);
    QVERIFY(red && blue);
    m_canvas.area()->uncheckAllItem();
    blue->setVisible(false);
    QImage picture = m_canvas.area()->renderRect(QRect(0, 0, 400, 300), 50000, false);
    QCOMPARE(picture.pixelColor(40, 40), kRed);
    QCOMPARE(picture.pixelColor(120, 40), kBackground);

    picture = m_canvas.area()->renderRect(QRect(0, 0, 400, 300), red->z(), false);
    QCOMPARE(picture.pixelColor(40, 40), kBackground);
}

void TestPainterArea::renderClipsEachShapeToItsBox()
{
    // A shape that paints beyond its box must not spill into the picture: the screen clips it.
    class Spill : public AbstractGraphItem
    {
    public:
        using AbstractGraphItem::AbstractGraphItem;
        void paint(QPainter *painter) override { painter->fillRect(-50, -50, 200, 200, kRed); }
    };
    auto *spill = new Spill(m_canvas.area());
    spill->setPosition(QPointF(100, 100));
    spill->setSize(QSizeF(20, 20));
    spill->setZ(m_canvas.area()->getLastZ());
    const QImage picture = m_canvas.area()->renderRect(QRect(90, 90, 40, 40), 50000, false);
    QCOMPARE(picture.size(), QSize(40, 40));
    QCOMPARE(picture.pixelColor(15, 15), kRed);
    QCOMPARE(picture.pixelColor(29, 29), kRed);
    QCOMPARE(picture.pixelColor(9, 9), kBackground);
    QCOMPARE(picture.pixelColor(30, 30), kBackground);
}

void TestPainterArea::renderShowsTheHandlesOfACheckedShape()
{
    TestShape *shape = draw(QPoint(20, 20), QPoint(120, 120), kRed);
    QVERIFY(shape);
    m_canvas.area()->uncheckAllItem();
    // The top-left handle sits 7 pixels inside the shape's box.
    const QPoint handle = (shape->position() + QPointF(7, 7)).toPoint();
    const QImage clean = m_canvas.area()->renderRect(QRect(0, 0, 400, 300), 50000, false);
    QCOMPARE(clean.pixelColor(handle), kRed);
    shape->setCheck(true);
    const QImage checked = m_canvas.area()->renderRect(QRect(0, 0, 400, 300), 50000, false);
    QVERIFY(checked.pixelColor(handle) != kRed);
    QCOMPARE(checked.pixelColor(handle + QPoint(30, 30)), kRed);
}

void TestPainterArea::renderTakesTheScaledBackgroundUnderTheArea()
{
    // A picture twice the canvas size, with a unique colour per quadrant.
    QImage picture(800, 600, QImage::Format_RGB32);
    picture.fill(Qt::black);
    const QColor quadrants[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
    for (int i = 0; i < 4; ++i) {
        QPainter p(&picture);
        p.fillRect(QRect((i % 2) * 400, (i / 2) * 300, 400, 300), quadrants[i]);
    }
    m_canvas.area()->setBackground(picture);
    const QImage out = m_canvas.area()->renderRect(QRect(150, 100, 100, 100), 50000, false);
    QCOMPARE(out.size(), QSize(100, 100));
    QCOMPARE(out.pixelColor(10, 10), QColor(Qt::red));
    QCOMPARE(out.pixelColor(90, 10), QColor(Qt::green));
    QCOMPARE(out.pixelColor(10, 90), QColor(Qt::blue));
    QCOMPARE(out.pixelColor(90, 90), QColor(Qt::yellow));
    // A rectangle given with its corners swapped is the same area.
    QCOMPARE(
        m_canvas.area()->renderRect(QRect(QPoint(249, 199), QPoint(150, 100)), 50000, false), out);
}

void TestPainterArea::renderOfAnEmptyAreaIsNull_data()
{
    QTest::addColumn<QRect>("rect");
    QTest::newRow("null") << QRect();
    QTest::newRow("no width") << QRect(10, 10, 0, 20);
    QTest::newRow("no height") << QRect(10, 10, 20, 0);
}

void TestPainterArea::renderOfAnEmptyAreaIsNull()
{
    QFETCH(QRect, rect);
    QVERIFY(m_canvas.area()->renderRect(rect, 50000, true).isNull());
}

void TestPainterArea::drawingFollowsThePointerOnAMovedAndZoomedCanvas()
{
    TestShape *shape = draw(QPoint(30, 40), QPoint(130, 90), kRed);
    QVERIFY(shape);
    QCOMPARE(shape->rect(), QRectF(30, 40, 100, 50));

    m_canvas.area()->setTransformOrigin(QQuickItem::TopLeft);
    m_canvas.area()->setScale(2.0);
    shape = draw(QPoint(10, 20), QPoint(60, 70), kBlue);
    QVERIFY(shape);
    QCOMPARE(shape->rect(), QRectF(10, 20, 50, 50));
}

void TestPainterArea::dragBackToTheStartLeavesNothing()
{
    m_canvas.area()->setCurrentModule(QStringLiteral("TestRect"));
    const int before = m_canvas.area()->childItems().size();
    QTest::mousePress(
        m_canvas.window(), Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(QPoint(50, 50)));
    QTest::mouseMove(m_canvas.window(), m_canvas.onWindow(QPoint(120, 110)));
    QTest::mouseMove(m_canvas.window(), m_canvas.onWindow(QPoint(50, 50)));
    QTest::mouseRelease(
        m_canvas.window(), Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(QPoint(50, 50)));
    QCOMPARE(m_canvas.area()->childItems().size(), before + 1);
    QVERIFY(!m_canvas.area()->childItems().constLast()->isVisible());
    QCOMPARE(m_canvas.area()->undoStack()->count(), 0);
    const QImage picture = m_canvas.area()->renderRect(QRect(0, 0, 400, 300), 50000, false);
    QCOMPARE(picture.pixelColor(80, 80), kBackground);
}

void TestPainterArea::releaseGoesToTheToolThatTookThePress()
{
    m_canvas.area()->setCurrentModule(QStringLiteral("TestRect"));
    m_canvas.area()->setCurrentColor(kRed);
    QTest::mousePress(
        m_canvas.window(), Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(QPoint(20, 20)));
    QTest::mouseMove(m_canvas.window(), m_canvas.onWindow(QPoint(60, 60)));
    m_canvas.area()->setCurrentModule(QStringLiteral("Move"));
    QTest::mouseRelease(
        m_canvas.window(), Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(QPoint(80, 70)));
    const auto stored = m_canvas.area()->moduleFromName(QStringLiteral("TestRect"))->storage();
    QCOMPARE(stored.size(), 1);
    QCOMPARE(static_cast<TestShape *>(stored.first())->rect(), QRectF(20, 20, 60, 50));
    QCOMPARE(m_canvas.area()->undoStack()->count(), 1);
}

void TestPainterArea::moveToolDragsAShapeAsOneStep()
{
    TestShape *shape = draw(QPoint(20, 20), QPoint(80, 80), kRed);
    QVERIFY(shape);
    const QPointF start = shape->position();
    m_canvas.area()->setCurrentModule(QStringLiteral("Move"));
    QTest::mousePress(
        m_canvas.window(), Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(QPoint(40, 40)));
    QVERIFY(shape->isChecked());
    QTest::mouseMove(m_canvas.window(), m_canvas.onWindow(QPoint(50, 45)));
    QTest::mouseMove(m_canvas.window(), m_canvas.onWindow(QPoint(70, 60)));
    QTest::mouseRelease(
        m_canvas.window(), Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(QPoint(70, 60)));
    QCOMPARE(shape->position(), start + QPointF(30, 20));
    QCOMPARE(m_canvas.area()->undoStack()->count(), 2);
    QCOMPARE(m_canvas.area()->undoStack()->text(1), QStringLiteral("Move"));
    m_canvas.area()->checkUndo();
    QCOMPARE(shape->position(), start);
}

void TestPainterArea::pressOnAShapeWithADrawingToolStartsANewShape()
{
    TestShape *first = draw(QPoint(20, 20), QPoint(120, 120), kRed);
    TestShape *second = draw(QPoint(50, 50), QPoint(90, 90), kBlue);
    QVERIFY(first && second && first != second);
    QCOMPARE(second->rect(), QRectF(50, 50, 40, 40));
    QCOMPARE(first->rect(), QRectF(20, 20, 100, 100));
}

void TestPainterArea::controlAtTheReleaseFillsTheShape()
{
    m_canvas.area()->setCurrentModule(QStringLiteral("TestRect"));
    QTest::mousePress(
        m_canvas.window(), Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(QPoint(20, 20)));
    QTest::mouseMove(m_canvas.window(), m_canvas.onWindow(QPoint(60, 60)));
    QTest::mouseRelease(
        m_canvas.window(), Qt::LeftButton, Qt::ControlModifier, m_canvas.onWindow(QPoint(60, 60)));
    QTest::mousePress(
        m_canvas.window(), Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(QPoint(100, 20)));
    QTest::mouseMove(m_canvas.window(), m_canvas.onWindow(QPoint(140, 60)));
    QTest::mouseRelease(m_canvas.window(), Qt::LeftButton, Qt::ControlModifier | Qt::ShiftModifier,
        m_canvas.onWindow(QPoint(140, 60)));
    const auto stored = m_canvas.area()->moduleFromName(QStringLiteral("TestRect"))->storage();
    QCOMPARE(stored.size(), 2);
    QVERIFY(stored.at(0)->fill());
    QVERIFY(!stored.at(1)->fill());
}

void TestPainterArea::undoAndRedoAtBothEndsOfTheStack()
{
    TestShape *first = draw(QPoint(20, 20), QPoint(60, 60), kRed);
    m_canvas.area()->setCurrentLineWidth(6);
    TestShape *second = draw(QPoint(100, 20), QPoint(140, 60), kBlue);
    QVERIFY(first && second);
    QCOMPARE(m_canvas.area()->currentItem(), second);
    QSignalSpy blackout(m_canvas.area(), &KPainterArea::updateBlackoutArea);

    m_canvas.area()->checkUndo();
    QVERIFY(!second->isVisible());
    QCOMPARE(m_canvas.area()->currentItem(), first);
    QCOMPARE(m_canvas.area()->currentLineWidth(), first->lineWidth());
    QCOMPARE(m_canvas.area()->currentColor(), kRed);

    m_canvas.area()->checkUndo();
    QVERIFY(!first->isVisible());
    QVERIFY(!m_canvas.area()->canUndo());
    QCOMPARE(m_canvas.area()->currentItem(), first);

    // At the bottom nothing changes, but the overlay still hears of it.
    m_canvas.area()->checkUndo();
    QVERIFY(!first->isVisible());
    QCOMPARE(blackout.count(), 3);

    m_canvas.area()->checkRedo();
    QVERIFY(first->isVisible());
    QVERIFY(!second->isVisible());
    m_canvas.area()->checkRedo();
    QVERIFY(second->isVisible());
    QCOMPARE(m_canvas.area()->currentItem(), second);
    QCOMPARE(m_canvas.area()->currentLineWidth(), 6);
    QVERIFY(!m_canvas.area()->canRedo());
    m_canvas.area()->checkRedo();
    QCOMPARE(m_canvas.area()->undoStack()->index(), 2);
    QCOMPARE(m_canvas.area()->currentItem(), second);
}

void TestPainterArea::pushAfterUndoDropsTheRedoBranch()
{
    draw(QPoint(20, 20), QPoint(60, 60), kRed);
    TestShape *undone = draw(QPoint(100, 20), QPoint(140, 60), kBlue);
    m_canvas.area()->checkUndo();
    QVERIFY(m_canvas.area()->canRedo());
    TestShape *third = draw(QPoint(200, 20), QPoint(240, 60), kRed);
    QVERIFY(third);
    QVERIFY(!m_canvas.area()->canRedo());
    QCOMPARE(m_canvas.area()->undoStack()->count(), 2);
    m_canvas.area()->checkRedo();
    QVERIFY(!undone->isVisible());
    QCOMPARE(m_canvas.area()->currentItem(), third);
}

void TestPainterArea::arrowKeysAndDeleteAreUndoSteps()
{
    TestShape *shape = draw(QPoint(20, 20), QPoint(60, 60), kRed);
    QVERIFY(shape);
    shape->setCheck(true);
    QTRY_VERIFY_WITH_TIMEOUT(shape->hasActiveFocus(), 2000);
    const QPointF start = shape->position();

    QTest::keyClick(m_canvas.window(), Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(shape->position(), start - QPointF(10, 0));
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(m_canvas.window(), Qt::Key_Up);
    QCOMPARE(shape->position(), start - QPointF(10, 3));
    QCOMPARE(m_canvas.area()->undoStack()->count(), 5);

    m_canvas.area()->checkUndo();
    QCOMPARE(shape->position(), start - QPointF(10, 2));
    QCOMPARE(m_canvas.area()->undoStack()->text(4),
        QStringLiteral("Move at %1 %2").arg(start.x() - 10).arg(start.y() - 2));

    QTest::keyClick(m_canvas.window(), Qt::Key_Delete);
    QVERIFY(!shape->isVisible());
    QCOMPARE(shape->parentItem(), m_canvas.area());
    m_canvas.area()->checkUndo();
    QVERIFY(shape->isVisible());
}

void TestPainterArea::colourAndWidthChangesAreUndone()
{
    TestShape *shape = draw(QPoint(20, 20), QPoint(60, 60), kRed);
    QVERIFY(shape);
    shape->setColorX(3);
    m_canvas.area()->pushColorChange(120, 3);
    const QColor changed = shape->color();
    QVERIFY(changed.isValid());
    QVERIFY(changed != kRed);
    QCOMPARE(shape->colorX(), 120);
    m_canvas.area()->checkUndo();
    QCOMPARE(shape->colorX(), 3);
    QVERIFY(shape->color() != changed);
    QCOMPARE(m_canvas.area()->currentColorX(), 3);

    const int width = shape->lineWidth();
    m_canvas.area()->pushLineWidthChange(width + 4, width);
    QCOMPARE(shape->lineWidth(), width + 4);
    QCOMPARE(Setting::instance()->getValue(QStringLiteral("widthColorLine")).toInt(), width + 4);
    m_canvas.area()->checkUndo();
    QCOMPARE(shape->lineWidth(), width);
    QCOMPARE(m_canvas.area()->currentLineWidth(), width);
}

void TestPainterArea::hoverClassifiesTheNineHandles_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("edges");
    QTest::newRow("top left") << 0 << int(Qt::SizeFDiagCursor) << "lt";
    QTest::newRow("top") << 1 << int(Qt::SizeVerCursor) << "ts";
    QTest::newRow("top right") << 2 << int(Qt::SizeBDiagCursor) << "rt";
    QTest::newRow("right") << 3 << int(Qt::SizeHorCursor) << "rs";
    QTest::newRow("bottom right") << 4 << int(Qt::SizeFDiagCursor) << "rb";
    QTest::newRow("bottom") << 5 << int(Qt::SizeVerCursor) << "bs";
    QTest::newRow("left") << 6 << int(Qt::SizeHorCursor) << "ls";
    QTest::newRow("bottom left") << 7 << int(Qt::SizeBDiagCursor) << "lb";
    QTest::newRow("centre") << 8 << int(Qt::SizeAllCursor) << "s";
}

void TestPainterArea::hoverClassifiesTheNineHandles()
{
    QFETCH(int, key);
    QFETCH(int, cursor);
    QFETCH(QString, edges);
    TestShape *shape = draw(QPoint(10, 10), QPoint(110, 60), kRed);
    QVERIFY(shape);
    shape->setCheck(true);
    QCOMPARE(shape->keyPositions().size(), 9);
    const QPointF at = shape->keyPositions().at(key);
    // One pixel off the handle's centre still hits it.
    QTest::mouseMove(m_canvas.window(), m_canvas.onWindow(shape->position() + at + QPointF(1, -1)));
    QTRY_COMPARE_WITH_TIMEOUT(shape->activeKey(), at, 2000);
    QVERIFY(shape->onKey());
    QCOMPARE(int(shape->cursor().shape()), cursor);
    const AbstractGraphItem::Edges e = shape->edges();
    QString found;
    if (e.left)
        found += 'l';
    if (e.right)
        found += 'r';
    if (e.top)
        found += 't';
    if (e.bottom)
        found += 'b';
    if (e.side)
        found += 's';
    QCOMPARE(found, edges);

    // Away from every handle nothing is active.
    QTest::mouseMove(m_canvas.window(), m_canvas.onWindow(shape->position() + QPointF(30, 20)));
    QTRY_VERIFY_WITH_TIMEOUT(!shape->onKey(), 2000);
    QCOMPARE(shape->activeKey(), QPointF());
}

void TestPainterArea::zoomKeepsShapesOnTheirSpots()
{
    TestShape *shape = draw(QPoint(40, 30), QPoint(80, 70), kRed);
    QVERIFY(shape);
    const QPointF start = shape->position();
    m_canvas.area()->setWidth(800);
    QCOMPARE(shape->position(), start * 2);
    m_canvas.area()->setWidth(1600);
    QCOMPARE(shape->position(), start * 4);
    m_canvas.area()->setHeight(1000);
    QCOMPARE(shape->position(), start * 4);
}

void TestPainterArea::qmlPageDrawsAndRenders()
{
    KPainterArea::registerQmlTypes();
    WarningCatcher catcher;
    QQuickView view;
    view.setSource(QUrl(QStringLiteral("data:text/plain,") // inline page of the test
        + QString::fromLatin1(QUrl::toPercentEncoding(
            QStringLiteral("import QtQuick 2.12\n"
                           "import KuvoComponent 1.0\n"
                           "Rectangle {\n"
                           "    width: 320; height: 240; color: 'black'\n"
                           "    KPainterArea { x: 20; y: 10; width: 200; height: 150 }\n"
                           "}\n")))));
    QCOMPARE(view.status(), QQuickView::Ready);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view, 5000));
    auto *area = view.rootObject()->findChild<KPainterArea *>(QStringLiteral("KPainterArea"));
    QVERIFY(area);
    area->setBackground(plainPicture(QSize(200, 150), kBackground));
    area->setCurrentModule(QStringLiteral("TestRect"));
    area->setCurrentColor(kBlue);
    QTest::mousePress(&view, Qt::LeftButton, Qt::NoModifier, QPoint(40, 30));
    QTest::mouseMove(&view, QPoint(70, 60));
    QTest::mouseRelease(&view, Qt::LeftButton, Qt::NoModifier, QPoint(70, 60));
    QVERIFY(area->canUndo());
    area->uncheckAllItem();
    const QImage picture = area->renderRect(QRect(0, 0, 200, 150), 50000, true);
    QCOMPARE(picture.pixelColor(35, 35), kBlue);
    QCOMPARE(picture.pixelColor(60, 60), kBackground);
    area->checkUndo();
    QCOMPARE(area->renderRect(QRect(0, 0, 200, 150), 50000, true).pixelColor(35, 35), kBackground);
    QVERIFY2(catcher.warnings().isEmpty(), qPrintable(catcher.warnings().join('\n')));
}

void TestPainterArea::zValuesStayBelowTheOutputLimit()
{
    TestShape *low = draw(QPoint(20, 20), QPoint(60, 60), kRed);
    TestShape *high = draw(QPoint(40, 40), QPoint(80, 80), kBlue);
    QVERIFY(low && high);
    QCOMPARE(low->z(), 101.0);
    for (int i = 0; i < 6000; ++i) {
        low->setCheck(true);
        low->setCheck(false);
        high->setCheck(true);
        high->setCheck(false);
    }
    QVERIFY(high->z() > low->z());
    QVERIFY(high->z() < 10000);
    m_canvas.area()->uncheckAllItem();
    const QImage picture = m_canvas.area()->renderRect(QRect(0, 0, 400, 300), 10000, false);
    QCOMPARE(picture.pixelColor(30, 30), kRed);
    QCOMPARE(picture.pixelColor(50, 50), kBlue);
}

void TestPainterArea::choosingTools()
{
    QSignalSpy changed(m_canvas.area(), &KPainterArea::currentModuleChanged);
    m_canvas.area()->setCurrentModule(QStringLiteral("TestRect"));
    QCOMPARE(m_canvas.area()->currentModule(), QStringLiteral("TestRect"));
    m_canvas.area()->setCurrentModule(QStringLiteral("TestRect"));
    QCOMPARE(m_canvas.area()->currentModule(), QString());
    QCOMPARE(Setting::instance()->getValue(QStringLiteral("lastGraphTools")).toString(),
        QStringLiteral("TestRect"));

    m_canvas.area()->setCurrentModule(QStringLiteral("NoSuchTool"));
    QCOMPARE(changed.last().first().toString(), QString());
    QCOMPARE(Setting::instance()->getValue(QStringLiteral("lastGraphTools")).toString(),
        QStringLiteral("NoSuchTool"));

    // The move tool checks the current shape and keeps the width the tool bar shows.
    m_canvas.area()->setCurrentModule(QStringLiteral("TestRect"));
    TestShape *shape = draw(QPoint(20, 20), QPoint(60, 60), kRed);
    QVERIFY(shape);
    m_canvas.area()->setCurrentLineWidth(9);
    m_canvas.area()->setCurrentModule(QStringLiteral("Move"));
    QVERIFY(shape->isChecked());
    QCOMPARE(m_canvas.area()->currentLineWidth(), 9);
    QCOMPARE(Setting::instance()->getValue(QStringLiteral("lastGraphTools")).toString(),
        QStringLiteral("Move"));

    // The move tool and the last drawing tool take turns.
    m_canvas.area()->setCurrentModule(QStringLiteral("TestRect"));
    m_canvas.area()->selectLastModule();
    QCOMPARE(m_canvas.area()->currentModule(), QStringLiteral("Move"));
    m_canvas.area()->selectLastModule();
    QCOMPARE(m_canvas.area()->currentModule(), QStringLiteral("TestRect"));

    // A press on empty canvas with no tool draws nothing.
    m_canvas.area()->setCurrentModule(QStringLiteral("TestRect"));
    QCOMPARE(m_canvas.area()->currentModule(), QString());
    const int steps = m_canvas.area()->undoStack()->count();
    QTest::mousePress(
        m_canvas.window(), Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(QPoint(20, 20)));
    QTest::mouseMove(m_canvas.window(), m_canvas.onWindow(QPoint(60, 60)));
    QTest::mouseRelease(
        m_canvas.window(), Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(QPoint(60, 60)));
    QCOMPARE(m_canvas.area()->undoStack()->count(), steps);
}

void TestPainterArea::toolUseIsCounted()
{
    m_canvas.service().reset();
    draw(QPoint(20, 20), QPoint(60, 60), kRed);
    auto used = [this] {
        for (const QJsonValue &request : m_canvas.service().requests(QStringLiteral("/collect"))) {
            const QJsonObject form = request.toObject().value(QStringLiteral("form")).toObject();
            if (form.value(QStringLiteral("ec")) == QLatin1String("tool")
                && form.value(QStringLiteral("ea")) == QLatin1String("use"))
                return form.value(QStringLiteral("el")).toString();
        }
        return QString();
    };
    QTRY_COMPARE_WITH_TIMEOUT(used(), QStringLiteral("TestRect"), 5000);
}

void TestPainterArea::anglePoint_data()
{
    QTest::addColumn<QPointF>("a");
    QTest::addColumn<QPointF>("b");
    QTest::addColumn<QPointF>("c");
    QTest::addColumn<double>("angle");
    QTest::newRow("straight") << QPointF(0, 0) << QPointF(5, 5) << QPointF(10, 10) << M_PI;
    QTest::newRow("right") << QPointF(5, 0) << QPointF(0, 0) << QPointF(0, 7) << M_PI / 2;
    QTest::newRow("same way") << QPointF(2, 0) << QPointF(0, 0) << QPointF(9, 0) << 0.0;
    QTest::newRow("a on b") << QPointF(3, 3) << QPointF(3, 3) << QPointF(9, 0) << qQNaN();
}

void TestPainterArea::anglePoint()
{
    QFETCH(QPointF, a);
    QFETCH(QPointF, b);
    QFETCH(QPointF, c);
    QFETCH(double, angle);
    const double got = angle_point(a, b, c);
    if (std::isnan(angle))
        QVERIFY(std::isnan(got));
    else
        QVERIFY2(std::abs(got - angle) < 1e-6, qPrintable(QString::number(got)));
}

QTEST_MAIN(TestPainterArea)
#include "tst_painterarea.moc"
