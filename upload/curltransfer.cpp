#include "curltransfer.h"
#include "paths.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QtEndian>

#include <atomic>

namespace {

std::atomic_int s_connectTimeoutMs {20000};
// A server that takes a connection and then stops moving bytes for this long is given up.
constexpr long StallSeconds = 30;
// The connection check lists at most one folder; it never needs longer than this.
constexpr long CheckTimeoutMs = 30000;
// Progress reaches the GUI thread through its event queue: a few dozen a second are enough to
// draw, and more would flood it on a fast link.
constexpr qint64 ReportIntervalMs = 40;
// libssh2 sends SFTP data in pieces of the upload buffer; with the default 64 KiB a fast link
// mostly waits for acknowledgements (about 40% slower on loopback). FTP streams the data over
// TCP, and a bigger buffer made no difference there.
constexpr long SftpUploadBuffer = 2 * 1024 * 1024;

// The key blob starts with its own algorithm name, which names the key type exactly (the type
// libcurl passes along does not tell the ECDSA curves apart).
QByteArray keyAlgorithm(const QByteArray &blob)
{
    if (blob.size() < 4)
        return QByteArray();
    const quint32 length = qFromBigEndian<quint32>(blob.constData());
    if (length == 0 || length > 64 || int(length) > blob.size() - 4)
        return QByteArray();
    const QByteArray name = blob.mid(4, int(length));
    for (const char c : name) {
        if (c <= ' ' || c > '~')
            return QByteArray();
    }
    return name;
}

QByteArray keyBlob(const curl_khkey *key)
{
    if (key->len > 0)
        return QByteArray(key->key, int(key->len));
    return QByteArray::fromBase64(QByteArray(key->key));
}

// Written in OpenSSH's form, with the port when it is not 22, so that two servers on one host
// each keep a key of their own (libcurl itself would file every port under the bare host).
bool rememberHostKey(const QString &host, int port, const QByteArray &blob)
{
    const QByteArray algorithm = keyAlgorithm(blob);
    if (algorithm.isEmpty())
        return false;
    const QString name = port == 22 ? host : QStringLiteral("[%1]:%2").arg(host).arg(port);
    QByteArray line = name.toUtf8() + ' ' + algorithm + ' ' + blob.toBase64() + '\n';

    static QMutex mutex;
    const QMutexLocker lock(&mutex);
    const QString path = CurlTransfer::knownHostsFile();
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append)) {
        qDebug() << Q_FUNC_INFO << path << file.errorString();
        return false;
    }
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    if (file.size() > 0 && file.seek(file.size() - 1) && file.read(1) != "\n")
        line.prepend('\n');
    return file.write(line) == line.size();
}

} // namespace

CurlTransfer::CurlTransfer(const CurlTarget &target, const std::atomic_bool &cancelled)
    : m_target(target)
    , m_cancelled(cancelled)
{
}

QString CurlTransfer::knownHostsFile()
{
    return Paths::settingsFolder() + QStringLiteral("known_hosts");
}

void CurlTransfer::setConnectTimeout(int msec)
{
    s_connectTimeoutMs = msec;
}

bool CurlTransfer::upload(QFile &file, const QString &fileName, const Progress &progress)
{
    m_file = &file;
    m_fileName = fileName;
    m_progress = progress;
    m_total = file.size();
    m_sent = 0;
    // The name goes into a server command; a line break in it would start another one.
    if (fileName.contains(QLatin1Char('\n')) || fileName.contains(QLatin1Char('\r'))) {
        m_error = tr("The file name %1 cannot be sent to a server").arg(fileName);
        return false;
    }
    const QString partName
        = QStringLiteral(".kuvo-%1.part").arg(QDateTime::currentMSecsSinceEpoch());
    prepare(m_target.fileUrl(partName));
    renameWhenDone(partName, fileName);
    m_curl.set(CURLOPT_UPLOAD, 1L);
    m_curl.set(CURLOPT_READFUNCTION, &CurlTransfer::readFile);
    m_curl.set(CURLOPT_READDATA, this);
    m_curl.set(CURLOPT_INFILESIZE_LARGE, curl_off_t(m_total));
    m_curl.set(CURLOPT_FTP_CREATE_MISSING_DIRS, long(CURLFTP_CREATE_DIR_RETRY));
    if (m_target.protocol() == CurlTarget::Sftp)
        m_curl.set(CURLOPT_UPLOAD_BUFFERSIZE, SftpUploadBuffer);
    m_sinceReport.start();
    if (!perform())
        return false;
    report(m_total, true);
    return true;
}

// Sent on the same connection once the upload has succeeded, in the folder of the upload.
void CurlTransfer::renameWhenDone(const QString &partName, const QString &fileName)
{
    if (m_target.protocol() == CurlTarget::Ftp) {
        // The FTP session stands in the upload's folder by then.
        m_curl.setList(
            CURLOPT_POSTQUOTE, {"RNFR " + partName.toUtf8(), "RNTO " + fileName.toUtf8()});
        return;
    }
    // SFTP paths start in the login folder, as the upload's address does; quoted, since a
    // blank would end the name. An SFTP rename does not replace a file: an older one of the
    // same name goes first ("*": its absence is no failure).
    auto quoted = [this](const QString &name) {
        QString path = m_target.folder().mid(1);
        if (!path.isEmpty())
            path += QLatin1Char('/');
        path += name;
        path.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
        path.replace(QLatin1Char('"'), QStringLiteral("\\\""));
        return '"' + path.toUtf8() + '"';
    };
    m_curl.setList(CURLOPT_POSTQUOTE,
        {"*rm " + quoted(fileName), "rename " + quoted(partName) + ' ' + quoted(fileName)});
}

bool CurlTransfer::check()
{
    prepare(m_target.folderUrl());
    m_curl.set(CURLOPT_TIMEOUT_MS, CheckTimeoutMs);
    if (m_target.protocol() == CurlTarget::Sftp) {
        // Asking an SFTP server for the size of a folder succeeds even when there is no such
        // folder; listing it does not.
        m_curl.set(CURLOPT_DIRLISTONLY, 1L);
        m_curl.set(CURLOPT_WRITEFUNCTION, &CurlTransfer::discard);
        m_curl.set(CURLOPT_WRITEDATA, this);
    } else {
        m_curl.set(CURLOPT_NOBODY, 1L);
    }
    return perform();
}

void CurlTransfer::prepare(const QString &url)
{
    m_curl.set(CURLOPT_URL, url.toUtf8().constData());
    m_curl.set(CURLOPT_PROTOCOLS_STR, m_target.scheme().toLatin1().constData());
    // The proxy of the settings is an HTTP proxy for the service; these go straight to the
    // server, whatever proxy the environment names.
    m_curl.set(CURLOPT_PROXY, "");
    m_curl.set(CURLOPT_NOSIGNAL, 1L);
    m_curl.set(CURLOPT_CONNECTTIMEOUT_MS, long(s_connectTimeoutMs));
    m_curl.set(CURLOPT_SERVER_RESPONSE_TIMEOUT, StallSeconds);
    m_curl.set(CURLOPT_LOW_SPEED_LIMIT, 1L);
    m_curl.set(CURLOPT_LOW_SPEED_TIME, StallSeconds);
    m_curl.set(CURLOPT_NOPROGRESS, 0L);
    m_curl.set(CURLOPT_XFERINFOFUNCTION, &CurlTransfer::progressed);
    m_curl.set(CURLOPT_XFERINFODATA, this);
    if (!m_target.user().isEmpty() || m_target.protocol() == CurlTarget::Sftp) {
        m_curl.set(CURLOPT_USERNAME, m_target.user().toUtf8().constData());
        m_curl.set(CURLOPT_PASSWORD, m_target.password().toUtf8().constData());
    }
    if (m_target.protocol() == CurlTarget::Sftp) {
        // Only the password the user gave: no key of whoever runs the program is offered.
        m_curl.set(CURLOPT_SSH_AUTH_TYPES, long(CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_KEYBOARD));
        m_curl.set(CURLOPT_SSH_KNOWNHOSTS, QFile::encodeName(knownHostsFile()).constData());
        m_curl.set(CURLOPT_SSH_KEYFUNCTION, &CurlTransfer::checkHostKey);
        m_curl.set(CURLOPT_SSH_KEYDATA, this);
    }
}

bool CurlTransfer::perform()
{
    const CURLcode code = m_curl.perform();
    qDebug() << Q_FUNC_INFO << m_target.folderUrl() << m_fileName << code;
    if (code == CURLE_OK)
        return true;
    m_error = describe(code);
    return false;
}

QString CurlTransfer::describe(CURLcode code) const
{
    if (m_cancelled)
        return tr("The transfer was cancelled");

    const QString host = m_target.host();
    QString text;
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
        text = tr("The server %1 was not found").arg(host);
        break;
    case CURLE_COULDNT_CONNECT:
        text = tr("The server %1 refused the connection on port %2").arg(host).arg(m_target.port());
        break;
    case CURLE_OPERATION_TIMEDOUT:
        text = tr("The server %1 did not answer in time").arg(host);
        break;
    case CURLE_LOGIN_DENIED:
        text = tr("Wrong user name or password for %1").arg(host);
        break;
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_REMOTE_FILE_NOT_FOUND:
    case CURLE_UPLOAD_FAILED:
    case CURLE_QUOTE_ERROR:
        text = tr("The folder %1 on %2 is missing or not writable").arg(m_target.folder(), host);
        break;
    case CURLE_REMOTE_DISK_FULL:
        text = tr("The server %1 has no room left for the file").arg(host);
        break;
    case CURLE_PEER_FAILED_VERIFICATION:
        text = describeHostKey();
        break;
    default:
        if (m_shrunk)
            return shrunkText(m_fileName);
        if (m_readFailed)
            return tr("The file %1 could not be read").arg(m_fileName);
        text = tr("The transfer to %1 failed").arg(host);
        break;
    }
    // libcurl's words help with an odd server, but some repeat what the server sent back,
    // and a server may echo what it was told.
    const QString detail = m_curl.errorText();
    const QString password = m_target.password();
    if (detail.isEmpty() || (!password.isEmpty() && detail.contains(password)))
        return text;
    return tr("%1 (%2)").arg(text, detail);
}

QString CurlTransfer::describeHostKey() const
{
    const QString host = m_target.host();
    switch (m_hostKey) {
    case HostKeyChanged:
        return tr("The host key of %1 has changed: this may not be the server you set up. If "
                  "its key was replaced on purpose, remove its line from %2 and try again.")
            .arg(host, knownHostsFile());
    case HostKeyNotKept:
        return tr("The host key of %1 could not be stored in %2").arg(host, knownHostsFile());
    case HostKeyUnchecked:
        break;
    }
    return tr("The identity of the server %1 could not be checked").arg(host);
}

void CurlTransfer::report(qint64 sent, bool last)
{
    if (!m_progress || sent == m_reported)
        return;
    if (!last && m_sinceReport.elapsed() < ReportIntervalMs)
        return;
    m_reported = sent;
    m_sinceReport.restart();
    m_progress(sent, m_total);
}

QString CurlTransfer::shrunkText(const QString &fileName)
{
    return tr("The file %1 became shorter while it was sent").arg(fileName);
}

size_t CurlTransfer::readFile(char *buffer, size_t size, size_t count, void *self)
{
    auto *transfer = static_cast<CurlTransfer *>(self);
    if (transfer->m_cancelled)
        return CURL_READFUNC_ABORT;
    // Never more than the size announced at the start, which the server is told to expect.
    const qint64 wanted = qMin(qint64(size * count), transfer->m_total - transfer->m_sent);
    if (wanted == 0)
        return 0;
    const qint64 read = transfer->m_file->read(buffer, wanted);
    if (read <= 0) {
        // The end came early: what was sent is not the file, whatever the server thinks.
        transfer->m_readFailed = true;
        transfer->m_shrunk = read == 0;
        return CURL_READFUNC_ABORT;
    }
    transfer->m_sent += read;
    return size_t(read);
}

size_t CurlTransfer::discard(char *, size_t size, size_t count, void *self)
{
    return static_cast<CurlTransfer *>(self)->m_cancelled ? 0 : size * count;
}

int CurlTransfer::progressed(void *self, curl_off_t, curl_off_t, curl_off_t, curl_off_t uploaded)
{
    auto *transfer = static_cast<CurlTransfer *>(self);
    if (transfer->m_cancelled)
        return 1;
    transfer->report(qint64(uploaded), false);
    return 0;
}

int CurlTransfer::checkHostKey(
    CURL *, const curl_khkey *, const curl_khkey *found, curl_khmatch match, void *self)
{
    auto *transfer = static_cast<CurlTransfer *>(self);
    const CurlTarget &target = transfer->m_target;
    switch (match) {
    case CURLKHMATCH_OK:
        return CURLKHSTAT_FINE;
    case CURLKHMATCH_MISSING:
        // The first connection can only be trusted; every later one is held to this key. A
        // key that cannot be kept would make every connection a first one, so none is made.
        if (rememberHostKey(target.urlHost(), target.port(), keyBlob(found)))
            return CURLKHSTAT_FINE;
        transfer->m_hostKey = HostKeyNotKept;
        return CURLKHSTAT_REJECT;
    case CURLKHMATCH_MISMATCH:
        transfer->m_hostKey = HostKeyChanged;
        return CURLKHSTAT_REJECT;
    case CURLKHMATCH_LAST:
        break;
    }
    return CURLKHSTAT_REJECT;
}
