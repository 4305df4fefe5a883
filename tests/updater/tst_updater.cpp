#include "networkaccessmanager.h"
#include "serviceaddress.h"
#include "setting.h"
#include "standinservice.h"
#include "updater.h"

#include <QCryptographicHash>
#include <QJsonObject>
#include <QtTest>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <memory>

namespace {

using Entries = QList<QPair<QString, QByteArray>>;

const QByteArray kProgramBytes = QByteArrayLiteral("#!/bin/sh\necho new Kuvo\n\x00\x01\xfe\xff");
const QString kWrongMd5 = QStringLiteral("0123456789abcdef0123456789abcdef");

QString md5Of(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(
        QCryptographicHash::hash(file.readAll(), QCryptographicHash::Md5).toHex());
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Written entry by entry, so a package may also hold names no archiver would produce.
bool writeZip(const QString &path, const Entries &entries)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdCreate))
        return false;
    for (const auto &entry : entries) {
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(entry.first))
            || file.write(entry.second) != entry.second.size())
            return false;
        file.close();
    }
    zip.close();
    return zip.getZipError() == 0;
}

} // namespace

// The updater against the stand-in service. Outcomes that never hand over run in this
// process; the three whole runs, which may end the program, run the update probe each in a
// process and a home folder of their own.
class TestUpdater : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void onlyANewerVersionIsDownloaded_data();
    void onlyANewerVersionIsDownloaded();
    void unusableRepliesChangeNothing_data();
    void unusableRepliesChangeNothing();
    void unusablePackagesAreRemoved_data();
    void unusablePackagesAreRemoved();
    void secondStartWhileRunningIsIgnored();
    void downloadCutShortByTheEndLeavesNothing();
    void requestsNameThePlatformAndKeepTheTokenFromThePackage();
    void hostileOfferIsNeverUnpacked_data();
    void hostileOfferIsNeverUnpacked();

    void nothingNewerKeepsTheProgramRunning();
    void verifiedUpdateHandsOverToTheNewProgram();
    void damagedDownloadIsDiscarded();

private:
    struct Run
    {
        int exitCode = -1;
        QString out;
        qint64 elapsedMs = 0;
    };
    Run probe(const QString &home, int seconds, int deadlineMs = 60000);
    QString packagePath(const Entries &entries);
    QJsonArray checks() { return m_service.requests(QStringLiteral("/update/check")); }
    int packageRequests();
    void waitUntilIdle(Updater &updater, int checksBefore);
    static QString kuvoFolder(const QString &home) { return home + QStringLiteral("/.kuvo/"); }
    static bool leftNothingBehind(const QString &home);

    StandinService m_service;
    std::unique_ptr<QTemporaryDir> m_scratch;
};

void TestUpdater::initTestCase()
{
    QCoreApplication::setApplicationName(QStringLiteral("Kuvo"));
    QVERIFY(m_service.start());
    ServiceAddress::setApiHost(m_service.httpsHost());
    ServiceAddress::setWebHost(m_service.httpsHost());
    ServiceAddress::setFixedHost(m_service.httpHost());
}

void TestUpdater::init()
{
    QCoreApplication::setApplicationVersion(QStringLiteral("3.0.15"));
    m_service.reset();
    m_service.withdrawUpdate();
    m_scratch = std::make_unique<QTemporaryDir>();
    QVERIFY(m_scratch->isValid());
}

void TestUpdater::cleanup()
{
    NetworkAccessManager::setDeadline(60000);
    Updater::setPackageLimit(qint64(1) << 30);
    QDir(kuvoFolder(QDir::homePath()) + QStringLiteral("update")).removeRecursively();
    QDir(kuvoFolder(QDir::homePath()) + QStringLiteral("update.part")).removeRecursively();
}

QString TestUpdater::packagePath(const Entries &entries)
{
    const QString path = m_scratch->filePath(QStringLiteral("Kuvo-update.zip"));
    return writeZip(path, entries) ? path : QString();
}

int TestUpdater::packageRequests()
{
    int count = 0;
    for (const QJsonValue &request : m_service.arrivals()) {
        const QString path = request.toObject().value(QStringLiteral("path")).toString();
        count += path.startsWith(QLatin1String("/update/package/"));
    }
    return count;
}

// A run that ends without a signal is over once a new start is accepted again.
void TestUpdater::waitUntilIdle(Updater &updater, int checksBefore)
{
    QTRY_VERIFY_WITH_TIMEOUT((updater.startUpdate(), checks().size() > checksBefore), 10000);
}

bool TestUpdater::leftNothingBehind(const QString &home)
{
    return !QFileInfo::exists(kuvoFolder(home) + QStringLiteral("update"))
        && !QFileInfo::exists(kuvoFolder(home) + QStringLiteral("update.part"));
}

void TestUpdater::onlyANewerVersionIsDownloaded_data()
{
    QTest::addColumn<QString>("running");
    QTest::addColumn<QString>("offered");
    QTest::addColumn<bool>("newer");

    QTest::newRow("same") << "3.0.15"
                          << "3.0.15" << false;
    QTest::newRow("older patch, longer text") << "3.0.15"
                                              << "3.0.9" << false;
    QTest::newRow("older minor") << "3.1.0"
                                 << "3.0.99" << false;
    QTest::newRow("shorter equal prefix") << "3.0.15"
                                          << "3" << false;
    QTest::newRow("next patch") << "3.0.15"
                                << "3.0.16" << true;
    QTest::newRow("numbers, not text") << "3.0.99"
                                       << "3.0.100" << true;
    QTest::newRow("next minor") << "3.0.15"
                                << "3.1" << true;
    QTest::newRow("one more part") << "3.0.15"
                                   << "3.0.15.1" << true;
    QTest::newRow("next major") << "9.9.9"
                                << "10" << true;
}

// A newer offer is fetched; its checksum is wrong on purpose, so no run here hands over.
void TestUpdater::onlyANewerVersionIsDownloaded()
{
    QFETCH(QString, running);
    QFETCH(QString, offered);
    QFETCH(bool, newer);

    QCoreApplication::setApplicationVersion(running);
    m_service.offerUpdate(
        offered, packagePath({{QStringLiteral("Kuvo.exe"), kProgramBytes}}), kWrongMd5);
    Updater updater;
    QSignalSpy failed(&updater, &Updater::updateFailed);
    updater.startUpdate();

    if (newer) {
        QVERIFY(failed.wait(10000));
        QCOMPARE(packageRequests(), 1);
    } else {
        waitUntilIdle(updater, 1);
        QCOMPARE(packageRequests(), 0);
        QCOMPARE(failed.count(), 0);
    }
    QVERIFY(leftNothingBehind(QDir::homePath()));
}

void TestUpdater::unusableRepliesChangeNothing_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("md5");

    // Each offer but the refused ones is newer, so only the fault itself stops the download.
    QTest::newRow("server error") << 500 << "4.0" << kWrongMd5;
    QTest::newRow("not found") << 404 << "4.0" << kWrongMd5;
    QTest::newRow("version with text") << 0 << "4.x" << kWrongMd5;
    QTest::newRow("version with suffix") << 0 << "4.0-beta" << kWrongMd5;
    QTest::newRow("empty part") << 0 << "4..0" << kWrongMd5;
    QTest::newRow("checksum not hex") << 0 << "4.0"
                                      << "not a checksum at all, 32 chars";
    QTest::newRow("checksum too short") << 0 << "4.0"
                                        << "0123456789abcdef";
}

void TestUpdater::unusableRepliesChangeNothing()
{
    QFETCH(int, status);
    QFETCH(QString, version);
    QFETCH(QString, md5);

    m_service.offerUpdate(version, packagePath({{QStringLiteral("Kuvo.exe"), kProgramBytes}}), md5);
    if (status)
        m_service.failNext(QStringLiteral("/update/check"), status);
    Updater updater;
    QSignalSpy failed(&updater, &Updater::updateFailed);
    updater.startUpdate();

    QVERIFY(failed.wait(10000));
    const QString text = failed.first().first().toString();
    QVERIFY(!text.isEmpty());
    QVERIFY(readFile(kuvoFolder(QDir::homePath()) + QStringLiteral("error.log"))
                .contains(text.toUtf8()));
    QCOMPARE(packageRequests(), 0);
    QVERIFY(leftNothingBehind(QDir::homePath()));
}

void TestUpdater::unusablePackagesAreRemoved_data()
{
    QTest::addColumn<Entries>("entries");
    QTest::addColumn<QByteArray>("rawBytes");

    const Entries program = {{QStringLiteral("Kuvo.exe"), kProgramBytes}};
    QTest::newRow("no program") << Entries {{QStringLiteral("readme.txt"), "hello"}}
                                << QByteArray();
    QTest::newRow("program in a subfolder")
        << Entries {{QStringLiteral("bin/Kuvo.exe"), kProgramBytes}} << QByteArray();
    QTest::newRow("entry leaving the folder")
        << Entries {{QStringLiteral("Kuvo.exe"), kProgramBytes},
               {QStringLiteral("../../escaped.txt"), "outside"}}
        << QByteArray();
    QTest::newRow("not a zip") << Entries {} << QByteArray("Kuvo.exe, but not packed at all");
}

// The checksums match here: what the package holds decides.
void TestUpdater::unusablePackagesAreRemoved()
{
    QFETCH(Entries, entries);
    QFETCH(QByteArray, rawBytes);

    const QString package = rawBytes.isEmpty() ? packagePath(entries)
                                               : m_scratch->filePath(QStringLiteral("raw.zip"));
    QVERIFY(!package.isEmpty());
    if (!rawBytes.isEmpty())
        QVERIFY(writeFile(package, rawBytes));
    m_service.offerUpdate(QStringLiteral("4.0"), package);
    Updater updater;
    QSignalSpy failed(&updater, &Updater::updateFailed);
    updater.startUpdate();

    QVERIFY(failed.wait(10000));
    QCOMPARE(packageRequests(), 1);
    QVERIFY(readFile(kuvoFolder(QDir::homePath()) + QStringLiteral("error.log"))
                .contains(failed.first().first().toString().toUtf8()));
    QVERIFY(leftNothingBehind(QDir::homePath()));
    QVERIFY(!QFileInfo::exists(kuvoFolder(QDir::homePath()) + QStringLiteral("escaped.txt")));
    QVERIFY(!QFileInfo::exists(QDir::homePath() + QStringLiteral("/escaped.txt")));
}

void TestUpdater::secondStartWhileRunningIsIgnored()
{
    // Each run ends with a failed check, and names the version that started it.
    m_service.failNext(QStringLiteral("/update/check"), 500, 3);
    Updater updater;
    QSignalSpy failed(&updater, &Updater::updateFailed);
    updater.startUpdate();
    QCoreApplication::setApplicationVersion(QStringLiteral("3.0.16"));
    updater.startUpdate();
    QVERIFY(failed.wait(10000));
    // A start after the end is taken; the ignored one would have left with the first.
    QCoreApplication::setApplicationVersion(QStringLiteral("3.0.17"));
    updater.startUpdate();
    QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 2, 10000);
    QStringList versions;
    for (const QJsonValue &check : m_service.arrivals(QStringLiteral("/update/check")))
        versions << check[QLatin1String("query")][QLatin1String("version")].toString();
    QCOMPARE(versions, QStringList({QStringLiteral("3.0.15"), QStringLiteral("3.0.17")}));
}

void TestUpdater::downloadCutShortByTheEndLeavesNothing()
{
    m_service.offerUpdate(
        QStringLiteral("4.0"), packagePath({{QStringLiteral("Kuvo.exe"), kProgramBytes}}));
    m_service.delay(QStringLiteral("/update/package/"), 5);
    const QString download
        = kuvoFolder(QDir::homePath()) + QStringLiteral("update.part/package.zip");
    {
        Updater updater;
        updater.startUpdate();
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(download), 10000);
    }
    m_service.delay(QStringLiteral("/update/package/"), 0);
    QVERIFY(leftNothingBehind(QDir::homePath()));
}

void TestUpdater::requestsNameThePlatformAndKeepTheTokenFromThePackage()
{
    Setting::instance()->setValue(QStringLiteral("token"), QStringLiteral("updater-test-token"));
    m_service.offerUpdate(QStringLiteral("4.0"),
        packagePath({{QStringLiteral("Kuvo.exe"), kProgramBytes}}), kWrongMd5);
    Updater updater;
    QSignalSpy failed(&updater, &Updater::updateFailed);
    updater.startUpdate();
    QVERIFY(failed.wait(10000));
    Setting::instance()->setValue(QStringLiteral("token"), QString());

    const QJsonObject check = checks().first().toObject();
    const QJsonObject query = check.value(QStringLiteral("query")).toObject();
    QCOMPARE(query.value(QStringLiteral("platform")).toString(), QStringLiteral("linux"));
    QCOMPARE(query.value(QStringLiteral("version")).toString(), QStringLiteral("3.0.15"));
    QCOMPARE(check.value(QStringLiteral("headers"))
                 .toObject()
                 .value(QStringLiteral("user-agent"))
                 .toString(),
        QStringLiteral("Kuvo 3.0.15"));

    QJsonObject package;
    for (const QJsonValue &request : m_service.requests()) {
        if (request.toObject()
                .value(QStringLiteral("path"))
                .toString()
                .startsWith(QLatin1String("/update/package/")))
            package = request.toObject();
    }
    const QJsonObject headers = package.value(QStringLiteral("headers")).toObject();
    QVERIFY(headers.contains(QStringLiteral("user-agent")));
    QVERIFY(!headers.contains(QStringLiteral("authorization")));
}

void TestUpdater::hostileOfferIsNeverUnpacked_data()
{
    QTest::addColumn<QJsonObject>("order");
    QTest::addColumn<int>("downloads");
    QTest::addColumn<QString>("reason");

    const QString port = m_service.httpsHost().section(QLatin1Char(':'), 1);
    const QString path = QStringLiteral("/update/package/Kuvo-update.zip");
    QTest::newRow("no signature") << QJsonObject {{"sig", ""}} << 0 << "is not signed";
    QTest::newRow("signature of other bytes")
        << QJsonObject {{"sig", QString(86, 'Z') + "=="}} << 1 << "not signed by the maker";
    QTest::newRow("other host name")
        << QJsonObject {{"url", "https://localhost:" + port + path}} << 0 << "not from the update";
    QTest::newRow("other port") << QJsonObject {{"url", "https://127.0.0.1:1" + path}} << 0
                                << "not from the update";
    QTest::newRow("download that stalls")
        << QJsonObject {{"pieces", 2}, {"pause", 30}} << 1 << "took too long";
    QTest::newRow("download beyond the limit") // the limit is the updater's, not the offer's
        << QJsonObject {{"pieces", 4}, {"limit", 100}} << 1 << "larger than 100 bytes";
}

// Nothing of these is unpacked, let alone run, and the error log says why.
void TestUpdater::hostileOfferIsNeverUnpacked()
{
    QFETCH(QJsonObject, order);
    QFETCH(int, downloads);
    QFETCH(QString, reason);

    NetworkAccessManager::setDeadline(1500);
    Updater::setPackageLimit(qint64(order.take(QStringLiteral("limit")).toDouble(1 << 30)));
    m_service.offerUpdate(QStringLiteral("4.0"),
        packagePath({{QStringLiteral("Kuvo.exe"), kProgramBytes}}), {}, order);
    Updater updater;
    QSignalSpy failed(&updater, &Updater::updateFailed);
    updater.startUpdate();

    QVERIFY(failed.wait(10000));
    const QString text = failed.first().first().toString();
    QVERIFY2(text.contains(reason), qPrintable(text));
    QVERIFY(readFile(kuvoFolder(QDir::homePath()) + QStringLiteral("error.log"))
                .contains(text.toUtf8()));
    QCOMPARE(packageRequests(), downloads);
    QVERIFY(leftNothingBehind(QDir::homePath()));
}

TestUpdater::Run TestUpdater::probe(const QString &home, int seconds, int deadlineMs)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(home);
    QElapsedTimer clock;
    clock.start();
    process.start(QStringLiteral(UPDATEPROBE),
        {m_service.httpsHost(), QStringLiteral("3.0.15"), QString::number(seconds),
            QString::number(deadlineMs)});
    Run run;
    if (!process.waitForFinished((seconds + 30) * 1000)) {
        process.kill();
        process.waitForFinished(5000);
        return run;
    }
    run.elapsedMs = clock.elapsed();
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    return run;
}

void TestUpdater::nothingNewerKeepsTheProgramRunning()
{
    const Run run = probe(m_scratch->path(), 4);
    QCOMPARE(run.out.trimmed(), QStringLiteral("still running"));
    QCOMPARE(checks().size(), 1);
    QCOMPARE(packageRequests(), 0);
    QVERIFY(leftNothingBehind(m_scratch->path()));
    QVERIFY(!QFileInfo::exists(kuvoFolder(m_scratch->path()) + QStringLiteral("updater")));
}

void TestUpdater::verifiedUpdateHandsOverToTheNewProgram()
{
    const QString package = packagePath({{QStringLiteral("Kuvo.exe"), kProgramBytes},
        {QStringLiteral("notes.txt"), "what is new"}});
    QVERIFY(!package.isEmpty());
    // The service may spell the checksum in capitals; the download takes longer than the
    // deadline, which each piece starts again.
    m_service.offerUpdate(QStringLiteral("3.1.0"), package, md5Of(package).toUpper(),
        {{"pieces", 5}, {"pause", 0.6}});
    const QString home = m_scratch->path();

    const Run run = probe(home, 30, 1000);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(!run.out.contains(QLatin1String("still running")), qPrintable(run.out));
    QVERIFY(run.elapsedMs < 15000);
    QCOMPARE(packageRequests(), 1);
    QCOMPARE(readFile(kuvoFolder(home) + QStringLiteral("update/Kuvo.exe")), kProgramBytes);
    QCOMPARE(
        readFile(kuvoFolder(home) + QStringLiteral("update/notes.txt")), QByteArray("what is new"));
    QVERIFY(!QFileInfo::exists(kuvoFolder(home) + QStringLiteral("update.part")));
    QCOMPARE(readFile(kuvoFolder(home) + QStringLiteral("update/package.zip")), readFile(package));

    // The script starts the program again only after the probe has ended, with its hosts.
    const QString marker = home + QStringLiteral("/updcomp.marker");
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(marker), 10000);
    QCOMPARE(QString::fromUtf8(readFile(marker)),
        QStringLiteral("-beta %1 %1 -updcomp after-end").arg(m_service.httpsHost()));
}

void TestUpdater::damagedDownloadIsDiscarded()
{
    m_service.offerUpdate(QStringLiteral("3.1.0"),
        packagePath({{QStringLiteral("Kuvo.exe"), kProgramBytes}}), kWrongMd5);
    const QString home = m_scratch->path();

    const Run run = probe(home, 4);
    QCOMPARE(run.out.trimmed(), QStringLiteral("still running"));
    QCOMPARE(packageRequests(), 1);
    QVERIFY(!QFileInfo::exists(kuvoFolder(home) + QStringLiteral("update/Kuvo.exe")));
    QVERIFY(leftNothingBehind(home));
    QVERIFY(readFile(kuvoFolder(home) + QStringLiteral("error.log")).size() > 0);
}

QTEST_GUILESS_MAIN(TestUpdater)
#include "tst_updater.moc"
