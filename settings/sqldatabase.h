#ifndef SQLDATABASE_H
#define SQLDATABASE_H

#include <QMutex>
#include <QThread>
#include <QVariant>
#include <QWaitCondition>

class SqlWorker;

// The SQL thread of the settings store. Requests are served one at a time in the order they
// were sent; reads block the caller on a local event loop, writes are queued and not awaited.
class SqlDatabase : public QThread
{
    Q_OBJECT
public:
    explicit SqlDatabase(QObject *parent = nullptr);
    ~SqlDatabase() override;

    // Opens (creating if needed) the file and hands back every stored row, and what was wrong
    // with the file (a SqlWorker::Trouble, with its detail).
    bool connectToDatabase(
        const QString &path, QVariantHash *values, int *trouble, QString *detail);
    QVariant getData(const QString &name);
    void exequte(const QString &query, const QVariantList &params);

    // Lets every queued request finish, then ends the thread; later requests are refused.
    void stop();

signals:
    void startConnect(const QString &database);
    void startExecuted(const QString &query, const QVariantList &param);
    void getDataStarted(quint64 request, const QString &name);
    // Queued writes did not reach the file.
    void writeFailed(const QString &reason);

private:
    void waitForRoom();
    void written();

    SqlWorker *m_worker;
    // Writes sent but not yet taken in by the SQL thread: they are lost to a kill, and with
    // nothing to hold the sender back they pile up whenever that thread gets less CPU.
    QMutex m_queueLock;
    QWaitCondition m_room;
    int m_queued = 0;
    QString m_path;
    quint64 m_lastRequest = 0;
};

#endif // SQLDATABASE_H
