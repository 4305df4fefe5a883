#include "cursorshapearea.h"
#include "presscounter.h"
#include "wheelarea.h"

#include <QQuickWindow>
#include <QSignalSpy>
#include <QtTest>

// The two small items of the pages: the pointer shape over an element, and the wheel.
class TestQuickItems : public QObject
{
    Q_OBJECT

private slots:
    void cursorShapeChangesOnce();
    void cursorShowsOverTheAreaAndClicksGoThrough();
    void wheelTurns_data();
    void wheelTurns();
};

void TestQuickItems::cursorShapeChangesOnce()
{
    CursorShapeArea area;
    QCOMPARE(area.cursorShape(), Qt::ArrowCursor);
    QSignalSpy changed(&area, &CursorShapeArea::cursorShapeChanged);
    area.setCursorShape(Qt::PointingHandCursor);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(area.cursor().shape(), Qt::PointingHandCursor);
    area.setCursorShape(Qt::PointingHandCursor);
    QCOMPARE(changed.count(), 1);
    area.setProperty("cursorShape", int(Qt::IBeamCursor));
    QCOMPARE(changed.count(), 2);
    QCOMPARE(area.cursorShape(), Qt::IBeamCursor);
}

void TestQuickItems::cursorShowsOverTheAreaAndClicksGoThrough()
{
    QQuickWindow window;
    window.resize(200, 200);
    auto *below = new PressCounter(window.contentItem());
    below->setSize(QSizeF(200, 200));
    auto *area = new CursorShapeArea(window.contentItem());
    area->setPosition(QPointF(50, 50));
    area->setSize(QSizeF(100, 100));
    area->setCursorShape(Qt::PointingHandCursor);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window, 5000));

    QTest::mouseMove(&window, QPoint(100, 100));
    QTRY_COMPARE_WITH_TIMEOUT(window.cursor().shape(), Qt::PointingHandCursor, 2000);
    QTest::mouseMove(&window, QPoint(10, 10));
    QTRY_COMPARE_WITH_TIMEOUT(window.cursor().shape(), Qt::ArrowCursor, 2000);

    QTest::mouseClick(&window, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    QCOMPARE(below->presses, 1);
}

void TestQuickItems::wheelTurns_data()
{
    QTest::addColumn<QPoint>("angle");
    QTest::addColumn<int>("vertical");
    QTest::addColumn<int>("horizontal");

    QTest::newRow("one notch away") << QPoint(0, 120) << 1 << 0;
    QTest::newRow("one notch back") << QPoint(0, -120) << 1 << 0;
    QTest::newRow("sideways") << QPoint(-240, 0) << 0 << 1;
    QTest::newRow("both ways") << QPoint(30, 60) << 1 << 1;
    // A turn that moves neither way is left to the items below.
    QTest::newRow("no turn") << QPoint(0, 0) << 0 << 0;
}

void TestQuickItems::wheelTurns()
{
    QFETCH(QPoint, angle);
    QFETCH(int, vertical);
    QFETCH(int, horizontal);

    QQuickWindow window;
    window.resize(200, 200);
    auto *area = new WheelArea(window.contentItem());
    area->setSize(QSizeF(200, 200));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window, 5000));
    QSignalSpy down(area, &WheelArea::verticalWheel);
    QSignalSpy across(area, &WheelArea::horizontalWheel);

    QWheelEvent event(QPointF(100, 100), window.mapToGlobal(QPoint(100, 100)), QPoint(), angle,
        Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&window, &event);
    QCOMPARE(down.count(), vertical);
    QCOMPARE(across.count(), horizontal);
    if (vertical)
        QCOMPARE(down.first().first().toInt(), angle.y());
    if (horizontal)
        QCOMPARE(across.first().first().toInt(), angle.x());
    QCOMPARE(event.isAccepted(), vertical + horizontal > 0);
}

QTEST_MAIN(TestQuickItems)
#include "tst_quickitems.moc"
