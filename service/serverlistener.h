#ifndef SERVERLISTENER_H
#define SERVERLISTENER_H

#include <QPointer>
#include <QTcpServer>

class QTcpSocket;

// Receives the browser's redirect at the end of a sign-in on the web page: a tiny HTTP server
// bound to the loopback address only, so nothing outside this machine can reach it. It answers
// every request once, hands the code it carried to the account when its state is the one
// expected, and closes the connection.
class ServerListener : public QTcpServer
{
    Q_OBJECT
public:
    explicit ServerListener(QObject *parent = nullptr);

    bool listen(quint16 port);
    // The state of the sign-in in flight; empty when none is, and every code is refused.
    void expectState(const QString &state);

signals:
    void codeReceived(const QString &code, const QString &state);
    // The browser came back from the sign-in in flight without a code: the user declined, or
    // the service refused.
    void errorReceived(const QString &error, const QString &state);
    // A code came with another state: someone else's sign-in, or one already over. The browser
    // is told so.
    void codeRefused();

private:
    void acceptConnections();
    void readHead(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const QByteArray &head);
    void reply(QTcpSocket *socket, int status, const QString &title, const QString &text);

    // Oldest first. Anyone on the machine may connect; only so many are held at once.
    QList<QPointer<QTcpSocket>> m_open;
    QString m_expectedState;
};

#endif // SERVERLISTENER_H
