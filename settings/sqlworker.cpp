#include "sqlworker.h"
#include "paths.h"
#include "settingkeys.h"

#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// SQLite's primary result codes for a file that is not, or no longer, a database.
const QString kSqliteCorrupt = QStringLiteral("11");
const QString kSqliteNotADatabase = QStringLiteral("26");
// A file or folder that cannot be written: read-only (8), no journal can be made beside it
// (14), or a full disk, where the index of the write-ahead log cannot be made (10) and a
// rollback journal cannot grow (13).
bool cannotWrite(const QString &code)
{
    static const QStringList codes
        = {QStringLiteral("8"), QStringLiteral("10"), QStringLiteral("13"), QStringLiteral("14")};
    return codes.contains(code);
}

// The write-ahead log is folded into the file every 64 pages and cut back to 256 KB: left to
// itself it grows to 4 MB beside a settings file of a few kilobytes.
constexpr int kCheckpointPages = 64;
constexpr int kLogSizeLimit = 256 << 10;

constexpr qint64 kLongestWaitMs = 20;

} // namespace

SqlWorker::SqlWorker(QObject *parent)
    : QObject(parent)
{
}

SqlWorker::~SqlWorker()
{
    closeConnection();
}

void SqlWorker::connectToDatabase(const QString &name)
{
    qDebug() << Q_FUNC_INFO << name;
    QVariantHash values;
    Trouble trouble = NoTrouble;
    QString detail = name;
    m_readOnly = false;
    Outcome outcome = open(name, &values);
    if (outcome == Outcome::ReadOnlyDisk) {
        closeConnection();
        outcome = open(name, &values, true);
    }
    if (outcome == Outcome::Damaged) {
        // Whatever rows still read go into the new file; the damaged one is kept for the user.
        QVariantHash salvaged;
        QSqlDatabase db
            = QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false);
        readRows(db, &salvaged);
        closeConnection();
        trouble = Damaged;
        outcome = moveAside(name, &detail) ? open(name, &values) : Outcome::Failed;
        for (auto it = salvaged.cbegin(); it != salvaged.cend(); ++it) {
            if (outcome == Outcome::Opened)
                execute(QStringLiteral("INSERT OR REPLACE INTO Settings (name,value) VALUES (?,?)"),
                    {it.key(), it.value()});
            values.insert(it.key(), it.value());
        }
    } else if (outcome == Outcome::Opened && m_readOnly) {
        trouble = ReadOnly;
        // The rows an older file lacks could not be added: they read as a new file has them.
        for (const SettingKeys::Row &row : SettingKeys::table()) {
            if (row.source == SettingKeys::Row::FirstRun && !values.contains(row.name))
                values.insert(row.name, row.initial);
        }
    }
    if (outcome != Outcome::Opened) {
        qWarning() << Q_FUNC_INFO << "the settings database could not be opened:" << name;
        closeConnection();
        trouble = Unusable;
        detail = m_lastError;
    }
    emit connectComplited(outcome == Outcome::Opened, values, trouble, detail);
}

SqlWorker::Outcome SqlWorker::open(const QString &path, QVariantHash *values, bool readOnly)
{
    if (!QSqlDatabase::contains())
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    QSqlDatabase db = QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false);
    if (readOnly) {
        // Immutable: nothing is made beside the file, which a read-only folder would refuse.
        QUrl uri = QUrl::fromLocalFile(path);
        uri.setQuery(QStringLiteral("immutable=1"));
        db.setDatabaseName(uri.toString(QUrl::FullyEncoded));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
        m_readOnly = true;
    } else {
        // The write-ahead log and its index take the file's mode when they are made, and
        // they hold the token as the file does: the file is the owner's alone before either.
        const int fd = ::open(
            QFile::encodeName(path).constData(), O_RDONLY | O_CREAT | O_CLOEXEC, S_IRUSR | S_IWUSR);
        if (fd >= 0)
            ::close(fd);
        Paths::makePrivate(path);
        db.setDatabaseName(path);
        db.setConnectOptions();
    }
    if (!db.open())
        return failure("db not open", db.lastError());

    // A file that is not a database opens fine; the first statement is what finds out.
    QSqlQuery check(db);
    if (!check.exec(QStringLiteral("PRAGMA quick_check"))) {
        const QString code = check.lastError().nativeErrorCode();
        if (!readOnly && QFileInfo(path).isFile() && cannotWrite(code)) {
            // A file on a read-only or full disk, with its write-ahead log's index missing.
            return Outcome::ReadOnlyDisk;
        }
        return failure("check", check.lastError());
    }
    if (!check.next() || check.value(0).toString() != QLatin1String("ok")) {
        qWarning() << Q_FUNC_INFO << "integrity check failed:" << check.value(0).toString();
        return Outcome::Damaged;
    }
    check.finish();
    QSqlError error;
    if (readOnly)
        return readRows(db, values, &error) ? Outcome::Opened : failure("load", error);

    // Each commit then appends to the log instead of rewriting pages and syncing twice; a
    // killed process still leaves every committed write behind. A folder that cannot hold
    // the log keeps the classic journal.
    QSqlQuery journal(db);
    if (!journal.exec(QStringLiteral("PRAGMA journal_mode=WAL")))
        qWarning() << Q_FUNC_INFO << "no write-ahead log:" << journal.lastError().text();
    journal.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    journal.exec(QStringLiteral("PRAGMA wal_autocheckpoint=%1").arg(kCheckpointPages));
    journal.exec(QStringLiteral("PRAGMA journal_size_limit=%1").arg(kLogSizeLimit));

    if (!createDataBase(db, &error)) {
        // A file that only cannot be written still holds the user's settings: they are read,
        // and the caller learns that changes will not be kept.
        if (!cannotWrite(error.nativeErrorCode()))
            return failure("create", error);
        m_readOnly = true;
    }

    if (!readRows(db, values, &error))
        return failure("load", error);
    return Outcome::Opened;
}

// Every row up to the first that cannot be read.
bool SqlWorker::readRows(QSqlDatabase &db, QVariantHash *values, QSqlError *error)
{
    QSqlQuery rows(db);
    if (!rows.exec(QStringLiteral("SELECT name, value FROM Settings"))) {
        if (error)
            *error = rows.lastError();
        return false;
    }
    while (rows.next())
        values->insert(rows.value(0).toString(), rows.value(1));
    return true;
}

SqlWorker::Outcome SqlWorker::failure(const char *step, const QSqlError &error)
{
    qWarning() << Q_FUNC_INFO << step << error.text();
    m_lastError = error.text();
    const QString code = error.nativeErrorCode();
    return code == kSqliteCorrupt || code == kSqliteNotADatabase ? Outcome::Damaged
                                                                 : Outcome::Failed;
}

// Runs on every open, in one transaction, so a start that died half-way through the first
// run leaves either nothing or the whole table behind, and rows the user changed stay.
bool SqlWorker::createDataBase(QSqlDatabase &db, QSqlError *error)
{
    if (!db.transaction()) {
        *error = db.lastError();
        return false;
    }
    QSqlQuery query(db);
    bool ok = query.exec(QStringLiteral(
        R"(CREATE TABLE IF NOT EXISTS "Settings" ("name" VARCHAR PRIMARY KEY  NOT NULL , "value" TEXT))"));
    if (ok)
        ok = query.prepare(
            QStringLiteral(R"(INSERT OR IGNORE INTO "Settings" ("name","value") VALUES (?,?))"));
    for (const SettingKeys::Row &row : SettingKeys::table()) {
        if (!ok)
            break;
        if (row.source != SettingKeys::Row::FirstRun)
            continue;
        query.bindValue(0, QString(row.name));
        query.bindValue(1, row.initial);
        ok = query.exec();
    }
    if (!ok) {
        *error = query.lastError();
        qWarning() << Q_FUNC_INFO << query.lastQuery() << error->text();
        db.rollback();
        return false;
    }
    if (!db.commit()) {
        *error = db.lastError();
        return false;
    }
    return true;
}

void SqlWorker::execute(const QString &query, const QVariantList &param)
{
    if (query == QLatin1String("BEGIN")) {
        ++m_groupDepth;
        return;
    }
    if (query == QLatin1String("COMMIT")) {
        m_groupDepth = qMax(0, m_groupDepth - 1);
        scheduleFlush();
        return;
    }
    const bool upsert = query.startsWith(QLatin1String("INSERT OR REPLACE")) && !param.isEmpty();
    const QString row = upsert ? query + QLatin1Char('\n') + param.first().toString() : QString();
    const auto waiting = upsert ? m_rows.constFind(row) : m_rows.constEnd();
    if (waiting != m_rows.constEnd()) {
        m_writes[*waiting].params = param;
    } else {
        if (m_writes.isEmpty())
            m_oldest.start();
        if (upsert)
            m_rows.insert(row, m_writes.size());
        m_writes.append({query, param});
    }
    if (m_groupDepth == 0 && m_oldest.elapsed() >= kLongestWaitMs)
        flush();
    else
        scheduleFlush();
}

void SqlWorker::scheduleFlush()
{
    if (m_flushQueued)
        return;
    m_flushQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_flushQueued = false;
            if (m_groupDepth == 0)
                flush();
        },
        Qt::QueuedConnection);
}

void SqlWorker::flush()
{
    if (m_writes.isEmpty())
        return;
    const QList<Write> writes = std::exchange(m_writes, {});
    m_rows.clear();
    QSqlDatabase db = QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false);
    const bool grouped = db.transaction();
    QString failed = grouped ? QString() : db.lastError().text();
    QHash<QString, QSqlQuery> statements;
    for (const Write &write : writes) {
        auto statement = statements.find(write.query);
        if (statement == statements.end()) {
            statement = statements.insert(write.query, QSqlQuery(db));
            statement->prepare(write.query);
        }
        for (int i = 0; i < write.params.size(); ++i)
            statement->bindValue(i, write.params.at(i));
        // The values stay out of the log: some of them are credentials.
        if (!statement->exec()) {
            qWarning() << Q_FUNC_INFO << "write failed:" << write.query
                       << statement->lastError().text();
            if (failed.isEmpty())
                failed = statement->lastError().text();
        }
    }
    statements.clear();
    if (grouped && !db.commit()) {
        qWarning() << Q_FUNC_INFO << "writes not committed:" << db.lastError().text();
        failed = db.lastError().text();
        db.rollback();
    }
    if (!failed.isEmpty())
        emit writeFailed(failed);
}

void SqlWorker::getDataLoad(quint64 request, const QString &name)
{
    flush();
    QSqlQuery query(QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false));
    QVariant value;
    if (query.prepare(QStringLiteral("SELECT value FROM Settings WHERE name = ?"))) {
        query.addBindValue(name);
        if (query.exec() && query.next())
            value = query.value(0);
    }
    if (query.lastError().isValid())
        qWarning() << Q_FUNC_INFO << query.lastQuery() << query.lastError().text();
    emit getDataFinished(request, value);
}

void SqlWorker::closeConnection()
{
    if (!QSqlDatabase::contains())
        return;
    QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false).close();
    QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
}

bool SqlWorker::moveAside(const QString &path, QString *aside)
{
    *aside
        = path + QStringLiteral(".damaged-") + QString::number(QDateTime::currentMSecsSinceEpoch());
    const bool moved = QFile::rename(path, *aside);
    // A log left beside the file belongs to the damaged one: the new file must not take it up.
    for (const char *companion : {"-wal", "-shm"}) {
        if (QFile::exists(path + QLatin1String(companion)))
            QFile::rename(path + QLatin1String(companion), *aside + QLatin1String(companion));
    }
    if (moved) {
        qWarning() << Q_FUNC_INFO << "the settings file was not a database; kept as" << *aside;
    } else {
        qWarning() << Q_FUNC_INFO << "the damaged settings file could not be moved aside:" << path;
        m_lastError = tr("the damaged file could not be moved aside");
    }
    return moved;
}
