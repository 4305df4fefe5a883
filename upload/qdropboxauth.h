#ifndef QDROPBOXAUTH_H
#define QDROPBOXAUTH_H

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

class QDropboxAuthSocket;
class QNetworkReply;

// Links a Dropbox account: OAuth2's code flow with PKCE, so the program carries no secret.
// The browser shows Dropbox's consent page, Dropbox sends it back to our socket with a code,
// and the code with its verifier becomes the tokens in the settings. Says linked() or
// failed() once.
class QDropboxAuth : public QObject
{
    Q_OBJECT
public:
    explicit QDropboxAuth(QObject *parent = nullptr);

    // Opens the socket and the browser; while the link runs, opens the browser again only.
    void start();
    QUrl authorizeUrl() const;
    // Stops without a word: the port is freed and no token is stored.
    void abort();

    // How long the browser may take before the link is given up and the port freed.
    static void setTimeout(int msec);

signals:
    void linked();
    void failed(const QString &text);

private:
    void exchange(const QString &code);
    void tokenRead();
    void fail(const QString &text);

    QDropboxAuthSocket *m_socket = nullptr;
    QPointer<QNetworkReply> m_reply;
    QTimer m_timeout;
    QString m_state;
    QString m_verifier;
    bool m_finished = false;
};

#endif // QDROPBOXAUTH_H
