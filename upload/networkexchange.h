#ifndef NETWORKEXCHANGE_H
#define NETWORKEXCHANGE_H

#include "handlerupload.h"
#include "uploadmodel.h"

#include <QObject>
#include <QPointer>

// Where the rest of the program asks for uploads: it starts one HandlerUpload per request and
// passes the job's news on under the same signal names.
class NetworkExchange : public QObject
{
    Q_OBJECT
public:
    explicit NetworkExchange(QObject *parent = nullptr);

    // The controller makes the model when first needed and hands it over before the first
    // upload; every job then lists itself there.
    void setUploadModel(UploadModel *model) { m_model = model; }

public slots:
    void uploadData(const QStringList &files);
    void uploadDataZip(const QStringList &files);
    void uploadScreen(
        const QString &fileName, const QString &description, HandlerUpload::TypeAfterAction action);
    void cancelUpload();

signals:
    void startUpload();
    void readyLink(const QString &link);
    void readyLinkAfterUpload(const QString &link);
    void linkWithdrawn(const QString &link);
    void sentToServiceInstead(const QString &text);
    // file: the capture that was not uploaded, for the user to keep; empty for files the user
    // picked. signInAgain: the service refused the account's token.
    void error(const QString &text, const QString &file, bool signInAgain);
    // file: the capture whose upload found no network, for the user to keep; empty for files
    // the user picked, which are on disk already.
    void internetNotAvailable(const QString &file);

private:
    // Says so through error() when the files are larger than the account may send at once.
    bool exceedsLimit(const QStringList &files);
    HandlerUpload *makeJob(const QStringList &files, HandlerUpload::TypeUpload type);

    QPointer<UploadModel> m_model;
};

#endif // NETWORKEXCHANGE_H
