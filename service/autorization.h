#ifndef AUTORIZATION_H
#define AUTORIZATION_H

#include <QObject>

class QNetworkReply;
class QTimer;
class QUrlQuery;
class ServerListener;

// The user's account with the service: signing in with e-mail and password or through the
// browser, signing out, and the account's details kept in the settings. The access token in
// the settings is the one truth about being signed in.
class Autorization : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool auth READ auth NOTIFY authChanged)
    Q_PROPERTY(AuthStatus status READ status NOTIFY statusChanged)

public:
    enum AuthStatus { NoneAuth, AuthInProgress };
    Q_ENUM(AuthStatus)

    explicit Autorization(QObject *parent = nullptr);

    static bool isAuth();
    static QString token();

    bool auth() const { return isAuth(); }
    AuthStatus status() const { return m_status; }

    // Finds the port the browser's sign-in will come back to (listenFailed() when none is
    // free). The port is listened on only while a browser sign-in is pending: between sign-ins
    // nobody else on the machine can hold the program's connections open.
    void listen();
    int listenPort() const { return m_port; }
    void resetAutorization();

    Q_INVOKABLE void signIn(const QString &email, const QString &password);
    Q_INVOKABLE void signInWithBrowser(const QString &provider);
    Q_INVOKABLE void signOut();
    // The service refused the stored token and the user agreed to sign in again: the account
    // goes, but the storage settings are the user's and stay. Their credentials stay
    // enciphered with the old token, which is kept for them until the next sign-in.
    void dropRefusedToken();

public slots:
    void getUserInfo();

signals:
    void authChanged(bool auth);
    void authError(const QString &key, const QString &message);
    void statusChanged();
    void listenFailed();

private:
    void setStatus(AuthStatus status);
    bool bindFreePort();
    void stopListening();
    void receiveCode(const QString &code);
    void requestToken(const QList<QPair<QString, QString>> &form, const QString &errorKey);
    void readToken(QNetworkReply *reply, const QString &errorKey);
    void readUserInfo(QNetworkReply *reply, const QString &sentToken);
    void fail(const QString &key, const QString &message, const QString &logText);
    void clearAccount(const QList<QLatin1String> &storageKeys);

    ServerListener *m_listener = nullptr;
    AuthStatus m_status = NoneAuth;
    // The browser sign-in in flight: only a code that comes back with this state is taken.
    QString m_state;
    QString m_redirectUri;
    int m_port = 0;
    QTimer *m_pending = nullptr;
};

#endif // AUTORIZATION_H
