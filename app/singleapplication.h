#ifndef SINGLEAPPLICATION_H
#define SINGLEAPPLICATION_H

#include <QHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QObject>

// Keeps one copy of the program per user. A starting copy first tries to reach a running one
// over the local socket "KuvoApp" in the user's private runtime folder; when it answers, the
// new copy sends its command line there and ends.
class SingleApplication : public QObject
{
    Q_OBJECT
public:
    explicit SingleApplication(QObject *parent = nullptr);
    ~SingleApplication() override;

    bool isRunning();
    bool writeMessage(const QString &message);
    bool writeMessage(const QByteArray &message);
    // Starts listening for later copies, unless another copy already does.
    bool exec();

    // Empty when there is no private folder to put the socket in.
    static QString serverName();

signals:
    void runnigSecondCopy();
    void uploadFile(const QStringList &files);
    void uploadFileInZip(const QStringList &files);
    void openAudioImageFile(const QString &file);
    void fullScreen();
    void quickScreen();
    void screen();
    // A forwarded command was not followed: the text tells the user why.
    void refused(const QString &text);

private slots:
    void newConnection();
    void dataReady();

private:
    static QString privateFolder();
    static bool isPrivateFolder(const QString &path);
    void readFrom(QLocalSocket *current);
    void dropOldest();
    void drop(QLocalSocket *current);
    void dispatch(const QByteArray &message);

    QLocalServer server;
    QLocalSocket socket;
    // What each connection has sent so far; a message counts once its sender has gone.
    QHash<QLocalSocket *, QByteArray> m_pending;
    // The same connections, oldest first.
    QList<QLocalSocket *> m_order;
};

#endif // SINGLEAPPLICATION_H
