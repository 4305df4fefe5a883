#include "audioimageplayer.h"

#include <QBuffer>
#include <QImageReader>
#include <QMutex>
#include <QMutexLocker>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickImageProvider>

// Hands the page the picture of the open file; the engine may ask from a thread of its own.
class PictureProvider : public QQuickImageProvider
{
public:
    PictureProvider()
        : QQuickImageProvider(QQuickImageProvider::Image)
    {
    }

    void setPicture(const QImage &picture)
    {
        QMutexLocker lock(&m_mutex);
        m_picture = picture;
    }

    QImage requestImage(const QString &, QSize *size, const QSize &requested) override
    {
        QMutexLocker lock(&m_mutex);
        *size = m_picture.size();
        if (requested.isValid() && !m_picture.isNull())
            return m_picture.scaled(requested, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        return m_picture;
    }

private:
    QMutex m_mutex;
    QImage m_picture;
};

AudioImagePlayer::AudioImagePlayer(QWindow *parent)
    : BasicWindow(parent)
{
    connect(&m_file, &AudioImageFile::stateChange, this, &AudioImagePlayer::isPlayChanged);
    connect(&m_file, &AudioImageFile::playFailed, this, &AudioImagePlayer::setError);
    setupUi();
}

void AudioImagePlayer::init()
{
    setObjectName(QStringLiteral("AudioImagePlayer"));
    setTitle(QStringLiteral("Kuvo - ") + tr("Audio comment"));
    setPosCenter(true);
    m_provider = new PictureProvider;
    engine()->addImageProvider(QStringLiteral("background"), m_provider);
    rootContext()->setContextProperty(QStringLiteral("player"), this);
    loadPage(QStringLiteral("AudioPlayer.qml"));
}

bool AudioImagePlayer::openFile(const QString &path)
{
    m_file.setFileName(path);
    const bool read = m_file.readAll();
    // A picture that cannot be shown still leaves the comment to be played.
    QString problem = read ? QString() : m_file.errorString();
    m_picture = read ? decodePicture(path, &problem) : QImage();
    m_provider->setPicture(m_picture);
    emit opened();
    emit isPlayChanged();
    setError(problem);
    return read;
}

// The size is read from the picture's header before anything is decoded: a small file may
// declare a picture of gigabytes.
QImage AudioImagePlayer::decodePicture(const QString &path, QString *problem) const
{
    const QByteArray bytes = m_file.readImageData();
    if (bytes.isEmpty())
        return QImage();
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (qint64(size.width()) * size.height() > kMaxPixels) {
        *problem = tr("The picture of %1 is too large: %2 x %3 pixels, at most %4 x %4.")
                       .arg(path)
                       .arg(size.width())
                       .arg(size.height())
                       .arg(kMaxSide);
        return QImage();
    }
    const QImage picture = reader.read();
    if (picture.isNull())
        *problem = tr("The picture of %1 is damaged.").arg(path);
    return picture;
}

QSize AudioImagePlayer::pictureSize() const
{
    if (m_picture.isNull())
        return QSize();
    // Room for the frame, its shadow and the title around the picture.
    const QSize room = availableArea().size() - QSize(40, 90);
    if (m_picture.width() <= room.width() && m_picture.height() <= room.height())
        return m_picture.size();
    return m_picture.size().scaled(room.expandedTo(QSize(1, 1)), Qt::KeepAspectRatio);
}

void AudioImagePlayer::playAudio()
{
    setError(QString());
    m_file.playAudio();
}

void AudioImagePlayer::stopAudio()
{
    m_file.stopAudio();
}

void AudioImagePlayer::setError(const QString &error)
{
    if (m_error == error)
        return;
    m_error = error;
    emit errorTextChanged();
}
