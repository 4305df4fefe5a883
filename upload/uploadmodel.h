#ifndef UPLOADMODEL_H
#define UPLOADMODEL_H

#include <QAbstractListModel>
#include <QList>

class HandlerUpload;

// The running upload jobs, one row each, for the upload window. A job leaves the list, and is
// deleted, as soon as it has finished, whether it succeeded, failed or was cancelled.
class UploadModel : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(int countItem READ countItem NOTIFY countItemChanged)

public:
    // QML reads the rows by these numbers, under the names of roleNames().
    enum Role { DownloadRole = 0, TotalRole = 1, UploaderRole = 2, ArchiveRole = 3 };

    explicit UploadModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    int countItem() const { return m_jobs.size(); }
    void addUpload(HandlerUpload *job);

signals:
    void uploadComplete();
    void countItemChanged();

private:
    void changed(HandlerUpload *job, const QVector<int> &roles);
    void remove(HandlerUpload *job, bool alive);

    QList<HandlerUpload *> m_jobs;
};

#endif // UPLOADMODEL_H
