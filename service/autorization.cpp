#include "autorization.h"
#include "browser.h"
#include "logging.h"
#include "networkaccessmanager.h"
#include "networkreadreply.h"
#include "serverlistener.h"
#include "serviceaddress.h"
#include "setting.h"

#include <QDebug>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTimer>
#include <QUrl>

namespace {

constexpr int kTransferTimeoutMs = 30000;
// The browser's redirect may land on any of these; the first free one is taken. The range
// from 66000 is left out: it lies past the last TCP port (65535), and cut to 16 bits it would
// become 464..473, ports that belong to system services.
constexpr quint16 kListenBases[] = {62000, 63000, 64000, 65000};
constexpr quint16 kPortsPerBase = 10;
// Long enough to sign in to a social network in the browser, password reset and all.
constexpr int kBrowserSignInMs = 10 * 60 * 1000;

bool isSaneEmail(const QString &email)
{
    static const QRegularExpression pattern(
        QStringLiteral("^[^\\s@]+@[^\\s@.]+(\\.[^\\s@.]+)*\\.[^\\s@.]{2,}$"));
    return pattern.match(email).hasMatch();
}

QString randomState()
{
    QByteArray bytes(16, '\0');
    for (char &byte : bytes)
        byte = char(QRandomGenerator::system()->bounded(256));
    return QString::fromLatin1(bytes.toHex());
}

Setting *settings()
{
    return Setting::instance();
}

} // namespace

Autorization::Autorization(QObject *parent)
    : QObject(parent)
    , m_listener(new ServerListener(this))
    , m_pending(new QTimer(this))
{
    connect(m_listener, &ServerListener::codeReceived, this, &Autorization::receiveCode);
    // Any program on this machine can knock on the listener; only the answer to our own
    // request is taken, or a stranger's code could sign this user in to a foreign account.
    connect(m_listener, &ServerListener::codeRefused, this, [] {
        qDebug() << Q_FUNC_INFO << "refused a sign-in code of a request not in flight";
        Logging::instance()->writeMessage(
            QStringLiteral("Refused a browser sign-in code: its state matches no sign-in "
                           "this program started"));
    });
    m_pending->setSingleShot(true);
    m_pending->setInterval(kBrowserSignInMs);
    connect(m_pending, &QTimer::timeout, this, &Autorization::stopListening);
}

bool Autorization::isAuth()
{
    return !token().isEmpty();
}

QString Autorization::token()
{
    return settings()->getValue(SettingKeys::token).toString();
}

void Autorization::listen()
{
    if (m_listener->isListening())
        return;
    if (!bindFreePort()) {
        Logging::instance()->writeMessage(
            QStringLiteral("Cannot open a local port for the browser sign-in: %1")
                .arg(m_listener->errorString()));
        emit listenFailed();
        return;
    }
    if (m_state.isEmpty())
        stopListening();
}

bool Autorization::bindFreePort()
{
    m_port = 0;
    for (const quint16 base : kListenBases) {
        for (quint16 port = base; port < base + kPortsPerBase; ++port) {
            if (m_listener->listen(port)) {
                qDebug() << Q_FUNC_INFO << "sign-in listener on port" << port;
                m_port = port;
                return true;
            }
        }
    }
    return false;
}

void Autorization::stopListening()
{
    m_state.clear();
    m_listener->expectState(QString());
    m_pending->stop();
    m_listener->close();
}

void Autorization::resetAutorization()
{
    setStatus(NoneAuth);
}

void Autorization::setStatus(AuthStatus status)
{
    if (m_status == status)
        return;
    m_status = status;
    emit statusChanged();
}

void Autorization::signIn(const QString &email, const QString &password)
{
    const QString address = email.trimmed();
    if (address.isEmpty()) {
        emit authError(QStringLiteral("email"), tr("Please enter your e-mail"));
        return;
    }
    if (!isSaneEmail(address)) {
        emit authError(QStringLiteral("email"), tr("The e-mail is not valid"));
        return;
    }
    if (password.isEmpty()) {
        emit authError(QStringLiteral("password"), tr("Please enter your password"));
        return;
    }
    // One press of the button, one request: a second one would only race the first.
    if (m_status == AuthInProgress) {
        qDebug() << Q_FUNC_INFO << "a sign-in is already running";
        return;
    }
    requestToken({{QStringLiteral("grant_type"), QStringLiteral("password")},
                     {QStringLiteral("username"), address}, {QStringLiteral("password"), password}},
        QStringLiteral("password"));
}

void Autorization::signInWithBrowser(const QString &provider)
{
    if (!m_listener->isListening() && !bindFreePort()) {
        fail(QStringLiteral("browser"),
            tr("The program cannot receive the sign-in from the browser"),
            QStringLiteral("Browser sign-in without a listening port"));
        return;
    }
    m_pending->start();
    m_state = randomState();
    m_listener->expectState(m_state);
    m_redirectUri = QStringLiteral("http://127.0.0.1:%1/").arg(m_port);
    const QUrl url = QUrl::fromEncoded(ServiceAddress::authorizeUrl().toUtf8()
            + "?redirect_uri=" + QUrl::toPercentEncoding(m_redirectUri)
            + "&state=" + m_state.toLatin1() + "&provider=" + QUrl::toPercentEncoding(provider),
        QUrl::StrictMode);
    if (!Browser::open(url, ServiceAddress::authorizeUrl())) {
        stopListening();
        emit authError(QStringLiteral("browser"), Browser::failureText());
    }
}

// The listener hands on only the code of the sign-in in flight.
void Autorization::receiveCode(const QString &code)
{
    stopListening();
    requestToken(
        {{QStringLiteral("grant_type"), QStringLiteral("authorization_code")},
            {QStringLiteral("code"), code}, {QStringLiteral("redirect_uri"), m_redirectUri}},
        QStringLiteral("browser"));
}

void Autorization::requestToken(const QList<QPair<QString, QString>> &form, const QString &errorKey)
{
    setStatus(AuthInProgress);
    auto *manager = new NetworkAccessManager(this);
    QNetworkRequest request(QUrl(ServiceAddress::serverAuth()));
    NetworkAccessManager::getAuthRequest(request);
    request.setHeader(
        QNetworkRequest::ContentTypeHeader, QStringLiteral("application/x-www-form-urlencoded"));
    request.setTransferTimeout(kTransferTimeoutMs);
    QNetworkReply *reply = manager->post(request, NetworkAccessManager::formBody(form));
    connect(reply, &QNetworkReply::finished, this, [this, manager, reply, errorKey] {
        readToken(reply, errorKey);
        reply->deleteLater();
        manager->deleteLater();
    });
}

void Autorization::readToken(QNetworkReply *reply, const QString &errorKey)
{
    setStatus(NoneAuth);
    const NetworkReadReply read(reply);
    const QString accessToken = read.value(QStringLiteral("access_token")).toString();
    if (!read.isOk() || accessToken.isEmpty()) {
        const QString message
            = read.isOk() ? tr("The service did not grant access") : read.errorText();
        fail(read.status() == 0 ? QStringLiteral("network") : errorKey, message,
            QStringLiteral("Sign-in at %1 failed (HTTP %2): %3")
                .arg(ServiceAddress::serverAuth())
                .arg(read.status())
                .arg(message));
        return;
    }
    settings()->setValue(SettingKeys::token, accessToken);
    emit authChanged(true);
    getUserInfo();
}

void Autorization::getUserInfo()
{
    const QString sentToken = token();
    if (sentToken.isEmpty())
        return;
    auto *manager = new NetworkAccessManager(this);
    QNetworkRequest request(QUrl(ServiceAddress::userInfoUrl()));
    NetworkAccessManager::getAuthRequest(request);
    request.setTransferTimeout(kTransferTimeoutMs);
    QNetworkReply *reply = manager->get(request);
    connect(reply, &QNetworkReply::finished, this, [this, manager, reply, sentToken] {
        readUserInfo(reply, sentToken);
        reply->deleteLater();
        manager->deleteLater();
    });
}

void Autorization::readUserInfo(QNetworkReply *reply, const QString &sentToken)
{
    // After a sign-out, or a sign-in to another account, these details belong to no one.
    if (token() != sentToken) {
        qDebug() << Q_FUNC_INFO << "the account changed while its details were on the way";
        return;
    }
    const NetworkReadReply read(reply);
    if (!read.isOk()) {
        const QString logText = QStringLiteral("Reading the account at %1 failed (HTTP %2): %3")
                                    .arg(ServiceAddress::userInfoUrl())
                                    .arg(read.status())
                                    .arg(read.errorText());
        if (read.status() == 401)
            fail(QStringLiteral("token"), tr("The sign-in has expired, please sign in again"),
                logText);
        else
            Logging::instance()->writeMessage(logText);
        return;
    }
    const QList<QPair<QLatin1String, const char *>> texts = {{SettingKeys::username, "name"},
        {SettingKeys::usermail, "email"}, {SettingKeys::useravatar, "avatar"}};
    for (const auto &key : texts)
        settings()->setValue(key.first, read.value(QLatin1String(key.second)).toString());
    // The reply names these fields as the settings do.
    for (QLatin1String key : {SettingKeys::quota, SettingKeys::usage, SettingKeys::maxPostSize})
        settings()->setValue(key, read.value(key).toLongLong());
}

void Autorization::fail(const QString &key, const QString &message, const QString &logText)
{
    qDebug() << Q_FUNC_INFO << key << message;
    Logging::instance()->writeMessage(logText);
    emit authError(key, message);
}

namespace {

using namespace SettingKeys;

const QList<QLatin1String> kStorageKeys = {ftp.host, ftp.port, ftp.path, ftp.baseUrl, ftp.user,
    ftp.password, sftp.host, sftp.port, sftp.path, sftp.baseUrl, sftp.user, sftp.password};
// Enciphered with the account's token.
const QList<QLatin1String> kSealedStorageKeys = {
    ftp.user, ftp.password, sftp.user, sftp.password, dropBoxTokenApiv2, dropBoxRefreshTokenApiv2};

} // namespace

void Autorization::signOut()
{
    clearAccount(kStorageKeys);
    // Nothing is sealed any more with a token refused before.
    settings()->setValue(SettingKeys::sealingToken, QStringLiteral(""));
}

// The credentials stay in the file as they are, sealed with the refused token, which stays
// their key until the next sign-in seals them with its own: a quit before it loses nothing.
void Autorization::dropRefusedToken()
{
    const QString refused = token();
    if (!refused.isEmpty())
        settings()->setValue(SettingKeys::sealingToken, refused);
    clearAccount({});
}

// The keys go while the token is still there to key the cipher; the token goes last.
void Autorization::clearAccount(const QList<QLatin1String> &storageKeys)
{
    const QLatin1String account[]
        = {username, usermail, useravatar, quota, usage, maxPostSize, SettingKeys::token};
    for (QLatin1String key : storageKeys)
        settings()->setValue(key, QStringLiteral(""), kSealedStorageKeys.contains(key));
    for (QLatin1String key : account)
        settings()->setValue(key, QStringLiteral(""));
    stopListening();
    emit authChanged(false);
}
