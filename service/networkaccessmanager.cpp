#include "networkaccessmanager.h"
#include "replyguard.h"
#include "setting.h"

#include <QCoreApplication>
#include <QNetworkProxy>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QUrl>

namespace {

QList<QSslCertificate> trustedAuthorities()
{
    static const QList<QSslCertificate> authorities = QSslConfiguration::systemCaCertificates()
        + QSslCertificate::fromPath(QStringLiteral(":/certificate/kuvo.pem"));
    return authorities;
}

int s_deadline = 60000;

} // namespace

NetworkAccessManager::NetworkAccessManager(QObject *parent)
    : QNetworkAccessManager(parent)
{
    Setting *settings = Setting::instance();
    if (!settings->getValue(SettingKeys::useProxy).toBool())
        return;
    const QString host = settings->getValue(SettingKeys::proxyHost).toString();
    if (host.isEmpty())
        return;
    setProxy(QNetworkProxy(QNetworkProxy::HttpProxy, host,
        quint16(settings->getValue(SettingKeys::proxyPort).toUInt()),
        settings->getValue(SettingKeys::proxyUser).toString(),
        settings->getValue(SettingKeys::proxyPassword).toString()));
}

void NetworkAccessManager::getAuthRequest(QNetworkRequest &request)
{
    request.setRawHeader("User-agent",
        (QCoreApplication::applicationName() + QLatin1Char(' ')
            + QCoreApplication::applicationVersion())
            .toUtf8());
    const QString token = Setting::instance()->getValue(SettingKeys::token).toString();
    if (!token.isEmpty())
        request.setRawHeader("Authorization", "Bearer " + token.toUtf8());
}

// Encoded by hand: QUrlQuery leaves '+' as it is, which a server reads as a space, and a
// password may well hold one.
QByteArray NetworkAccessManager::formBody(const QList<QPair<QString, QString>> &form)
{
    QByteArrayList fields;
    for (const auto &field : form)
        fields << QUrl::toPercentEncoding(field.first) + '='
                + QUrl::toPercentEncoding(field.second);
    return fields.join('&');
}

QNetworkReply *NetworkAccessManager::createRequest(
    Operation op, const QNetworkRequest &request, QIODevice *outgoingData)
{
    QNetworkRequest trusted(request);
    QSslConfiguration tls = trusted.sslConfiguration();
    tls.setCaCertificates(trustedAuthorities());
    trusted.setSslConfiguration(tls);
    // A redirect elsewhere could take the token, or pass a foreign answer off as the service's.
    if (!request.attribute(QNetworkRequest::RedirectPolicyAttribute).isValid())
        trusted.setAttribute(
            QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::SameOriginRedirectPolicy);
    QNetworkReply *reply = QNetworkAccessManager::createRequest(op, trusted, outgoingData);
    new ReplyGuard(
        reply, request.attribute(ReplyLimitAttribute, kReplyLimit).toLongLong(), s_deadline);
    return reply;
}

void NetworkAccessManager::setDeadline(int msec)
{
    s_deadline = msec;
}

int NetworkAccessManager::deadline()
{
    return s_deadline;
}

bool NetworkAccessManager::isSuccess(const QNetworkReply *reply)
{
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    return reply->error() == QNetworkReply::NoError && status >= 200 && status < 300;
}

QString NetworkAccessManager::replyError(const QNetworkReply *reply)
{
    const QString cut = reply->property(ReplyGuard::kFailureProperty).toString();
    if (!cut.isEmpty())
        return cut;
    if (reply->error() == QNetworkReply::NoError) {
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        return tr("The server answered with status %1").arg(status);
    }
    // A cancel of the program's own disconnects its reader first: one that is read ran out
    // of time.
    if (reply->error() == QNetworkReply::OperationCanceledError)
        return networkError(QNetworkReply::TimeoutError);
    return networkError(reply->error());
}

bool NetworkAccessManager::isNetworkMissing(QNetworkReply::NetworkError code)
{
    switch (code) {
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::UnknownNetworkError:
        return true;
    default:
        return false;
    }
}

QString NetworkAccessManager::networkError(QNetworkReply::NetworkError code)
{
    switch (code) {
    case QNetworkReply::NoError:
        return QString();
    case QNetworkReply::ConnectionRefusedError:
        return tr("The server refused the connection");
    case QNetworkReply::RemoteHostClosedError:
        return tr("The server closed the connection");
    case QNetworkReply::HostNotFoundError:
        return tr("The server was not found");
    case QNetworkReply::TimeoutError:
        return tr("The connection timed out");
    case QNetworkReply::OperationCanceledError:
        return tr("The request was cancelled");
    case QNetworkReply::InsecureRedirectError:
    case QNetworkReply::TooManyRedirectsError:
        return tr("The server sent the request to another address");
    case QNetworkReply::SslHandshakeFailedError:
        return tr("A secure connection to the server could not be established");
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::UnknownNetworkError:
        return tr("The network is not available");
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
        return tr("The proxy server is not reachable");
    case QNetworkReply::ProxyAuthenticationRequiredError:
        return tr("The proxy server needs a valid user name and password");
    case QNetworkReply::AuthenticationRequiredError:
    case QNetworkReply::ContentAccessDenied:
        return tr("Access denied: please sign in again");
    case QNetworkReply::ContentNotFoundError:
        return tr("The server does not know this address");
    case QNetworkReply::InternalServerError:
    case QNetworkReply::ServiceUnavailableError:
    case QNetworkReply::UnknownServerError:
        return tr("The server could not complete the request");
    default:
        return tr("Network error %1").arg(int(code));
    }
}
