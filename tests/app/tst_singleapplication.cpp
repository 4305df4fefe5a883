#include "singleapplication.h"

#include <QtTest>

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

QTEST_GUILESS_MAIN(TestSingleApplication)
#include "tst_singleapplication.moc"
