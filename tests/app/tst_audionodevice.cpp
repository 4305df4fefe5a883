#include "audiofiles.h"
#include "audioimagefile.h"
#include "audioimageplayer.h"
#include "audiotestsupport.h"
#include "core.h"
#include "coretestsupport.h"
#include "errorwidget.h"
#include "kailibrary.h"
#include "pulseserver.h"

#include <QQuickItem>
#include <QTemporaryDir>

// A machine without any sound server or sound card: playing and recording end in a message
// to the user, and nothing is left claiming to play.
class TestAudioNoDevice : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void playingSaysThereIsNoDevice();
    void playerWindowShowsWhyItIsSilent();
    void recordingSaysThereIsNoMicrophone();

private:
    QString toneFile();

    StandinService m_service;
    QTemporaryDir m_folder;
};

void TestAudioNoDevice::initTestCase()
{
    PulseServer::useNoServer();
    KaiLibrary::setPath(QStringLiteral(KAI_LIBRARY_FILE));
    QVERIFY(startSignedIn(m_service));
}

QString TestAudioNoDevice::toneFile()
{
    AudioImageFile file(m_folder.filePath(QStringLiteral("tone.kia")));
    const QByteArray picture = pngBytes(QImage(32, 24, QImage::Format_RGB32));
    return file.write(picture, wavTone(44100, 2, 1, 440)) ? file.fileName() : QString();
}

void TestAudioNoDevice::playingSaysThereIsNoDevice()
{
    AudioImageFile file(toneFile());
    QVERIFY(file.readAll());
    QSignalSpy failed(&file, &AudioImageFile::playFailed);
    QSignalSpy changed(&file, &AudioImageFile::stateChange);
    file.playAudio();
    QVERIFY(failed.wait(10000));
    QVERIFY2(failed.first().first().toString().contains(QStringLiteral("audio device")),
        qPrintable(failed.first().first().toString()));
    QVERIFY(!file.isPlaying());
    QVERIFY(!changed.isEmpty());
}

void TestAudioNoDevice::playerWindowShowsWhyItIsSilent()
{
    Core::instance()->openAudioImage(toneFile());
    AudioImagePlayer *player = visibleWindow<AudioImagePlayer>("AudioImagePlayer");
    QVERIFY(player);
    player->playAudio();
    QTRY_VERIFY_WITH_TIMEOUT(!player->errorText().isEmpty(), 10000);
    QVERIFY(!player->isPlay());
    QQuickItem *strip = player->rootObject()->findChild<QQuickItem *>(QStringLiteral("errorStrip"));
    QVERIFY(strip && strip->isVisible());
    player->close();
}

void TestAudioNoDevice::recordingSaysThereIsNoMicrophone()
{
    Core *core = Core::instance();
    core->clearAudioFile();
    core->recordAudio();
    QTRY_VERIFY_WITH_TIMEOUT(visibleWindow<ErrorWidget>("ErrorWidget"), 10000);
    ErrorWidget *error = visibleWindow<ErrorWidget>("ErrorWidget");
    QVERIFY2(error->error().contains(QStringLiteral("recorded")), qPrintable(error->error()));
    // No silent recording stands in for the comment.
    QVERIFY(!core->isHaveAudioFile());
}

QTEST_MAIN(TestAudioNoDevice)
#include "tst_audionodevice.moc"
