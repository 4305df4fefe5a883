#ifndef CURLUPLOADTHREAD_H
#define CURLUPLOADTHREAD_H

#include "curltarget.h"

#include <QFile>
#include <QThread>

#include <atomic>
#include <memory>

// The thread one FTP or SFTP upload runs on, so that the GUI thread never waits for the
// server. Its signals come from that thread; receivers on the GUI thread get them queued.
class CurlUploadThread : public QThread
{
    Q_OBJECT
public:
    CurlUploadThread(const CurlTarget &target, std::unique_ptr<QFile> file, const QString &fileName,
        QObject *parent = nullptr);
    // Cancels and waits: the transfer stops within about a second.
    ~CurlUploadThread() override;

    // Safe from any thread; the transfer then ends with done(false, ...).
    void cancel() { m_cancelled = true; }

signals:
    void progressed(qint64 sent, qint64 total);
    void done(bool ok, const QString &errorText);

protected:
    void run() override;

private:
    CurlTarget m_target;
    std::unique_ptr<QFile> m_file;
    QString m_fileName;
    std::atomic_bool m_cancelled {false};
};

#endif // CURLUPLOADTHREAD_H
