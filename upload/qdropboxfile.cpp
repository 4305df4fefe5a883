#include "qdropboxfile.h"
#include "userfile.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QNetworkReply>
#include <QUrl>

namespace {

// Dropbox takes at most 150 MiB in one call; beyond that only sessions work.
qint64 s_sessionThreshold = 150LL << 20;
qint64 s_chunkSize = 8LL << 20;

// The link goes to the clipboard and the browser: it has to be a secure web address.
bool isWebLink(const QString &link)
{
    const QUrl url(link, QUrl::StrictMode);
    return url.isValid() && url.scheme() == QLatin1String("https") && !url.host().isEmpty();
}

} // namespace

QDropboxFile::QDropboxFile(QObject *parent)
    : QObject(parent)
{
}

void QDropboxFile::setSessionLimits(qint64 threshold, qint64 chunkSize)
{
    s_sessionThreshold = threshold;
    s_chunkSize = chunkSize;
}

void QDropboxFile::upload(const QString &localPath, const QString &remotePath)
{
    if (m_started)
        return;
    m_started = true;
    m_localPath = localPath;
    m_remotePath = remotePath;
    QString problem;
    if (!openFile(localPath, &problem)) {
        fail(problem + QLatin1Char(' ') + tr("It was not uploaded."));
        return;
    }
    qDebug() << Q_FUNC_INFO << m_remotePath << m_size;
    if (m_size > s_sessionThreshold)
        sendChunk();
    else
        sendWhole();
}

bool QDropboxFile::openFile(const QString &localPath, QString *problem)
{
    auto *file = new QFile(localPath, this);
    if (!UserFile::open(*file, localPath, problem)) {
        qDebug() << Q_FUNC_INFO << *problem;
        delete file;
        return false;
    }
    m_file = file;
    m_size = file->size();
    return true;
}

QJsonObject QDropboxFile::commit() const
{
    return {{QStringLiteral("path"), m_remotePath}, {QStringLiteral("mode"), QStringLiteral("add")},
        {QStringLiteral("autorename"), true}, {QStringLiteral("mute"), false}};
}

void QDropboxFile::sendWhole()
{
    QNetworkReply *reply
        = QDropbox::upload(QStringLiteral("/2/files/upload"), commit(), m_file.data(), this);
    // Owned by the call's manager from now on, after the reply: however this ends, the reply
    // is gone before the body it streams.
    m_file->setParent(reply->manager());
    connect(reply, &QNetworkReply::uploadProgress, this,
        [this](qint64 sent, qint64) { emit uploadProgress(sent, m_size); });
    track(reply, &QDropboxFile::stored);
}

void QDropboxFile::sendChunk()
{
    const qint64 wanted = qMin(m_size - m_offset, s_chunkSize);
    const QByteArray bytes = m_file->read(wanted);
    if (bytes.size() != wanted) {
        fail(tr("The file %1 changed while it was uploaded").arg(m_localPath));
        return;
    }
    m_chunk = bytes.size();
    const QJsonObject cursor {
        {QStringLiteral("session_id"), m_sessionId}, {QStringLiteral("offset"), m_offset}};
    const bool last = !m_sessionId.isEmpty() && m_offset + m_chunk == m_size;
    QNetworkReply *reply = nullptr;
    if (m_sessionId.isEmpty()) {
        reply = QDropbox::upload(QStringLiteral("/2/files/upload_session/start"),
            {{QStringLiteral("close"), false}}, bytes, this);
    } else if (last) {
        reply = QDropbox::upload(QStringLiteral("/2/files/upload_session/finish"),
            {{QStringLiteral("cursor"), cursor}, {QStringLiteral("commit"), commit()}}, bytes,
            this);
    } else {
        reply = QDropbox::upload(QStringLiteral("/2/files/upload_session/append_v2"),
            {{QStringLiteral("cursor"), cursor}, {QStringLiteral("close"), false}}, bytes, this);
    }
    connect(reply, &QNetworkReply::uploadProgress, this,
        [this](qint64 sent, qint64) { emit uploadProgress(m_offset + sent, m_size); });
    track(reply, last ? &QDropboxFile::stored : &QDropboxFile::chunkSent);
}

void QDropboxFile::chunkSent()
{
    const QDropbox::Answer answer = takeAnswer();
    if (!answer.ok) {
        fail(QDropbox::failureText(answer));
        return;
    }
    if (m_sessionId.isEmpty()) {
        m_sessionId = answer.data.value(QLatin1String("session_id")).toString();
        if (m_sessionId.isEmpty()) {
            fail(tr("Dropbox sent a reply that could not be read"));
            return;
        }
    }
    m_offset += m_chunk;
    sendChunk();
}

void QDropboxFile::stored()
{
    const QDropbox::Answer answer = takeAnswer();
    dropFile();
    if (!answer.ok) {
        fail(QDropbox::failureText(answer));
        return;
    }
    const QString path = answer.data.value(QLatin1String("path_display")).toString();
    const qint64 size = answer.data.value(QLatin1String("size")).toVariant().toLongLong();
    if (path.isEmpty()) {
        fail(tr("Dropbox sent a reply that could not be read"));
        return;
    }
    if (size != m_size) {
        fail(tr("Dropbox did not store all of %1").arg(path));
        return;
    }
    emit uploadProgress(m_size, m_size);
    share(path);
}

void QDropboxFile::share(const QString &remotePath)
{
    if (m_reply || m_finished)
        return;
    m_started = true;
    m_storedPath = remotePath;
    track(QDropbox::call(QStringLiteral("/2/sharing/create_shared_link_with_settings"),
              {{QStringLiteral("path"), remotePath}}, this),
        &QDropboxFile::linkCreated);
}

void QDropboxFile::linkCreated()
{
    const QDropbox::Answer answer = takeAnswer();
    if (answer.ok) {
        sendLink(answer.data.value(QLatin1String("url")).toString());
        return;
    }
    const QString exists = QStringLiteral("shared_link_already_exists");
    if (!answer.hasTag(exists)) {
        fail(QDropbox::failureText(answer));
        return;
    }
    const QString link = answer.data.value(QLatin1String("error"))
                             .toObject()
                             .value(exists)
                             .toObject()
                             .value(QLatin1String("metadata"))
                             .toObject()
                             .value(QLatin1String("url"))
                             .toString();
    if (!link.isEmpty()) {
        sendLink(link);
        return;
    }
    // Dropbox does not always name the existing link; then it has to be looked up.
    track(
        QDropbox::call(QStringLiteral("/2/sharing/list_shared_links"),
            {{QStringLiteral("path"), m_storedPath}, {QStringLiteral("direct_only"), true}}, this),
        &QDropboxFile::linksListed);
}

void QDropboxFile::linksListed()
{
    const QDropbox::Answer answer = takeAnswer();
    if (!answer.ok) {
        fail(QDropbox::failureText(answer));
        return;
    }
    const QJsonArray links = answer.data.value(QLatin1String("links")).toArray();
    sendLink(links.isEmpty() ? QString() : links.first()[QLatin1String("url")].toString());
}

void QDropboxFile::track(QNetworkReply *reply, void (QDropboxFile::*done)())
{
    m_reply = reply;
    connect(reply, &QNetworkReply::finished, this, done);
}

QDropbox::Answer QDropboxFile::takeAnswer()
{
    const QDropbox::Answer answer = QDropbox::take(m_reply);
    if (!answer.ok)
        qDebug() << Q_FUNC_INFO << m_remotePath << answer.status << answer.error
                 << answer.errorTags;
    return answer;
}

void QDropboxFile::sendLink(const QString &link)
{
    if (!isWebLink(link)) {
        fail(tr("Dropbox sent no usable link for %1").arg(m_storedPath));
        return;
    }
    m_finished = true;
    emit shared(link);
}

void QDropboxFile::fail(const QString &text)
{
    if (m_finished)
        return;
    m_finished = true;
    dropFile();
    emit failed(text);
}

void QDropboxFile::abort()
{
    m_finished = true;
    QDropbox::abandon(m_reply, this);
    dropFile();
}

void QDropboxFile::dropFile()
{
    if (m_file)
        m_file->deleteLater();
    m_file = nullptr;
}
