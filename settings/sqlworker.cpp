#include "sqlworker.h"

#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {

// SQLite's primary result codes for a file that is not, or no longer, a database.
const QString kSqliteCorrupt = QStringLiteral("11");
const QString kSqliteNotADatabase = QStringLiteral("26");

// The first-run rows; bare numbers are stored as integers, quoted values as text.
struct DefaultRow
{
    const char *name;
    const char *literal;
};

const DefaultRow kDefaultRows[] = {
    {"fragmentScreen", "1"},
    {"quickFragmentScreen", "1"},
    {"snapshotFull", "1"},
    {"sendScreen", "1"},
    {"show_upload", "1"},
    {"show_last_upload", "1"},
    {"useProxy", "0"},
    {"qualityImage", "1"},
    {"useSaveScreen", "0"},
    {"saveScreenFolder", "''"},
    {"widthColorLine", "'2'"},
    {"widthTextLine", "'6'"},
    {"widthBlureLine", "'9'"},
    {"widthBlackoutLine", "'9'"},
    {"visibleColorPanel", "'1'"},
    {"showActiveWindow", "'1'"},
    {"showCloseSurfaceWindow", "'1'"},
    {"colorColorLine", "'7'"},
    {"autostart", "'1'"},
    {"keyFragmentScreen", "'Ctrl + Print'"},
    {"keyQuickFragmentScreen", "'Shift + Print'"},
    {"keySnapshotScreen", "'Ctrl + Shift + Print'"},
    {"keySendScreen", "'Ctrl + Enter'"},
};

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
    Outcome outcome = open(name, &values);
    if (outcome == Outcome::Damaged) {
        // Keep the damaged file for the user to inspect and start again from the first-run rows.
        closeConnection();
        outcome = moveAside(name) ? open(name, &values) : Outcome::Failed;
    }
    if (outcome != Outcome::Opened) {
        qWarning() << Q_FUNC_INFO << "the settings database could not be opened:" << name;
        closeConnection();
        values.clear();
    }
    emit connectComplited(outcome == Outcome::Opened, values);
}

SqlWorker::Outcome SqlWorker::open(const QString &path, QVariantHash *values)
{
    if (!QSqlDatabase::contains())
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    QSqlDatabase db = QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false);
    db.setDatabaseName(path);
    if (!db.open())
        return failure("db not open", db.lastError());

    // A file that is not a database opens fine; the first statement is what finds out.
    QSqlQuery check(db);
    if (!check.exec(QStringLiteral("PRAGMA quick_check")))
        return failure("check", check.lastError());
    if (!check.next() || check.value(0).toString() != QLatin1String("ok")) {
        qWarning() << Q_FUNC_INFO << "integrity check failed:" << check.value(0).toString();
        return Outcome::Damaged;
    }

    QSqlError error;
    if (!createDataBase(db, &error))
        return failure("create", error);

    QSqlQuery rows(db);
    if (!rows.exec(QStringLiteral("SELECT name, value FROM Settings")))
        return failure("load", rows.lastError());
    while (rows.next())
        values->insert(rows.value(0).toString(), rows.value(1));
    return Outcome::Opened;
}

SqlWorker::Outcome SqlWorker::failure(const char *step, const QSqlError &error)
{
    qWarning() << Q_FUNC_INFO << step << error.text();
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
    for (const DefaultRow &row : kDefaultRows) {
        if (!ok)
            break;
        ok = query.exec(
            QStringLiteral(R"(INSERT OR IGNORE INTO "Settings" ("name","value") VALUES ('%1',%2))")
                .arg(QLatin1String(row.name), QLatin1String(row.literal)));
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
    QSqlQuery statement(
        QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false));
    bool ok = statement.prepare(query);
    for (const QVariant &value : param)
        statement.addBindValue(value);
    ok = ok && statement.exec();
    // The values stay out of the log: some of them are credentials.
    if (!ok)
        qWarning() << Q_FUNC_INFO << "write failed:" << query << statement.lastError().text();
}

void SqlWorker::getDataLoad(quint64 request, const QString &name)
{
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

bool SqlWorker::moveAside(const QString &path)
{
    const QString aside
        = path + QStringLiteral(".damaged-") + QString::number(QDateTime::currentMSecsSinceEpoch());
    const bool moved = QFile::rename(path, aside);
    if (moved)
        qWarning() << Q_FUNC_INFO << "the settings file was not a database; kept as" << aside;
    else
        qWarning() << Q_FUNC_INFO << "the damaged settings file could not be moved aside:" << path;
    return moved;
}
