#include "audioimageplayer.h"
#include "wavsound.h"

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

    // The page asks for the size it shows: a copy of that size is all it holds, never a
    // second full-size one.
    QImage requestImage(const QString &, QSize *size, const QSize &requested) override
    {
        QMutexLocker lock(&m_mutex);
        *size = m_picture.size();
        if (!requested.isValid() || m_picture.isNull()
            || (requested.width() >= size->width() && requested.height() >= size->height()))
            return m_picture;
        return m_picture.scaled(requested, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }

private:
    QMutex m_mutex;
    QImage m_picture;
};

namespace {

// What all open players hold together; they live on the GUI thread only.
qint64 s_heldByAll = 0;

} // namespace

AudioImagePlayer::AudioImagePlayer(QWindow *parent)
    : BasicWindow(parent)
{
    connect(&m_file, &AudioImageFile::stateChange, this, &AudioImagePlayer::isPlayChanged);
    connect(&m_file, &AudioImageFile::playFailed, this, &AudioImagePlayer::setError);
    setupUi();
}

AudioImagePlayer::~AudioImagePlayer()
{
    hold(0);
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
    m_picture = QImage();
    hold(0);
    m_file.setFileName(path);
    const QString problem = readParts(path);
    // Decoded, the picture is held once: neither its file bytes nor, on failure, anything else.
    m_file.releaseImageData();
    if (!problem.isEmpty()) {
        m_picture = QImage();
        m_file.releaseSound();
        hold(0);
    }
    m_provider->setPicture(m_picture);
    emit opened();
    emit isPlayChanged();
    setError(problem);
    return problem.isEmpty();
}

// Both parts are checked before the window shows anything: a file whose parts are misplaced
// would otherwise open and fail only on Play. The picture's size is read from its header before
// anything is decoded: a small file may declare a picture of gigabytes.
QString AudioImagePlayer::readParts(const QString &path)
{
    if (!m_file.readAll())
        return m_file.errorString();
    QBuffer buffer;
    buffer.setData(m_file.readImageData());
    QImageReader reader(&buffer);
    const QString problem = checkPicture(path, reader);
    if (!problem.isEmpty())
        return problem;
    if (!WavSound::parse(m_file.readAudioData()).isValid())
        return tr("The sound of %1 is not a WAV recording: the file is damaged.").arg(path);
    return decodePicture(path, reader);
}

QString AudioImagePlayer::decodePicture(const QString &path, QImageReader &reader)
{
    const QSize size = reader.size();
    const qint64 pixels = qint64(size.width()) * size.height();
    const int depth = QImage::toPixelFormat(reader.imageFormat()).bitsPerPixel();
    const qint64 sound = m_file.readAudioData().size();
    // Taken before decoding, which is what fills that room: the picture as decoded, and the
    // 32-bit copy that replaces a picture of another depth.
    if (!hold(pixels * 4 + (depth == 32 ? 0 : pixels * qMax(depth, 8) / 8) + sound))
        return heldTooMuch(path);
    m_picture = reader.read();
    if (m_picture.isNull())
        return tr("The picture of %1 is missing or damaged.").arg(path);
    // Kept in a format that the smooth scaling and the painter take as it is: neither makes a
    // full-size converted copy of its own then. From 32-bit pixels this happens in place.
    m_picture.convertTo(
        m_picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    return hold(m_picture.sizeInBytes() + sound) ? QString() : heldTooMuch(path);
}

QString AudioImagePlayer::heldTooMuch(const QString &path) const
{
    return tr("%1 is not opened: together with the pictures with sound open already it would "
              "take more than %2 MB of memory. Close one of them first.")
        .arg(path)
        .arg(kMaxHeldBytes >> 20);
}

QString AudioImagePlayer::checkPicture(const QString &path, QImageReader &reader) const
{
    const QSize size = reader.size();
    if (!size.isValid())
        return tr("The picture of %1 is missing or damaged.").arg(path);
    if (qint64(size.width()) * size.height() > kMaxPixels)
        return tr("The picture of %1 is too large: %2 x %3 pixels, at most %4 x %4.")
            .arg(path)
            .arg(size.width())
            .arg(size.height())
            .arg(kMaxSide);
    return QString();
}

bool AudioImagePlayer::hold(qint64 bytes)
{
    if (s_heldByAll - m_held + bytes > kMaxHeldBytes)
        return false;
    s_heldByAll += bytes - m_held;
    m_held = bytes;
    return true;
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
