#include "audioimagefile.h"
#include "audiothreadplay.h"
#include "kailibrary.h"

AudioImageFile::AudioImageFile() = default;

AudioImageFile::AudioImageFile(const QString &fileName)
    : m_fileName(fileName)
{
}

bool AudioImageFile::write(const QByteArray &picture, const QByteArray &sound)
{
    KaiLibrary library;
    if (library.write(m_fileName, picture, sound))
        return true;
    m_error = library.errorString();
    return false;
}

bool AudioImageFile::readAll()
{
    // A thread holds its own copy of the sound read before.
    dropPlayThread();
    KaiLibrary library;
    if (library.read(m_fileName, &m_picture, &m_sound))
        return true;
    m_error = library.errorString();
    return false;
}

void AudioImageFile::playAudio()
{
    if (!m_playThread) {
        m_playThread = new AudioThreadPlay(m_sound, this);
        connect(m_playThread, &AudioThreadPlay::playChange, this, &AudioImageFile::playChange);
        connect(m_playThread, &AudioThreadPlay::playFailed, this, [this](const QString &error) {
            m_error = error;
            playChange(0);
            emit playFailed(error);
        });
    }
    m_playThread->play();
}

void AudioImageFile::stopAudio()
{
    if (m_playThread)
        m_playThread->stop();
}

void AudioImageFile::playChange(int state)
{
    if (state == 1)
        m_playing = true;
    else if (state == 0)
        m_playing = false;
    emit stateChange();
}

void AudioImageFile::dropPlayThread()
{
    delete m_playThread;
    if (m_playing)
        playChange(0);
}
