#ifndef AUDIOIMAGEPLAYER_H
#define AUDIOIMAGEPLAYER_H

#include "audioimagefile.h"
#include "basicwindow.h"

#include <QImage>

class QImageReader;

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
    // What the pictures and sounds of all open players hold together at most: room for two
    // pictures of the largest size, decoded at four bytes a pixel, each with a comment of
    // some five minutes (32 MB at 48 kHz). Every "-o" opens a window of its own; past this
    // one more is refused.
    static constexpr qint64 kMaxHeldBytes = 2 * (kMaxPixels * 4 + (qint64(32) << 20));

    explicit AudioImagePlayer(QWindow *parent = nullptr);
    ~AudioImagePlayer() override;

    // False when the file cannot be read, its picture cannot be shown or its sound is no
    // recording, or it would not fit beside the files open already; errorText() says why.
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
    QString readParts(const QString &path);
    QString checkPicture(const QString &path, QImageReader &reader) const;
    QString decodePicture(const QString &path, QImageReader &reader);
    QString heldTooMuch(const QString &path) const;
    // Takes bytes of what all players may hold for this one, in place of what it held.
    bool hold(qint64 bytes);

    AudioImageFile m_file;
    // The one full-size copy of the picture; the page is handed copies of the size it shows.
    QImage m_picture;
    qint64 m_held = 0;
    QString m_error;
    PictureProvider *m_provider = nullptr; // owned by the engine
};

#endif // AUDIOIMAGEPLAYER_H
