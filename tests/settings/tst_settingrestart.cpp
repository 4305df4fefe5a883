#include "cipher.h"
#include "fulldisk.h"
#include "setting.h"
#include "standinservice.h"
#include "testfiles.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

#include <csignal>

#include <memory>

// Scenarios that need a new process: a restart, an exit right after writing, a damaged or
// unusable settings file. Each runs the settings probe in a home folder of its own.
class TestSettingRestart : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void valuesSurviveARestart();
    void credentialsOutlastARefusedSignIn();
    void writesQueuedJustBeforeExitAreKept();
    void killLosesOnlyTheLastMoments_data();
    void killLosesOnlyTheLastMoments();
    void damagedFileIsMovedAside_data();
    void damagedFileIsMovedAside();
    void validFileWithoutTableGetsTheRows_data();
    void validFileWithoutTableGetsTheRows();
    void unopenableDatabaseIsReported();
    void unwritableFileIsReadAndReported_data();
    void unwritableFileIsReadAndReported();
    void writesThatFailAreReportedOnce();
    void clientIdIsTheSameAcrossProcesses();
    void autostartEntryFollowsTheUsersChoice();

private:
    struct Run
    {
        int exitCode = -1;
        QString out;
        QString err;
        QString value(const QString &key) const;
    };
    Run probe(const QStringList &commands);
    QString settingFile() const { return m_home->path() + QStringLiteral("/.kuvo/setting"); }
    QStringList movedAside() const;

    std::unique_ptr<QTemporaryDir> m_home;
};

QString TestSettingRestart::Run::value(const QString &key) const
{
    const QRegularExpression line(QStringLiteral("^%1=(.*)$").arg(QRegularExpression::escape(key)),
        QRegularExpression::MultilineOption);
    return line.match(out).captured(1);
}

void TestSettingRestart::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
}

TestSettingRestart::Run TestSettingRestart::probe(const QStringList &commands)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), m_home->path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home->path() + QStringLiteral("/config"));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(m_home->path());
    process.start(QStringLiteral(SETTINGPROBE), commands);
    Run run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished(5000);
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QStringList TestSettingRestart::movedAside() const
{
    return QDir(m_home->path() + QStringLiteral("/.kuvo"))
        .entryList({QStringLiteral("setting.damaged-*")}, QDir::Files);
}

void TestSettingRestart::valuesSurviveARestart()
{
    Run first = probe({"set", "type_upload", "ftp", "setint", "widthColorLine", "5", "set",
        "keyFragmentScreen", "F7"});
    QCOMPARE(first.exitCode, 0);

    Run second = probe({"get", "type_upload", "get", "widthColorLine", "get", "keyFragmentScreen",
        "get", "snapshotFull"});
    QCOMPARE(second.exitCode, 0);
    QCOMPARE(second.value("type_upload"), QStringLiteral("QString:ftp"));
    QCOMPARE(second.value("widthColorLine"), QStringLiteral("QString:5"));
    QCOMPARE(second.value("keyFragmentScreen"), QStringLiteral("QString:F7"));
    QCOMPARE(second.value("snapshotFull"), QStringLiteral("QString:1"));
}

// "Sign in again ?" answered Ok, a quit before the next sign-in, a new start and that sign-in.
void TestSettingRestart::credentialsOutlastARefusedSignIn()
{
    StandinService service;
    QVERIFY(service.start());
    const QStringList signIn
        = {"service", service.httpsHost(), "signin", "demo@kuvo.example", "kuvo-demo"};
    const QStringList keys = {"ftp_user", "ftp_password", "sftp_user", "sftp_password"};
    QStringList first = signIn, rows, second = signIn + QStringList {"row", "token"};
    for (const QString &key : keys) {
        first << "set" << key << "the secret " + key;
        rows << "row" << key;
        second << "getenc" << key << "row" << key;
    }
    const Run refused = probe(first + QStringList {"refused"} + rows);
    QCOMPARE(refused.value("signin"), QStringLiteral("true"));
    for (const QString &key : keys) {
        const QString row = refused.value("row:" + key).section(':', 1);
        QVERIFY2(!row.isEmpty() && !row.contains("secret"), qPrintable(key + '=' + row));
    }

    const Run again = probe(second);
    const QString token = again.value("row:token").section(':', 1);
    for (const QString &key : keys) {
        QCOMPARE(again.value(key), "QString:the secret " + key);
        // In the file, sealed with the token of this sign-in.
        QCOMPARE(decrypt(again.value("row:" + key).section(':', 1), token), "the secret " + key);
    }
}

void TestSettingRestart::writesQueuedJustBeforeExitAreKept()
{
    QCOMPARE(probe({"fill", "500"}).exitCode, 0);
    Run check = probe({"check", "500"});
    QCOMPARE(check.exitCode, 0);
    QCOMPARE(check.value("found"), QStringLiteral("500"));
}

void TestSettingRestart::killLosesOnlyTheLastMoments_data()
{
    QTest::addColumn<int>("interval");
    QTest::newRow("a write every 5 ms") << 5;
    QTest::newRow("writes as fast as they go") << 0;
}

// Writes are acknowledged once setValue returns; a kill -9 may cost only what arrived in the
// last few dozen milliseconds, however fast the writes come.
void TestSettingRestart::killLosesOnlyTheLastMoments()
{
    QFETCH(int, interval);
    QList<double> lostMs;
    for (int trial = 0; trial < 5; ++trial) {
        init();
        QProcess writer;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), m_home->path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home->path() + QStringLiteral("/config"));
        env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("*.debug=false"));
        writer.setProcessEnvironment(env);
        writer.start(QStringLiteral(SETTINGPROBE), {"stream", QString::number(interval)});
        QList<QByteArray> last;
        QDeadlineTimer running(700 + 100 * trial);
        while (!running.hasExpired()) {
            writer.waitForReadyRead(20);
            while (writer.canReadLine()) {
                const QList<QByteArray> words = writer.readLine().trimmed().split(' ');
                if (words.size() == 3 && words.first() == "acked")
                    last = words;
            }
        }
        ::kill(pid_t(writer.processId()), SIGKILL);
        QVERIFY(writer.waitForFinished(5000));
        QVERIFY2(last.size() == 3, "the writer acknowledged nothing");
        const double acked = last.at(1).toDouble();
        const double ackedAtMs = last.at(2).toDouble();

        const Run after = probe({"get", "stream_counter"});
        const double stored
            = after.value(QStringLiteral("stream_counter")).section(':', 1).toDouble();
        QVERIFY2(stored > 0, qPrintable(after.out));
        lostMs << qMax(0.0, acked - stored) * ackedAtMs / acked;
    }
    std::sort(lostMs.begin(), lostMs.end());
    qInfo() << "ms of acknowledged writes lost per kill:" << lostMs;
    QVERIFY2(lostMs.at(2) <= 50, qPrintable(QString::number(lostMs.at(2))));
    QVERIFY2(lostMs.last() <= 150, qPrintable(QString::number(lostMs.last())));
}

void TestSettingRestart::damagedFileIsMovedAside_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<bool>("readable");
    QTest::newRow("garbage") << "garbage" << false;
    QTest::newRow("truncated") << "truncated" << false;
    // A page in the middle overwritten: the rows before it still read.
    QTest::newRow("overwritten") << "overwritten" << true;
}

void TestSettingRestart::damagedFileIsMovedAside()
{
    QFETCH(QString, damage);
    QFETCH(bool, readable);
    QVERIFY(QDir().mkpath(m_home->path() + QStringLiteral("/.kuvo")));
    QByteArray bytes;
    if (damage == QLatin1String("garbage")) {
        bytes = QByteArray("this is not a database, just some text someone left here\n")
                    .repeated(200);
    } else {
        QCOMPARE(probe({"fill", "400"}).exitCode, 0);
        QFile whole(settingFile());
        QVERIFY(whole.open(QIODevice::ReadOnly));
        bytes = whole.readAll();
        QVERIFY(bytes.size() > 3 * 4096);
        if (damage == QLatin1String("truncated"))
            bytes.truncate(bytes.size() / 2);
        else
            bytes.replace(bytes.size() / 2, 100, QByteArray(100, '\xff'));
        whole.close();
    }
    QFile file(settingFile());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    file.close();

    Run run = probe({"trouble", "check", "400", "get", "fragmentScreen", "get", "type_upload",
        "set", "language", "en", "connect"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.value("found").toInt() > 0, readable);
    QCOMPARE(run.value("fragmentScreen"), QStringLiteral("QString:1"));
    QCOMPARE(run.value("type_upload"), QStringLiteral("QString:kuvo"));
    QCOMPARE(run.value("connect"), QStringLiteral("true"));
    QVERIFY2(run.err.contains(QStringLiteral("kept as")), qPrintable(run.err));

    const QStringList aside = movedAside();
    QCOMPARE(aside.size(), 1);
    // The store knows, for the user to be told, and where the file went.
    QCOMPARE(run.value("trouble"),
        QStringLiteral("%1 %2/.kuvo/%3")
            .arg(int(Setting::StorageDamaged))
            .arg(m_home->path(), aside.first()));
    QFile kept(m_home->path() + QStringLiteral("/.kuvo/") + aside.first());
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), bytes);

    QCOMPARE(probe({"get", "language"}).value("language"), QStringLiteral("QString:en"));
}

void TestSettingRestart::validFileWithoutTableGetsTheRows_data()
{
    QTest::addColumn<bool>("otherTable");
    QTest::newRow("zero bytes") << false;
    QTest::newRow("database of another table") << true;
}

// Left behind by a start that died before its first transaction, or by anything else.
void TestSettingRestart::validFileWithoutTableGetsTheRows()
{
    QFETCH(bool, otherTable);
    QVERIFY(QDir().mkpath(m_home->path() + QStringLiteral("/.kuvo")));
    {
        QFile file(settingFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    if (otherTable) {
        {
            QSqlDatabase db
                = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
            db.setDatabaseName(settingFile());
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(db).exec(QStringLiteral("CREATE TABLE other (x INTEGER)")));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
    }

    Run run = probe({"get", "keySendScreen", "get", "colorColorLine"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.value("keySendScreen"), QStringLiteral("QString:Ctrl + Enter"));
    QCOMPARE(run.value("colorColorLine"), QStringLiteral("QString:7"));
    QVERIFY(movedAside().isEmpty());
}

void TestSettingRestart::unopenableDatabaseIsReported()
{
    // A folder where the file should be: SQLite cannot open it, and it is no file to move.
    QVERIFY(QDir().mkpath(settingFile()));
    Run run = probe({"trouble", "connect", "get", "fragmentScreen", "set", "username", "someone",
        "get", "username"});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.value("trouble").startsWith(QStringLiteral("%1 ").arg(Setting::StorageUnusable))
            && run.value("trouble").size() > 2,
        qPrintable(run.value("trouble")));
    // Known from the start: the user is told once, not again for every lost write.
    QVERIFY(!run.out.contains(QStringLiteral("writesFailed")));
    QCOMPARE(run.value("connect"), QStringLiteral("false"));
    QCOMPARE(run.value("fragmentScreen"), QStringLiteral("null"));
    QCOMPARE(run.value("username"), QStringLiteral("QString:someone"));
    QVERIFY2(run.err.contains(QStringLiteral("could not be opened")), qPrintable(run.err));
    QVERIFY(QFileInfo(settingFile()).isDir());
    QVERIFY(movedAside().isEmpty());
}

void TestSettingRestart::unwritableFileIsReadAndReported_data()
{
    QTest::addColumn<bool>("full");
    QTest::addColumn<bool>("rollbackJournal"); // as older versions and the sqlite3 shell leave it
    QTest::newRow("read-only disk") << false << false;
    QTest::newRow("full disk") << true << false;
    QTest::newRow("full disk, rollback journal") << true << true;
}

// The file of a signed-in user that can no longer be written (a read-only mount, or a disk
// without room for the log's index): the user keeps the settings and is told that changes
// will not last.
void TestSettingRestart::unwritableFileIsReadAndReported()
{
    QFETCH(bool, full);
    QFETCH(bool, rollbackJournal);
    const QString folder = m_home->path() + QStringLiteral("/.kuvo");
    FullDisk disk(folder, 1 << 20);
    if (!disk.isMounted())
        QSKIP(qPrintable(FullDisk::skipReason()));
    QCOMPARE(probe({"set", "token", "a-token", "set", "widthColorLine", "5"}).exitCode, 0);
    QVERIFY(!rollbackJournal // and without a row this version adds
        || changeSqliteFile(settingFile(),
            "c.execute('PRAGMA journal_mode=DELETE'); "
            "c.execute('DELETE FROM Settings WHERE name = \"keySendScreen\"')"));
    QVERIFY(full ? disk.fillLeaving(0) : disk.makeReadOnly());

    Run run = probe({"trouble", "get", "token", "get", "widthColorLine", "get", "keySendScreen",
        "set", "username", "someone"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.value("trouble"),
        QStringLiteral("%1 %2").arg(Setting::StorageReadOnly).arg(settingFile()));
    QCOMPARE(run.value("token"), QStringLiteral("QString:a-token"));
    QCOMPARE(run.value("widthColorLine"), QStringLiteral("QString:5"));
    QCOMPARE(run.value("keySendScreen"), QStringLiteral("QString:Ctrl + Enter"));
    QVERIFY(!run.out.contains(QStringLiteral("writesFailed")));
}

// A disk that fills while the program runs: the first failed write is reported, once.
void TestSettingRestart::writesThatFailAreReportedOnce()
{
    FullDisk disk(m_home->path() + QStringLiteral("/.kuvo"), 256 << 10);
    if (!disk.isMounted())
        QSKIP(qPrintable(FullDisk::skipReason()));
    Run run = probe({"trouble", "bigfill", "200", "bigfill", "200"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.value("trouble"), QStringLiteral("0 ") + settingFile());
    QCOMPARE(run.out.count(QStringLiteral("writesFailed=")), 1);
    QVERIFY2(!run.value("writesFailed").isEmpty(), qPrintable(run.out));
}

void TestSettingRestart::clientIdIsTheSameAcrossProcesses()
{
    const QString first = probe({"cid"}).value("cid");
    QCOMPARE(first.size(), 36);
    QCOMPARE(probe({"cid"}).value("cid"), first);
    QVERIFY(QFile::exists(m_home->path() + QStringLiteral("/config/ym/kuvo.conf")));
}

// Only the user's choice writes or removes the entry: a start from a build folder must not
// make the desktop start that build at every login.
void TestSettingRestart::autostartEntryFollowsTheUsersChoice()
{
    const QString entry = m_home->path() + QStringLiteral("/.config/autostart/Kuvo.desktop");
    QCOMPARE(probe({}).exitCode, 0);
    QVERIFY(!QFile::exists(entry));
    QCOMPARE(probe({"set", "autostart", "0", "reset"}).exitCode, 0);
    QFile file(entry);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("Exec='" SETTINGPROBE "'\n"));
    file.close();

    QCOMPARE(probe({"set", "autostart", "0"}).exitCode, 0);
    QVERIFY(!QFile::exists(entry));
    QCOMPARE(probe({"set", "autostart", "1"}).exitCode, 0);
    QVERIFY(QFile::remove(entry));
    QCOMPARE(probe({}).exitCode, 0);
    QVERIFY(!QFile::exists(entry));
}

QTEST_GUILESS_MAIN(TestSettingRestart)
#include "tst_settingrestart.moc"
