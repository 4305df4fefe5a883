#ifndef CURLTRANSFER_H
#define CURLTRANSFER_H

#include "curleasy.h"
#include "curltarget.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>

#include <atomic>
#include <functional>

class QFile;

// One blocking exchange with an FTP or SFTP server through libcurl, on the thread that calls
// it: an upload or a connection check. Stops soon after `cancelled` turns true. SFTP servers
// are trusted on first use: their keys are kept in the program's own known-hosts file, and a
// server whose key differs from the one kept there is refused.
class CurlTransfer
{
    Q_DECLARE_TR_FUNCTIONS(CurlTransfer)

public:
    using Progress = std::function<void(qint64 sent, qint64 total)>;

    CurlTransfer(const CurlTarget &target, const std::atomic_bool &cancelled);

    // Sends the open file under its own name into the target's folder, creating missing
    // folders; progress is told at most every few dozen milliseconds, and once at the end.
    // The bytes go under a temporary name that becomes the real one only once the file is
    // whole: a failed transfer never leaves part of a file under the name a link points at.
    // Exactly the size the file had at the start is sent; a file that shrinks meanwhile fails.
    bool upload(QFile &file, const QString &fileName, const Progress &progress);
    // Logs in and opens the target's folder.
    bool check();
    // What went wrong, translated, never holding the password.
    QString errorText() const { return m_error; }

    static QString knownHostsFile();
    // What the user is told when a file became shorter while it was on its way.
    static QString shrunkText(const QString &fileName);
    // How long reaching a server and logging in may take; tests shorten it.
    static void setConnectTimeout(int msec);

private:
    enum HostKey { HostKeyUnchecked, HostKeyChanged, HostKeyNotKept };

    void prepare(const QString &url);
    void renameWhenDone(const QString &partName, const QString &fileName);
    bool perform();
    QString describe(CURLcode code) const;
    QString describeHostKey() const;
    void report(qint64 sent, bool last);

    static size_t readFile(char *buffer, size_t size, size_t count, void *self);
    static size_t discard(char *buffer, size_t size, size_t count, void *self);
    static int progressed(void *self, curl_off_t downloadTotal, curl_off_t downloaded,
        curl_off_t uploadTotal, curl_off_t uploaded);
    static int checkHostKey(CURL *handle, const curl_khkey *known, const curl_khkey *found,
        curl_khmatch match, void *self);

    CurlEasy m_curl;
    CurlTarget m_target;
    const std::atomic_bool &m_cancelled;
    QFile *m_file = nullptr;
    QString m_fileName;
    Progress m_progress;
    qint64 m_total = 0;
    qint64 m_reported = -1;
    QElapsedTimer m_sinceReport;
    qint64 m_sent = 0;
    bool m_readFailed = false;
    bool m_shrunk = false;
    HostKey m_hostKey = HostKeyUnchecked;
    QString m_error;
};

#endif // CURLTRANSFER_H
