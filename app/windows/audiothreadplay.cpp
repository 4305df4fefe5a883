#include "audiothreadplay.h"
#include "wavsound.h"

#include <QAudioDeviceInfo>
#include <QAudioOutput>
#include <QBuffer>
#include <QDebug>

AudioThreadPlay::AudioThreadPlay(const QByteArray &sound, QObject *parent)
    : QThread(parent)
    , m_sound(sound)
{
}

AudioThreadPlay::~AudioThreadPlay()
{
    stop();
    wait();
}

void AudioThreadPlay::play()
{
    if (!isRunning())
        start(QThread::InheritPriority);
}

void AudioThreadPlay::stop()
{
    quit();
}

void AudioThreadPlay::run()
{
    const WavSound wav = WavSound::parse(m_sound);
    if (!wav.isValid()) {
        emit playFailed(tr("The sound of this file is not a WAV recording that can be played."));
        return;
    }
    const QAudioDeviceInfo device = QAudioDeviceInfo::defaultOutputDevice();
    if (device.isNull()) {
        emit playFailed(tr("No audio device was found: the sound cannot be played."));
        return;
    }
    const QAudioFormat format = wav.format();
    if (!device.isFormatSupported(format)) {
        qWarning() << "Raw audio format not supported by backend, cannot play audio.";
        emit playFailed(tr("The audio device cannot play this sound (%1 Hz, %2 channels, %3 bits).")
                            .arg(format.sampleRate())
                            .arg(format.channelCount())
                            .arg(format.sampleSize()));
        return;
    }
    QBuffer buffer;
    buffer.setData(wav.samples(m_sound));
    buffer.open(QIODevice::ReadOnly);
    QAudioOutput output(device, format);
    output.setVolume(1.0);
    // The output reports on this thread: the end of the sound ends the loop.
    connect(&output, &QAudioOutput::stateChanged, &output, [this](QAudio::State state) {
        qDebug() << Q_FUNC_INFO << state;
        if (state == QAudio::IdleState || state == QAudio::StoppedState)
            quit();
    });
    output.start(&buffer);
    if (output.error() != QAudio::NoError) {
        emit playFailed(tr("The audio device could not be opened: the sound cannot be played."));
        return;
    }
    emit playChange(1);
    exec();
    output.stop();
    emit playChange(0);
}
