#ifndef HELDPORT_H
#define HELDPORT_H

#include <QHostAddress>
#include <QTcpServer>

// Whether something outside the test (a running Kuvo, another program) holds a fixed port of
// 127.0.0.1 that the test needs free. CTest's RESOURCE_LOCK keeps the tests of this suite
// apart; it cannot keep others away, so such a test skips and says why.
inline bool portIsHeld(quint16 port)
{
    QTcpServer probe;
    return !probe.listen(QHostAddress::LocalHost, port);
}

#endif // HELDPORT_H
