#include "serverlistener.h"

#include <QDebug>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>

namespace {

// A browser's request head is far smaller; anything larger is not a browser we talk to.
constexpr qint64 kMaxHeadSize = 8 * 1024;
// A connection that has not sent its head by then is dropped: browsers open spare
// connections that never carry a request, and they must not pile up.
constexpr int kHeadTimeoutMs = 5000;
// A browser opens a few connections at a time. Past this many the oldest goes: someone who
// opens connections faster than they time out must not use up the program's descriptors.
constexpr int kMaxConnections = 16;

int headEnd(const QByteArray &data)
{
    const int crlf = data.indexOf("\r\n\r\n");
    return crlf >= 0 ? crlf : data.indexOf("\n\n");
}

// The address a well-formed "GET /... HTTP/x" request line asks for; invalid otherwise.
QUrl requestTarget(const QByteArray &head)
{
    const QList<QByteArray> parts = head.split('\n').constFirst().trimmed().split(' ');
    const bool wellFormed = parts.size() == 3 && parts.at(0) == "GET" && parts.at(1).startsWith('/')
        && parts.at(2).startsWith("HTTP/");
    return wellFormed
        ? QUrl::fromEncoded(QByteArrayLiteral("http://127.0.0.1") + parts.at(1), QUrl::StrictMode)
        : QUrl();
}

QByteArray statusLine(int status)
{
    return status == 200 ? QByteArrayLiteral("HTTP/1.1 200 OK")
                         : QByteArrayLiteral("HTTP/1.1 400 Bad Request");
}

} // namespace

ServerListener::ServerListener(QObject *parent)
    : QTcpServer(parent)
{
    connect(this, &QTcpServer::newConnection, this, &ServerListener::acceptConnections);
}

bool ServerListener::listen(quint16 port)
{
    return QTcpServer::listen(QHostAddress::LocalHost, port);
}

void ServerListener::expectState(const QString &state)
{
    m_expectedState = state;
}

void ServerListener::acceptConnections()
{
    while (QTcpSocket *socket = nextPendingConnection()) {
        m_open.removeAll(nullptr);
        if (m_open.size() >= kMaxConnections) {
            QTcpSocket *oldest = m_open.takeFirst();
            oldest->abort();
            oldest->deleteLater();
        }
        m_open << socket;
        // One byte more than a head may have tells an oversized head from a full one.
        socket->setReadBufferSize(kMaxHeadSize + 1);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readHead(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        // Also ends a connection whose peer never takes the answer.
        QTimer::singleShot(kHeadTimeoutMs, socket, [socket] {
            qDebug() << Q_FUNC_INFO << "connection not finished in time, dropping it";
            socket->abort();
            socket->deleteLater();
        });
    }
}

void ServerListener::readHead(QTcpSocket *socket)
{
    if (!socket->isReadable())
        return;
    const QByteArray data = socket->peek(kMaxHeadSize + 1);
    const int end = headEnd(data);
    if (end >= 0 && end <= kMaxHeadSize) {
        answer(socket, data.left(end));
        return;
    }
    if (data.size() > kMaxHeadSize) {
        qDebug() << Q_FUNC_INFO << "request head too large";
        reply(socket, 400, tr("Bad request"), tr("The request could not be read."));
    }
}

void ServerListener::answer(QTcpSocket *socket, const QByteArray &head)
{
    const QUrl target = requestTarget(head);
    const QUrlQuery query(target);
    const QString code = query.queryItemValue(QStringLiteral("code"), QUrl::FullyDecoded);
    const QString error = query.queryItemValue(QStringLiteral("error"), QUrl::FullyDecoded);
    const QString state = query.queryItemValue(QStringLiteral("state"), QUrl::FullyDecoded);
    const bool ours = !m_expectedState.isEmpty() && state == m_expectedState;
    const bool declined = target.isValid() && code.isEmpty() && !error.isEmpty();
    if (!declined && (!target.isValid() || code.isEmpty())) {
        qDebug() << Q_FUNC_INFO << "request without a sign-in code";
        reply(socket, 400, tr("Bad request"), tr("This address only receives a sign-in."));
        return;
    }
    // The browser must not tell the user anything of a sign-in the program knows nothing of:
    // neither "Signed in" for a code it throws away nor an answer to someone else's refusal.
    if (!ours) {
        reply(socket, 400, tr("Not signed in"),
            tr("This sign-in was not started by Kuvo, or it is over already. Kuvo did not use "
               "it; start the sign-in again from Kuvo."));
        if (declined)
            qDebug() << Q_FUNC_INFO << "refused an error of a request not in flight";
        else
            emit codeRefused();
        return;
    }
    if (declined) {
        reply(socket, 200, tr("Not signed in"),
            tr("The sign-in was not completed. You can close this page now."));
        emit errorReceived(error, state);
        return;
    }
    reply(socket, 200, tr("Signed in"),
        tr("The sign-in has reached the program. You can close this page now."));
    emit codeReceived(code, state);
}

void ServerListener::reply(
    QTcpSocket *socket, int status, const QString &title, const QString &text)
{
    const QByteArray page = QStringLiteral("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">"
                                           "<title>%1</title></head><body><h1>%1</h1><p>%2</p>"
                                           "</body></html>\n")
                                .arg(title.toHtmlEscaped(), text.toHtmlEscaped())
                                .toUtf8();
    socket->write(statusLine(status)
        + "\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: "
        + QByteArray::number(page.size()) + "\r\nConnection: close\r\n\r\n" + page);
    // Whatever else the browser sends is of no interest; the connection ends once the
    // answer is out. The answer goes to the system now: the owner may stop listening, and
    // with it drop this connection, as soon as it hears what the browser brought.
    socket->flush();
    socket->close();
}
