#ifndef SQLWORKER_H
#define SQLWORKER_H

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QVariant>

class QSqlDatabase;
class QSqlError;

// Lives on the SQL thread and owns the process's default SQLite connection. Every answer
// travels back as a signal argument, so no value is ever shared between the two threads.
class SqlWorker : public QObject
{
    Q_OBJECT
public:
    explicit SqlWorker(QObject *parent = nullptr);
    ~SqlWorker() override;

public slots:
    void connectToDatabase(const QString &name);
    void execute(const QString &query, const QVariantList &param);
    void getDataLoad(quint64 request, const QString &name);
    // Commits every write queued so far in one transaction.
    void flush();

signals:
    // `opened` is false when the file could not be opened or prepared; `values` then is empty.
    void connectComplited(bool opened, const QVariantHash &values);
    void getDataFinished(quint64 request, const QVariant &value);

private:
    enum class Outcome { Opened, Damaged, Failed };

    struct Write
    {
        QString query;
        QVariantList params;
    };

    Outcome open(const QString &path, QVariantHash *values);
    Outcome failure(const char *step, const QSqlError &error);
    bool createDataBase(QSqlDatabase &db, QSqlError *error);
    void closeConnection();
    bool moveAside(const QString &path);
    void scheduleFlush();

    // Writes wait here for the next flush, which runs once the writes queued before it are in:
    // one transaction costs about what one write costs, so grouping keeps the queue short at
    // any rate of writes, and a killed process loses only what arrived during the last flush.
    QList<Write> m_writes;
    // Where the waiting upsert of each row is: a later value of the same row replaces it, so
    // writes faster than the disk only make the group wider, not the queue longer.
    QHash<QString, int> m_rows;
    // A group waits no longer than this, even while writes keep coming.
    QElapsedTimer m_oldest;
    bool m_flushQueued = false;
    // Inside a BEGIN ... COMMIT of the caller's: those writes are committed together or not at
    // all, so no flush splits them.
    int m_groupDepth = 0;
};

#endif // SQLWORKER_H
