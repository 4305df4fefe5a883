#ifndef AUDIOIMAGEPLAYER_H
#define AUDIOIMAGEPLAYER_H

#include "audioimagefile.h"
#include "basicwindow.h"

#include <QImage>

class PictureProvider;

// The window of a ".kia" file: its picture, and a play button for its spoken comment. The
// page sees the window as "player" as well, and the picture as "image://background/data".
class AudioImagePlayer : public BasicWindow
{
    Q_OBJECT
    Q_PROPERTY(bool isPlay READ isPlay NOTIFY isPlayChanged)
    Q_PROPERTY(QSize pictureSize READ pictureSize NOTIFY opened)
    Q_PROPERTY(bool hasPicture READ hasPicture NOTIFY opened)
    Q_PROPERTY(bool hasSound READ hasSound NOTIFY opened)
    Q_PROPERTY(QString errorText READ errorText NOTIFY errorTextChanged)

public:
    // Pictures up to this many pixels a side, or as many in another shape, are shown; a
    // larger one would take gigabytes once decoded.
    static constexpr int kMaxSide = 16384;
    static constexpr qint64 kMaxPixels = qint64(kMaxSide) * kMaxSide;

    explicit AudioImagePlayer(QWindow *parent = nullptr);

    // False when the file cannot be read; errorText() says why.
    bool openFile(const QString &path);

    bool isPlay() const { return m_file.isPlaying(); }
    // The picture scaled to fit the screen, never enlarged.
    QSize pictureSize() const;
    bool hasPicture() const { return !m_picture.isNull(); }
    bool hasSound() const { return !m_file.readAudioData().isEmpty(); }
    QString errorText() const { return m_error; }
    QImage picture() const { return m_picture; }

public slots:
    void playAudio();
    void stopAudio();

signals:
    void isPlayChanged();
    void opened();
    void errorTextChanged();

protected:
    void init() override;

private:
    void setError(const QString &error);
    QImage decodePicture(const QString &path, QString *problem) const;

    AudioImageFile m_file;
    QImage m_picture;
    QString m_error;
    PictureProvider *m_provider = nullptr; // owned by the engine
};

#endif // AUDIOIMAGEPLAYER_H
