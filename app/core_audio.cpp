// The recordings of spoken comments in the audio folder; the window part records them.

#include "core.h"
#include "paths.h"

#include <QDir>
#include <QFile>

namespace {

const QStringList kRecordingFilter = {QStringLiteral("*.wav")};

} // namespace

void Core::recordAudio()
{
    windows()->recordAudio();
}

void Core::pauseRecordAudio()
{
    windows()->pauseRecordAudio();
}

void Core::uppauseRecordAudio()
{
    windows()->uppauseRecordAudio();
}

QString Core::stopRecordAudio()
{
    return windows()->stopRecordAudio();
}

bool Core::isHaveAudioFile() const
{
    return !QDir(Paths::audioFolder()).entryList(kRecordingFilter, QDir::Files).isEmpty();
}

QString Core::getAudioFile() const
{
    const QFileInfoList files
        = QDir(Paths::audioFolder()).entryInfoList(kRecordingFilter, QDir::Files, QDir::Time);
    return files.isEmpty() ? QString() : files.first().absoluteFilePath();
}

void Core::clearAudioFile()
{
    const QDir folder(Paths::audioFolder());
    for (const QFileInfo &file : folder.entryInfoList(QDir::Files | QDir::Hidden | QDir::System))
        QFile::remove(file.absoluteFilePath());
}

void Core::openAudioImage(const QString &fileName)
{
    windows()->openAudioImage(fileName);
}
