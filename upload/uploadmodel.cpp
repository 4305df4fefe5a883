#include "uploadmodel.h"
#include "handlerupload.h"

UploadModel::UploadModel(QObject *parent)
    : QAbstractListModel(parent)
{
}

int UploadModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_jobs.size();
}

QVariant UploadModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    HandlerUpload *job = m_jobs.at(index.row());
    switch (role) {
    case DownloadRole:
        return job->download();
    case TotalRole:
        return job->total();
    case UploaderRole:
        return QVariant::fromValue<QObject *>(job);
    case ArchiveRole:
        return job->archive();
    default:
        return QVariant();
    }
}

QHash<int, QByteArray> UploadModel::roleNames() const
{
    return {{DownloadRole, "download"}, {TotalRole, "total"}, {UploaderRole, "uploader"},
        {ArchiveRole, "archive"}};
}

void UploadModel::addUpload(HandlerUpload *job)
{
    if (!job || m_jobs.contains(job))
        return;
    beginInsertRows(QModelIndex(), m_jobs.size(), m_jobs.size());
    m_jobs.append(job);
    endInsertRows();

    connect(job, &HandlerUpload::uploadProgress, this, [this, job] {
        changed(job, {DownloadRole, TotalRole});
    });
    connect(job, &HandlerUpload::totalChanged, this, [this, job] { changed(job, {TotalRole}); });
    connect(
        job, &HandlerUpload::archiveChanged, this, [this, job] { changed(job, {ArchiveRole}); });
    connect(job, &HandlerUpload::finished, this, [this, job] { remove(job, true); });
    // A job destroyed by its owner before it finished must not stay behind as a dangling row.
    connect(job, &QObject::destroyed, this, [this, job] { remove(job, false); });
    emit countItemChanged();
}

void UploadModel::changed(HandlerUpload *job, const QVector<int> &roles)
{
    const int row = m_jobs.indexOf(job);
    if (row >= 0)
        emit dataChanged(index(row), index(row), roles);
}

void UploadModel::remove(HandlerUpload *job, bool alive)
{
    const int row = m_jobs.indexOf(job);
    if (row < 0)
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_jobs.removeAt(row);
    endRemoveRows();
    if (alive) {
        job->disconnect(this);
        job->deleteLater();
    }
    emit countItemChanged();
    if (m_jobs.isEmpty())
        emit uploadComplete();
}
