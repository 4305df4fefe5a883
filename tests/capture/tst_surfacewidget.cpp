#include "pictureformat.h"
#include "surfacewidget.h"

#include <QBuffer>
#include <QImageReader>
#include <QQuickItem>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// Every pixel differs, so any shift between the grab, the canvas and the output shows.
QImage uniquePicture(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixelColor(x, y, QColor(x & 0xff, y & 0xff, (x >> 8) * 0x40 + 0x20));
    return image;
}

QStringList s_warnings;
void keepWarnings(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    // The offscreen platform says so when a window asks for what it cannot do (raise, masks).
    const bool platformNotice = text.startsWith(QLatin1String("This plugin does not support"));
    if (type != QtDebugMsg && type != QtInfoMsg && !platformNotice)
        s_warnings << text;
}

} // namespace

// The capture view over a known grab: what it selects and renders, the mouse rules, and that
// no output leaves it without a selection.
class TestSurfaceWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void formatFollowsQualitySetting_data();
    void formatFollowsQualitySetting();
    void failedWriteKeepsTheOldFile();
    void screensOfDifferentHeightsComposeOnBlack();
    void selectRectRoundsToWholePixels();
    void backgroundReachesThePageAndTheCanvas();
    void outputNeedsASelection_data();
    void outputNeedsASelection();
    void clipboardCopyWaitsOnceAndDiesWithTheView();
    void rightButtonUploadsOnlyASelection();
    void doubleClickTogglesTheWholeView();
    void dragMovesAFinishedSelection();
    void openingOnOneScreenLogsAndPresetsTheSelection();

private:
    void select(QPoint from, QPoint to);

    QImage m_picture;
    std::unique_ptr<SurfaceWidget> m_view;
    QtMessageHandler m_previousHandler = nullptr;
};

void TestSurfaceWidget::initTestCase()
{
    const QRect desktop = QGuiApplication::primaryScreen()->geometry();
    m_picture = uniquePicture(desktop.size());
    SurfaceWidget::setGrabber(
        [this](const QRect &rect) { return QPixmap::fromImage(m_picture.copy(rect)); });
}

void TestSurfaceWidget::init()
{
    s_warnings.clear();
    m_previousHandler = qInstallMessageHandler(&keepWarnings);
    m_view = std::make_unique<SurfaceWidget>();
    QVERIFY(m_view->isLoaded());
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get(), 5000));
}

void TestSurfaceWidget::cleanup()
{
    m_view.reset();
    qInstallMessageHandler(m_previousHandler);
    QVERIFY2(s_warnings.isEmpty(), qPrintable(s_warnings.join(QLatin1Char('\n'))));
}

void TestSurfaceWidget::select(QPoint from, QPoint to)
{
    QTest::mouseMove(m_view.get(), from);
    QTest::mousePress(m_view.get(), Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(m_view.get(), (from + to) / 2);
    QTest::mouseMove(m_view.get(), to);
    QTest::mouseRelease(m_view.get(), Qt::LeftButton, Qt::NoModifier, to);
}

void TestSurfaceWidget::formatFollowsQualitySetting_data()
{
    QTest::addColumn<QVariant>("setting");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<int>("jpegQuality");

    QTest::newRow("0") << QVariant(0) << QByteArray("jpeg") << ".jpg" << 90;
    QTest::newRow("1 as text") << QVariant("1") << QByteArray("jpeg") << ".jpg" << 100;
    QTest::newRow("1.7 truncated") << QVariant(1.7) << QByteArray("jpeg") << ".jpg" << 100;
    QTest::newRow("2") << QVariant(2) << QByteArray("png") << ".png" << -1;
    QTest::newRow("negative") << QVariant(-1) << QByteArray("png") << ".png" << -1;
    QTest::newRow("junk") << QVariant("junk") << QByteArray("png") << ".png" << -1;
    QTest::newRow("unset") << QVariant() << QByteArray("png") << ".png" << -1;
}

// Written and read back: the bytes on disk are what the name promises.
void TestSurfaceWidget::formatFollowsQualitySetting()
{
    QFETCH(QVariant, setting);
    QFETCH(QByteArray, format);
    QFETCH(QString, extension);
    QFETCH(int, jpegQuality);

    const PictureFormat chosen = PictureFormat::fromSetting(setting);
    QCOMPARE(chosen.extension(), extension);
    QCOMPARE(chosen.withExtension("shot"), "shot" + extension);
    QCOMPARE(chosen.withExtension("shot" + extension.toUpper()), "shot" + extension.toUpper());
    if (jpegQuality >= 0)
        QCOMPARE(chosen.quality(), jpegQuality);

    QTemporaryDir dir;
    const QString file = dir.filePath("shot" + extension);
    QString problem;
    const QImage picture = m_picture.copy(0, 0, 64, 48);
    QVERIFY2(chosen.write(picture, file, &problem), qPrintable(problem));
    QImageReader reader(file);
    QCOMPARE(reader.format(), format);
    const QImage back = reader.read();
    QCOMPARE(back.size(), picture.size());
    if (format == "png")
        QCOMPARE(back.convertToFormat(QImage::Format_RGB32), picture);
}

void TestSurfaceWidget::failedWriteKeepsTheOldFile()
{
    QTemporaryDir dir;
    const PictureFormat png = PictureFormat::fromSetting(2);
    QString problem;
    QVERIFY(!png.write(m_picture, dir.path() + "/missing/shot.png", &problem));
    QVERIFY(!problem.isEmpty());
    QVERIFY(!QFile::exists(dir.path() + "/missing/shot.png"));

    const QString existing = dir.filePath("old.png");
    QVERIFY(png.write(m_picture.copy(0, 0, 8, 8), existing, &problem));
    problem.clear();
    QVERIFY(!png.write(QImage(), existing, &problem));
    QVERIFY(!problem.isEmpty());
    QCOMPARE(QImage(existing).size(), QSize(8, 8));
}

void TestSurfaceWidget::screensOfDifferentHeightsComposeOnBlack()
{
    // A tall screen on the left, a lower one right of it, as 1920x1080 beside 1280x720.
    const QList<QRect> screens {QRect(0, 0, 192, 108), QRect(192, 0, 128, 72)};
    QList<QRect> grabbed;
    const QPixmap picture = SurfaceWidget::composeScreens(screens, [&](const QRect &rect) {
        grabbed << rect;
        QPixmap part(rect.size());
        part.fill(rect.x() == 0 ? Qt::red : Qt::green);
        return part;
    });
    QCOMPARE(grabbed, screens);
    const QImage image = picture.toImage();
    QCOMPARE(image.size(), QSize(320, 108));
    QCOMPARE(image.pixelColor(0, 107), QColor(Qt::red));
    QCOMPARE(image.pixelColor(191, 0), QColor(Qt::red));
    QCOMPARE(image.pixelColor(192, 0), QColor(Qt::green));
    QCOMPARE(image.pixelColor(319, 71), QColor(Qt::green));
    QCOMPARE(image.pixelColor(192, 72), QColor(Qt::black));
    QCOMPARE(image.pixelColor(319, 107), QColor(Qt::black));

    // A screen left of and above the origin still lands inside the picture.
    const QImage shifted = SurfaceWidget::composeScreens(
        {QRect(-50, -20, 50, 20), QRect(0, 0, 30, 30)}, [](const QRect &rect) {
            QPixmap part(rect.size());
            part.fill(Qt::blue);
            return part;
        }).toImage();
    QCOMPARE(shifted.size(), QSize(80, 50));
    QCOMPARE(shifted.pixelColor(0, 0), QColor(Qt::blue));
    QCOMPARE(shifted.pixelColor(79, 49), QColor(Qt::blue));
    QCOMPARE(shifted.pixelColor(0, 49), QColor(Qt::black));
}

void TestSurfaceWidget::selectRectRoundsToWholePixels()
{
    m_view->selector()->setRubberRect(QRectF(10.4, 20.6, 99.2, 49.9));
    QCOMPARE(m_view->selectRect(), QRect(QPoint(10, 21), QPoint(109, 70)));
    QVERIFY(m_view->hasSelection());
    m_view->selector()->setRubberRect(QRectF(10, 10, 0.4, 30));
    QVERIFY(!m_view->hasSelection());
    QVERIFY(m_view->renderRubberRect().isNull());
}

void TestSurfaceWidget::backgroundReachesThePageAndTheCanvas()
{
    QCOMPARE(m_view->background().toImage().convertToFormat(QImage::Format_RGB32), m_picture);
    QCOMPARE(m_view->paintArea()->background().convertToFormat(QImage::Format_RGB32), m_picture);
    const QString prefix = "data:image/png;base64,";
    const QString url = m_view->requestBackground();
    QVERIFY(url.startsWith(prefix));
    const QImage decoded
        = QImage::fromData(QByteArray::fromBase64(url.mid(prefix.size()).toLatin1()), "PNG");
    QCOMPARE(decoded.convertToFormat(QImage::Format_RGB32), m_picture);

    select(QPoint(30, 40), QPoint(130, 90));
    const QRect rect = m_view->selectRect();
    QCOMPARE(rect, QRect(30, 40, 100, 50));
    QCOMPARE(m_view->renderRubberRect().toImage().convertToFormat(QImage::Format_RGB32),
        m_picture.copy(rect));

    m_view->setBackground(QPixmap());
    QCOMPARE(m_view->requestBackground(), prefix);
}

void TestSurfaceWidget::outputNeedsASelection_data()
{
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<int>("postAction");
    QTest::addColumn<bool>("selected");
    const QList<QPair<QByteArray, int>> actions {{"uploadScreen", 0}, {"saveScreen", 0},
        {"screenSaveToClipboard", 0}, {"screenPostVK", SurfaceWidget::PostVK},
        {"screenPostOdnoklassniki", SurfaceWidget::PostOdnoklassniki},
        {"screenPostFacebook", SurfaceWidget::PostFacebook},
        {"screenPostTwitter", SurfaceWidget::PostTwitter},
        {"screenPostMail", SurfaceWidget::PostMail}};
    for (const auto &action : actions) {
        QTest::newRow(QByteArray(action.first + " without selection").constData())
            << action.first << action.second << false;
        QTest::newRow(QByteArray(action.first + " with selection").constData())
            << action.first << action.second << true;
    }
}

void TestSurfaceWidget::outputNeedsASelection()
{
    QFETCH(QByteArray, method);
    QFETCH(int, postAction);
    QFETCH(bool, selected);
    // One pixel wide is a selection; less is none, however tall.
    m_view->selector()->setRubberRect(selected ? QRectF(5, 5, 1, 30) : QRectF(5, 5, 0.4, 300));
    QSignalSpy upload(m_view.get(), &SurfaceWidget::uploadedScreen);
    QSignalSpy save(m_view.get(), &SurfaceWidget::saveScreenRequested);
    QSignalSpy clipboard(m_view.get(), &SurfaceWidget::clipboardRequested);
    QSignalSpy post(m_view.get(), &SurfaceWidget::postRequested);
    QVERIFY(QMetaObject::invokeMethod(m_view.get(), method.constData()));
    if (method == "screenSaveToClipboard")
        clipboard.wait(1000);
    const int expected = selected ? 1 : 0;
    QCOMPARE(upload.count(), method == "uploadScreen" ? expected : 0);
    QCOMPARE(save.count(), method == "saveScreen" ? expected : 0);
    QCOMPARE(clipboard.count(), method == "screenSaveToClipboard" ? expected : 0);
    QCOMPARE(post.count(), postAction ? expected : 0);
    if (postAction && selected)
        QCOMPARE(post.first().first().toInt(), postAction);
}

void TestSurfaceWidget::clipboardCopyWaitsOnceAndDiesWithTheView()
{
    m_view->selector()->setRubberRect(QRectF(10, 10, 50, 50));
    QSignalSpy hide(m_view.get(), &SurfaceWidget::hideToolBar);
    QSignalSpy clipboard(m_view.get(), &SurfaceWidget::clipboardRequested);
    m_view->screenSaveToClipboard();
    m_view->screenSaveToClipboard();
    QCOMPARE(hide.count(), 1);
    QCOMPARE(clipboard.count(), 0);
    QVERIFY(clipboard.wait(2000));
    QTest::qWait(300);
    QCOMPARE(clipboard.count(), 1);

    // A view gone while it waits takes the pending copy with it.
    int fired = 0;
    connect(m_view.get(), &SurfaceWidget::clipboardRequested, this, [&fired] { ++fired; });
    m_view->screenSaveToClipboard();
    m_view.reset();
    QTest::qWait(400);
    QCOMPARE(fired, 0);
}

void TestSurfaceWidget::rightButtonUploadsOnlyASelection()
{
    QSignalSpy upload(m_view.get(), &SurfaceWidget::uploadedScreen);
    QTest::mouseClick(m_view.get(), Qt::RightButton, Qt::NoModifier, QPoint(50, 50));
    QCOMPARE(upload.count(), 0);
    select(QPoint(20, 20), QPoint(90, 80));
    QTest::mouseClick(m_view.get(), Qt::RightButton, Qt::NoModifier, QPoint(50, 50));
    QCOMPARE(upload.count(), 1);
}

void TestSurfaceWidget::doubleClickTogglesTheWholeView()
{
    const QRectF whole(0, 0, m_view->width(), m_view->height());
    QTest::mouseDClick(m_view.get(), Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
    QCOMPARE(m_view->selector()->rubberRect(), whole);
    QTest::mouseDClick(m_view.get(), Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
    QVERIFY(m_view->selector()->rubberRect() != whole);
    QVERIFY(!m_view->hasSelection());

    m_view->selector()->setRubberRect(QRectF(10, 10, 40, 40));
    QTest::mouseDClick(m_view.get(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    QCOMPARE(m_view->selector()->rubberRect(), QRectF(10, 10, 40, 40));
}

void TestSurfaceWidget::dragMovesAFinishedSelection()
{
    select(QPoint(20, 20), QPoint(120, 80));
    QCOMPARE(m_view->selectRect(), QRect(20, 20, 100, 60));
    QTest::mousePress(m_view.get(), Qt::LeftButton, Qt::NoModifier, QPoint(60, 50));
    QCOMPARE(m_view->cursor().shape(), Qt::ClosedHandCursor);
    QTest::mouseMove(m_view.get(), QPoint(75, 45));
    QTest::mouseMove(m_view.get(), QPoint(90, 70));
    QTest::mouseRelease(m_view.get(), Qt::LeftButton, Qt::NoModifier, QPoint(90, 70));
    QCOMPARE(m_view->selectRect(), QRect(50, 40, 100, 60));
    QCOMPARE(m_view->renderRubberRect().toImage().convertToFormat(QImage::Format_RGB32),
        m_picture.copy(QRect(50, 40, 100, 60)));
}

void TestSurfaceWidget::openingOnOneScreenLogsAndPresetsTheSelection()
{
    const QImage other = uniquePicture(QSize(200, 100)).mirrored();
    m_view->showOnWindow(0, QRect(12, 34, 56, 78), QPixmap::fromImage(other));
    QFile log(QDir::homePath() + "/.kuvo/screen_info.log");
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(log.readAll(), QByteArray("index = 0\nrect = 12:34 56x78"));
    QCOMPARE(m_view->selectRect(), QRect(12, 34, 56, 78));
    QCOMPARE(m_view->desktopSelectRect(), QRect(12, 34, 56, 78).translated(m_view->position()));
    QCOMPARE(m_view->paintArea()->background().convertToFormat(QImage::Format_RGB32), other);

    QSignalSpy closed(m_view.get(), &SurfaceWidget::closed);
    m_view->close();
    QCOMPARE(closed.count(), 1);
}

QTEST_MAIN(TestSurfaceWidget)
#include "tst_surfacewidget.moc"
