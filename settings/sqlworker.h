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
    // What was wrong with the file at the open, besides nothing.
    enum Trouble {
        NoTrouble,
        Damaged, // moved aside (detail: where to); what could be read from it was kept
        ReadOnly, // read whole, but nothing can be written (detail: the file)
        Unusable, // could not be opened at all (detail: why)
    };

    explicit SqlWorker(QObject *parent = nullptr);
    ~SqlWorker() override;

public slots:
    void connectToDatabase(const QString &name);
    void execute(const QString &query, const QVariantList &param);
    void getDataLoad(quint64 request, const QString &name);
    // Commits every write queued so far in one transaction.
    void flush();

signals:
    // `opened` is false when the file could not be opened or prepared; `values` then holds
    // what could still be read, if anything. `trouble` is a Trouble.
    void connectComplited(
        bool opened, const QVariantHash &values, int trouble, const QString &detail);
    // Queued writes did not reach the file.
    void writeFailed(const QString &reason);
    void getDataFinished(quint64 request, const QVariant &value);

private:
    // ReadOnlyDisk: the file cannot even be read the usual way; open it read-only.
    enum class Outcome { Opened, Damaged, ReadOnlyDisk, Failed };

    struct Write
    {
        QString query;
        QVariantList params;
    };

    // readOnly: the file is only read, as it stands, without a journal beside it.
    Outcome open(const QString &path, QVariantHash *values, bool readOnly = false);
    Outcome failure(const char *step, const QSqlError &error);
    static bool readRows(QSqlDatabase &db, QVariantHash *values, QSqlError *error = nullptr);
    bool createDataBase(QSqlDatabase &db, QSqlError *error);
    void closeConnection();
    bool moveAside(const QString &path, QString *aside);
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
    bool m_readOnly = false;
    QString m_lastError;
};

#endif // SQLWORKER_H
