#ifndef AUDIOIMAGEFILE_H
#define AUDIOIMAGEFILE_H

#include <QByteArray>
#include <QObject>
#include <QPointer>

class AudioThreadPlay;

// A picture with a spoken comment, kept together in one ".kia" file through the image+audio
// library, and the playing of that comment. Kept by value by its owner, so it takes no parent.
class AudioImageFile : public QObject
{
    Q_OBJECT

public:
    AudioImageFile();
    explicit AudioImageFile(const QString &fileName);

    void setFileName(const QString &fileName) { m_fileName = fileName; }
    QString fileName() const { return m_fileName; }

    // Each returns false with errorString() set when the library is missing or the file
    // cannot be written or read; a file that cannot be read leaves both parts empty.
    bool write(const QByteArray &picture, const QByteArray &sound);
    bool readAll();
    QString errorString() const { return m_error; }

    QByteArray readImageData() const { return m_picture; }
    // Let the picture's bytes go once whoever shows it has decoded them, and the sound once
    // it is of no use.
    void releaseImageData() { m_picture = QByteArray(); }
    void releaseSound() { m_sound = QByteArray(); }
    QByteArray readAudioData() const { return m_sound; }

    bool isPlaying() const { return m_playing; }
    // The first play takes the sound read last; later ones replay it. Nothing new happens
    // while it plays.
    void playAudio();
    void stopAudio();

signals:
    void stateChange();
    // The sound could not be played; error says why, for the user.
    void playFailed(const QString &error);

private slots:
    void playChange(int state);

private:
    void dropPlayThread();

    QString m_fileName;
    QPointer<AudioThreadPlay> m_playThread;
    QByteArray m_picture;
    QByteArray m_sound;
    bool m_playing = false;
    QString m_error;
};

#endif // AUDIOIMAGEFILE_H
