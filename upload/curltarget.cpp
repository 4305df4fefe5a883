#include "curltarget.h"

#include <QUrl>

#include <cmath>

namespace {

QString encoded(const QString &segment)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(segment));
}

} // namespace

CurlTarget::CurlTarget(Protocol protocol, const QString &host, int port, const QString &path,
    const QString &user, const QString &password, const QString &baseUrl)
    : m_protocol(protocol)
    , m_host(host.trimmed())
    , m_port(port)
    , m_folder(path.split(QLatin1Char('/'), Qt::SkipEmptyParts))
    , m_user(user)
    , m_password(password)
    , m_baseUrl(baseUrl.trimmed())
{
}

int CurlTarget::defaultPort(Protocol protocol)
{
    return protocol == Sftp ? 22 : 21;
}

int CurlTarget::portFrom(const QVariant &value, Protocol protocol)
{
    const QString text = value.toString().trimmed();
    if (text.isEmpty())
        return defaultPort(protocol);
    bool ok = false;
    const double number = text.toDouble(&ok);
    return ok && number >= 0 && number <= 65535 && std::floor(number) == number ? int(number) : -1;
}

QString CurlTarget::scheme() const
{
    return m_protocol == Sftp ? QStringLiteral("sftp") : QStringLiteral("ftp");
}

QString CurlTarget::urlHost() const
{
    QUrl url;
    url.setHost(m_host);
    return url.host(QUrl::FullyEncoded);
}

QString CurlTarget::folder() const
{
    return QLatin1Char('/') + m_folder.join(QLatin1Char('/'));
}

QString CurlTarget::problem() const
{
    if (m_host.isEmpty())
        return tr("Enter the address of the server");
    // The host goes into an address: anything that is not a plain host name or IP address
    // (a user, a path, a port of its own) would change where the transfer goes.
    QUrl url;
    url.setHost(m_host, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        return tr("\"%1\" is not a valid server address").arg(m_host);
    if (m_port < 1 || m_port > 65535)
        return tr("The port must be a number from 1 to 65535");
    return QString();
}

QString CurlTarget::origin(bool alwaysWithPort) const
{
    QUrl url;
    url.setScheme(scheme());
    url.setHost(m_host);
    if (alwaysWithPort || m_port != defaultPort(m_protocol))
        url.setPort(m_port);
    return url.toString(QUrl::FullyEncoded);
}

QString CurlTarget::encodedFolder() const
{
    QString path;
    for (const QString &segment : m_folder)
        path += encoded(segment) + QLatin1Char('/');
    return path;
}

QString CurlTarget::folderUrl() const
{
    // libcurl reads an SFTP path from the server's root; "~" makes it start in the login
    // folder, as an FTP path does by itself.
    const QString start = m_protocol == Sftp ? QStringLiteral("/~/") : QStringLiteral("/");
    return origin(true) + start + encodedFolder();
}

QString CurlTarget::fileUrl(const QString &fileName) const
{
    return folderUrl() + encoded(fileName);
}

QString CurlTarget::link(const QString &fileName) const
{
    if (m_baseUrl.isEmpty())
        return origin(false) + QLatin1Char('/') + encodedFolder() + encoded(fileName);
    QString base = m_baseUrl;
    const QUrl url(base);
    if (!url.userInfo().isEmpty())
        base = url.toString(QUrl::RemoveUserInfo);
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    return base + encoded(fileName);
}
