#include "logging.h"
#include "otheruser.h"
#include "paths.h"
#include "setting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <sys/stat.h>

namespace {

int modeOf(const QString &path)
{
    struct stat info;
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : -1;
}

void writeFile(const QString &path, const QByteArray &bytes, int mode)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    file.close();
    ::chmod(QFile::encodeName(path).constData(), mode);
}

} // namespace

// What the program keeps under ~/.kuvo (the token, the enciphered passwords and their key,
// captures) stays the owner's even where home folders are readable by everybody, as Debian
// makes them.
class TestPrivateFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void looseModesAreTightenedAtStart();
    void newFilesAreTheOwnersAlone();
    void logStaysSmall();
    void anotherUserReadsNothing();

private:
    QString m_capture;
    QString m_link;
};

// The files of an earlier version, left as the default umask made them.
void TestPrivateFiles::initTestCase()
{
    // Home as Debian makes it: the whole way to it open to everybody.
    QDir home(QDir::homePath());
    const QString testRoot = QFileInfo(home.path()).path();
    for (const QString &folder : {testRoot, home.path()})
        ::chmod(QFile::encodeName(folder).constData(), 0755);
    QVERIFY(home.mkpath(QStringLiteral(".kuvo/tmp/audio")));
    for (const QString &folder :
        {QStringLiteral(".kuvo"), QStringLiteral(".kuvo/tmp"), QStringLiteral(".kuvo/tmp/audio")})
        ::chmod(QFile::encodeName(home.filePath(folder)).constData(), 0755);
    writeFile(home.filePath(QStringLiteral(".kuvo/proxy_connect.log")), "proxy", 0644);
    m_capture = home.filePath(QStringLiteral(".kuvo/tmp/1.png"));
    writeFile(m_capture, "picture", 0644);
    // A link points elsewhere; its target is not ours to change.
    const QString outside = home.filePath(QStringLiteral("outside.txt"));
    writeFile(outside, "theirs", 0644);
    m_link = home.filePath(QStringLiteral(".kuvo/tmp/link"));
    QVERIFY(QFile::link(outside, m_link));

    Setting::instance()->setValue(QStringLiteral("token"), QStringLiteral("secret-token"));
    Logging::instance()->writeMessage(QStringLiteral("failed request"));
}

void TestPrivateFiles::looseModesAreTightenedAtStart()
{
    const QString kuvo = Paths::settingsFolder();
    QCOMPARE(modeOf(kuvo), 0700);
    QCOMPARE(modeOf(Paths::tempFolder()), 0700);
    QCOMPARE(modeOf(Paths::tempFolder() + QStringLiteral("audio")), 0700);
    QCOMPARE(modeOf(kuvo + QStringLiteral("proxy_connect.log")), 0600);
    QCOMPARE(modeOf(m_capture), 0600);
    QCOMPARE(modeOf(QDir::homePath() + QStringLiteral("/outside.txt")), 0644);
}

void TestPrivateFiles::newFilesAreTheOwnersAlone()
{
    QCOMPARE(modeOf(Paths::databaseFile()), 0600);
    // The log and its index hold the token too, from their first write.
    Setting::instance()->getValueDB(QStringLiteral("token"));
    for (const char *companion : {"-wal", "-shm"})
        QCOMPARE(modeOf(Paths::databaseFile() + QLatin1String(companion)), 0600);
    QCOMPARE(modeOf(Paths::settingsFolder() + QStringLiteral("error.log")), 0600);
}

// Each write commits on its own here, as single changes on the pages do.
void TestPrivateFiles::logStaysSmall()
{
    for (int i = 0; i < 600; ++i) {
        Setting::instance()->setValue(QStringLiteral("lastGraphTools"), i);
        Setting::instance()->getValueDB(QStringLiteral("lastGraphTools"));
    }
    const qint64 log = QFileInfo(Paths::databaseFile() + QStringLiteral("-wal")).size();
    QVERIFY2(log > 0 && log <= 512 << 10, qPrintable(QString::number(log)));
}

void TestPrivateFiles::anotherUserReadsNothing()
{
    if (!OtherUser::available())
        QSKIP(qPrintable(OtherUser::skipReason()));
    if (!OtherUser::canRead(QDir::homePath() + QStringLiteral("/outside.txt")))
        QSKIP("the folders above the test's home are closed to other users here");
    QVERIFY(!OtherUser::canRead(Paths::databaseFile()));
    QVERIFY(!OtherUser::canRead(Paths::settingsFolder() + QStringLiteral("error.log")));
    QVERIFY(!OtherUser::canRead(m_capture));
}

QTEST_GUILESS_MAIN(TestPrivateFiles)
#include "tst_privatefiles.moc"
