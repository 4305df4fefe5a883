#ifndef CURLUPLOAD_H
#define CURLUPLOAD_H

#include "curltarget.h"

#include <QObject>
#include <QPointer>

#include <atomic>
#include <memory>

class CurlUploadThread;
class QFile;

// What FTP and SFTP uploads share: one file at a time, sent on a thread of its own to the
// server the settings name, and a check of a login the user has typed but not yet stored. A
// subclass names its protocol; its settings keys start with that protocol's name and "_".
// Every signal comes on the thread the object lives on; each upload ends with exactly one of
// uploaded() and failed(), and nothing follows failed().
class CurlUpload : public QObject
{
    Q_OBJECT
public:
    // Cancels whatever runs and waits for the upload thread: at most about a second.
    ~CurlUpload() override;

    // Sends the file to the folder of the settings, under its own name.
    void upload(const QString &file);
    bool isUploading() const { return !m_thread.isNull(); }

    Q_INVOKABLE void cancel();
    // Logs in with these values, not the stored ones, and opens the folder; tells the outcome
    // through connectChecked(), then checkConnectFinished(), after which the object may go.
    // The port is read as a stored one is, so the check finds what the upload will meet.
    Q_INVOKABLE void checkConnect(
        QString username, QString password, QString host, QString path, const QVariant &port);

    // How long reaching a server and logging in may take; tests shorten it.
    static void setConnectTimeout(int msec);

signals:
    void uploadProgress(qint64 sent, qint64 total);
    void uploaded(const QString &link);
    void failed(const QString &text);
    void connectChecked(bool ok, const QString &title, const QString &message);
    void checkConnectFinished();

protected:
    CurlUpload(CurlTarget::Protocol protocol, QObject *parent);
    // "<protocol> connection is available", in the subclass's own words.
    virtual QString availableText() const = 0;

private:
    CurlTarget storedTarget() const;
    std::unique_ptr<QFile> openFile(const QString &path, QString *problem) const;
    void finishUpload(bool ok, const QString &errorText);
    void failLater(const QString &text);

    CurlTarget::Protocol m_protocol;
    QPointer<CurlUploadThread> m_thread;
    QString m_link;
    // Shared with the running checks, which outlive this object when it goes first.
    std::shared_ptr<std::atomic_bool> m_checksCancelled;
};

#endif // CURLUPLOAD_H
