#include "connectionflood.h"
#include "otheruser.h"
#include "singleapplication.h"

#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

void send(const QList<QByteArray> &pieces)
{
    QLocalSocket client;
    client.connectToServer(SingleApplication::serverName());
    QVERIFY(client.waitForConnected(2000));
    for (const QByteArray &piece : pieces) {
        client.write(piece);
        QVERIFY(client.waitForBytesWritten(2000));
        QTest::qWait(50); // let the first copy read what has come so far
    }
    client.disconnectFromServer();
}

int modeOf(const QString &path)
{
    struct stat info;
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : -1;
}

// Without XDG_RUNTIME_DIR for as long as it lives.
class NoRuntimeFolder
{
public:
    NoRuntimeFolder()
        : m_saved(qgetenv("XDG_RUNTIME_DIR"))
    {
        qunsetenv("XDG_RUNTIME_DIR");
    }
    ~NoRuntimeFolder() { qputenv("XDG_RUNTIME_DIR", m_saved); }

private:
    QByteArray m_saved;
};

QString ownFolder()
{
    return QDir::tempPath() + QStringLiteral("/kuvo-%1").arg(::geteuid());
}

} // namespace

class TestSingleApplication : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void staleSocketIsReplacedWithAPrivateOne();
    void secondCopyAnswersRunningAgain();
    void messageInPiecesIsDispatchedOnce();
    void eachConnectionKeepsItsOwnMessage();
    void oversizedMessageIsDropped();
    void heldConnectionsAreCapped();
    void ownFolderWithoutRuntimeFolder();
    void strangerInTheSharedFolderHearsNothing();

private:
    SingleApplication m_first;
};

void TestSingleApplication::initTestCase()
{
    QVERIFY(SingleApplication::serverName().startsWith(qEnvironmentVariable("XDG_RUNTIME_DIR")));
}

void TestSingleApplication::staleSocketIsReplacedWithAPrivateOne()
{
    // What a crashed first copy leaves behind: the socket file, and nobody listening on it.
    const QString path = SingleApplication::serverName();
    QCOMPARE(
        QProcess::execute(QStringLiteral("python3"),
            {"-c", "import socket, sys; socket.socket(socket.AF_UNIX).bind(sys.argv[1])", path}),
        0);
    QVERIFY(QFileInfo::exists(path));
    QVERIFY(!m_first.isRunning());

    QVERIFY(m_first.exec());
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup
        | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    QCOMPARE(QFileInfo(path).permissions() & others, QFile::Permissions());
}

void TestSingleApplication::secondCopyAnswersRunningAgain()
{
    QSignalSpy again(&m_first, &SingleApplication::runnigSecondCopy);
    SingleApplication second;
    QVERIFY(second.isRunning());
    QVERIFY(!second.exec());
    QVERIFY(second.writeMessage(QStringLiteral("running_again")));
    QVERIFY(again.wait(2000));
    QTest::qWait(100);
    QCOMPARE(again.count(), 1);
}

void TestSingleApplication::messageInPiecesIsDispatchedOnce()
{
    QSignalSpy upload(&m_first, &SingleApplication::uploadFile);
    send({"/usr/bin/kuvo;/home/u/a", ".png;/home/u/", "b.png"});
    QVERIFY(upload.wait(2000));
    QTest::qWait(100);
    QCOMPARE(upload.count(), 1);
    QCOMPARE(upload[0][0].toStringList(), (QStringList {"/home/u/a.png", "/home/u/b.png"}));
}

void TestSingleApplication::eachConnectionKeepsItsOwnMessage()
{
    QSignalSpy upload(&m_first, &SingleApplication::uploadFile);
    QSignalSpy zip(&m_first, &SingleApplication::uploadFileInZip);
    QLocalSocket early;
    early.connectToServer(SingleApplication::serverName());
    QVERIFY(early.waitForConnected(2000));
    early.write("/usr/bin/kuvo;/early.png");
    QVERIFY(early.waitForBytesWritten(2000));
    QTest::qWait(50);

    send({"/usr/bin/kuvo;/late.png;-z"});
    QVERIFY(zip.wait(2000));
    QCOMPARE(zip[0][0].toStringList(), QStringList {"/late.png"});
    QCOMPARE(upload.count(), 0);

    early.disconnectFromServer();
    QVERIFY(upload.wait(2000));
    QCOMPARE(upload[0][0].toStringList(), QStringList {"/early.png"});
}

void TestSingleApplication::oversizedMessageIsDropped()
{
    QSignalSpy upload(&m_first, &SingleApplication::uploadFile);
    QByteArray huge = "/usr/bin/kuvo;" + QByteArray(3 << 20, 'x');
    QLocalSocket client;
    client.connectToServer(SingleApplication::serverName());
    QVERIFY(client.waitForConnected(2000));
    client.write(huge);
    QTRY_VERIFY_WITH_TIMEOUT(
        client.state() == QLocalSocket::UnconnectedState || client.bytesToWrite() == 0, 5000);
    client.disconnectFromServer();
    QTest::qWait(300);
    QCOMPARE(upload.count(), 0);

    // The channel still works afterwards.
    send({"/usr/bin/kuvo;/after.png"});
    QVERIFY(upload.wait(2000));
    QCOMPARE(upload[0][0].toStringList(), QStringList {"/after.png"});
}

void TestSingleApplication::heldConnectionsAreCapped()
{
    QSignalSpy upload(&m_first, &SingleApplication::uploadFile);
    ConnectionFlood flood;
    QVERIFY(flood.start(QStringLiteral("unix"), SingleApplication::serverName(), 1000, 20, false));
    const ConnectionFlood::Outcome outcome = flood.wait();
    QVERIFY2(outcome.held > 100, qPrintable(QString::number(outcome.held)));
    // The cap, and the flood's own pipes.
    QVERIFY2(outcome.mostDescriptors <= 8 + 6,
        qPrintable(QStringLiteral("%1 descriptors more").arg(outcome.mostDescriptors)));

    // A real second copy still gets through.
    send({"/usr/bin/kuvo;/flooded.png"});
    QVERIFY(upload.wait(2000));
    QCOMPARE(upload[0][0].toStringList(), QStringList {"/flooded.png"});
}

void TestSingleApplication::ownFolderWithoutRuntimeFolder()
{
    const NoRuntimeFolder unset;
    QCOMPARE(SingleApplication::serverName(), ownFolder() + QStringLiteral("/KuvoApp"));
    QCOMPARE(modeOf(ownFolder()), 0700);

    // A folder in its place that others may enter is no place for the socket.
    QVERIFY(QDir(ownFolder()).removeRecursively());
    QVERIFY(QDir().mkdir(ownFolder()));
    ::chmod(QFile::encodeName(ownFolder()).constData(), 0777);
    QCOMPARE(SingleApplication::serverName(), QString());
    SingleApplication second;
    QVERIFY(!second.isRunning());
    QVERIFY(!second.exec());
    QVERIFY(QDir(ownFolder()).removeRecursively());
}

// Another user prepares the shared temporary folder before this user's first start: Qt's own
// runtime folder and the program's are theirs, and they listen on the bare socket name there.
void TestSingleApplication::strangerInTheSharedFolderHearsNothing()
{
    if (!OtherUser::available())
        QSKIP(qPrintable(OtherUser::skipReason()));
    const NoRuntimeFolder unset;
    const QString shared = QDir::tempPath();
    ::chmod(QFile::encodeName(QFileInfo(shared).path()).constData(), 0755);
    ::chmod(QFile::encodeName(shared).constData(), 01777);
    const QString qtFallback
        = shared + QStringLiteral("/runtime-") + qEnvironmentVariable("USER", "root");
    for (const QString &folder : {qtFallback, ownFolder()}) {
        QDir(folder).removeRecursively();
        QVERIFY(QDir().mkdir(folder));
        QVERIFY(::chown(QFile::encodeName(folder).constData(), 65534, 65534) == 0);
    }
    QProcess stranger;
    OtherUser::start(stranger, QStringLiteral(KUVO_TEST_PYTHON3),
        {QStringLiteral("-c"),
            QStringLiteral("import socket, sys\n"
                           "s = socket.socket(socket.AF_UNIX); s.bind(sys.argv[1]); s.listen(5)\n"
                           "print('ready', flush=True)\n"
                           "c, _ = s.accept(); print('heard', c.recv(4096), flush=True)\n"),
            shared + QStringLiteral("/KuvoApp")});
    QVERIFY(QTest::qWaitFor([&] { return stranger.canReadLine(); }, 10000));
    QCOMPARE(stranger.readLine().trimmed(), QByteArray("ready"));

    QCOMPARE(SingleApplication::serverName(), QString());
    SingleApplication second;
    QVERIFY(!second.isRunning());
    QTest::qWait(1000);
    QCOMPARE(stranger.readAll().trimmed(), QByteArray());
    stranger.kill();
    stranger.waitForFinished(5000);
    for (const QString &folder : {qtFallback, ownFolder()})
        QDir(folder).removeRecursively();
}

QTEST_GUILESS_MAIN(TestSingleApplication)
#include "tst_singleapplication.moc"
