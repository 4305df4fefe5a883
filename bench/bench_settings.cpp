// Figures of the settings store: the first open on a new home folder, the cost of a cached
// read beside QSettings on an INI file holding the same keys, how long setValue keeps the
// calling thread, and how many writes a second reach the file, beside one transaction per
// write on a database of the same table. Run it with nothing else to do: bench_settings (it
// makes its own HOME).

#include "benchsupport.h"
#include "setting.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

namespace {

const int kReads = 1000000;
const int kWrites = 20000;

const char *const kKeys[] = {"fragmentScreen", "qualityImage", "widthColorLine", "colorColorLine",
    "keySendScreen", "showActiveWindow", "type_upload", "saveScreenFolder"};
const int kKeyCount = int(sizeof(kKeys) / sizeof(kKeys[0]));

void print(const char *name, double value, const char *unit)
{
    std::printf("%s: %.1f %s\n", name, value, unit);
}

template <typename Read> double nanosecondsPerRead(const QStringList &keys, Read read)
{
    QElapsedTimer timer;
    timer.start();
    int hits = 0;
    for (int i = 0; i < kReads; ++i)
        hits += !read(keys[i % kKeyCount]).isNull();
    const double ns = double(timer.nsecsElapsed()) / kReads;
    if (hits != kReads)
        std::printf("warning: %d of %d reads found nothing\n", kReads - hits, kReads);
    return ns;
}

// What every write cost before writes were grouped: a transaction of its own, on SQLite's
// default journal.
double writesPerSecondOneByOne(const QString &file, int writes)
{
    double perSecond = 0;
    {
        QSqlDatabase db
            = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("one"));
        db.setDatabaseName(file);
        db.open();
        QSqlQuery query(db);
        query.exec(QStringLiteral(
            R"(CREATE TABLE IF NOT EXISTS "Settings" ("name" VARCHAR PRIMARY KEY NOT NULL, "value" TEXT))"));
        query.prepare(QStringLiteral("INSERT OR REPLACE INTO Settings (name,value) VALUES (?,?)"));
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < writes; ++i) {
            query.bindValue(0, QStringLiteral("one_key_%1").arg(i));
            query.bindValue(1, i);
            query.exec();
        }
        perSecond = writes / (timer.nsecsElapsed() / 1e9);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("one"));
    return perSecond;
}

} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir home;
    useTemporaryHome(home);
    QCoreApplication app(argc, argv);

    QElapsedTimer open;
    open.start();
    Setting *settings = Setting::instance();
    print(
        "open on a new home (folders, database, first-run rows)", open.nsecsElapsed() / 1e6, "ms");

    QStringList keys;
    QSettings ini(home.path() + QStringLiteral("/same-keys.ini"), QSettings::IniFormat);
    for (const char *key : kKeys) {
        keys << QString::fromLatin1(key);
        ini.setValue(keys.last(), settings->getValue(keys.last()));
    }
    ini.sync();

    const double store
        = nanosecondsPerRead(keys, [&](const QString &k) { return settings->getValue(k); });
    const double qsettings
        = nanosecondsPerRead(keys, [&](const QString &k) { return ini.value(k); });
    print("cached getValue", store, "ns/call");
    print("QSettings::value on INI (baseline)", qsettings, "ns/call");

    QElapsedTimer write;
    write.start();
    for (int i = 0; i < kWrites; ++i)
        settings->setValue(QStringLiteral("bench_key_%1").arg(i % 64), i);
    print("setValue on the calling thread", double(write.nsecsElapsed()) / kWrites / 1000.0,
        "us/call");

    // Every row a new one, so no write stands in for another; a read waits for all of them.
    QElapsedTimer committed;
    committed.start();
    for (int i = 0; i < kWrites; ++i)
        settings->setValue(QStringLiteral("bench_row_%1").arg(i), i);
    const bool all = settings->getValueDB(QStringLiteral("bench_row_%1").arg(kWrites - 1)).toInt()
        == kWrites - 1;
    print("setValue writes committed to the file", kWrites / (committed.nsecsElapsed() / 1e9),
        "writes/s");
    if (!all)
        std::printf("warning: the last write did not reach the file\n");
    print("one transaction per write (baseline)",
        writesPerSecondOneByOne(home.path() + QStringLiteral("/one-by-one.sqlite"), 500),
        "writes/s");
    return 0;
}
