#include "qdropboxauth.h"
#include "logging.h"
#include "qdropbox.h"
#include "qdropboxauthsocket.h"

#include <QCryptographicHash>
#include <QDebug>
#include <QDesktopServices>
#include <QNetworkReply>
#include <QRandomGenerator>
#include <QUrlQuery>

namespace {

int s_timeout = 10 * 60 * 1000;

QByteArray randomBytes(int count)
{
    QByteArray bytes(count, Qt::Uninitialized);
    QRandomGenerator *random = QRandomGenerator::system();
    for (char &byte : bytes)
        byte = char(random->bounded(256));
    return bytes;
}

QByteArray base64Url(const QByteArray &bytes)
{
    return bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
}

} // namespace

QDropboxAuth::QDropboxAuth(QObject *parent)
    : QObject(parent)
    , m_socket(new QDropboxAuthSocket(this))
{
    m_timeout.setSingleShot(true);
    connect(&m_timeout, &QTimer::timeout, this,
        [this] { fail(tr("Dropbox was not linked: no answer came from the browser in time.")); });
    connect(m_socket, &QDropboxAuthSocket::authorized, this, &QDropboxAuth::exchange);
    connect(m_socket, &QDropboxAuthSocket::declined, this, [this](const QString &error) {
        fail(tr("Dropbox was not linked: the link was declined in the browser (%1).").arg(error));
    });
}

void QDropboxAuth::setTimeout(int msec)
{
    s_timeout = msec;
}

void QDropboxAuth::start()
{
    if (m_finished || m_reply)
        return;
    if (!m_socket->isListening()) {
        if (!m_socket->open()) {
            qDebug() << Q_FUNC_INFO << m_socket->errorString();
            fail(tr("Dropbox cannot be linked: port %1 on this computer is used by another "
                    "program. Close that program and try again.")
                     .arg(QDropboxAuthSocket::Port));
            return;
        }
        // 32 random bytes give the 43 characters PKCE asks for at least.
        m_verifier = QString::fromLatin1(base64Url(randomBytes(32)));
        m_state = QString::fromLatin1(randomBytes(16).toHex());
        m_socket->expectState(m_state);
        m_timeout.start(s_timeout);
    }
    if (!QDesktopServices::openUrl(authorizeUrl()))
        fail(tr("No web browser could be opened to link Dropbox."));
}

QUrl QDropboxAuth::authorizeUrl() const
{
    const QByteArray challenge
        = base64Url(QCryptographicHash::hash(m_verifier.toLatin1(), QCryptographicHash::Sha256));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("client_id"), QDropbox::appKey());
    query.addQueryItem(QStringLiteral("response_type"), QStringLiteral("code"));
    query.addQueryItem(QStringLiteral("redirect_uri"), QDropboxAuthSocket::redirectUri());
    query.addQueryItem(QStringLiteral("state"), m_state);
    query.addQueryItem(QStringLiteral("code_challenge"), QString::fromLatin1(challenge));
    query.addQueryItem(QStringLiteral("code_challenge_method"), QStringLiteral("S256"));
    // Offline access brings a refresh token, so the link outlives the short access token.
    query.addQueryItem(QStringLiteral("token_access_type"), QStringLiteral("offline"));
    QUrl url = QDropbox::webUrl(QStringLiteral("/oauth2/authorize"));
    url.setQuery(query);
    return url;
}

void QDropboxAuth::exchange(const QString &code)
{
    if (m_finished || m_reply)
        return;
    qDebug() << Q_FUNC_INFO;
    // One answer is all it takes; the port is free for others again.
    m_socket->close();
    m_timeout.stop();
    const QDropbox::Form form {{QStringLiteral("grant_type"), QStringLiteral("authorization_code")},
        {QStringLiteral("code"), code}, {QStringLiteral("client_id"), QDropbox::appKey()},
        {QStringLiteral("redirect_uri"), QDropboxAuthSocket::redirectUri()},
        {QStringLiteral("code_verifier"), m_verifier}};
    m_reply = QDropbox::postForm(QDropbox::apiUrl(QStringLiteral("/oauth2/token")), form, this);
    connect(m_reply, &QNetworkReply::finished, this, &QDropboxAuth::tokenRead);
}

void QDropboxAuth::tokenRead()
{
    const QDropbox::Answer answer = QDropbox::take(m_reply);
    if (!answer.ok) {
        qDebug() << Q_FUNC_INFO << answer.status << answer.error;
        const QString described = answer.data.value(QLatin1String("error_description")).toString();
        fail(answer.status == 400 && !described.isEmpty()
                ? tr("Dropbox refused the link: %1").arg(described)
                : QDropbox::failureText(answer));
        return;
    }
    if (!QDropbox::storeTokens(answer.data)) {
        fail(tr("Dropbox sent no usable access token."));
        return;
    }
    m_finished = true;
    emit linked();
}

void QDropboxAuth::abort()
{
    m_finished = true;
    m_socket->close();
    m_timeout.stop();
    QDropbox::abandon(m_reply, this);
}

void QDropboxAuth::fail(const QString &text)
{
    if (m_finished)
        return;
    m_finished = true;
    m_socket->close();
    m_timeout.stop();
    Logging::instance()->writeMessage(text);
    emit failed(text);
}
