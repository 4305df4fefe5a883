#ifndef AUTORIZATION_H
#define AUTORIZATION_H

#include <QObject>

class QNetworkReply;
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

    void listen();
    int listenPort() const;
    void resetAutorization();

    Q_INVOKABLE void signIn(const QString &email, const QString &password);
    Q_INVOKABLE void signInWithBrowser(const QString &provider);
    Q_INVOKABLE void signOut();

public slots:
    void getUserInfo();

signals:
    void authChanged(bool auth);
    void authError(const QString &key, const QString &message);
    void statusChanged();
    void listenFailed();

private:
    void setStatus(AuthStatus status);
    void receiveCode(const QString &code, const QString &state);
    void requestToken(const QList<QPair<QString, QString>> &form, const QString &errorKey);
    void readToken(QNetworkReply *reply, const QString &errorKey);
    void readUserInfo(QNetworkReply *reply, const QString &sentToken);
    void fail(const QString &key, const QString &message, const QString &logText);

    ServerListener *m_listener = nullptr;
    AuthStatus m_status = NoneAuth;
    // The browser sign-in in flight: only a code that comes back with this state is taken.
    QString m_state;
    QString m_redirectUri;
};

#endif // AUTORIZATION_H
