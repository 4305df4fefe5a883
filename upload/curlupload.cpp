#include "curlupload.h"
#include "curltransfer.h"
#include "curluploadthread.h"
#include "setting.h"
#include "userfile.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QtConcurrent>

CurlUpload::CurlUpload(CurlTarget::Protocol protocol, QObject *parent)
    : QObject(parent)
    , m_protocol(protocol)
    , m_checksCancelled(std::make_shared<std::atomic_bool>(false))
{
}

CurlUpload::~CurlUpload()
{
    *m_checksCancelled = true;
    if (m_thread) {
        m_thread->disconnect(this);
        delete m_thread.data();
    }
}

void CurlUpload::setConnectTimeout(int msec)
{
    CurlTransfer::setConnectTimeout(msec);
}

void CurlUpload::upload(const QString &file)
{
    if (m_thread) {
        failLater(tr("Another upload to this server is still running"));
        return;
    }
    const CurlTarget target = storedTarget();
    QString problem = target.problem();
    std::unique_ptr<QFile> source;
    if (problem.isEmpty())
        source = openFile(file, &problem);
    if (!source) {
        qDebug() << Q_FUNC_INFO << "refused:" << problem;
        failLater(problem);
        return;
    }

    const QString name = QFileInfo(file).fileName();
    m_link = target.link(name);
    auto *thread = new CurlUploadThread(target, std::move(source), name, this);
    connect(thread, &CurlUploadThread::progressed, this, &CurlUpload::uploadProgress);
    connect(thread, &CurlUploadThread::done, this, &CurlUpload::finishUpload);
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    m_thread = thread;
    thread->start();
}

void CurlUpload::cancel()
{
    if (m_thread)
        m_thread->cancel();
}

void CurlUpload::checkConnect(
    QString username, QString password, QString host, QString path, const QVariant &port)
{
    const CurlTarget target(
        m_protocol, host, CurlTarget::portFrom(port, m_protocol), path, username, password);
    auto *watcher = new QFutureWatcher<QString>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        const QString problem = watcher->result();
        watcher->deleteLater();
        if (problem.isEmpty())
            emit connectChecked(true, tr("Well done"), availableText());
        else
            emit connectChecked(false, tr("Error"), problem);
        emit checkConnectFinished();
    });
    // The task holds copies only, so it may outlive this object; the flag ends it early then.
    watcher->setFuture(QtConcurrent::run([target, cancelled = m_checksCancelled] {
        const QString problem = target.problem();
        if (!problem.isEmpty())
            return problem;
        CurlTransfer transfer(target, *cancelled);
        return transfer.check() ? QString() : transfer.errorText();
    }));
}

CurlTarget CurlUpload::storedTarget() const
{
    const SettingKeys::TransferKeys &keys
        = m_protocol == CurlTarget::Sftp ? SettingKeys::sftp : SettingKeys::ftp;
    Setting *settings = Setting::instance();
    const int port = CurlTarget::portFrom(settings->getValue(keys.port), m_protocol);
    return CurlTarget(m_protocol, settings->getValue(keys.host).toString(), port,
        settings->getValue(keys.path).toString(), settings->getValue(keys.user, true).toString(),
        settings->getValue(keys.password, true).toString(),
        settings->getValue(keys.baseUrl).toString());
}

std::unique_ptr<QFile> CurlUpload::openFile(const QString &path, QString *problem) const
{
    auto file = std::make_unique<QFile>(path);
    if (!UserFile::open(*file, path, problem))
        return nullptr;
    return file;
}

void CurlUpload::finishUpload(bool ok, const QString &errorText)
{
    // done() is the thread's last word: once it has really ended, the object is free for the
    // next upload, or to go.
    m_thread->wait();
    m_thread = nullptr;
    if (ok)
        emit uploaded(m_link);
    else
        emit failed(errorText);
}

void CurlUpload::failLater(const QString &text)
{
    QMetaObject::invokeMethod(
        this, [this, text] { emit failed(text); }, Qt::QueuedConnection);
}
