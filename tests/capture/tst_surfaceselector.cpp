#include "presscounter.h"
#include "surfaceselector.h"

#include <QPainter>
#include <QQuickWindow>
#include <QScreen>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

// The rubber band of the capture windows, driven by the mouse as a user drives it.
class TestSurfaceSelector : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void dragUpLeftGivesANormalisedSelection();
    void selectionNeedsAnArea_data();
    void selectionNeedsAnArea();
    void pressesInsideTheSelectionReachTheCanvas();
    void spaceMovesTheRectangleBeingDrawn();
    void edgesFollowThePointer_data();
    void edgesFollowThePointer();
    void pointerIsRoundedToWholePixels_data();
    void pointerIsRoundedToWholePixels();
    void selectRectRounding_data();
    void selectRectRounding();
    void sizeLimits_data();
    void sizeLimits();
    void resizeKeepsTheLimit();
    void shadeLeavesTheSelectionClear_data();
    void shadeLeavesTheSelectionClear();
    void unshadedLeavesTheShadeToThePage();
    void fullScreenOnlyWhenAsked();
    void screenIndexIsAlwaysTold();

private:
    void send(QEvent::Type type, QPointF pos, Qt::MouseButtons buttons);
    void drag(QPointF from, QPointF to);
    QImage render() const;

    std::unique_ptr<QQuickWindow> m_window;
    PressCounter *m_below = nullptr;
    SurfaceSelector *m_selector = nullptr;
};

namespace {

const QColor background(0x80, 0x80, 0x80);

// The window's grey with a colour laid over it by Qt's own painter.
QColor over(const QColor &layer)
{
    QImage pixel(1, 1, QImage::Format_RGB32);
    pixel.fill(background);
    QPainter(&pixel).fillRect(pixel.rect(), layer);
    return pixel.pixelColor(0, 0);
}

} // namespace

void TestSurfaceSelector::init()
{
    m_window = std::make_unique<QQuickWindow>();
    m_window->setColor(background);
    m_window->resize(1000, 500);
    m_below = new PressCounter(m_window->contentItem());
    m_below->setSize(QSizeF(1000, 500));
    m_selector = new SurfaceSelector(m_window->contentItem());
    m_selector->setSize(QSizeF(1000, 500));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get(), 5000));
}

void TestSurfaceSelector::cleanup()
{
    m_window.reset();
}

// Fractional positions of a pressed button reach the item only through events made by hand.
void TestSurfaceSelector::send(QEvent::Type type, QPointF pos, Qt::MouseButtons buttons)
{
    // Hovering needs the window system's own path, which carries whole pixels only.
    if (type == QEvent::MouseMove && buttons == Qt::NoButton) {
        QTest::mouseMove(m_window.get(), pos.toPoint());
        return;
    }
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(
        type, pos, pos, m_window->mapToGlobal(pos.toPoint()), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(m_window.get(), &event);
}

void TestSurfaceSelector::drag(QPointF from, QPointF to)
{
    send(QEvent::MouseMove, from, Qt::NoButton);
    send(QEvent::MouseButtonPress, from, Qt::LeftButton);
    send(QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
    send(QEvent::MouseMove, to, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::NoButton);
}

// What the window shows once the scene has drawn the selector's last change.
QImage TestSurfaceSelector::render() const
{
    QSignalSpy swapped(m_window.get(), &QQuickWindow::frameSwapped);
    m_window->update();
    swapped.wait(2000);
    return m_window->screen()->grabWindow(m_window->winId()).toImage();
}

void TestSurfaceSelector::dragUpLeftGivesANormalisedSelection()
{
    QSignalSpy complete(m_selector, &SurfaceSelector::selectComplete);
    QSignalSpy left(m_selector, &SurfaceSelector::rubberRectLeftChanged);
    drag(QPointF(100, 100), QPointF(40, 70));
    QCOMPARE(m_selector->rubberRect(), QRectF(40, 70, 60, 30));
    QCOMPARE(complete.count(), 1);
    QVERIFY(m_selector->isCompleteSelectRect());
    QVERIFY(m_selector->showToolBar());
    QVERIFY(!m_selector->isPress());
    // The pages bind to the edges, so the last word on them is the normalised rectangle.
    QCOMPARE(left.last().at(0).toInt(), 40);
    QCOMPARE(m_selector->rubberRectRight(), 100);
    QCOMPARE(m_selector->selectRect(), QRect(40, 70, 60, 30));
}

void TestSurfaceSelector::selectionNeedsAnArea_data()
{
    QTest::addColumn<QPointF>("to");
    QTest::newRow("click") << QPointF(200, 200);
    QTest::newRow("vertical only") << QPointF(200, 300);
    QTest::newRow("horizontal only") << QPointF(50, 200);
}

void TestSurfaceSelector::selectionNeedsAnArea()
{
    QFETCH(QPointF, to);
    QSignalSpy complete(m_selector, &SurfaceSelector::selectComplete);
    drag(QPointF(200, 200), to);
    QCOMPARE(complete.count(), 0);
    QVERIFY(m_selector->firstDraw());
    QVERIFY(!m_selector->showToolBar());
    QVERIFY(m_selector->selectRect().isNull());
    // Still waiting for a selection: every point belongs to the selector, none to the canvas.
    QVERIFY(m_selector->contains(QPointF(200, 250)));
    QTest::mouseClick(m_window.get(), Qt::LeftButton, Qt::NoModifier, QPoint(200, 250));
    QCOMPARE(m_below->presses, 0);

    drag(QPointF(10, 10), QPointF(30, 40));
    QCOMPARE(complete.count(), 1);
    QCOMPARE(m_selector->rubberRect(), QRectF(10, 10, 20, 30));
}

void TestSurfaceSelector::pressesInsideTheSelectionReachTheCanvas()
{
    drag(QPointF(100, 100), QPointF(300, 200));
    QTest::mouseClick(m_window.get(), Qt::LeftButton, Qt::NoModifier, QPoint(200, 150));
    QCOMPARE(m_below->presses, 1);
    QTest::mouseClick(m_window.get(), Qt::LeftButton, Qt::NoModifier, QPoint(400, 150));
    QCOMPARE(m_below->presses, 1);
}

void TestSurfaceSelector::spaceMovesTheRectangleBeingDrawn()
{
    m_selector->forceActiveFocus();
    send(QEvent::MouseButtonPress, QPointF(100, 100), Qt::LeftButton);
    send(QEvent::MouseMove, QPointF(300, 200), Qt::LeftButton);
    QCOMPARE(m_selector->rubberRect(), QRectF(100, 100, 200, 100));

    QTest::keyPress(m_window.get(), Qt::Key_Space);
    send(QEvent::MouseMove, QPointF(500, 400), Qt::LeftButton);
    QCOMPARE(m_selector->rubberRect(), QRectF(300, 300, 200, 100));
    QTest::keyRelease(m_window.get(), Qt::Key_Space);

    // Drawing goes on from where the move left the rectangle.
    send(QEvent::MouseMove, QPointF(550, 450), Qt::LeftButton);
    QCOMPARE(m_selector->rubberRect(), QRectF(300, 300, 250, 150));
    send(QEvent::MouseButtonRelease, QPointF(550, 450), Qt::NoButton);
    QVERIFY(m_selector->isCompleteSelectRect());
}

void TestSurfaceSelector::edgesFollowThePointer_data()
{
    QTest::addColumn<QPointF>("grip");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QPointF>("delta");
    QTest::addColumn<QRectF>("expected");
    const QPointF d(-5, -5);
    QTest::newRow("left") << QPointF(5, 50) << int(Qt::SizeHorCursor) << d
                          << QRectF(5, 10, 105, 100);
    QTest::newRow("right") << QPointF(120, 50) << int(Qt::SizeHorCursor) << d
                           << QRectF(10, 10, 95, 100);
    QTest::newRow("top") << QPointF(50, 5) << int(Qt::SizeVerCursor) << d
                         << QRectF(10, 5, 100, 105);
    QTest::newRow("bottom") << QPointF(50, 120) << int(Qt::SizeVerCursor) << d
                            << QRectF(10, 10, 100, 95);
    QTest::newRow("top left") << QPointF(5, 5) << int(Qt::SizeFDiagCursor) << d
                              << QRectF(5, 5, 105, 105);
    QTest::newRow("top right") << QPointF(120, 5) << int(Qt::SizeBDiagCursor) << d
                               << QRectF(10, 5, 95, 105);
    QTest::newRow("bottom left") << QPointF(5, 120) << int(Qt::SizeBDiagCursor) << d
                                 << QRectF(5, 10, 105, 95);
    QTest::newRow("bottom right") << QPointF(120, 120) << int(Qt::SizeFDiagCursor) << d
                                  << QRectF(10, 10, 95, 95);
}

void TestSurfaceSelector::edgesFollowThePointer()
{
    QFETCH(QPointF, grip);
    QFETCH(int, cursor);
    QFETCH(QPointF, delta);
    QFETCH(QRectF, expected);
    m_selector->setRubberRect(QRectF(10, 10, 100, 100));
    QSignalSpy complete(m_selector, &SurfaceSelector::selectComplete);

    send(QEvent::MouseMove, QPointF(50, 50), Qt::NoButton);
    send(QEvent::MouseMove, grip, Qt::NoButton);
    QCOMPARE(int(m_selector->cursor().shape()), cursor);
    drag(grip, grip + delta);
    QCOMPARE(m_selector->rubberRect(), expected);
    QCOMPARE(complete.count(), 1);
    QCOMPARE(m_below->presses, 0);
}

void TestSurfaceSelector::pointerIsRoundedToWholePixels_data()
{
    QTest::addColumn<QPointF>("press");
    QTest::addColumn<QPointF>("move");
    QTest::addColumn<QRectF>("expected");
    QTest::newRow("halves up") << QPointF(10.5, 20.5) << QPointF(30.5, 40.5)
                               << QRectF(11, 21, 20, 20);
    QTest::newRow("below half down")
        << QPointF(10.49, 20.2) << QPointF(30.4, 40.49) << QRectF(10, 20, 20, 20);
    QTest::newRow("from the origin")
        << QPointF(0.4, 0.5) << QPointF(7.5, 8.5) << QRectF(0, 1, 8, 8);
}

void TestSurfaceSelector::pointerIsRoundedToWholePixels()
{
    QFETCH(QPointF, press);
    QFETCH(QPointF, move);
    QFETCH(QRectF, expected);
    send(QEvent::MouseButtonPress, press, Qt::LeftButton);
    send(QEvent::MouseMove, move, Qt::LeftButton);
    QCOMPARE(m_selector->rubberRect(), expected);
    QCOMPARE(QPoint(m_selector->gx(), m_selector->gy()), expected.bottomRight().toPoint());
}

void TestSurfaceSelector::selectRectRounding_data()
{
    QTest::addColumn<QRectF>("selection");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("fractions") << QRectF(10.4, 20.6, 99.2, 49.9)
                               << QRect(QPoint(10, 21), QPoint(109, 70));
    QTest::newRow("halves") << QRectF(2.5, 0.5, 10, 10) << QRect(QPoint(3, 1), QPoint(12, 10));
    QTest::newRow("whole") << QRectF(0, 0, 1, 1) << QRect(0, 0, 1, 1);
    QTest::newRow("thinner than a pixel") << QRectF(10.2, 10, 0.2, 50) << QRect();
    QTest::newRow("lower than a pixel") << QRectF(10, 10, 50, 0.4) << QRect();
}

void TestSurfaceSelector::selectRectRounding()
{
    QFETCH(QRectF, selection);
    QFETCH(QRect, expected);
    m_selector->setRubberRect(selection);
    QCOMPARE(m_selector->selectRect(), expected);
    QCOMPARE(m_selector->selectRect().isNull(), expected.isNull());
}

void TestSurfaceSelector::sizeLimits_data()
{
    QTest::addColumn<int>("maxWidth");
    QTest::addColumn<int>("maxHeight");
    QTest::addColumn<QRectF>("selection");
    QTest::addColumn<QRectF>("expected");
    QTest::newRow("width cut by the smaller margin")
        << 300 << -1 << QRectF(100, 0, 250, 50) << QRectF(100, 0, 200, 50);
    QTest::newRow("width within the limit")
        << 300 << -1 << QRectF(900, 0, 80, 50) << QRectF(900, 0, 80, 50);
    QTest::newRow("both margins beyond the limit")
        << 300 << -1 << QRectF(400, 0, 200, 50) << QRectF(400, 0, 0, 50);
    QTest::newRow("height alone") << -1 << 100 << QRectF(0, 10, 50, 300) << QRectF(0, 10, 50, 90);
    QTest::newRow("both") << 300 << 100 << QRectF(100, 10, 250, 300) << QRectF(100, 10, 200, 90);
}

void TestSurfaceSelector::sizeLimits()
{
    QFETCH(int, maxWidth);
    QFETCH(int, maxHeight);
    QFETCH(QRectF, selection);
    QFETCH(QRectF, expected);
    m_selector->setRubberRect(selection);
    QSignalSpy changed(m_selector, &SurfaceSelector::rubberRectChanged);
    m_selector->setMaxSelectWidth(maxWidth);
    m_selector->setMaxSelectHeight(maxHeight);
    QCOMPARE(m_selector->rubberRect(), expected);
    QVERIFY(changed.count() > 0);
    QCOMPARE(m_selector->selectRect().isNull(), expected.width() < 1 || expected.height() < 1);
}

void TestSurfaceSelector::resizeKeepsTheLimit()
{
    m_selector->setMaxSelectWidth(300);
    m_selector->setRubberRect(QRectF(100, 100, 150, 50));
    drag(QPointF(260, 120), QPointF(460, 120));
    QCOMPARE(m_selector->rubberRect(), QRectF(100, 100, 200, 50));
}

void TestSurfaceSelector::shadeLeavesTheSelectionClear_data()
{
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<QColor>("expected");
    const QColor shade = over(SurfaceSelector::shadeColor());
    const QColor guide = over(QColor(255, 255, 255, 0x33));
    QTest::newRow("top band") << QPoint(100, 39) << shade;
    QTest::newRow("left band") << QPoint(49, 41) << shade;
    QTest::newRow("right band") << QPoint(151, 99) << shade;
    QTest::newRow("bottom band") << QPoint(100, 101) << shade;
    QTest::newRow("far corner") << QPoint(999, 499) << shade;
    QTest::newRow("inside") << QPoint(51, 41) << background;
    QTest::newRow("inside far") << QPoint(149, 99) << background;
    QTest::newRow("start guide inside") << QPoint(50, 60) << guide;
    QTest::newRow("stop guide inside") << QPoint(60, 40) << guide;
}

void TestSurfaceSelector::shadeLeavesTheSelectionClear()
{
    QFETCH(QPoint, pixel);
    QFETCH(QColor, expected);
    QSignalSpy bright(m_selector, &SurfaceSelector::brightRectChanged);
    m_selector->setRubberRect(QRectF(50, 40, 100, 60));
    QCOMPARE(render().pixelColor(pixel), expected);
    QCOMPARE(bright.count(), 1);
    QCOMPARE(m_selector->brightRect(), QRectF(50, 40, 100, 60));
}

// A page whose picture shades itself gets the guides alone, and the area to leave bright.
void TestSurfaceSelector::unshadedLeavesTheShadeToThePage()
{
    m_selector->setShaded(false);
    m_selector->setRubberRect(QRectF(50, 40, 100, 60));
    const QImage shown = render();
    QCOMPARE(shown.pixelColor(100, 39), background);
    QCOMPARE(shown.pixelColor(999, 499), background);
    QVERIFY(shown.pixelColor(50, 60).lightness() > background.lightness());
    QCOMPARE(m_selector->brightRect(), QRectF(50, 40, 100, 60));
    m_selector->collapseFromFullScreen();
    QCOMPARE(m_selector->brightRect(), QRectF());
}

void TestSurfaceSelector::fullScreenOnlyWhenAsked()
{
    QSignalSpy toolBar(m_selector, &SurfaceSelector::showToolBarChanged);
    m_selector->checkProperties();
    QVERIFY(m_selector->firstDraw());
    QCOMPARE(toolBar.count(), 0);
    // Waiting for a selection: all shade, but for the cross-hair over the pointer.
    const QImage idle = render();
    const int gx = m_selector->gx(), gy = m_selector->gy();
    const QColor shade = over(SurfaceSelector::shadeColor());
    QCOMPARE(idle.pixelColor((gx + 7) % 1000, (gy + 7) % 500), shade);
    if (QRect(0, 0, 1000, 500).contains(gx, gy))
        QVERIFY(idle.pixelColor(gx, (gy + 7) % 500).lightness() > shade.lightness());

    m_selector->setFullScreen(true);
    m_selector->checkProperties();
    QVERIFY(m_selector->isCompleteSelectRect());
    QCOMPARE(m_selector->rubberRect(), QRectF(0, 0, 1000, 500));
    QCOMPARE(toolBar.count(), 1);

    m_selector->collapseFromFullScreen();
    QVERIFY(m_selector->firstDraw());
    QVERIFY(!m_selector->showToolBar());
    QVERIFY(m_selector->selectRect().isNull());
}

void TestSurfaceSelector::screenIndexIsAlwaysTold()
{
    QSignalSpy index(m_selector, &SurfaceSelector::screenIndexChanged);
    QSignalSpy magnified(m_selector, &SurfaceSelector::isShowMagnifiedChanged);
    m_selector->setScreenIndex(1);
    m_selector->setScreenIndex(1);
    QCOMPARE(index.count(), 2);
    QCOMPARE(m_selector->screenIndex(), 1);
    m_selector->setIsShowMagnified(true);
    m_selector->setIsShowMagnified(true);
    QCOMPARE(magnified.count(), 1);
}

QTEST_MAIN(TestSurfaceSelector)
#include "tst_surfaceselector.moc"
