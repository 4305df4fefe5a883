#include "audiofiles.h"
#include "audioimagefile.h"
#include "checkedsavefile.h"
#include "core.h"
#include "coretestsupport.h"
#include "errorwidget.h"
#include "fulldisk.h"
#include "kailibrary.h"
#include "messagedialog.h"
#include "paths.h"
#include "pictureformat.h"
#include "setting.h"
#include "surfacewidget.h"
#include "testfiles.h"
#include "windowtestsupport.h"

#include <QGuiApplication>
#include <QRandomGenerator>
#include <QScreen>
#include <QTemporaryDir>

namespace {

// Noise does not compress: its encoding is about its raw size, here well below the 16 KB
// that Qt buffers before it writes anything, and above the room left on the disk.
QImage noise(int side)
{
    QImage image(side, side, QImage::Format_RGB32);
    QRandomGenerator random(side);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            image.setPixel(x, y, random.generate() | 0xff000000u);
    return image;
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot);
}

void setValue(const char *key, const QVariant &value)
{
    Setting::instance()->setValue(QLatin1String(key), value);
}

} // namespace

// Writes onto a disk with no room left: a save either leaves a whole new file or the old one
// untouched, reports the failure, and the capture stays with the user.
class TestFullDisk : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void pictureKeepsTheOldFile_data();
    void pictureKeepsTheOldFile();
    void copyKeepsTheOldFileAndTheSource();
    void failedSaveKeepsTheOldFileAndOffersThePictureAgain_data();
    void failedSaveKeepsTheOldFileAndOffersThePictureAgain();
    void failedUploadWriteKeepsTheView();

private:
    QString m_folder;
    std::unique_ptr<FullDisk> m_disk;
    StandinService m_service;
    QString m_answer;
};

void TestFullDisk::initTestCase()
{
    QVERIFY(startSignedIn(m_service));
    KaiLibrary::setPath(QStringLiteral(KAI_LIBRARY_FILE));
    const QImage screen = noise(QGuiApplication::primaryScreen()->geometry().width());
    SurfaceWidget::setGrabber(
        [screen](const QRect &rect) { return QPixmap::fromImage(screen.copy(rect)); });
    Core::instance()->setSaveFileAsker(
        [this](const QString &, const QString &) { return m_answer; });
}

void TestFullDisk::init()
{
    m_folder = QDir::homePath() + QStringLiteral("/full");
    m_disk = std::make_unique<FullDisk>(m_folder, 1 << 20);
    if (!m_disk->isMounted())
        QSKIP(qPrintable(FullDisk::skipReason()));
    setValue("qualityImage", 2);
}

void TestFullDisk::cleanup()
{
    if (SurfaceWidget *view = Core::instance()->surfaceWidget())
        view->close();
    for (MessageDialog *dialog : windowsOf<MessageDialog>())
        dialog->close();
    for (ErrorWidget *window : windowsOf<ErrorWidget>())
        window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Core::instance()->clearAudioFile();
    m_disk.reset();
}

void TestFullDisk::pictureKeepsTheOldFile_data()
{
    QTest::addColumn<int>("quality");
    QTest::newRow("png") << 2;
    QTest::newRow("jpeg 100") << 1;
}

void TestFullDisk::pictureKeepsTheOldFile()
{
    QFETCH(int, quality);
    const PictureFormat format = PictureFormat::fromSetting(quality);
    const QString name = m_folder + QStringLiteral("/shot") + format.extension();
    QString problem;
    QVERIFY2(format.write(noise(16), name, &problem), qPrintable(problem));
    const QByteArray old = contents(name);
    QVERIFY(m_disk->fillLeaving(4096));

    QVERIFY(!format.write(noise(64), name, &problem));
    QVERIFY(!problem.isEmpty());
    QCOMPARE(contents(name), old);
    QCOMPARE(filesIn(m_folder), QStringList {QStringLiteral("shot") + format.extension()});

    // With room again the same write goes through whole.
    m_disk->empty();
    QVERIFY2(format.write(noise(64), name, &problem), qPrintable(problem));
    QCOMPARE(QImage(name).convertToFormat(QImage::Format_RGB32).size(), QSize(64, 64));
}

void TestFullDisk::copyKeepsTheOldFileAndTheSource()
{
    QTemporaryDir elsewhere;
    const QString source = elsewhere.filePath(QStringLiteral("capture.png"));
    const QString target = m_folder + QStringLiteral("/kept.png");
    QString problem;
    const PictureFormat png = PictureFormat::fromSetting(2);
    QVERIFY(png.write(noise(64), source, &problem));
    QVERIFY(png.write(noise(16), target, &problem));
    const QByteArray old = contents(target);
    const QByteArray capture = contents(source);
    QVERIFY(m_disk->fillLeaving(4096));

    QVERIFY(!CheckedSaveFile::copyOver(source, target, &problem));
    QVERIFY(!problem.isEmpty());
    QCOMPARE(contents(target), old);
    QCOMPARE(contents(source), capture);
    QCOMPARE(filesIn(m_folder), QStringList {QStringLiteral("kept.png")});
}

void TestFullDisk::failedSaveKeepsTheOldFileAndOffersThePictureAgain_data()
{
    QTest::addColumn<QString>("extension");
    QTest::newRow("picture") << QStringLiteral(".png");
    QTest::newRow("picture with a spoken comment") << QStringLiteral(".kia");
}

void TestFullDisk::failedSaveKeepsTheOldFileAndOffersThePictureAgain()
{
    QFETCH(QString, extension);
    Core *core = Core::instance();
    m_answer = m_folder + QStringLiteral("/old") + extension;
    QVERIFY(writeFile(m_answer, "an older save"));
    QVERIFY(m_disk->fillLeaving(4096));
    core->screen(false, false);
    QVERIFY(core->surfaceWidget());
    // Recorded beside the capture, the comment makes the save a ".kia" file.
    const QByteArray recording = wavTone(8000, 1, 0.2, 440);
    QVERIFY(extension != QLatin1String(".kia")
        || (QDir().mkpath(Paths::audioFolder())
            && writeFile(Paths::audioFolder() + QStringLiteral("1.wav"), recording)));
    core->surfaceWidget()->selector()->setRubberRect(QRectF(10, 10, 64, 64));
    core->surfaceWidget()->saveScreen();
    QCOMPARE(contents(m_answer), QByteArray("an older save"));
    QCOMPARE(filesIn(m_folder), QStringList {QStringLiteral("old") + extension});
    QTRY_COMPARE_WITH_TIMEOUT(windowsOf<ErrorWidget>().size(), 1, 5000);
    QVERIFY2(windowsOf<ErrorWidget>().first()->error().contains(QStringLiteral("No space")),
        qPrintable(windowsOf<ErrorWidget>().first()->error()));
    QTRY_COMPARE_WITH_TIMEOUT(windowsOf<MessageDialog>().size(), 1, 5000);

    // Another place with room: the same picture lands there.
    QTemporaryDir room;
    m_answer = room.filePath(QStringLiteral("shot") + extension);
    windowsOf<MessageDialog>().first()->done(MessageDialog::Ok);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_answer), 5000);
    AudioImageFile saved(m_answer);
    const bool withComment = saved.readAll();
    QCOMPARE(withComment, extension == QLatin1String(".kia"));
    QCOMPARE(withComment ? saved.readAudioData() : recording, recording);
    const QImage picture = withComment ? QImage::fromData(saved.readImageData()) : QImage(m_answer);
    QCOMPARE(picture.size(), QSize(64, 64));
}

void TestFullDisk::failedUploadWriteKeepsTheView()
{
    // The temporary capture goes to ~/.kuvo/tmp: that is the full disk here.
    m_disk = std::make_unique<FullDisk>(QDir::homePath() + QStringLiteral("/.kuvo/tmp"), 1 << 20);
    QVERIFY(m_disk->isMounted());
    QVERIFY(m_disk->fillLeaving(4096));
    Core *core = Core::instance();
    core->screen(false, false);
    QPointer<SurfaceWidget> view = core->surfaceWidget();
    QVERIFY(view);
    view->selector()->setRubberRect(QRectF(10, 10, 64, 64));
    view->uploadScreen();
    QTRY_COMPARE_WITH_TIMEOUT(windowsOf<ErrorWidget>().size(), 1, 5000);
    QVERIFY(view);
    QCOMPARE(core->surfaceWidget(), view.data());
    QCOMPARE(m_service.arrivals(QStringLiteral("/drive/v1/files")).size(), 0);
}

QTEST_MAIN(TestFullDisk)
#include "tst_fulldisk.moc"
