#include "networkexchange.h"
#include "setting.h"
#include "uploadmodel.h"

#include <QDebug>
#include <QFileInfo>

NetworkExchange::NetworkExchange(QObject *parent)
    : QObject(parent)
{
}

void NetworkExchange::uploadData(const QStringList &files)
{
    if (files.isEmpty())
        return;
    const qint64 limit
        = Setting::instance()->getValue(QStringLiteral("max_post_size")).toLongLong();
    if (limit > 0) {
        qint64 size = 0;
        for (const QString &path : files) {
            const QFileInfo info(path);
            if (info.isFile())
                size += info.size();
        }
        if (size > limit) {
            qDebug() << Q_FUNC_INFO << "refused" << size << "bytes over" << limit;
            emit error(tr("Max upload total size ") + QString::number(limit >> 20) + tr("mb"));
            return;
        }
    }
    makeJob(files, HandlerUpload::File)->start();
}

// Packing files into one archive comes with the FTP and Dropbox targets; sending them one by
// one instead would not be what the user asked for.
void NetworkExchange::uploadDataZip(const QStringList &files)
{
    qDebug() << Q_FUNC_INFO << files.size() << "file(s) refused";
    emit error(tr("Packing files into an archive is not available yet. Upload the files "
                  "without packing them."));
}

void NetworkExchange::uploadScreen(
    const QString &fileName, const QString &description, HandlerUpload::TypeAfterAction action)
{
    HandlerUpload *job = makeJob({fileName}, HandlerUpload::Screen);
    job->setDescription(description);
    job->setAfterAction(action);
    job->start();
}

void NetworkExchange::cancelUpload()
{
    const auto jobs = findChildren<HandlerUpload *>(QString(), Qt::FindDirectChildrenOnly);
    for (HandlerUpload *job : jobs)
        job->cancel();
}

HandlerUpload *NetworkExchange::makeJob(const QStringList &files, HandlerUpload::TypeUpload type)
{
    auto *job = new HandlerUpload(files, type, this);
    job->setUploadModel(m_model);
    connect(job, &HandlerUpload::startUpload, this, &NetworkExchange::startUpload);
    connect(job, &HandlerUpload::readyLink, this, &NetworkExchange::readyLink);
    connect(
        job, &HandlerUpload::readyLinkAfterUpload, this, &NetworkExchange::readyLinkAfterUpload);
    connect(job, &HandlerUpload::error, this, &NetworkExchange::error);
    connect(
        job, &HandlerUpload::internetNotAvailable, this, &NetworkExchange::internetNotAvailable);
    // Without a model nobody else would collect the finished job.
    if (!m_model)
        connect(job, &HandlerUpload::finished, job, &QObject::deleteLater);
    return job;
}
