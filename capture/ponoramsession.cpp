#include "ponoramsession.h"

#include "ponoram.h"
#include "ponoramgrab.h"
#include "sharedmemorygrab.h"
#include "surfacewidget.h"

#include <QTimer>

PonoramSession::PonoramSession(QObject *parent)
    : QObject(parent)
{
}

std::function<QImage(const QRect &)> PonoramSession::desktopGrabber()
{
    const QByteArray display = SharedMemoryGrab::displayName();
    std::shared_ptr<PonoramGrab> shared;
    if (SurfaceWidget::grabsTheScreen() && !display.isEmpty())
        shared = std::make_shared<PonoramGrab>(display);
    return [shared](const QRect &rect) {
        const QImage shot = shared ? shared->grab(rect) : QImage();
        return shot.isNull() ? SurfaceWidget::grab(rect).toImage() : shot;
    };
}

void PonoramSession::createEngine()
{
    m_engine = new Ponoram(this);
    connect(m_engine, &Ponoram::complete, this, [this](const QPixmap &picture) {
        m_picture = picture;
        setWork(false);
        emit finished(picture);
    });
    connect(m_engine, &Ponoram::rectChange, this, [this](const QSize &size) {
        m_size = size;
        emit ponoramSizeChanged(size);
        setError(false);
    });
    connect(m_engine, &Ponoram::errorGlueImage, this, [this] { setError(true); });
    connect(m_engine, &Ponoram::heightLimitReached, this, [this] { setFull(true); });
    connect(m_engine, &Ponoram::changePreview, this, &PonoramSession::changePreview);
}

bool PonoramSession::isPonoramBlank() const
{
    return m_error && m_engine && m_engine->endedInBlankStretch();
}

void PonoramSession::start(const QRect &desktopRect)
{
    if (m_work)
        return;
    if (!m_engine)
        createEngine();
    setError(false);
    setFull(false);
    setWork(true);
    m_engine->setGrabber(desktopGrabber());
    QTimer::singleShot(kSettleMs, this, [this, desktopRect] {
        if (!m_work || m_engine->isRunning() || m_engine->startPonoram(desktopRect))
            return;
        setWork(false);
        setError(true);
        emit startFailed();
    });
}

void PonoramSession::stop()
{
    if (m_engine)
        m_engine->stopPonoram();
    setWork(false);
}

void PonoramSession::cancel()
{
    if (m_engine)
        m_engine->cancelPonoram();
    setWork(false);
}

// The grab's connection and memory are let go of with the capture.
void PonoramSession::setWork(bool work)
{
    if (m_work == work)
        return;
    m_work = work;
    if (!work && m_engine)
        m_engine->setGrabber(nullptr);
    emit isPonoramWorkChanged(work);
}

void PonoramSession::setError(bool error)
{
    if (m_error == error)
        return;
    m_error = error;
    emit isPonoramErrorChanged(error);
}

void PonoramSession::setFull(bool full)
{
    if (m_full == full)
        return;
    m_full = full;
    emit isPonoramFullChanged(full);
}
