#include "core.h"
#include "coretestsupport.h"
#include "errorwidget.h"
#include "lastuploadwidget.h"
#include "messagedialog.h"
#include "settingwidget.h"
#include "windowtestsupport.h"

#include <QCloseEvent>
#include <QScreen>

// The window base and the small windows built on it, each on the offscreen 800x600 screen.
class TestBasicWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void dataStoreSignalsEveryValue();
    void pageThatDoesNotLoadIsLogged();
    void placement_data();
    void placement();
    void shownWindowsKeepToTheScreen();
    void dragBand_data();
    void dragBand();
    void maskCutsTheCorners_data();
    void maskCutsTheCorners();
    void closeEventSaysClosedOnce();
    void escapeClosesUnlessThePageTakesIt_data();
    void escapeClosesUnlessThePageTakesIt();
    void messageDialogAnswers_data();
    void messageDialogAnswers();
    void errorWindowShowsItsText();
    void lastUploadWindowRestartsItsPeriod();
    void settingsWindowStaysWhereDragged();

private:
    QUrl page(const QByteArray &qml);

    StandinService m_service;
    QTemporaryDir m_pages;
    int m_pageCount = 0;
};

void TestBasicWindow::initTestCase()
{
    QVERIFY(m_service.start());
    pointAt(m_service);
    QVERIFY(Core::instance());
}

// A page of the test's own, as a file: a window takes its page by address.
QUrl TestBasicWindow::page(const QByteArray &qml)
{
    QFile file(m_pages.filePath(QStringLiteral("page%1.qml").arg(++m_pageCount)));
    if (!file.open(QIODevice::WriteOnly))
        return QUrl();
    file.write("import QtQuick 2.12\n" + qml);
    return QUrl::fromLocalFile(file.fileName());
}

void TestBasicWindow::dataStoreSignalsEveryValue()
{
    ProbeWindow window;
    QSignalSpy changed(&window, &BasicWindow::dataChanged);
    QVERIFY(!window.data(QStringLiteral("title")).isValid());
    window.setData(QStringLiteral("title"), QStringLiteral("First"));
    window.setData(QStringLiteral("title"), QStringLiteral("First"));
    window.setData(QStringLiteral("title"), QStringLiteral("Second"));
    QCOMPARE(changed.count(), 3);
    QCOMPARE(changed.at(1).at(0).toString(), QStringLiteral("title"));
    QCOMPARE(changed.at(1).at(1).toString(), QStringLiteral("First"));
    QCOMPARE(window.data(QStringLiteral("title")).toString(), QStringLiteral("Second"));
}

namespace {

// A window whose page is not in the program.
class MissingPageWindow : public BasicWindow
{
public:
    MissingPageWindow() { setupUi(); }
    bool loaded = true;

protected:
    void init() override { loaded = loadPage(QStringLiteral("NoSuchPage.qml")); }
};

} // namespace

void TestBasicWindow::pageThatDoesNotLoadIsLogged()
{
    MissingPageWindow window;
    QVERIFY(!window.loaded);
    QVERIFY(!window.rootObject());
    window.show();
    window.close();
    QFile log(QDir::homePath() + QStringLiteral("/.kuvo/error.log"));
    QVERIFY(log.open(QIODevice::ReadOnly));
    QVERIFY(log.readAll().contains("The page NoSuchPage.qml could not be loaded"));
}

void TestBasicWindow::placement_data()
{
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("centred");
    QTest::addColumn<QPoint>("position");

    const QRect offscreen(0, 0, 800, 600);
    QTest::newRow("centre") << offscreen << QSize(300, 201) << true << QPoint(250, 200);
    QTest::newRow("corner") << offscreen << QSize(300, 200) << false << QPoint(500, 400);
    // A second monitor to the right, with a panel along its top.
    const QRect right(1920, 30, 1280, 994);
    QTest::newRow("centre, right monitor") << right << QSize(400, 300) << true << QPoint(2360, 377);
    QTest::newRow("corner, right monitor")
        << right << QSize(400, 300) << false << QPoint(2800, 724);
    // A monitor to the left of the primary one, with a panel down its left side.
    const QRect left(-1232, 0, 1232, 1024);
    QTest::newRow("centre, left monitor") << left << QSize(400, 300) << true << QPoint(-816, 362);
    QTest::newRow("corner, left monitor") << left << QSize(400, 300) << false << QPoint(-400, 724);
    QTest::newRow("larger than the area") << right << QSize(1400, 1100) << true << QPoint(1920, 30);
    QTest::newRow("larger, in the corner")
        << right << QSize(1400, 1100) << false << QPoint(1920, 30);
}

void TestBasicWindow::placement()
{
    QFETCH(QRect, available);
    QFETCH(QSize, size);
    QFETCH(bool, centred);
    QFETCH(QPoint, position);
    QCOMPARE(BasicWindow::placement(available, size, centred), position);
}

void TestBasicWindow::shownWindowsKeepToTheScreen()
{
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    ProbeWindow window(page("Item { width: 300; height: 200 }"));
    window.show();
    QCOMPARE(window.size(), QSize(300, 200));
    QCOMPARE(window.position(), BasicWindow::placement(available, window.size(), false));
    QVERIFY(available.contains(window.geometry()));

    window.setPosCenter(true);
    QCOMPARE(window.position(), BasicWindow::placement(available, window.size(), true));

    // A taller page grows the window upwards from its corner.
    window.setPosCenter(false);
    window.setHeight(260);
    QTRY_COMPARE_WITH_TIMEOUT(window.height(), 260, 2000);
    QCOMPARE(window.position(), BasicWindow::placement(available, QSize(300, 260), false));
}

void TestBasicWindow::dragBand_data()
{
    QTest::addColumn<int>("y");
    QTest::addColumn<bool>("moviable");
    QTest::addColumn<bool>("moves");

    QTest::newRow("above the band") << 30 << true << false;
    QTest::newRow("top of the band") << 31 << true << true;
    QTest::newRow("bottom of the band") << 59 << true << true;
    QTest::newRow("below the band") << 60 << true << false;
    QTest::newRow("window not draggable") << 45 << false << false;
}

void TestBasicWindow::dragBand()
{
    QFETCH(int, y);
    QFETCH(bool, moviable);
    QFETCH(bool, moves);

    ProbeWindow window(page("Item { width: 300; height: 200 }"));
    window.setMoviable(moviable);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window, 5000));
    const QPoint start = window.position();

    // The pointer moves by (40, 25) on the screen; a window that follows it has it at the
    // same place inside as before.
    QTest::mousePress(&window, Qt::LeftButton, Qt::NoModifier, QPoint(100, y));
    QTest::mouseMove(&window, QPoint(140, y + 25));
    const QPoint released = moves ? QPoint(100, y) : QPoint(140, y + 25);
    QTest::mouseRelease(&window, Qt::LeftButton, Qt::NoModifier, released);
    QCOMPARE(window.position(), moves ? start + QPoint(40, 25) : start);
    QCOMPARE(window.isMoved(), moves);

    if (moves) {
        // Once the user has placed it, a change of height leaves the window there.
        window.setHeight(240);
        QTRY_COMPARE_WITH_TIMEOUT(window.height(), 240, 2000);
        QCOMPARE(window.position(), start + QPoint(40, 25));
    }
}

void TestBasicWindow::maskCutsTheCorners_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("lower than the corner picture") << QSize(400, 300);
    QTest::newRow("larger than the corner picture") << QSize(600, 700);
    QTest::newRow("tiny") << QSize(40, 20);
}

void TestBasicWindow::maskCutsTheCorners()
{
    QFETCH(QSize, size);
    const int w = size.width();
    const int h = size.height();
    const QRegion mask = BasicWindow::roundedMask(
        size, QPixmap(QStringLiteral(":/image/image/image/rounded_edge.png")));

    const QList<QPoint> cut
        = {{0, 0}, {1, 0}, {0, 1}, {w - 1, 0}, {w - 2, 0}, {w - 1, 1}, {0, h - 1}, {w - 1, h - 1}};
    for (const QPoint &point : cut)
        QVERIFY2(!mask.contains(point),
            qPrintable(QStringLiteral("%1,%2 is not cut").arg(point.x()).arg(point.y())));
    const QList<QPoint> kept = {{2, 0}, {1, 1}, {w - 3, 0}, {w - 2, 1}, {0, 2}, {1, h - 1},
        {w - 2, h - 1}, {0, h - 2}, {w - 1, h - 2}, {w / 2, h / 2}, {w / 2, 0}, {0, h / 2}};
    for (const QPoint &point : kept)
        QVERIFY2(mask.contains(point),
            qPrintable(QStringLiteral("%1,%2 is cut").arg(point.x()).arg(point.y())));
    QCOMPARE(mask.boundingRect(), QRect(QPoint(0, 0), size));

    // A shown window carries that mask.
    ProbeWindow window(
        page(QStringLiteral("Item { width: %1; height: %2 }").arg(w).arg(h).toUtf8()));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window, 5000));
    QTRY_COMPARE_WITH_TIMEOUT(window.mask(), mask, 2000);
}

void TestBasicWindow::closeEventSaysClosedOnce()
{
    ProbeWindow window(page("Item { width: 200; height: 100 }"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window, 5000));
    QSignalSpy closed(&window, &BasicWindow::closed);

    // What the window manager sends for Alt+F4 or a panel's "Close".
    QCloseEvent event;
    QCoreApplication::sendEvent(&window, &event);
    QCOMPARE(closed.count(), 1);
    QVERIFY(!window.isVisible());

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window, 5000));
    window.close();
    QCOMPARE(closed.count(), 2);
    QVERIFY(!window.isVisible());
}

void TestBasicWindow::escapeClosesUnlessThePageTakesIt_data()
{
    QTest::addColumn<QByteArray>("qml");
    QTest::addColumn<bool>("closes");

    QTest::newRow("page ignores Escape")
        << QByteArray("Item { width: 200; height: 100; focus: true }") << true;
    QTest::newRow("page takes Escape")
        << QByteArray("Item { width: 200; height: 100; focus: true;"
                      " Keys.onEscapePressed: event.accepted = true }")
        << false;
}

void TestBasicWindow::escapeClosesUnlessThePageTakesIt()
{
    QFETCH(QByteArray, qml);
    QFETCH(bool, closes);

    ProbeWindow window(page(qml));
    window.show();
    window.requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(&window, 5000));
    QSignalSpy closed(&window, &BasicWindow::closed);
    QTest::keyClick(&window, Qt::Key_A);
    QCOMPARE(closed.count(), 0);
    QTest::keyClick(&window, Qt::Key_Escape);
    QCOMPARE(closed.count(), closes ? 1 : 0);
    QCOMPARE(window.isVisible(), !closes);
}

void TestBasicWindow::messageDialogAnswers_data()
{
    QTest::addColumn<bool>("question");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("result");

    QTest::newRow("information, OK") << false << "pbOk" << 0;
    QTest::newRow("question, OK") << true << "pbOk" << 0;
    QTest::newRow("question, Cancel") << true << "pbCancel" << 1;
    QTest::newRow("question, Escape") << true << QString() << -1;
    QTest::newRow("information, Escape") << false << QString() << -1;
}

void TestBasicWindow::messageDialogAnswers()
{
    QFETCH(bool, question);
    QFETCH(QString, button);
    QFETCH(int, result);

    MessageDialog dialog;
    if (question)
        dialog.questions(QStringLiteral("Warning"), QStringLiteral("Go on?"));
    else
        dialog.information(QStringLiteral("Note"), QStringLiteral("Done."));
    dialog.show();
    dialog.requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(&dialog, 5000));
    QCOMPARE(findItem(&dialog, QStringLiteral("message"))->property("text").toString(),
        question ? QStringLiteral("Go on?") : QStringLiteral("Done."));
    QCOMPARE(findItem(&dialog, QStringLiteral("pbCancel"))->isVisible(), question);

    QSignalSpy answered(&dialog, &MessageDialog::result);
    QSignalSpy closed(&dialog, &BasicWindow::closed);
    if (button.isEmpty())
        QTest::keyClick(&dialog, Qt::Key_Escape);
    else
        clickItem(&dialog, findItem(&dialog, button));
    QCOMPARE(closed.count(), 1);
    if (result < 0) {
        QCOMPARE(answered.count(), 0);
    } else {
        QCOMPARE(answered.count(), 1);
        QCOMPARE(answered.first().first().toInt(), result);
    }
}

void TestBasicWindow::errorWindowShowsItsText()
{
    ErrorWidget window(QStringLiteral("First problem"));
    window.show();
    QQuickItem *text = findItem(&window, QStringLiteral("errorText"));
    QVERIFY(text);
    QCOMPARE(text->property("text").toString(), QStringLiteral("First problem"));
    window.setError(QStringLiteral("Second problem"));
    QCOMPARE(text->property("text").toString(), QStringLiteral("Second problem"));
    QCOMPARE(window.error(), QStringLiteral("Second problem"));
}

void TestBasicWindow::lastUploadWindowRestartsItsPeriod()
{
    LastUploadWidget window;
    auto *timer = window.findChild<QTimer *>(QStringLiteral("hideTimer"));
    QVERIFY(timer);
    window.show();
    QVERIFY(window.isVisible());
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 10000);
    QTest::qWait(400);
    const int left = timer->remainingTime();
    QVERIFY2(left <= 9700, qPrintable(QString::number(left)));

    window.show();
    QVERIFY2(timer->remainingTime() > left + 250,
        qPrintable(QStringLiteral("%1 after %2").arg(timer->remainingTime()).arg(left)));

    // What the period ends in: the window goes out of sight.
    timer->start(20);
    QTRY_VERIFY_WITH_TIMEOUT(!window.isVisible(), 2000);
}

void TestBasicWindow::settingsWindowStaysWhereDragged()
{
    SettingWidget window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window, 5000));
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    // 315 px above the middle would be above a 600 px screen: it stops at the top.
    QCOMPARE(window.position(),
        QPoint(available.width() / 2 - window.width() / 2,
            qMax(available.y(), available.height() / 2 - SettingWidget::kTopAboveMiddle)));

    QTest::mousePress(&window, Qt::LeftButton, Qt::NoModifier, QPoint(200, 40));
    QTest::mouseMove(&window, QPoint(230, 60));
    QTest::mouseRelease(&window, Qt::LeftButton, Qt::NoModifier, QPoint(200, 40));
    const QPoint dragged = window.position();
    QVERIFY(window.isMoved());
    QVERIFY(dragged != QPoint(available.width() / 2 - window.width() / 2, 0));

    window.hide();
    window.show();
    QVERIFY(window.isVisible());
    QCOMPARE(window.position(), dragged);
}

QTEST_MAIN(TestBasicWindow)
#include "tst_basicwindow.moc"
