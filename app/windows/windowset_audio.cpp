// Audio comment routes: recording a spoken comment beside a capture, joining it with the
// picture into one ".kia" file, and opening such files.

#include "audioimagefile.h"
#include "audioimageplayer.h"
#include "core.h"
#include "logging.h"
#include "paths.h"
#include "windowset.h"

#include <QAudioDeviceInfo>
#include <QAudioEncoderSettings>
#include <QAudioRecorder>
#include <QDebug>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <QUrl>

namespace {

// The recorder finishes the WAV header after stop() returns; it gets this long for that.
constexpr int kFinishRecordingMs = 5000;

QByteArray readWhole(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

QAudioRecorder *WindowSet::audioRecorder()
{
    if (m_audioRecorder)
        return m_audioRecorder;
    m_audioRecorder = new QAudioRecorder(this);
    connect(m_audioRecorder, QOverload<QMediaRecorder::Error>::of(&QMediaRecorder::error), this,
        [this] {
            qDebug() << Q_FUNC_INFO << m_audioRecorder->errorString();
            showErrorWidget(Core::tr("The sound could not be recorded: %1")
                                .arg(m_audioRecorder->errorString()));
        });
    return m_audioRecorder;
}

void WindowSet::recordAudio()
{
    // Without any sound source the recorder would still record, silence, and say nothing.
    if (QAudioDeviceInfo::defaultInputDevice().isNull()) {
        showErrorWidget(Core::tr("No microphone was found: the sound cannot be recorded."));
        return;
    }
    QAudioRecorder *recorder = audioRecorder();
    recorder->setAudioInput(recorder->defaultAudioInput());
    QAudioEncoderSettings settings;
    settings.setQuality(QMultimedia::HighQuality);
    // GStreamer names plain PCM in a WAV container in its own way and builds no recording
    // for "audio/pcm" without a container.
    const QString wav = QStringLiteral("audio/x-wav");
    const bool gstreamer = recorder->supportedContainers().contains(wav);
    settings.setCodec(gstreamer ? QStringLiteral("audio/x-raw") : QStringLiteral("audio/pcm"));
    recorder->setEncodingSettings(settings, QVideoEncoderSettings(), gstreamer ? wav : QString());
    recorder->setVolume(1.0);
    QDir().mkpath(Paths::audioFolder());
    recorder->setOutputLocation(
        QUrl::fromLocalFile(Paths::audioFolder() + millisecondsNow() + QStringLiteral(".wav")));
    recorder->record();
}

void WindowSet::pauseRecordAudio()
{
    audioRecorder()->pause();
}

void WindowSet::uppauseRecordAudio()
{
    audioRecorder()->record();
}

bool WindowSet::waitForRecorderStopped()
{
    QAudioRecorder *recorder = audioRecorder();
    auto stopped = [recorder] {
        const QMediaRecorder::Status status = recorder->status();
        return status != QMediaRecorder::FinalizingStatus
            && status != QMediaRecorder::RecordingStatus && status != QMediaRecorder::PausedStatus
            && status != QMediaRecorder::StartingStatus;
    };
    if (stopped())
        return true;
    QEventLoop loop;
    QTimer::singleShot(kFinishRecordingMs, &loop, &QEventLoop::quit);
    connect(recorder, &QMediaRecorder::statusChanged, &loop, [&] {
        if (stopped())
            loop.quit();
    });
    loop.exec();
    return stopped();
}

QString WindowSet::stopRecordAudio()
{
    audioRecorder()->stop();
    if (!waitForRecorderStopped())
        qWarning() << Q_FUNC_INFO << "the recording is not finished yet";
    const QByteArray picture = readWhole(m_captureFile);
    const QByteArray sound = readWhole(m_core->getAudioFile());
    QDir().mkpath(Paths::tempFolder());
    const QString name = Paths::tempFolder() + millisecondsNow() + QStringLiteral(".kia");
    AudioImageFile file(name);
    if (!file.write(picture, sound)) {
        showErrorWidget(file.errorString());
        return QString();
    }
    return name;
}

void WindowSet::openAudioImage(const QString &fileName)
{
    auto *player = new AudioImagePlayer;
    connect(player, &BasicWindow::closed, player, &QObject::deleteLater);
    const bool opened = player->openFile(fileName);
    if (!player->errorText().isEmpty())
        Logging::instance()->writeMessage(player->errorText());
    if (!opened) {
        showErrorWidget(player->errorText());
        delete player;
        return;
    }
    player->show();
}
