#include "arrowwidget.h"
#include "keysequencebox.h"
#include "quicktestsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QQuickItem>
#include <QScreen>
#include <QtTest>

namespace {

const QSize kArrowSize(70, 160);

// What the X server shows there, read back from the root window.
QImage onScreen(const QRect &area)
{
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// A translucent picture as the X server shows it over the black desktop of the tests: the
// desktop through the clear parts (or, without a compositing manager, the black the window
// is cleared to: the same here).
QImage overBlack(const QImage &picture, QPoint at, QSize size, double opacity = 1.0)
{
    QImage shown(size, QImage::Format_RGB32);
    shown.fill(Qt::black);
    QPainter painter(&shown);
    painter.setOpacity(opacity);
    painter.drawImage(at, picture);
    return shown;
}

bool allBlack(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) > 8)
                return false;
    return true;
}

int brightPixels(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qGray(image.pixel(x, y)) > 200;
    return count;
}

// The offset at which the screen shows the whole arrow in its window, or -1.
int arrowOffset(const QRect &window, const QImage &picture)
{
    const QImage shown = onScreen(window);
    for (int offset = 0; offset <= 40; offset += 2) {
        if (samePicture(shown, overBlack(picture, QPoint(0, offset), window.size()), 3))
            return offset;
    }
    return -1;
}

// Pictures for a person to look at, when KUVO_HINT_SHOTS names a folder.
void keepShot(const QString &name)
{
    const QString folder = qEnvironmentVariable("KUVO_HINT_SHOTS");
    if (!folder.isEmpty())
        onScreen(QGuiApplication::primaryScreen()->geometry())
            .save(QDir(folder).filePath(name + QLatin1String(".png")));
}

} // namespace

// The two hints on a real X server with a window manager (1280 x 800), seen in screenshots of
// the root window.
class TestHintsX11 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void arrowPointsAtTargetBobsAndCloses_data();
    void arrowPointsAtTargetBobsAndCloses();
    void keyBoxShowsTheCapsThenFades();
};

void TestHintsX11::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    QVERIFY(allBlack(onScreen(QRect(0, 0, 1280, 800))));
}

void TestHintsX11::arrowPointsAtTargetBobsAndCloses_data()
{
    QTest::addColumn<QRect>("target");
    QTest::addColumn<QRect>("window");
    QTest::addColumn<QString>("picture");

    QTest::newRow("lower half: above, pointing down") << QRect(600, 560, 120,
        80) << QRect(QPoint(582, 400), kArrowSize) << ":/images/images/arrow_down.png";
    QTest::newRow("upper half: below its top, pointing up") << QRect(600, 120, 120,
        80) << QRect(QPoint(582, 150), kArrowSize) << ":/images/images/arrow.png";
}

void TestHintsX11::arrowPointsAtTargetBobsAndCloses()
{
    QFETCH(QRect, target);
    QFETCH(QRect, window);
    QFETCH(QString, picture);
    const QImage arrow(picture);
    const QRect screen(0, 0, 1280, 800);

    ArrowWidget widget(target);
    widget.startAnimation();
    QTRY_VERIFY_WITH_TIMEOUT(arrowOffset(window, arrow) >= 0, 3000);
    keepShot(QStringLiteral("arrow at %1").arg(window.top()));
    // Nothing of it anywhere else on the screen.
    QImage elsewhere = onScreen(screen);
    QPainter(&elsewhere).fillRect(window, Qt::black);
    QVERIFY(allBlack(elsewhere));

    // It bobs: the screen shows it at other heights too.
    QSet<int> offsets;
    QElapsedTimer clock;
    clock.start();
    while (offsets.size() < 4 && clock.elapsed() < 4000) {
        const int offset = arrowOffset(window, arrow);
        if (offset >= 0)
            offsets.insert(offset);
        QTest::qWait(30);
    }
    QVERIFY2(offsets.size() >= 4, qPrintable(QString::number(offsets.size())));

    // Then fades and closes, leaving the screen as it was.
    QTRY_VERIFY_WITH_TIMEOUT(allBlack(onScreen(screen)), 12000);
    QVERIFY(!widget.isVisible());
}

void TestHintsX11::keyBoxShowsTheCapsThenFades()
{
    KeySequenceBox box;
    box.setPosition(200, 300);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QElapsedTimer clock;
    clock.start();
    box.setKeySequence(QStringLiteral("Ctrl + Shift + Print"));
    QQuickItem *page = box.rootObject();
    QTRY_COMPARE(page->opacity(), 1.0);
    QTRY_COMPARE(box.size(), page->size().toSize());
    const QRect area(box.position(), box.size());

    // The screen shows the page as it is drawn.
    QTRY_VERIFY_WITH_TIMEOUT(
        samePicture(onScreen(area), overBlack(box.grabWindow(), {}, area.size()), 3), 3000);
    keepShot(QStringLiteral("key box"));
    // Three caps with white names: Ctrl, Shift and the key, and no Alt.
    QVERIFY(!findSceneItem(page, QStringLiteral("AltCap"))->isVisible());
    int lastLeft = -1;
    for (const char *name : {"CtrlCap", "ShiftCap", "keyCap"}) {
        QQuickItem *cap = findSceneItem(page, QLatin1String(name));
        QVERIFY2(cap && cap->isVisible(), name);
        // The cap alone, without the plus sign after it.
        QQuickItem *face = cap->childItems().first();
        const QRect onPage = face->mapRectToScene(QRectF(QPointF(), face->size())).toRect();
        QVERIFY2(onPage.left() > lastLeft, name);
        lastLeft = onPage.left();
        QVERIFY2(brightPixels(onScreen(onPage.translated(area.topLeft()))) > 20, name);
    }
    QCOMPARE(findSceneItem(page, QStringLiteral("keyText"))->property("text").toString(),
        QStringLiteral("Print"));

    // Three seconds later the box fades away, and the window stays.
    QTRY_VERIFY_WITH_TIMEOUT(allBlack(onScreen(area)), 8000);
    QVERIFY2(clock.elapsed() >= 3000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(box.isVisible());
}

QTEST_MAIN(TestHintsX11)
#include "tst_hintsx11.moc"
