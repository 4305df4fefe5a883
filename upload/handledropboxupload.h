#ifndef HANDLEDROPBOXUPLOAD_H
#define HANDLEDROPBOXUPLOAD_H

#include <QObject>
#include <QPointer>

class QDropbox;
class QDropboxFile;

// The Dropbox job for one file: into the folder "/Kuvo" of the linked account, and its shared
// link back. Runs on the caller's thread without blocking it. Each upload() ends in exactly
// one uploaded() or failed(), a cancel included.
class HandleDropboxUpload : public QObject
{
    Q_OBJECT
public:
    // The client renews an expired access token; without one the job brings its own.
    explicit HandleDropboxUpload(QDropbox *api = nullptr, QObject *parent = nullptr);

    // Ignored while an upload runs.
    void upload(const QString &file);
    void cancel();

signals:
    void uploadProgress(qint64 sent, qint64 total);
    void uploaded(const QString &link);
    void failed(const QString &text);

private:
    void send();
    void tokenRenewed();
    void tokenRenewFailed(const QString &text);
    void succeed(const QString &link);
    void fail(const QString &text);
    void dropTransfer();

    QPointer<QDropbox> m_api;
    QPointer<QDropboxFile> m_transfer;
    QString m_path;
    bool m_running = false;
    bool m_waitingForToken = false;
};

#endif // HANDLEDROPBOXUPLOAD_H
