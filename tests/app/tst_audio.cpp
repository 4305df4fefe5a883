#include "audiofiles.h"
#include "audioimagefile.h"
#include "audioimageplayer.h"
#include "audiotestsupport.h"
#include "core.h"
#include "coretestsupport.h"
#include "errorwidget.h"
#include "handlerupload.h"
#include "kailibrary.h"
#include "paths.h"
#include "peakmemory.h"
#include "pictureformat.h"
#include "pulseserver.h"
#include "windowtestsupport.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QPointer>
#include <QQuickItem>
#include <QTemporaryDir>

// Spoken comments end to end on a private sound server: playing in the recording's own
// format, stopping, recording a tone that is played at the same time into a ".kia" file, and
// the player window that opens such a file.
class TestAudio : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void playsToTheEndAndReportsIt_data();
    void playsToTheEndAndReportsIt();
    void stopEndsPlayingAtOnce();
    void recordedToneComesBackInTheSavedFile();
    void newestRecordingIsTheOneTaken();
    void uploadSendsThePictureWithItsComment();
    void saveWithoutTheLibraryKeepsThePicture();
    void playerWindowPlaysTheComment();
    void unreadableFilesEndInAnErrorWindow_data();
    void unreadableFilesEndInAnErrorWindow();
    void largePicturesAreHeldOnceAndBounded();

private:
    QString writeKia(const QString &name, const QByteArray &picture, const QByteArray &sound);
    void closeAllWindows();

    PulseServer m_pulse;
    StandinService m_service;
    Core *m_core = nullptr;
    QTemporaryDir m_folder;
};

void TestAudio::initTestCase()
{
    QVERIFY(m_pulse.start());
    KaiLibrary::setPath(QStringLiteral(KAI_LIBRARY_FILE));
    QVERIFY(startSignedIn(m_service));
    m_core = Core::instance();
}

void TestAudio::cleanup()
{
    KaiLibrary::setPath(QStringLiteral(KAI_LIBRARY_FILE));
    closeAllWindows();
}

void TestAudio::closeAllWindows()
{
    for (QWindow *window : QGuiApplication::topLevelWindows()) {
        if (window->inherits("AudioImagePlayer") || window->inherits("ErrorWidget"))
            window->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QString TestAudio::writeKia(const QString &name, const QByteArray &picture, const QByteArray &sound)
{
    AudioImageFile file(m_folder.filePath(name));
    return file.write(picture, sound) ? file.fileName() : QString();
}

void TestAudio::playsToTheEndAndReportsIt_data()
{
    QTest::addColumn<QByteArray>("sound");
    // Neither is the unsigned 48 kHz mono that raw playback would take them for.
    QTest::newRow("44.1 kHz stereo") << wavTone(44100, 2, 0.4, 440);
    QTest::newRow("22.05 kHz mono") << wavTone(22050, 1, 0.4, 660);
}

void TestAudio::playsToTheEndAndReportsIt()
{
    QFETCH(QByteArray, sound);
    const QString name = writeKia(QStringLiteral("tone.kia"), QByteArray(), sound);
    AudioImageFile file(name);
    QVERIFY(file.readAll());
    QSignalSpy failed(&file, &AudioImageFile::playFailed);
    QSignalSpy changed(&file, &AudioImageFile::stateChange);
    file.playAudio();
    QTRY_VERIFY_WITH_TIMEOUT(file.isPlaying(), 5000);
    // A second play while it plays starts nothing new.
    file.playAudio();
    QTRY_VERIFY_WITH_TIMEOUT(!file.isPlaying(), 5000);
    QCOMPARE(changed.count(), 2);
    QVERIFY2(
        failed.isEmpty(), failed.isEmpty() ? "" : qPrintable(failed.first().first().toString()));

    // After the end the same sound plays again.
    file.playAudio();
    QTRY_VERIFY_WITH_TIMEOUT(file.isPlaying(), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(!file.isPlaying(), 5000);
    QCOMPARE(changed.count(), 4);
}

void TestAudio::stopEndsPlayingAtOnce()
{
    AudioImageFile file(writeKia(QStringLiteral("long.kia"), "p", wavTone(44100, 1, 20, 440)));
    QVERIFY(file.readAll());
    // Before any play there is nothing to stop.
    file.stopAudio();
    QVERIFY(!file.isPlaying());
    file.playAudio();
    QTRY_VERIFY_WITH_TIMEOUT(file.isPlaying(), 5000);
    QElapsedTimer clock;
    clock.start();
    file.stopAudio();
    QTRY_VERIFY_WITH_TIMEOUT(!file.isPlaying(), 3000);
    QVERIFY(clock.elapsed() < 3000);
}

void TestAudio::recordedToneComesBackInTheSavedFile()
{
    m_core->clearAudioFile();
    QVERIFY(!m_core->isHaveAudioFile());
    m_core->recordAudio();
    // The recorder has started once its file grows past the WAV header.
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(m_core->getAudioFile()).size() > 4096, 10000);
    QVERIFY(m_core->isHaveAudioFile());

    AudioImageFile tone(
        writeKia(QStringLiteral("a.kia"), QByteArray(), wavTone(44100, 1, 1.0, 440)));
    QVERIFY(tone.readAll());
    tone.playAudio();
    QTRY_VERIFY_WITH_TIMEOUT(tone.isPlaying(), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(!tone.isPlaying(), 5000);

    QImage picture(120, 80, QImage::Format_RGB32);
    picture.fill(QColor(200, 40, 40));
    QStringList asked;
    const QString chosen = m_folder.filePath(QStringLiteral("comment"));
    m_core->setSaveFileAsker([&](const QString &, const QString &filter) {
        asked << filter;
        return chosen;
    });
    m_core->screenSaveToDisk(QPixmap::fromImage(picture));
    m_core->setSaveFileAsker(nullptr);
    QCOMPARE(asked, QStringList {QStringLiteral("*.kia")});

    AudioImageFile saved(chosen + QStringLiteral(".kia"));
    QVERIFY2(saved.readAll(), qPrintable(saved.errorString()));
    const QImage savedPicture = QImage::fromData(saved.readImageData(), "JPG");
    QCOMPARE(savedPicture.size(), picture.size());
    QVERIFY(qAbs(savedPicture.pixelColor(60, 40).red() - 200) < 8);
    const Tone heard = measureTone(saved.readAudioData());
    QVERIFY2(heard.peak > 0.3, qPrintable(QString::number(heard.peak)));
    QVERIFY2(qAbs(heard.frequency - 440) < 20, qPrintable(QString::number(heard.frequency)));
    // The next capture starts without the comment of this one.
    m_core->clearAudioFile();
    QVERIFY(!m_core->isHaveAudioFile());
}

void TestAudio::newestRecordingIsTheOneTaken()
{
    m_core->clearAudioFile();
    QVERIFY(QDir().mkpath(Paths::audioFolder()));
    const QDateTime now = QDateTime::currentDateTime();
    auto make = [&](const QString &name, int secondsAgo) {
        QFile file(Paths::audioFolder() + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("x");
        // Written out first, or closing would stamp the file with the time of now.
        QVERIFY(file.flush());
        QVERIFY(file.setFileTime(now.addSecs(-secondsAgo), QFileDevice::FileModificationTime));
    };
    make(QStringLiteral("notes.txt"), 0);
    QVERIFY(!m_core->isHaveAudioFile());
    QCOMPARE(m_core->getAudioFile(), QString());
    make(QStringLiteral("1.wav"), 20);
    make(QStringLiteral("2.wav"), 5);
    make(QStringLiteral("3.wav"), 60);
    QVERIFY(m_core->isHaveAudioFile());
    QCOMPARE(m_core->getAudioFile(), QFileInfo(Paths::audioFolder() + "2.wav").absoluteFilePath());
    m_core->clearAudioFile();
    QVERIFY(QDir(Paths::audioFolder()).isEmpty());
    // A missing folder is no trouble.
    QVERIFY(QDir(Paths::audioFolder()).removeRecursively());
    m_core->clearAudioFile();
    QVERIFY(!m_core->isHaveAudioFile());
}

void TestAudio::uploadSendsThePictureWithItsComment()
{
    m_core->clearAudioFile();
    QVERIFY(QDir().mkpath(Paths::audioFolder()));
    const QByteArray recording = wavTone(44100, 2, 0.3, 440);
    QFile wav(Paths::audioFolder() + QStringLiteral("1.wav"));
    QVERIFY(wav.open(QIODevice::WriteOnly));
    QCOMPARE(wav.write(recording), recording.size());
    wav.close();
    m_service.reset();

    QImage picture(90, 60, QImage::Format_RGB32);
    picture.fill(QColor(30, 90, 200));
    m_core->screenUpload(HandlerUpload::PostNone, false, QPixmap::fromImage(picture));
    QTRY_VERIFY_WITH_TIMEOUT(
        !m_service.requests(QStringLiteral("/drive/v1/files")).isEmpty(), 10000);
    const QJsonObject meta = m_service.requests(QStringLiteral("/drive/v1/files"))
                                 .first()
                                 .toObject()["json"]
                                 .toObject();
    const QString title = meta["title"].toString();
    QVERIFY2(title.endsWith(QStringLiteral(".kia")), qPrintable(title));

    // One file: the picture as captured (in the format of the settings) and the recording
    // byte for byte.
    AudioImageFile sent(Paths::tempFolder() + title);
    QVERIFY2(sent.readAll(), qPrintable(sent.errorString()));
    QCOMPARE(sent.readAudioData(), recording);
    const QImage sentPicture = QImage::fromData(sent.readImageData());
    QCOMPARE(sentPicture.size(), picture.size());
    QVERIFY(qAbs(sentPicture.pixelColor(45, 30).blue() - 200) < 8);
    m_core->clearAudioFile();
}

void TestAudio::saveWithoutTheLibraryKeepsThePicture()
{
    m_core->clearAudioFile();
    QVERIFY(QDir().mkpath(Paths::audioFolder()));
    QFile wav(Paths::audioFolder() + QStringLiteral("1.wav"));
    QVERIFY(wav.open(QIODevice::WriteOnly));
    wav.write(wavTone(8000, 1, 0.1, 440));
    wav.close();
    KaiLibrary::setPath(m_folder.filePath(QStringLiteral("libkai.so")));

    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(QColor(250, 200, 0));
    const QString chosen = m_folder.filePath(QStringLiteral("kept.kia"));
    m_core->setSaveFileAsker([&](const QString &, const QString &) { return chosen; });
    m_core->screenSaveToDisk(QPixmap::fromImage(picture));
    m_core->setSaveFileAsker(nullptr);

    ErrorWidget *error = visibleWindow<ErrorWidget>("ErrorWidget");
    QVERIFY(error);
    QVERIFY2(error->error().contains(QStringLiteral("missing")), qPrintable(error->error()));
    QVERIFY(!QFile::exists(chosen));
    // In the picture format of the settings.
    const QImage kept(
        m_folder.filePath(QStringLiteral("kept") + PictureFormat::current().extension()));
    QCOMPARE(kept.size(), picture.size());
    QVERIFY(qAbs(kept.pixelColor(20, 15).green() - 200) < 8);
    m_core->clearAudioFile();
}

void TestAudio::playerWindowPlaysTheComment()
{
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(QColor(20, 160, 60));
    const QByteArray png = pngBytes(picture);
    const QString name = writeKia(QStringLiteral("window.kia"), png, wavTone(44100, 2, 20, 440));

    m_core->openAudioImage(name);
    QPointer<AudioImagePlayer> player = visibleWindow<AudioImagePlayer>("AudioImagePlayer");
    QVERIFY(player);
    QCOMPARE(player->title(), QStringLiteral("Kuvo - Audio comment"));
    QCOMPARE(player->picture().pixelColor(150, 100), QColor(20, 160, 60));
    QQuickItem *shown = findItem(player, QStringLiteral("picture"));
    QVERIFY(shown);
    QTRY_COMPARE(shown->property("status").toInt(), 1); // Image.Ready
    QCOMPARE(shown->width(), 300.0);

    QQuickItem *playIcon = findItem(player, QStringLiteral("playIcon"));
    QVERIFY(playIcon && playIcon->isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(player));
    clickItem(player, playIcon);
    QTRY_VERIFY_WITH_TIMEOUT(player->isPlay(), 5000);
    clickItem(player, playIcon);
    QTRY_VERIFY_WITH_TIMEOUT(!player->isPlay(), 3000);
    QCOMPARE(player->errorText(), QString());

    // Closed while it plays: the thread is ended and the window goes.
    player->playAudio();
    QTRY_VERIFY_WITH_TIMEOUT(player->isPlay(), 5000);
    player->close();
    QTRY_VERIFY_WITH_TIMEOUT(player.isNull(), 5000);
}

void TestAudio::unreadableFilesEndInAnErrorWindow_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("withLibrary");
    QTest::addColumn<QString>("says");
    QTest::newRow("missing file") << QStringLiteral("gone.kia") << true
                                  << QStringLiteral("does not exist");
    QTest::newRow("damaged file") << QStringLiteral("damaged.kia") << true
                                  << QStringLiteral("damaged");
    QTest::newRow("missing library")
        << QStringLiteral("fine.kia") << false << QStringLiteral("missing");
}

void TestAudio::unreadableFilesEndInAnErrorWindow()
{
    QFETCH(QString, file);
    QFETCH(bool, withLibrary);
    QFETCH(QString, says);
    const QString fine = writeKia(QStringLiteral("fine.kia"), "p", wavTone(8000, 1, 0.1, 440));
    QFile damaged(m_folder.filePath(QStringLiteral("damaged.kia")));
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    QFile source(fine);
    QVERIFY(source.open(QIODevice::ReadOnly));
    damaged.write(source.readAll().chopped(3));
    damaged.close();
    if (!withLibrary)
        KaiLibrary::setPath(m_folder.filePath(QStringLiteral("libkai.so")));

    m_core->openAudioImage(m_folder.filePath(file));
    QVERIFY(!visibleWindow<AudioImagePlayer>("AudioImagePlayer"));
    ErrorWidget *error = visibleWindow<ErrorWidget>("ErrorWidget");
    QVERIFY(error);
    QVERIFY2(error->error().contains(says), qPrintable(error->error()));
}

// Each "-o" opens one more window of 16000 x 16000 pixels with alpha (977 MB decoded): each
// holds its picture once, and past two of them one more is refused with the reason.
void TestAudio::largePicturesAreHeldOnceAndBounded()
{
    const QString big = writeKia("big.kia", pngBomb(16000, 4), wavTone(8000, 1, 0.1, 440));
    const qint64 before = peakMegabytes();
    for (int opened = 1; opened <= 3; ++opened) {
        m_core->openAudioImage(big);
        const QList<AudioImagePlayer *> players = windowsOf<AudioImagePlayer>();
        QCOMPARE(players.size(), qMin(opened, 2));
        for (AudioImagePlayer *player : players)
            QVERIFY(QTest::qWaitForWindowExposed(player));
        const qint64 grown = peakMegabytes() - before;
        QVERIFY2(grown < players.size() * 977 + 100, qPrintable(QString::number(grown)));
    }
    ErrorWidget *error = visibleWindow<ErrorWidget>("ErrorWidget");
    QVERIFY(error && error->error().contains(QStringLiteral("take more than 2112 MB of memory")));
}

QTEST_MAIN(TestAudio)
#include "tst_audio.moc"
