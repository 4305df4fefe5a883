#include "qdropbox.h"
#include "networkaccessmanager.h"
#include "setting.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QJsonDocument>
#include <QNetworkRequest>
#include <QRegularExpression>

namespace {

QString s_apiHost = QStringLiteral("api.dropboxapi.com");
QString s_contentHost = QStringLiteral("content.dropboxapi.com");
QString s_webHost = QStringLiteral("www.dropbox.com");

const QString kTokenKey = SettingKeys::dropBoxTokenApiv2;
const QString kRefreshKey = SettingKeys::dropBoxRefreshTokenApiv2;
// Seconds since the epoch, UTC; 0 for a token without an end (links made before expiring
// tokens).
const QString kExpiryKey = SettingKeys::dropBoxTokenExpiry;

// A request that moves no byte for this long is given up; an upload keeps moving bytes.
constexpr int kTransferTimeoutMs = 60000;
// Renewed this early, so a token does not run out in the middle of an upload.
constexpr qint64 kRenewMarginSecs = 300;

Setting *settings()
{
    return Setting::instance();
}

QUrl secure(const QString &host, const QString &path)
{
    return QUrl(QStringLiteral("https://") + host + path);
}

// A token ends up in an HTTP header: anything but visible ASCII would break the header.
bool isUsableToken(const QString &token)
{
    static const QRegularExpression visible(QStringLiteral("^[\\x21-\\x7e]+$"));
    return visible.match(token).hasMatch();
}

QStringList tagsOf(const QString &summary)
{
    // "path/insufficient_space/..." or "shared_link_already_exists/metadata/.": the tail after
    // the last tag only makes the summary unique.
    QStringList tags;
    for (const QString &part : summary.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part.startsWith(QLatin1Char('.')))
            break;
        tags << part;
    }
    return tags;
}

} // namespace

QDropbox::QDropbox(QObject *parent)
    : QObject(parent)
{
}

void QDropbox::setHosts(const QString &api, const QString &content, const QString &web)
{
    s_apiHost = api;
    s_contentHost = content;
    s_webHost = web;
}

QString QDropbox::apiHost()
{
    return s_apiHost;
}

QString QDropbox::contentHost()
{
    return s_contentHost;
}

QString QDropbox::webHost()
{
    return s_webHost;
}

QUrl QDropbox::apiUrl(const QString &path)
{
    return secure(s_apiHost, path);
}

QUrl QDropbox::contentUrl(const QString &path)
{
    return secure(s_contentHost, path);
}

QUrl QDropbox::webUrl(const QString &path)
{
    return secure(s_webHost, path);
}

QString QDropbox::appKey()
{
    return QStringLiteral("kuvo-linux-app");
}

QString QDropbox::accessToken()
{
    return settings()->getValue(kTokenKey, true).toString();
}

bool QDropbox::isLinked()
{
    return !accessToken().isEmpty();
}

bool QDropbox::storeTokens(const QJsonObject &answer)
{
    const QString token = answer.value(QLatin1String("access_token")).toString();
    if (!isUsableToken(token))
        return false;
    settings()->setValue(kTokenKey, token, true);
    const QString refresh = answer.value(QLatin1String("refresh_token")).toString();
    // A renewal answer carries no new refresh token: the old one stays good.
    if (isUsableToken(refresh))
        settings()->setValue(kRefreshKey, refresh, true);
    const qint64 lifetime = answer.value(QLatin1String("expires_in")).toVariant().toLongLong();
    settings()->setValue(
        kExpiryKey, lifetime > 0 ? QDateTime::currentSecsSinceEpoch() + lifetime : qint64(0));
    return true;
}

void QDropbox::forgetTokens()
{
    // Without a signed-in account the cipher has no key and the enciphered write stays in
    // memory; the plain write empties the stored row, so the link does not come back on the
    // next start.
    for (const QString &key : {kTokenKey, kRefreshKey}) {
        settings()->setValue(key, QStringLiteral(""));
        settings()->setValue(key, QStringLiteral(""), true);
    }
    settings()->setValue(kExpiryKey, qint64(0));
}

bool QDropbox::needsRenewal()
{
    const qint64 expiry = settings()->getValue(kExpiryKey).toLongLong();
    return expiry > 0 && QDateTime::currentSecsSinceEpoch() + kRenewMarginSecs >= expiry
        && !settings()->getValue(kRefreshKey, true).toString().isEmpty();
}

void QDropbox::renewToken()
{
    if (m_renewal)
        return;
    qDebug() << Q_FUNC_INFO;
    const Form form {{QStringLiteral("grant_type"), QStringLiteral("refresh_token")},
        {QStringLiteral("refresh_token"), settings()->getValue(kRefreshKey, true).toString()},
        {QStringLiteral("client_id"), appKey()}};
    m_renewal = postForm(apiUrl(QStringLiteral("/oauth2/token")), form, this);
    connect(m_renewal, &QNetworkReply::finished, this, &QDropbox::renewalFinished);
}

void QDropbox::renewalFinished()
{
    const Answer answer = take(m_renewal);
    if (answer.ok && storeTokens(answer.data)) {
        emit tokenRenewed();
        return;
    }
    qDebug() << Q_FUNC_INFO << "refused" << answer.status << answer.error;
    // 400 means the refresh token itself is gone: the user took the app's access away.
    const bool refused = answer.status == 400 || answer.status == 401;
    emit tokenRenewFailed(refused ? linkExpiredText() : failureText(answer));
}

QNetworkRequest QDropbox::request(const QUrl &url)
{
    QNetworkRequest request(url);
    request.setRawHeader("User-Agent",
        (QCoreApplication::applicationName() + QLatin1Char(' ')
            + QCoreApplication::applicationVersion())
            .toUtf8());
    const QString token = accessToken();
    if (!token.isEmpty())
        request.setRawHeader("Authorization", "Bearer " + token.toLatin1());
    request.setTransferTimeout(kTransferTimeoutMs);
    return request;
}

QNetworkReply *QDropbox::post(
    const QNetworkRequest &request, const QByteArray &data, QObject *owner)
{
    auto *manager = new NetworkAccessManager(owner);
    return manager->post(request, data);
}

QNetworkReply *QDropbox::rpc(const QString &endpoint, const QByteArray &body, QObject *owner)
{
    QNetworkRequest rpc = request(apiUrl(endpoint));
    rpc.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    return post(rpc, body, owner);
}

QNetworkReply *QDropbox::call(const QString &endpoint, const QJsonObject &argument, QObject *owner)
{
    return rpc(endpoint, QJsonDocument(argument).toJson(QJsonDocument::Compact), owner);
}

QNetworkReply *QDropbox::callWithoutArgument(const QString &endpoint, QObject *owner)
{
    return rpc(endpoint, QByteArrayLiteral("null"), owner);
}

QNetworkRequest QDropbox::contentRequest(const QString &endpoint, const QJsonObject &argument)
{
    QNetworkRequest content = request(contentUrl(endpoint));
    content.setHeader(
        QNetworkRequest::ContentTypeHeader, QStringLiteral("application/octet-stream"));
    content.setRawHeader("Dropbox-API-Arg", headerArgument(argument));
    return content;
}

QNetworkReply *QDropbox::upload(
    const QString &endpoint, const QJsonObject &argument, QIODevice *data, QObject *owner)
{
    QNetworkRequest content = contentRequest(endpoint, argument);
    content.setHeader(QNetworkRequest::ContentLengthHeader, data->size() - data->pos());
    auto *manager = new NetworkAccessManager(owner);
    return manager->post(content, data);
}

QNetworkReply *QDropbox::upload(
    const QString &endpoint, const QJsonObject &argument, const QByteArray &data, QObject *owner)
{
    return post(contentRequest(endpoint, argument), data, owner);
}

QNetworkReply *QDropbox::postForm(const QUrl &url, const Form &form, QObject *owner)
{
    QNetworkRequest request(url);
    request.setHeader(
        QNetworkRequest::ContentTypeHeader, QStringLiteral("application/x-www-form-urlencoded"));
    request.setTransferTimeout(kTransferTimeoutMs);
    return post(request, NetworkAccessManager::formBody(form), owner);
}

QDropbox::Answer QDropbox::take(QPointer<QNetworkReply> &pending)
{
    QNetworkReply *reply = pending;
    pending = nullptr;
    Answer answer;
    answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    answer.error = reply->error();
    answer.data = QJsonDocument::fromJson(reply->readAll()).object();
    answer.ok = NetworkAccessManager::isSuccess(reply);
    if (!answer.ok)
        answer.errorTags = tagsOf(answer.data.value(QLatin1String("error_summary")).toString());
    reply->manager()->deleteLater();
    return answer;
}

void QDropbox::abandon(QPointer<QNetworkReply> &pending, QObject *receiver)
{
    QNetworkReply *reply = pending;
    pending = nullptr;
    if (!reply)
        return;
    reply->disconnect(receiver);
    reply->abort();
    reply->manager()->deleteLater();
}

QString QDropbox::failureText(const Answer &answer)
{
    // Our own cancels disconnect before they abort, so a cancelled call seen here ran out of
    // time.
    if (answer.error == QNetworkReply::OperationCanceledError)
        return NetworkAccessManager::networkError(QNetworkReply::TimeoutError);
    switch (answer.status) {
    case 401:
        return linkExpiredText();
    case 409:
        if (answer.hasTag(QStringLiteral("insufficient_space")))
            return tr("There is not enough free space in your Dropbox for this file.");
        return tr("Dropbox refused the request (%1).").arg(answer.errorTags.join(QLatin1Char('/')));
    case 429:
        return tr("Dropbox is receiving too many requests from this account. Try again in a "
                  "minute.");
    case 400:
        return tr("Dropbox could not understand the request of this program.");
    default:
        return NetworkAccessManager::networkError(answer.error);
    }
}

QString QDropbox::linkExpiredText()
{
    return tr("The link to your Dropbox account has expired. Link Dropbox again in the "
              "settings.");
}

QByteArray QDropbox::headerArgument(const QJsonObject &argument)
{
    // Outside its strings, JSON is ASCII already, so escaping every character beyond it
    // yields the same value. UTF-16 units escape surrogate pairs as JSON wants them.
    const QString json = QString::fromUtf8(QJsonDocument(argument).toJson(QJsonDocument::Compact));
    QByteArray ascii;
    ascii.reserve(json.size());
    for (const QChar c : json) {
        if (c.unicode() < 0x7f)
            ascii += char(c.unicode());
        else
            ascii += "\\u" + QByteArray::number(c.unicode(), 16).rightJustified(4, '0');
    }
    return ascii;
}
