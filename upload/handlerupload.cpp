#include "handlerupload.h"
#include "autorization.h"
#include "curltransfer.h"
#include "handledropboxupload.h"
#include "handleftpupload.h"
#include "handlesftpupload.h"
#include "logging.h"
#include "networkaccessmanager.h"
#include "networkreadreply.h"
#include "paths.h"
#include "serviceaddress.h"
#include "setting.h"
#include "uploadmodel.h"
#include "userfile.h"
#include "zippacker.h"

#include <QDateTime>
#include <QDebug>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMimeDatabase>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>
#include <QtConcurrent>

#include <sys/stat.h>

#include <utility>

namespace {

int s_transferTimeout = 60000;

// Only regular files: a folder, a device or a pipe would never end or block the job.
bool isUploadable(const QFileInfo &info)
{
    return info.isFile() && info.isReadable();
}

qint64 uploadableSize(const QStringList &files)
{
    qint64 size = 0;
    for (const QString &path : files) {
        const QFileInfo info(path);
        if (isUploadable(info))
            size += info.size();
    }
    return size;
}

// The link goes to the clipboard and the browser, so it has to be a web address.
bool isWebLink(const QString &link)
{
    const QUrl url(link, QUrl::StrictMode);
    return url.isValid() && !url.host().isEmpty()
        && (url.scheme() == QLatin1String("https") || url.scheme() == QLatin1String("http"));
}

// The id becomes one segment of the upload address; it must not be able to leave it.
bool isFileId(const QString &id)
{
    return !id.isEmpty() && id != QLatin1String(".") && id != QLatin1String("..");
}

QString targetName(HandlerUpload::TargetUpload target)
{
    switch (target) {
    case HandlerUpload::FTP:
        return QStringLiteral("FTP");
    case HandlerUpload::SFTP:
        return QStringLiteral("SFTP");
    case HandlerUpload::Dropbox:
        return QStringLiteral("Dropbox");
    case HandlerUpload::Service:
        break;
    }
    return QStringLiteral("Kuvo");
}

// When the file behind the descriptor was last written, in nanoseconds; -1 when it cannot be told.
qint64 modifiedAt(int descriptor)
{
    struct stat status
    {
    };
    if (::fstat(descriptor, &status) != 0)
        return -1;
    return qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
}

} // namespace

HandlerUpload::HandlerUpload(const QStringList &files, TypeUpload type, QObject *parent)
    : QObject(parent)
    , m_files(files)
    , m_type(type == Screen ? Screen : File)
{
}

HandlerUpload::TargetUpload HandlerUpload::targetFromSettings()
{
    Setting *settings = Setting::instance();
    const QString type = settings->getValue(SettingKeys::typeUpload).toString();
    if (type == QLatin1String("ftp"))
        return settings->getValue(SettingKeys::isSftp).toBool() ? SFTP : FTP;
    if (type == QLatin1String("dropbox"))
        return Dropbox;
    return Service;
}

void HandlerUpload::setTransferTimeout(int msec)
{
    s_transferTimeout = msec;
}

void HandlerUpload::start()
{
    if (m_started || m_finished)
        return;
    m_started = true;
    if (m_model)
        m_model->addUpload(this);

    m_target = targetFromSettings();
    qDebug() << Q_FUNC_INFO << m_files.size() << "file(s) to" << targetName(m_target);
    if (m_packInZip)
        startPacking();
    else
        beginTransfer();
}

// Packing runs on a worker task; the row of the upload window shows it meanwhile.
void HandlerUpload::startPacking()
{
    m_archive = true;
    emit archiveChanged();
    const QString archive = Paths::tempFolder()
        + QString::number(QDateTime::currentMSecsSinceEpoch()) + QStringLiteral(".zip");
    m_archiveFile = archive;
    auto *watcher = new QFutureWatcher<QString>(this);
    connect(watcher, &QFutureWatcher<QString>::finished, this, [this, watcher] {
        watcher->deleteLater();
        packed(watcher->result());
    });
    const QStringList files = m_files;
    const std::shared_ptr<std::atomic_bool> cancelled = m_cancelled;
    QDir().mkpath(Paths::tempFolder());
    watcher->setFuture(QtConcurrent::run(
        [files, archive, cancelled] { return ZipPacker::pack(files, archive, *cancelled); }));
}

void HandlerUpload::packed(const QString &problem)
{
    m_archive = false;
    emit archiveChanged();
    if (m_finished)
        return;
    if (!problem.isEmpty()) {
        failWith(problem);
        return;
    }
    m_files = QStringList {m_archiveFile};
    beginTransfer();
}

void HandlerUpload::beginTransfer()
{
    m_total = uploadableSize(m_files);
    emit totalChanged();
    nextFile();
}

QUrl HandlerUpload::afterActionUrl(TypeAfterAction action, const QString &link)
{
    const QString encoded = QString::fromLatin1(QUrl::toPercentEncoding(link));
    switch (action) {
    case PostFacebook:
        return QUrl(QStringLiteral("https://www.facebook.com/sharer/sharer.php?u=") + encoded);
    case PostOdnoklassniki:
        return QUrl(QStringLiteral("https://connect.ok.ru/offer?url=") + encoded);
    case PostVK:
        return QUrl(QStringLiteral("https://vk.com/share.php?url=") + encoded);
    case PostTwitter:
        return QUrl(QStringLiteral("https://twitter.com/intent/tweet?url=") + encoded);
    case PostMail:
        return QUrl(QStringLiteral("mailto:?body=") + encoded);
    case PostNone:
        break;
    }
    return QUrl();
}

void HandlerUpload::cancel()
{
    if (m_finished)
        return;
    qDebug() << Q_FUNC_INFO << m_fileName;
    *m_cancelled = true;
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
    dropRequest();
    dropFile();
    finish();
}

void HandlerUpload::nextFile()
{
    while (!m_finished && m_next < m_files.size()) {
        const QString path = m_files.at(m_next++);
        QString problem;
        if (openFile(path, &problem)) {
            if (m_target == Service)
                createServiceFile();
            else
                sendToTarget(path);
            return;
        }
        const QString text = problem + QLatin1Char(' ') + tr("It was not uploaded.");
        Logging::instance()->writeMessage(text);
        emit error(text);
    }
    if (!m_finished && !m_link.isEmpty() && m_afterAction != PostNone)
        QDesktopServices::openUrl(afterActionUrl(m_afterAction, m_link));
    finish();
}

void HandlerUpload::sendToTarget(const QString &path)
{
    switch (m_target) {
    case FTP:
        startUploader(new HandleFTPUpload(this), path);
        break;
    case SFTP:
        startUploader(new HandleSFTPUpload(this), path);
        break;
    case Dropbox:
        startUploader(new HandleDropboxUpload(nullptr, this), path);
        break;
    case Service:
        break;
    }
}

// The uploaders of FTP, SFTP and Dropbox share one shape: upload(), cancel(), progress, and
// exactly one of uploaded() or failed() for each file.
template <typename Uploader>
void HandlerUpload::startUploader(Uploader *uploader, const QString &path)
{
    m_uploader = uploader;
    m_stopUploader = [uploader] { uploader->cancel(); };
    connect(uploader, &Uploader::uploadProgress, this,
        [this](qint64 sent, qint64) { showProgress(sent); });
    connect(uploader, &Uploader::uploaded, this, &HandlerUpload::targetUploaded);
    connect(uploader, &Uploader::failed, this, &HandlerUpload::targetFailed);
    emit startUpload();
    if (!m_finished)
        uploader->upload(path);
}

void HandlerUpload::targetUploaded(const QString &link)
{
    dropUploader();
    m_done += m_file ? m_file->size() : 0;
    dropFile();
    showProgress(0);
    m_link = link;
    emit readyLinkAfterUpload(link);
    nextFile();
}

void HandlerUpload::targetFailed(const QString &text)
{
    if (!fallsBackToService()) {
        failWith(text);
        return;
    }
    const QString target = targetName(m_target);
    // Whatever the target got was not the file, and the service would get yet another one;
    // the file is to be sent again once it is whole.
    if (fileChanged()) {
        failWith(tr("The file %1 changed while it was being sent to %2. It was not uploaded.")
                     .arg(m_fileName, target));
        return;
    }
    Logging::instance()->writeMessage(
        tr("Upload of %1 to %2 failed: %3; it goes to Kuvo instead").arg(m_fileName, target, text));
    m_fallback
        = tr("The upload to %1 failed (%2); the file went to Kuvo instead.").arg(target, text);
    dropUploader();
    // The rest of the job follows: a target that failed once would most likely fail again.
    m_target = Service;
    showProgress(0);
    createServiceFile();
}

// Only with an account to upload to: a user who is signed out hears of the failure itself.
bool HandlerUpload::fallsBackToService() const
{
    const QLatin1String key = m_target == Dropbox ? SettingKeys::isDropboxErrorUploadKuvo
                                                  : SettingKeys::isFtpErrorUploadKuvo;
    return m_target != Service && m_file && Autorization::isAuth()
        && Setting::instance()->getValue(key).toBool();
}

// Stops an uploader that still runs; one that has finished goes quietly.
void HandlerUpload::dropUploader()
{
    if (!m_uploader)
        return;
    m_uploader->disconnect(this);
    m_stopUploader();
    m_uploader->deleteLater();
    m_uploader = nullptr;
}

bool HandlerUpload::openFile(const QString &path, QString *problem)
{
    const QFileInfo info(path);
    auto *file = new QFile(path, this);
    if (!UserFile::open(*file, path, problem)) {
        qDebug() << Q_FUNC_INFO << *problem;
        delete file;
        return false;
    }
    m_file = file;
    m_fileSize = file->size();
    m_fileModified = modifiedAt(file->handle());
    // Judged from the descriptor just checked, not from the name, which could stand for another
    // file by now; peek() leaves the file at its start for the upload.
    m_mimeType = QMimeDatabase().mimeTypeForFileNameAndData(info.absoluteFilePath(), file).name();
    m_fileName = info.fileName();
    emit fileNameChanged();
    return true;
}

bool HandlerUpload::fileShrunk() const
{
    return m_file && m_file->size() < m_fileSize;
}

// Judged by the descriptor opened at the start, as the uploads read it.
bool HandlerUpload::fileChanged() const
{
    return m_file
        && (m_file->size() != m_fileSize || modifiedAt(m_file->handle()) != m_fileModified);
}

void HandlerUpload::createServiceFile()
{
    const QJsonObject body {
        {QStringLiteral("title"), m_fileName},
        {QStringLiteral("description"), m_type == Screen ? m_description : QString()},
        {QStringLiteral("mimeType"), m_mimeType},
        {QStringLiteral("fileSize"), m_fileSize},
    };
    auto *manager = new NetworkAccessManager(this);
    track(manager->post(
              serviceRequest(ServiceAddress::serverInit(), QStringLiteral("application/json")),
              QJsonDocument(body).toJson(QJsonDocument::Compact)),
        &HandlerUpload::serviceFileCreated);
}

void HandlerUpload::serviceFileCreated()
{
    const std::optional<QVariantMap> reply = takeReply();
    if (!reply)
        return;
    const QString id = reply->value(QStringLiteral("id")).toString();
    m_link = reply->value(QStringLiteral("alternateLink")).toString();
    if (!isFileId(id) || !isWebLink(m_link)) {
        failWith(tr("The service sent no usable link for %1").arg(m_fileName));
        return;
    }
    // The link is on the clipboard while the bytes are still on their way.
    m_advertised = m_link;
    emit readyLink(m_link);
    if (m_finished)
        return;
    emit startUpload();
    if (m_finished)
        return;
    sendServiceData(id);
}

void HandlerUpload::sendServiceData(const QString &id)
{
    const QString url = ServiceAddress::serverUploadUrl() + QLatin1Char('/')
        + QString::fromLatin1(QUrl::toPercentEncoding(id));
    QNetworkRequest request = serviceRequest(url, m_mimeType);
    request.setHeader(QNetworkRequest::ContentLengthHeader, m_fileSize);
    auto *manager = new NetworkAccessManager(this);
    // The file itself is the body: Qt reads it piece by piece as the socket drains.
    QNetworkReply *reply = manager->put(request, m_file.data());
    // Owned by the manager from now on, after the reply: however the job ends, even deleted
    // midway, the reply is gone before its body is.
    m_file->setParent(manager);
    connect(reply, &QNetworkReply::uploadProgress, this,
        [this](qint64 sent, qint64) { showProgress(sent); });
    track(reply, &HandlerUpload::serviceDataSent);
}

void HandlerUpload::serviceDataSent()
{
    const std::optional<QVariantMap> reply = takeReply();
    if (!reply)
        return;
    const qint64 size = m_fileSize;
    const QVariant stored = reply->value(QStringLiteral("fileSize"));
    dropFile();
    if (stored.isValid() && stored.toLongLong() != size) {
        failWith(tr("The service did not store all of %1").arg(m_fileName));
        return;
    }
    m_done += size;
    m_advertised.clear();
    showProgress(0);
    if (!m_fallback.isEmpty())
        emit sentToServiceInstead(std::exchange(m_fallback, QString()));
    emit readyLinkAfterUpload(m_link);
    nextFile();
}

QNetworkRequest HandlerUpload::serviceRequest(const QString &url, const QString &contentType) const
{
    QNetworkRequest request {QUrl(url)};
    NetworkAccessManager::getAuthRequest(request);
    request.setHeader(QNetworkRequest::ContentTypeHeader, contentType);
    request.setTransferTimeout(s_transferTimeout);
    return request;
}

void HandlerUpload::track(QNetworkReply *reply, void (HandlerUpload::*done)())
{
    m_reply = reply;
    connect(reply, &QNetworkReply::finished, this, done);
}

void HandlerUpload::showProgress(qint64 sent)
{
    m_download = m_done + sent;
    emit downloadChanged();
    emit uploadProgress(m_download, m_total);
}

std::optional<QVariantMap> HandlerUpload::takeReply()
{
    QNetworkReply *reply = m_reply;
    // Qt reports a body that ends early as a network fault; the network is not to blame.
    if (reply->error() != QNetworkReply::NoError && fileShrunk()) {
        failWith(CurlTransfer::shrunkText(m_fileName));
        return std::nullopt;
    }
    // Our own abort disconnects first, so a request cancelled here ran out of time; what it
    // holds is not worth reading.
    if (reply->error() == QNetworkReply::OperationCanceledError) {
        fail(QNetworkReply::TimeoutError, NetworkAccessManager::replyError(reply));
        return std::nullopt;
    }
    const NetworkReadReply read(reply);
    if (!read.isOk()) {
        m_tokenRefused = read.status() == 401;
        qDebug() << Q_FUNC_INFO << m_fileName << reply->error() << read.status();
        fail(reply->error(), read.errorText());
        return std::nullopt;
    }
    dropRequest();
    return read.data();
}

void HandlerUpload::fail(QNetworkReply::NetworkError code, const QString &text)
{
    if (!NetworkAccessManager::isNetworkMissing(code)) {
        failWith(text);
        return;
    }
    dropRequest();
    dropFile();
    Logging::instance()->writeMessage(
        tr("Upload of %1 failed: the network is not available").arg(m_fileName));
    emit internetNotAvailable();
    finish();
}

void HandlerUpload::failWith(const QString &text)
{
    dropRequest();
    dropFile();
    Logging::instance()->writeMessage(tr("Upload of %1 failed: %2").arg(m_fileName, text));
    emit error(text);
    finish();
}

// The manager owns the reply (and the body it streams), so the reply goes with it.
void HandlerUpload::dropRequest()
{
    if (!m_reply)
        return;
    m_reply->disconnect(this);
    m_reply->manager()->deleteLater();
    m_reply = nullptr;
}

void HandlerUpload::dropFile()
{
    if (m_file)
        m_file->deleteLater();
    m_file = nullptr;
}

void HandlerUpload::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    qDebug() << Q_FUNC_INFO << m_fileName << m_download << "of" << m_total;
    if (!m_advertised.isEmpty())
        emit linkWithdrawn(std::exchange(m_advertised, QString()));
    dropUploader();
    // A packing task still running removes its own archive when it sees the cancel.
    if (!m_archiveFile.isEmpty() && !m_archive)
        QFile::remove(m_archiveFile);
    emit finished();
}
