#include "ponoramsession.h"

#include "ponoram.h"
#include "surfacewidget.h"

#include <QTimer>

PonoramSession::PonoramSession(QObject *parent)
    : QObject(parent)
{
}

void PonoramSession::createEngine()
{
    m_engine = new Ponoram(this);
    // The grab of the capture windows, which tests replace.
    m_engine->setGrabber([](const QRect &rect) { return SurfaceWidget::grab(rect).toImage(); });
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

void PonoramSession::start(const QRect &desktopRect)
{
    if (m_work)
        return;
    if (!m_engine)
        createEngine();
    setError(false);
    setFull(false);
    setWork(true);
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

void PonoramSession::setWork(bool work)
{
    if (m_work == work)
        return;
    m_work = work;
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
