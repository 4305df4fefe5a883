#include "core.h"
#include "coretestsupport.h"
#include "lastuploadwidget.h"
#include "quicktestsupport.h"
#include "setting.h"
#include "surfacewidget.h"
#include "uploadmodel.h"
#include "uploadwidget.h"
#include "windowtestsupport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImageReader>
#include <QJsonObject>
#include <QScreen>
#include <QTemporaryDir>

namespace {

void setValue(const char *key, const QVariant &value)
{
    Setting::instance()->setValue(QLatin1String(key), value);
}

QVariant value(const char *key)
{
    return Setting::instance()->getValue(QLatin1String(key));
}

int errorWindows()
{
    int count = 0;
    for (const QWindow *window : QGuiApplication::topLevelWindows())
        count += window->isVisible() && window->inherits("ErrorWidget");
    return count;
}

} // namespace

// The capture routes of the controller, from a selection on the capture view to a file, the
// clipboard and the stand-in service.
class TestCoreCapture : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void firstUploadOfTheRunEndsInTheLastUploadWindow();
    void uploadCarriesTheDescriptionAndTheAction();
    void controllerPostSharesTheLink();
    void nothingLeavesWithoutASelection();
    void saveToDisk_data();
    void saveToDisk();
    void saveStartsInAFolderThatExists();
    void cancelledSaveClosesTheView();
    void failedSaveIsReportedAndRemembersNothing();
    void clipboardGetsTheSelectionAndTheExtraCopy();
    void folderChoiceIsKeptWithBackslashes_data();
    void folderChoiceIsKeptWithBackslashes();

private:
    SurfaceWidget *openCapture(const QRectF &selection);

    StandinService m_service;
    Core *m_core = nullptr;
    QImage m_picture;
    OpenedUrls m_opened;
    QStringList m_asked;
    QString m_answer;
};

void TestCoreCapture::initTestCase()
{
    QVERIFY(startSignedIn(m_service));
    m_picture = uniquePicture(QGuiApplication::primaryScreen()->geometry().size());
    SurfaceWidget::setGrabber(
        [this](const QRect &rect) { return QPixmap::fromImage(m_picture.copy(rect)); });
    m_core = Core::instance();
    m_core->setSaveFileAsker([this](const QString &proposed, const QString &filter) {
        m_asked << proposed << filter;
        return m_answer;
    });
}

void TestCoreCapture::init()
{
    m_service.reset();
    m_opened.clear();
    m_asked.clear();
    m_answer.clear();
    setValue("useSaveScreen", false);
    setValue("qualityImage", 2);
}

void TestCoreCapture::cleanup()
{
    if (m_core->surfaceWidget())
        m_core->surfaceWidget()->close();
    QTRY_VERIFY_WITH_TIMEOUT(!m_core->surfaceWidget(), 2000);
}

SurfaceWidget *TestCoreCapture::openCapture(const QRectF &selection)
{
    m_core->screen(false, false);
    SurfaceWidget *view = m_core->surfaceWidget();
    if (view && view->selector())
        view->selector()->setRubberRect(selection);
    return view;
}

// The first upload of a run is the first moment anything needs the upload list.
void TestCoreCapture::firstUploadOfTheRunEndsInTheLastUploadWindow()
{
    setValue("show_upload", 1);
    setValue("show_last_upload", 1);
    QPointer<SurfaceWidget> view = openCapture(QRectF(10, 10, 32, 32));
    QVERIFY(view);
    QSignalSpy link(m_core, &Core::lastLinkChanged);
    view->uploadScreen();
    QVERIFY(link.wait(10000));
    QTRY_VERIFY_WITH_TIMEOUT(m_core->lastUploadWidget()->isVisible(), 10000);
    QVERIFY(!m_core->uploadWidget()->isVisible());
    QCOMPARE(m_core->uploadModel()->rowCount(), 0);
    QCOMPARE(findItem(m_core->lastUploadWidget(), QStringLiteral("lastLink"))
                 ->property("text")
                 .toString(),
        m_core->lastLink());
    m_core->lastUploadWidget()->hide();
}

void TestCoreCapture::uploadCarriesTheDescriptionAndTheAction()
{
    setValue("showActiveWindow", true);
    const int counted = value("count_screen").toInt();
    QPointer<SurfaceWidget> view = openCapture(QRectF(20, 30, 64, 48));
    QVERIFY(view);
    QSignalSpy link(m_core, &Core::lastLinkChanged);
    view->screenPostVK();
    QVERIFY(!m_core->surfaceWidget());
    QTRY_VERIFY_WITH_TIMEOUT(!view, 2000);
    QVERIFY(link.wait(10000));
    QTRY_COMPARE_WITH_TIMEOUT(m_opened.urls().size(), 1, 5000);

    const QJsonArray creates = m_service.requests(QStringLiteral("/drive/v1/files"));
    QCOMPARE(creates.size(), 1);
    const QJsonObject meta = creates.first().toObject()["json"].toObject();
    bool digits = false;
    meta["description"].toString().toLongLong(&digits);
    QVERIFY2(digits, qPrintable(meta["description"].toString()));
    QVERIFY(meta["title"].toString().endsWith(QStringLiteral(".png")));
    QCOMPARE(value("count_screen").toInt(), counted + 1);

    // The bytes sent are the selection, encoded as the name says.
    const QString sent = QDir(QDir::homePath() + "/.kuvo/tmp").filePath(meta["title"].toString());
    QCOMPARE(
        QImage(sent).convertToFormat(QImage::Format_RGB32), m_picture.copy(QRect(20, 30, 64, 48)));
    QCOMPARE(m_service.requests().last().toObject()["size"].toInt(), int(QFileInfo(sent).size()));
    QVERIFY2(
        m_opened.urls().first().toString().contains(QUrl::toPercentEncoding(m_core->lastLink()))
            || m_opened.urls().first().toString().contains(m_core->lastLink()),
        qPrintable(m_opened.urls().first().toString()));
    setValue("showActiveWindow", false);
}

// The controller's own post slots reach the network of their name, as the view's do.
void TestCoreCapture::controllerPostSharesTheLink()
{
    setValue("showActiveWindow", true);
    QVERIFY(openCapture(QRectF(20, 30, 64, 48)));
    QSignalSpy link(m_core, &Core::lastLinkChanged);
    m_core->screenPostTwitter();
    QVERIFY(link.wait(10000));
    QTRY_COMPARE_WITH_TIMEOUT(m_opened.urls().size(), 1, 5000);
    QVERIFY2(m_opened.urls().first().toString().startsWith("https://twitter.com/intent/tweet?url="),
        qPrintable(m_opened.urls().first().toString()));
    setValue("showActiveWindow", false);
}

void TestCoreCapture::nothingLeavesWithoutASelection()
{
    setValue("useSaveScreen", true);
    QTemporaryDir copies;
    setValue("saveScreenFolder", copies.path());
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    const QDir temporary(QDir::homePath() + "/.kuvo/tmp");
    const QStringList temporaryBefore = temporary.entryList(QDir::Files);
    SurfaceWidget *view = openCapture(QRectF(40, 40, 0, 0));
    QVERIFY(view);
    view->uploadScreen();
    view->saveScreen();
    view->screenSaveToClipboard();
    view->screenPostMail();
    m_core->screenUpload();
    m_core->screenSaveToDisk();
    m_core->screenSaveToClipboard();
    QTest::qWait(400);
    QCOMPARE(m_core->surfaceWidget(), view);
    QCOMPARE(m_asked, QStringList());
    QCOMPARE(m_service.arrivals(QStringLiteral("/drive/v1/files")).size(), 0);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
    QCOMPARE(QDir(copies.path()).entryList(QDir::Files), QStringList());
    QCOMPARE(temporary.entryList(QDir::Files), temporaryBefore);
}

void TestCoreCapture::saveToDisk_data()
{
    QTest::addColumn<int>("quality");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("expectedName");
    QTest::addColumn<QByteArray>("format");
    QTest::newRow("jpeg 90") << 0 << "shot"
                             << "shot.jpg" << QByteArray("jpeg");
    QTest::newRow("jpeg 100, extension typed") << 1 << "shot.jpg"
                                               << "shot.jpg" << QByteArray("jpeg");
    QTest::newRow("png") << 2 << "shot"
                         << "shot.png" << QByteArray("png");
    QTest::newRow("png typed while jpeg is set") << 1 << "x.png"
                                                 << "x.png" << QByteArray("png");
    QTest::newRow("jpeg typed while png is set") << 2 << "x.JPEG"
                                                 << "x.JPEG" << QByteArray("jpeg");
    QTest::newRow("other extension") << 0 << "x.gif"
                                     << "x.gif.jpg" << QByteArray("jpeg");
}

void TestCoreCapture::saveToDisk()
{
    QFETCH(int, quality);
    QFETCH(QString, answer);
    QFETCH(QString, expectedName);
    QFETCH(QByteArray, format);
    setValue("qualityImage", quality);
    QTemporaryDir dir;
    setValue("lastSavePath", dir.path());
    m_answer = dir.filePath(answer);
    QPointer<SurfaceWidget> view = openCapture(QRectF(5, 6, 70, 40));
    view->saveScreen();
    QVERIFY(!m_core->surfaceWidget());
    QTRY_VERIFY_WITH_TIMEOUT(!view, 2000);
    QCOMPARE(m_asked.size(), 2);
    QVERIFY(m_asked.first().startsWith(dir.path() + "/"));
    // The format of the setting comes first.
    QCOMPARE(m_asked.last(),
        quality == 2 ? QStringLiteral("PNG (*.png);;JPEG (*.jpg *.jpeg)")
                     : QStringLiteral("JPEG (*.jpg *.jpeg);;PNG (*.png)"));
    QImageReader reader(dir.filePath(expectedName));
    QCOMPARE(reader.format(), format);
    const QImage saved = reader.read();
    QCOMPARE(saved.size(), QSize(70, 40));
    if (format == "png")
        QCOMPARE(saved.convertToFormat(QImage::Format_RGB32), m_picture.copy(5, 6, 70, 40));
    QCOMPARE(value("lastSavePath").toString(), dir.path());
}

void TestCoreCapture::saveStartsInAFolderThatExists()
{
    const auto startFolder = [this] {
        m_asked.clear();
        openCapture(QRectF(5, 6, 20, 20))->saveScreen();
        return m_asked.isEmpty() ? QString() : QFileInfo(m_asked.first()).absolutePath();
    };
    const QString pictures = QDir::homePath() + QStringLiteral("/Pictures");
    QDir(pictures).removeRecursively();
    setValue("lastSavePath", QString());
    QCOMPARE(startFolder(), QDir::homePath());
    QVERIFY(QDir().mkpath(pictures));
    QCOMPARE(startFolder(), pictures);
    setValue("lastSavePath", QDir::homePath() + QStringLiteral("/removed since"));
    QCOMPARE(startFolder(), pictures);
    QTemporaryDir last;
    setValue("lastSavePath", last.path());
    QCOMPARE(startFolder(), last.path());
}

void TestCoreCapture::cancelledSaveClosesTheView()
{
    QTemporaryDir dir;
    setValue("lastSavePath", dir.path());
    QPointer<SurfaceWidget> view = openCapture(QRectF(5, 6, 70, 40));
    view->saveScreen();
    QCOMPARE(m_asked.size(), 2);
    QVERIFY(!m_core->surfaceWidget());
    QTRY_VERIFY_WITH_TIMEOUT(!view, 2000);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

void TestCoreCapture::failedSaveIsReportedAndRemembersNothing()
{
    QTemporaryDir dir;
    setValue("lastSavePath", dir.path());
    m_answer = dir.filePath("missing/shot.png");
    const int before = errorWindows();
    openCapture(QRectF(5, 6, 70, 40))->saveScreen();
    QCOMPARE(errorWindows(), before + 1);
    QCOMPARE(value("lastSavePath").toString(), dir.path());
    QVERIFY(!QFile::exists(m_answer));
}

void TestCoreCapture::clipboardGetsTheSelectionAndTheExtraCopy()
{
    QTemporaryDir copies;
    m_core->setFolderAsker([&copies](const QString &) { return copies.path(); });
    m_core->selectSaveScreenFolder();
    m_core->setFolderAsker({});
    QCOMPARE(value("saveScreenFolder").toString(), QString(copies.path()).replace('/', '\\'));
    QVERIFY(value("useSaveScreen").toBool());

    QPointer<SurfaceWidget> view = openCapture(QRectF(100, 50, 33, 22));
    view->screenSaveToClipboard();
    QTRY_VERIFY_WITH_TIMEOUT(!view, 3000);
    QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
        m_picture.copy(100, 50, 33, 22));
    const QStringList files = QDir(copies.path()).entryList(QDir::Files);
    QCOMPARE(files.size(), 1);
    QVERIFY2(QRegularExpression("^\\d\\d-\\d\\d-\\d{4} \\d\\d-\\d\\d-\\d\\d\\.png$")
                 .match(files.first())
                 .hasMatch(),
        qPrintable(files.first()));
    QCOMPARE(QImage(copies.filePath(files.first())).convertToFormat(QImage::Format_RGB32),
        m_picture.copy(100, 50, 33, 22));
}

void TestCoreCapture::folderChoiceIsKeptWithBackslashes_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("useAfter");
    QTest::addColumn<QString>("storedAfter");
    QTest::newRow("chosen") << ""
                            << "/home/a/shots" << true << "\\home\\a\\shots";
    QTest::newRow("cancelled, none before") << ""
                                            << "" << false << "";
    QTest::newRow("cancelled, zero before") << "0"
                                            << "" << false << "";
    QTest::newRow("cancelled, one before") << "\\srv\\shots"
                                           << "" << true << "\\srv\\shots";
}

void TestCoreCapture::folderChoiceIsKeptWithBackslashes()
{
    QFETCH(QString, stored);
    QFETCH(QString, answer);
    QFETCH(bool, useAfter);
    QFETCH(QString, storedAfter);
    setValue("saveScreenFolder", stored);
    setValue("useSaveScreen", !useAfter);
    QString start;
    m_core->setFolderAsker([&](const QString &from) {
        start = from;
        return answer;
    });
    m_core->selectSaveScreenFolder();
    m_core->setFolderAsker({});
    QCOMPARE(start, stored);
    QCOMPARE(value("useSaveScreen").toBool(), useAfter);
    QCOMPARE(value("saveScreenFolder").toString(), storedAfter);
}

QTEST_MAIN(TestCoreCapture)
#include "tst_corecapture.moc"
