#include "qdropboxauthsocket.h"
#include "logging.h"

#include <QDebug>

QDropboxAuthSocket::QDropboxAuthSocket(QObject *parent)
    : ServerListener(parent)
{
    connect(this, &ServerListener::codeReceived, this, &QDropboxAuthSocket::authorized);
    connect(this, &ServerListener::errorReceived, this, &QDropboxAuthSocket::declined);
    // Anyone on this machine can reach the port; a code of their account must never become
    // our link.
    connect(this, &ServerListener::codeRefused, this, [] {
        Logging::instance()->writeMessage(
            tr("A Dropbox link answer that this program did not ask for was refused"));
    });
}

bool QDropboxAuthSocket::open()
{
    return isListening() || listen(Port);
}

QString QDropboxAuthSocket::redirectUri()
{
    return QStringLiteral("http://127.0.0.1:%1/").arg(Port);
}
