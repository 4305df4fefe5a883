#pragma once

#include <QDeadlineTimer>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// What the local FTP and SFTP servers of the tests share: a real Debian server run as a child
// process on 127.0.0.1, on a free port, with a folder of its own, for the throwaway account
// that scripts/setup creates. Needs root, as the servers do to log a user in.
class LocalLoginServer
{
public:
    virtual ~LocalLoginServer();

    // Starts the server and waits until it greets with its own banner; takes another port when
    // it cannot listen on the first. At most 10 s. On failure says why through qWarning().
    bool start();
    // SIGTERM, then SIGKILL when it has not ended within 3 s.
    void stop();

    int port() const { return m_port; }
    // The login folder: a relative remote path starts here, and uploads land below it.
    QString root() const;

    static QString user();
    static QString password();

protected:
    explicit LocalLoginServer(const QString &kind);

    // A file or folder in this server's own temporary folder.
    QString instancePath(const QString &name) const;
    // Appears in the server's greeting, so a test never mistakes another server for its own.
    QString bannerToken() const { return m_token; }

    // Absolute paths of the programs this server needs.
    virtual QStringList requiredPrograms() const = 0;
    // One-time preparation before the first start (keys and the like).
    virtual bool prepare() { return true; }
    virtual bool writeConfig(int port) = 0;
    virtual void launch(QProcess &process) = 0;
    // Whatever the server said about a failed start.
    virtual QString startErrors() const;

private:
    bool checkMachine() const;
    bool makeFolders();
    bool startOn(int port, const QDeadlineTimer &deadline);
    bool greets(int port) const;

    QString m_kind;
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_token;
    int m_port = 0;
    bool m_prepared = false;
};
