#include "sqldatabase.h"
#include "sqlworker.h"

#include <QDeadlineTimer>
#include <QDebug>
#include <QEventLoop>

namespace {

// A few milliseconds of writes at the fastest rate; far more than any user action sends.
constexpr int kMostQueuedWrites = 1000;
// A stalled disk must not freeze the caller: past this the write is queued all the same.
constexpr qint64 kLongestRoomWaitMs = 500;

} // namespace

SqlDatabase::SqlDatabase(QObject *parent)
    : QThread(parent)
    , m_worker(new SqlWorker)
{
    m_worker->moveToThread(this);
    connect(this, &SqlDatabase::startConnect, m_worker, &SqlWorker::connectToDatabase);
    connect(this, &SqlDatabase::startExecuted, m_worker,
        [this](const QString &query, const QVariantList &params) {
            m_worker->execute(query, params);
            written();
        });
    connect(this, &SqlDatabase::getDataStarted, m_worker, &SqlWorker::getDataLoad);
    connect(m_worker, &SqlWorker::writeFailed, this, &SqlDatabase::writeFailed);
    connect(this, &QThread::finished, m_worker, &QObject::deleteLater);
    start(QThread::InheritPriority);
}

SqlDatabase::~SqlDatabase()
{
    stop();
}

bool SqlDatabase::connectToDatabase(
    const QString &path, QVariantHash *values, int *trouble, QString *detail)
{
    if (!isRunning())
        return false;
    m_path = path;
    bool opened = false;
    QEventLoop loop;
    connect(m_worker, &SqlWorker::connectComplited, &loop,
        [&](bool ok, const QVariantHash &stored, int found, const QString &about) {
            opened = ok;
            *values = stored;
            *trouble = found;
            *detail = about;
            loop.quit();
        });
    emit startConnect(path);
    loop.exec();
    return opened;
}

// Other events of the calling thread run while it waits and may start reads of their own;
// the request number keeps every answer with the call that asked for it.
QVariant SqlDatabase::getData(const QString &name)
{
    if (!isRunning())
        return QVariant();
    const quint64 request = ++m_lastRequest;
    QVariant result;
    QEventLoop loop;
    connect(
        m_worker, &SqlWorker::getDataFinished, &loop, [&](quint64 answered, const QVariant &value) {
            if (answered != request)
                return;
            result = value;
            loop.quit();
        });
    emit getDataStarted(request, name);
    loop.exec();
    return result;
}

void SqlDatabase::exequte(const QString &query, const QVariantList &params)
{
    if (!isRunning()) {
        qWarning() << Q_FUNC_INFO << "the SQL thread has ended; write dropped:" << query;
        return;
    }
    waitForRoom();
    emit startExecuted(query, params);
}

void SqlDatabase::waitForRoom()
{
    QMutexLocker lock(&m_queueLock);
    const QDeadlineTimer patience(kLongestRoomWaitMs);
    while (m_queued >= kMostQueuedWrites && m_room.wait(&m_queueLock, patience)) { }
    ++m_queued;
}

void SqlDatabase::written()
{
    QMutexLocker lock(&m_queueLock);
    --m_queued;
    m_room.wakeAll();
}

void SqlDatabase::stop()
{
    if (!isRunning())
        return;
    // quit() from here could leave requests that are already queued unserved; asking through
    // the same queue ends the thread only after them.
    QMetaObject::invokeMethod(
        m_worker,
        [this] {
            m_worker->flush();
            quit();
        },
        Qt::QueuedConnection);
    wait();
}
