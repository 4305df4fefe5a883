#include "logging.h"

#include <QtTest>

namespace {

const char kFormat[] = "dd-MM-yyyy hh:mm:ss";

QString logPath()
{
    return QDir::homePath() + QStringLiteral("/.kuvo/error.log");
}

QByteArray readLog()
{
    QFile file(logPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeLog(const QByteArray &bytes)
{
    QFile file(logPath());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray stamp(const QDateTime &when)
{
    return when.toString(QLatin1String(kFormat)).toUtf8();
}

// An entry as the log writes it, dated `when`.
QByteArray entry(const QDateTime &when, const QByteArray &text)
{
    QByteArray body = text;
    body.replace('\n', "\n\t\t\t\t\t");
    return stamp(when) + '\t' + body + "\r\n";
}

} // namespace

class TestLogging : public QObject
{
    Q_OBJECT

private slots:
    void init() { QFile::remove(logPath()); }
    void entryBytes();
    void recentEntriesStayByteForByte();
    void oldEntriesGoWhole();
    void sevenDayBoundary();
};

void TestLogging::entryBytes()
{
    const QDateTime before = QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch());
    Logging::instance()->writeMessage(QStringLiteral("first line\nsecond\nthird"));
    const QDateTime after = QDateTime::currentDateTime();

    const QByteArray log = readLog();
    const int tab = log.indexOf('\t');
    const QDateTime written = QDateTime::fromString(QString::fromUtf8(log.left(tab)), kFormat);
    QVERIFY(written >= before && written <= after);
    QCOMPARE(log.mid(tab), QByteArray("\tfirst line\n\t\t\t\t\tsecond\n\t\t\t\t\tthird\r\n"));
}

void TestLogging::recentEntriesStayByteForByte()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QByteArray kept = entry(now.addDays(-6), "six days\nold") + entry(now.addSecs(-5), "new");
    writeLog(kept);
    Logging::instance()->writeMessage(QStringLiteral("appended"));
    const QByteArray log = readLog();
    QVERIFY(log.startsWith(kept));
    QVERIFY(log.endsWith("\tappended\r\n"));
}

void TestLogging::oldEntriesGoWhole()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QByteArray old = entry(now.addDays(-9), "old request failed\nreply: 500");
    const QByteArray recent = entry(now.addDays(-2), "recent request failed\nreply: 401\nmore");
    writeLog("a stray line without a date\r\n" + old + recent);
    Logging::instance()->writeMessage(QStringLiteral("now"));
    const QByteArray log = readLog();
    QVERIFY2(log.startsWith(recent), log.constData());
    QVERIFY(!log.contains("old request") && !log.contains("reply: 500"));
    QVERIFY(!log.contains("stray"));
    QVERIFY(log.endsWith("\tnow\r\n"));
}

void TestLogging::sevenDayBoundary()
{
    // Dates carry whole seconds; start right after a second turns so both stay on their side.
    QTRY_VERIFY_WITH_TIMEOUT(QTime::currentTime().msec() < 300, 2000);
    const QDateTime now = QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch());
    const QByteArray exactly = entry(now.addDays(-7), "exactly seven days");
    const QByteArray older = entry(now.addDays(-7).addSecs(-1), "a second older");
    writeLog(older + exactly);
    Logging::instance()->writeMessage(QStringLiteral("x"));
    const QByteArray log = readLog();
    QVERIFY(log.startsWith(exactly));
    QVERIFY(!log.contains("a second older"));
}

QTEST_GUILESS_MAIN(TestLogging)
#include "tst_logging.moc"
