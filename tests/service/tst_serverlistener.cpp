#include "connectionflood.h"
#include "serverlistener.h"

#include <QSignalSpy>
#include <QTcpSocket>
#include <QtTest>

#include <memory>

class TestServerListener : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void answersOnce_data();
    void answersOnce();
    void oversizedHeadIsRefused();
    void silentConnectionIsDropped();
    void heldConnectionsAreCapped();

private:
    // Sends the pieces one after another, as a slow client would, and returns all the
    // listener answered before it closed the connection.
    QByteArray exchange(const QByteArrayList &pieces);

    std::unique_ptr<ServerListener> m_listener;
};

void TestServerListener::init()
{
    m_listener = std::make_unique<ServerListener>();
    QVERIFY(m_listener->listen(0));
    m_listener->expectState(QStringLiteral("0f1e"));
    // The redirect carries a sign-in code: nothing but this machine may reach the listener.
    QCOMPARE(m_listener->serverAddress(), QHostAddress(QHostAddress::LocalHost));
}

QByteArray TestServerListener::exchange(const QByteArrayList &pieces)
{
    QTcpSocket client;
    QSignalSpy closed(&client, &QTcpSocket::disconnected);
    client.connectToHost(QHostAddress::LocalHost, m_listener->serverPort());
    if (!client.waitForConnected(3000))
        return {};
    for (const QByteArray &piece : pieces) {
        client.write(piece);
        client.waitForBytesWritten(3000);
        QTest::qWait(50);
    }
    if (client.state() != QAbstractSocket::UnconnectedState)
        closed.wait(3000);
    return client.state() == QAbstractSocket::UnconnectedState ? client.readAll() : QByteArray();
}

void TestServerListener::answersOnce_data()
{
    QTest::addColumn<QByteArrayList>("request");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("state");

    QTest::newRow("code and state")
        << QByteArrayList {"GET /?code=abc&state=0f1e HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n"} << 200
        << "abc"
        << "0f1e";
    QTest::newRow("other path, encoded code")
        << QByteArrayList {"GET /done?state=0f1e&code=a%2Fb%2Bc HTTP/1.1\r\n\r\n"} << 200 << "a/b+c"
        << "0f1e";
    QTest::newRow("head in pieces")
        << QByteArrayList {"GET /?code=x", "yz&state=0f1e HTTP/1.1\r\nHost: h\r\n", "\r\n"} << 200
        << "xyz"
        << "0f1e";
    QTest::newRow("bare line feeds")
        << QByteArrayList {"GET /?code=k&state=0f1e HTTP/1.0\n\n"} << 200 << "k"
        << "0f1e";
    QTest::newRow("state of another sign-in")
        << QByteArrayList {"GET /?code=abc&state=0f1f HTTP/1.1\r\n\r\n"} << 400 << ""
        << "";
    QTest::newRow("no state") << QByteArrayList {"GET /?code=abc HTTP/1.1\r\n\r\n"} << 400 << ""
                              << "";
    QTest::newRow("declined")
        << QByteArrayList {"GET /?error=access_denied&state=0f1e HTTP/1.1\r\n\r\n"} << 200
        << "access_denied"
        << "0f1e";
    QTest::newRow("declined, state of another sign-in")
        << QByteArrayList {"GET /?error=access_denied&state=0f1f HTTP/1.1\r\n\r\n"} << 400 << ""
        << "";
    QTest::newRow("declined without state")
        << QByteArrayList {"GET /?error=access_denied HTTP/1.1\r\n\r\n"} << 400 << ""
        << "";
    QTest::newRow("no code") << QByteArrayList {"GET / HTTP/1.1\r\n\r\n"} << 400 << ""
                             << "";
    QTest::newRow("empty code") << QByteArrayList {"GET /?code=&state=s HTTP/1.1\r\n\r\n"} << 400
                                << ""
                                << "";
    QTest::newRow("icon") << QByteArrayList {"GET /favicon.ico HTTP/1.1\r\n\r\n"} << 400 << ""
                          << "";
    QTest::newRow("not a GET")
        << QByteArrayList {"POST /?code=abc HTTP/1.1\r\nContent-Length: 0\r\n\r\n"} << 400 << ""
        << "";
    QTest::newRow("absolute target")
        << QByteArrayList {"GET http://elsewhere/?code=a HTTP/1.1\r\n\r\n"} << 400 << ""
        << "";
    QTest::newRow("binary") << QByteArrayList {QByteArray("\x00\xff\x01 ?code=a\r\n\r\n", 15)}
                            << 400 << ""
                            << "";
}

void TestServerListener::answersOnce()
{
    QFETCH(QByteArrayList, request);
    QFETCH(int, status);
    QSignalSpy received(m_listener.get(), &ServerListener::codeReceived);
    QSignalSpy declined(m_listener.get(), &ServerListener::errorReceived);

    const QByteArray answer = exchange(request);
    const int headEnd = answer.indexOf("\r\n\r\n");
    QVERIFY2(headEnd > 0, answer.constData());
    const QList<QByteArray> head = answer.left(headEnd).replace("\r\n", "\n").split('\n');
    const QByteArray body = answer.mid(headEnd + 4);
    QCOMPARE(head.first(),
        "HTTP/1.1 " + QByteArray::number(status) + ' ' + (status == 200 ? "OK" : "Bad Request"));
    QVERIFY(head.contains("Content-Type: text/html; charset=utf-8"));
    QVERIFY(head.contains("Content-Length: " + QByteArray::number(body.size())));
    QVERIFY(head.contains("Connection: close"));
    QVERIFY(body.startsWith("<!DOCTYPE html>"));

    // A refusal in the browser comes on as the error in place of the code.
    QCOMPARE(received.count() + declined.count(), status == 200 ? 1 : 0);
    if (status == 200) {
        QFETCH(QString, code);
        QFETCH(QString, state);
        const QList<QVariant> handed = received.isEmpty() ? declined.first() : received.first();
        QCOMPARE(handed.at(0).toString(), code);
        QCOMPARE(handed.at(1).toString(), state);
    }
}

void TestServerListener::oversizedHeadIsRefused()
{
    QSignalSpy received(m_listener.get(), &ServerListener::codeReceived);
    QTcpSocket client;
    QSignalSpy closed(&client, &QTcpSocket::disconnected);
    client.connectToHost(QHostAddress::LocalHost, m_listener->serverPort());
    QVERIFY(client.waitForConnected(3000));
    client.write("GET /?code=abc HTTP/1.1\r\nX-Filler: " + QByteArray(9000, 'a'));
    // Closed long before the five seconds a silent client gets.
    QVERIFY(closed.wait(2000));
    QCOMPARE(received.count(), 0);
}

void TestServerListener::silentConnectionIsDropped()
{
    QTcpSocket client;
    QSignalSpy closed(&client, &QTcpSocket::disconnected);
    client.connectToHost(QHostAddress::LocalHost, m_listener->serverPort());
    QVERIFY(client.waitForConnected(3000));
    QVERIFY(closed.wait(8000));
}

// Another user holds connection after connection open: the program keeps only a few, and
// a browser's own request still gets its answer.
void TestServerListener::heldConnectionsAreCapped()
{
    ConnectionFlood flood;
    QVERIFY(
        flood.start(QStringLiteral("tcp"), QString::number(m_listener->serverPort()), 1500, 20));
    const ConnectionFlood::Outcome outcome = flood.wait();
    QVERIFY2(outcome.held > 100, qPrintable(QString::number(outcome.held)));
    // The cap, and the flood's own pipes.
    QVERIFY2(outcome.mostDescriptors <= 16 + 6,
        qPrintable(QStringLiteral("%1 descriptors more").arg(outcome.mostDescriptors)));
    QVERIFY(exchange({"GET /?code=c1&state=0f1e HTTP/1.1\r\n\r\n"}).startsWith("HTTP/1.1 200"));
}

QTEST_MAIN(TestServerListener)
#include "tst_serverlistener.moc"
