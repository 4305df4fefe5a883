#include "ponoramsession.h"

#include "ponoram.h"
#include "surfacewidget.h"

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

bool PonoramSession::start(const QRect &desktopRect)
{
    if (m_work)
        return false;
    if (!m_engine)
        createEngine();
    setError(false);
    setFull(false);
    setWork(true);
    if (m_engine->startPonoram(desktopRect))
        return true;
    setWork(false);
    setError(true);
    return false;
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
