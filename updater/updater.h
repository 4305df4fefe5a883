#ifndef UPDATER_H
#define UPDATER_H

#include <QCryptographicHash>
#include <QFile>
#include <QObject>
#include <QPointer>

class NetworkAccessManager;
class NetworkReadReply;
class QNetworkReply;
class QUrl;

// Looks for a newer version of the program, downloads its package from the service's own host,
// verifies the maker's signature on it, unpacks it into "~/.kuvo/update/" and hands over to the
// updater script, which starts the program again once this process has ended; the start-up then
// picks the new program up. Anything short of a signed package leaves the installed program and
// the disk as they were.
class Updater : public QObject
{
    Q_OBJECT
public:
    explicit Updater(QObject *parent = nullptr);
    ~Updater() override;

    // The largest package downloaded, in bytes (tests shorten it).
    static void setPackageLimit(qint64 bytes);

public slots:
    void startUpdate();

signals:
    // The text that went to the error log when an update check or download gave up.
    void updateFailed(const QString &text);

private:
    void checkFinished(QNetworkReply *reply);
    void takeOffer(const NetworkReadReply &read, const QString &offeredText);
    void startDownload(const QUrl &url, const QByteArray &md5);
    void writeChunk(QNetworkReply *reply);
    void downloadFinished(QNetworkReply *reply);
    void install();
    bool keepSignedPackage(const QString &staging);
    void handOver();
    void discardDownload();
    void fail(const QString &text);
    void finish();

    QPointer<NetworkAccessManager> m_manager;
    QFile m_package;
    QCryptographicHash m_hash {QCryptographicHash::Md5};
    QByteArray m_expectedMd5;
    QByteArray m_signature;
    QString m_writeError;
    bool m_running = false;
};

#endif // UPDATER_H
