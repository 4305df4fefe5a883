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

    bool isRunning();
    bool writeMessage(const QString &message);
    // Starts listening for later copies, unless another copy already does.
    bool exec();

    static QString serverName();

signals:
    void runnigSecondCopy();
    void uploadFile(const QStringList &files);
    void uploadFileInZip(const QStringList &files);
    void openAudioImageFile(const QString &file);
    void fullScreen();
    void quickScreen();
    void screen();

private slots:
    void newConnection();
    void dataReady();

private:
    void readFrom(QLocalSocket *current);
    void dispatch(const QByteArray &message);

    QLocalServer server;
    QLocalSocket socket;
    // What each connection has sent so far; a message counts once its sender has gone.
    QHash<QLocalSocket *, QByteArray> m_pending;
};

#endif // SINGLEAPPLICATION_H
