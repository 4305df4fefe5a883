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
    if (files.isEmpty() || exceedsLimit(files))
        return;
    makeJob(files, HandlerUpload::File)->start();
}

bool NetworkExchange::exceedsLimit(const QStringList &files)
{
    const qint64 limit = Setting::instance()->getValue(SettingKeys::maxPostSize).toLongLong();
    if (limit <= 0)
        return false;
    qint64 size = 0;
    for (const QString &path : files) {
        const QFileInfo info(path);
        if (info.isFile())
            size += info.size();
    }
    if (size <= limit)
        return false;
    qDebug() << Q_FUNC_INFO << "refused" << size << "bytes over" << limit;
    emit error(
        tr("Max upload total size ") + QString::number(limit >> 20) + tr("mb"), QString(), false);
    return true;
}

// The archive counts against the limit as the files do, before packing: packing rarely
// shrinks pictures, and a refusal after minutes of packing helps nobody.
void NetworkExchange::uploadDataZip(const QStringList &files)
{
    if (files.isEmpty() || exceedsLimit(files))
        return;
    HandlerUpload *job = makeJob(files, HandlerUpload::File);
    job->setPackInZip(true);
    job->start();
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
    connect(job, &HandlerUpload::linkWithdrawn, this, &NetworkExchange::linkWithdrawn);
    connect(
        job, &HandlerUpload::sentToServiceInstead, this, &NetworkExchange::sentToServiceInstead);
    const QString offer = type == HandlerUpload::Screen ? files.value(0) : QString();
    connect(job, &HandlerUpload::error, this,
        [this, job, offer](const QString &text) { emit error(text, offer, job->tokenRefused()); });
    connect(job, &HandlerUpload::internetNotAvailable, this,
        [this, offer] { emit internetNotAvailable(offer); });
    // Without a model nobody else would collect the finished job.
    if (!m_model)
        connect(job, &HandlerUpload::finished, job, &QObject::deleteLater);
    return job;
}
