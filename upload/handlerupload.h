#ifndef HANDLERUPLOAD_H
#define HANDLERUPLOAD_H

#include "uploadmodel.h"

#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QUrl>
#include <QVariantMap>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class QFile;
class QNetworkRequest;

// One upload job: the files of one request of the user, sent one after the other to the target
// that the settings name when the job starts. Whatever happens, it says finished() once.
class HandlerUpload : public QObject
{
    Q_OBJECT
    Q_PROPERTY(qint64 download READ download NOTIFY downloadChanged)
    Q_PROPERTY(qint64 total READ total NOTIFY totalChanged)
    Q_PROPERTY(bool archive READ archive NOTIFY archiveChanged)
    Q_PROPERTY(QString fileName READ fileName NOTIFY fileNameChanged)

public:
    enum TargetUpload { Service = 0, FTP = 1, SFTP = 2, Dropbox = 3 };
    Q_ENUM(TargetUpload)

    enum TypeAfterAction {
        PostNone = 0,
        PostFacebook = 1,
        PostOdnoklassniki = 2,
        PostVK = 3,
        PostTwitter = 4,
        PostMail = 5
    };
    Q_ENUM(TypeAfterAction)

    // Screen is a capture of ours; any other value means files the user picked.
    enum TypeUpload { Screen = 0, File = 1 };
    Q_ENUM(TypeUpload)

    HandlerUpload(const QStringList &files, TypeUpload type, QObject *parent = nullptr);

    // The text sent with a capture; files go without one.
    void setDescription(const QString &description) { m_description = description; }
    void setAfterAction(TypeAfterAction action) { m_afterAction = action; }
    // The job lists itself there when it starts.
    void setUploadModel(UploadModel *model) { m_model = model; }
    // Send all the files packed into one zip archive instead of one by one.
    void setPackInZip(bool pack) { m_packInZip = pack; }

    TypeUpload typeUpload() const { return m_type; }
    TypeAfterAction afterAction() const { return m_afterAction; }
    TargetUpload target() const { return m_target; }

    qint64 download() const { return m_download; }
    qint64 total() const { return m_total; }
    // True while the files are being packed into one archive.
    bool archive() const { return m_archive; }
    QString fileName() const { return m_fileName; }
    // The service refused the account's token: signing in again may help where retrying won't.
    bool tokenRefused() const { return m_tokenRefused; }

    static TargetUpload targetFromSettings();
    // The page that follows an upload: a network's share page or a new e-mail message.
    static QUrl afterActionUrl(TypeAfterAction action, const QString &link);
    // How long a request may go without moving a byte before it is given up.
    static void setTransferTimeout(int msec);

public slots:
    void start();
    void cancel();

signals:
    void startUpload();
    void readyLink(const QString &link);
    void readyLinkAfterUpload(const QString &link);
    void error(const QString &text);
    void internetNotAvailable();
    // A link handed out by readyLink() leads nowhere: its upload failed or was cancelled.
    void linkWithdrawn(const QString &link);
    // The target of the settings failed and the settings send the file to the service instead;
    // text says so in one line, once the service has it.
    void sentToServiceInstead(const QString &text);
    void uploadProgress(qint64 sent, qint64 total);
    void finished();

    void downloadChanged();
    void totalChanged();
    void archiveChanged();
    void fileNameChanged();

private:
    void startPacking();
    void packed(const QString &problem);
    void beginTransfer();
    void sendToTarget(const QString &path);
    template <typename Uploader> void startUploader(Uploader *uploader, const QString &path);
    void targetUploaded(const QString &link);
    void targetFailed(const QString &text);
    bool fallsBackToService() const;
    void dropUploader();
    void nextFile();
    bool openFile(const QString &path, QString *problem);
    bool fileShrunk() const;
    // Other than when it was opened: another size or written since.
    bool fileChanged() const;

    // The service road: announce the file, hand out its link, then stream its bytes.
    void createServiceFile();
    void serviceFileCreated();
    void sendServiceData(const QString &id);
    void serviceDataSent();

    QNetworkRequest serviceRequest(const QString &url, const QString &contentType) const;
    void track(QNetworkReply *reply, void (HandlerUpload::*done)());
    void showProgress(qint64 sent);
    // The data of the finished request, or nothing when it failed and the job has ended.
    std::optional<QVariantMap> takeReply();
    void fail(QNetworkReply::NetworkError code, const QString &text);
    void failWith(const QString &text);
    void dropRequest();
    void dropFile();
    void finish();

    QStringList m_files;
    int m_next = 0;
    TypeUpload m_type;
    TypeAfterAction m_afterAction = PostNone;
    TargetUpload m_target = Service;
    QString m_description;
    QPointer<UploadModel> m_model;

    QPointer<QNetworkReply> m_reply;
    QPointer<QObject> m_uploader; // of FTP, SFTP or Dropbox, for the file on its way
    std::function<void()> m_stopUploader;
    QPointer<QFile> m_file;
    // Taken when the file is opened: what the service is told and must store in the end.
    qint64 m_fileSize = 0;
    qint64 m_fileModified = -1;
    QString m_mimeType;
    QString m_link;
    // Handed out by readyLink() and not yet backed by the whole file.
    QString m_advertised;
    // Why the file goes to the service instead of the target of the settings.
    QString m_fallback;

    qint64 m_done = 0; // bytes of the files already stored
    qint64 m_download = 0;
    qint64 m_total = 0;
    QString m_fileName;
    bool m_started = false;
    bool m_finished = false;
    bool m_packInZip = false;
    bool m_archive = false;
    bool m_tokenRefused = false;
    QString m_archiveFile; // made by this job, removed when it ends
    std::shared_ptr<std::atomic_bool> m_cancelled = std::make_shared<std::atomic_bool>(false);
};

#endif // HANDLERUPLOAD_H
