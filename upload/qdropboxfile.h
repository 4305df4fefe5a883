#ifndef QDROPBOXFILE_H
#define QDROPBOXFILE_H

#include "qdropbox.h"

#include <QObject>
#include <QPointer>

class QFile;
class QNetworkReply;

// One file to Dropbox and its shared link. Small files go in one call with the file streamed
// as the body; larger ones through an upload session, chunk by chunk, so memory stays bounded
// whatever the file's size. Dropbox picks a free name when the wanted one is taken. Says
// shared() or failed() once, unless aborted.
class QDropboxFile : public QObject
{
    Q_OBJECT
public:
    explicit QDropboxFile(QObject *parent = nullptr);

    void upload(const QString &localPath, const QString &remotePath);
    // The shared link of a stored file: a new one, or the one it has already.
    void share(const QString &remotePath);
    // Stops without a word; the caller knows.
    void abort();

    // Files larger than threshold bytes go through a session, in chunks of chunkSize bytes.
    static void setSessionLimits(qint64 threshold, qint64 chunkSize);

signals:
    void uploadProgress(qint64 sent, qint64 total);
    void shared(const QString &link);
    void failed(const QString &text);

private:
    bool openFile(const QString &localPath, QString *problem);
    QJsonObject commit() const;
    void sendWhole();
    void sendChunk();
    void chunkSent();
    void stored();
    void linkCreated();
    void linksListed();

    void track(QNetworkReply *reply, void (QDropboxFile::*done)());
    QDropbox::Answer takeAnswer();
    void sendLink(const QString &link);
    void fail(const QString &text);
    void dropFile();

    QPointer<QNetworkReply> m_reply;
    QPointer<QFile> m_file;
    QString m_localPath;
    QString m_remotePath;
    QString m_storedPath;
    QString m_sessionId;
    qint64 m_size = 0;
    qint64 m_offset = 0; // bytes the session holds
    qint64 m_chunk = 0; // bytes of the call in flight
    bool m_started = false;
    bool m_finished = false;
};

#endif // QDROPBOXFILE_H
