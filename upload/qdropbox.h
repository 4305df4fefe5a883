#ifndef QDROPBOX_H
#define QDROPBOX_H

#include <QJsonObject>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QStringList>

class QIODevice;
class QNetworkRequest;

// The client of Dropbox's HTTP API v2: its three hosts, the tokens of the linked account and
// the calls the link and the uploads make. The tokens live in the settings only, so every
// part of the program always uses the current link; an instance renews the access token for
// whoever waits on it. Every call gets a network manager of its own, parented to the object
// that makes it.
class QDropbox : public QObject
{
    Q_OBJECT
public:
    // One finished call, read once.
    struct Answer
    {
        bool ok = false;
        int status = 0;
        QNetworkReply::NetworkError error = QNetworkReply::NoError;
        QJsonObject data;
        // The union tags of a refused call, outermost first: {"path", "insufficient_space"}.
        QStringList errorTags;

        bool hasTag(const QString &tag) const { return errorTags.contains(tag); }
    };

    explicit QDropbox(QObject *parent = nullptr);

    // Hosts may carry a port ("127.0.0.1:8443").
    static void setHosts(const QString &api, const QString &content, const QString &web);
    static QString apiHost();
    static QString contentHost();
    static QString webHost();
    static QUrl apiUrl(const QString &path);
    static QUrl contentUrl(const QString &path);
    static QUrl webUrl(const QString &path);
    // The app's key at Dropbox; the code flow with PKCE needs no secret beside it.
    static QString appKey();

    static QString accessToken();
    static bool isLinked();
    // Keeps the tokens of an answer of /oauth2/token; false when it holds no usable token.
    static bool storeTokens(const QJsonObject &answer);
    static void forgetTokens();
    // True when the access token has run out, or is about to, and a refresh token can renew
    // it.
    static bool needsRenewal();

    // Asks for a new access token with the refresh token; one request at a time.
    void renewToken();

    // An RPC call on the api host, the argument as the JSON body. Calls without arguments
    // send "null", as Dropbox wants them.
    static QNetworkReply *call(
        const QString &endpoint, const QJsonObject &argument, QObject *owner);
    static QNetworkReply *callWithoutArgument(const QString &endpoint, QObject *owner);
    // A content upload on the content host: the argument in the "Dropbox-API-Arg" header and
    // the bytes as the body. A device body must stay alive until the reply is gone.
    static QNetworkReply *upload(
        const QString &endpoint, const QJsonObject &argument, QIODevice *data, QObject *owner);
    static QNetworkReply *upload(const QString &endpoint, const QJsonObject &argument,
        const QByteArray &data, QObject *owner);
    using Form = QList<QPair<QString, QString>>;
    // A form post without the access token: the token endpoint.
    static QNetworkReply *postForm(const QUrl &url, const Form &form, QObject *owner);

    // Reads a finished call once and lets it go, with its manager; the pointer is empty after.
    static Answer take(QPointer<QNetworkReply> &reply);
    // Stops a call in flight without a word to receiver, and lets it go.
    static void abandon(QPointer<QNetworkReply> &reply, QObject *receiver);
    // The text the user sees for a failed call.
    static QString failureText(const Answer &answer);
    static QString linkExpiredText();
    // JSON for an HTTP header: everything beyond ASCII escaped as \uXXXX.
    static QByteArray headerArgument(const QJsonObject &argument);

signals:
    void tokenRenewed();
    void tokenRenewFailed(const QString &text);

private:
    static QNetworkRequest request(const QUrl &url);
    static QNetworkRequest contentRequest(const QString &endpoint, const QJsonObject &argument);
    static QNetworkReply *post(
        const QNetworkRequest &request, const QByteArray &data, QObject *owner);
    static QNetworkReply *rpc(const QString &endpoint, const QByteArray &body, QObject *owner);
    void renewalFinished();

    QPointer<QNetworkReply> m_renewal;
};

#endif // QDROPBOX_H
