#ifndef AUDIOTHREADPLAY_H
#define AUDIOTHREADPLAY_H

#include <QByteArray>
#include <QThread>

// Plays one WAV recording on a thread of its own, in the recording's own sample format. The
// audio output lives on that thread; stop() only ends the thread's event loop, after which the
// thread itself stops the output, so the GUI thread never touches it.
class AudioThreadPlay : public QThread
{
    Q_OBJECT

public:
    explicit AudioThreadPlay(const QByteArray &sound, QObject *parent = nullptr);
    // Stops the sound and waits for the thread: it is never terminated.
    ~AudioThreadPlay() override;

    // Starts playing from the beginning; does nothing while the sound plays.
    void play();
    void stop();

signals:
    // 1 when the sound started, 0 when it ended or was stopped.
    void playChange(int state);
    // The sound could not start: error says why, for the user. No playChange() follows.
    void playFailed(const QString &error);

protected:
    void run() override;

private:
    const QByteArray m_sound;
};

#endif // AUDIOTHREADPLAY_H
