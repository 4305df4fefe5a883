#ifndef DROPBOXAUTH_H
#define DROPBOXAUTH_H

#include <QObject>
#include <QPointer>

class QDropbox;
class QDropboxAuth;
class QDropboxInfo;

// The link to the user's Dropbox account as the settings pages show it: linking through the
// browser, the account's name and e-mail, unlinking.
class DropboxAuth : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool linked READ linked NOTIFY linkedChanged)
    Q_PROPERTY(QString displayName READ displayName NOTIFY linkedChanged)
    Q_PROPERTY(QString email READ email NOTIFY linkedChanged)
    Q_PROPERTY(bool busy READ busy NOTIFY busyChanged)

public:
    explicit DropboxAuth(QObject *parent = nullptr);

    bool linked() const;
    QString displayName() const;
    QString email() const;
    // True from link() until the link is made or has failed.
    bool busy() const;

    // The client, for the upload jobs.
    QDropbox *dropBoxAPI() const { return m_api; }

    // Opens Dropbox's consent page in the browser; while a link runs, opens it again.
    Q_INVOKABLE void link();
    Q_INVOKABLE void unlink();

signals:
    void linkedChanged();
    void linkError(const QString &text);
    void busyChanged();

private:
    void authorized();
    void authFailed(const QString &text);
    void infoRead();
    void infoFailed(const QString &text);
    void stop();

    QDropbox *m_api = nullptr;
    QPointer<QDropboxAuth> m_auth;
    QPointer<QDropboxInfo> m_info;
};

#endif // DROPBOXAUTH_H
