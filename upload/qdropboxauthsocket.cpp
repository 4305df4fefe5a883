#include "qdropboxauthsocket.h"
#include "logging.h"

#include <QDebug>

QDropboxAuthSocket::QDropboxAuthSocket(QObject *parent)
    : ServerListener(parent)
{
    connect(this, &ServerListener::codeReceived, this, &QDropboxAuthSocket::check);
    connect(this, &ServerListener::errorReceived, this,
        [this](const QString &error, const QString &state) {
            // As with a code: only the answer to our own request counts.
            if (!m_state.isEmpty() && state == m_state)
                emit declined(error);
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

void QDropboxAuthSocket::check(const QString &code, const QString &state)
{
    // Anyone on this machine can reach the port; a code of their account must never become
    // our link.
    if (m_state.isEmpty() || state != m_state) {
        Logging::instance()->writeMessage(
            tr("A Dropbox link answer that this program did not ask for was refused"));
        return;
    }
    emit authorized(code);
}
