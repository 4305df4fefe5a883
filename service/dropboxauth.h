#ifndef DROPBOXAUTH_H
#define DROPBOXAUTH_H

#include <QObject>

// The link to the user's Dropbox account as the settings pages show it; the link itself is
// made by the Dropbox client.
class DropboxAuth : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool linked READ linked NOTIFY linkedChanged)
    Q_PROPERTY(QString displayName READ displayName NOTIFY linkedChanged)
    Q_PROPERTY(QString email READ email NOTIFY linkedChanged)

public:
    explicit DropboxAuth(QObject *parent = nullptr);

    bool linked() const;
    QString displayName() const;
    QString email() const;

    Q_INVOKABLE void unlink();

signals:
    void linkedChanged();
};

#endif // DROPBOXAUTH_H
