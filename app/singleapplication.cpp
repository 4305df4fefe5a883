#include "singleapplication.h"
#include "commandline.h"

#include <QDebug>
#include <QDir>
#include <QStandardPaths>
#include <QTimer>

namespace {

const int kWaitMs = 30000;
// A second copy sends a command line, not a file: anything longer is not one of ours.
const int kMaxMessage = 1 << 20;
const int kConnectionMs = 10000;

} // namespace

SingleApplication::SingleApplication(QObject *parent)
    : QObject(parent)
{
}

// Inside XDG_RUNTIME_DIR (or Qt's user-only substitute when it is unset): another user can
// neither answer for this user's copy nor reach it.
QString SingleApplication::serverName()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return QDir(folder).filePath(QStringLiteral("KuvoApp"));
}

bool SingleApplication::isRunning()
{
    if (socket.state() == QLocalSocket::ConnectedState)
        return true;
    socket.connectToServer(serverName(), QIODevice::ReadWrite);
    socket.waitForConnected(kWaitMs);
    return socket.state() == QLocalSocket::ConnectedState;
}

bool SingleApplication::writeMessage(const QString &message)
{
    socket.write(message.toUtf8());
    const bool written = socket.waitForBytesWritten(kWaitMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(kWaitMs);
    return written;
}

bool SingleApplication::exec()
{
    if (isRunning())
        return false;
    // Nobody answered, so a socket file left there belongs to a copy that crashed.
    QLocalServer::removeServer(serverName());
    server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server, &QLocalServer::newConnection, this, &SingleApplication::newConnection,
        Qt::UniqueConnection);
    const bool listening = server.listen(serverName());
    if (!listening)
        qWarning() << Q_FUNC_INFO << server.errorString();
    return listening;
}

void SingleApplication::newConnection()
{
    while (QLocalSocket *current = server.nextPendingConnection()) {
        m_pending.insert(current, QByteArray());
        connect(current, &QLocalSocket::readyRead, this, &SingleApplication::dataReady);
        connect(current, &QLocalSocket::disconnected, this, [this, current] {
            readFrom(current);
            const QByteArray message = m_pending.take(current);
            current->deleteLater();
            if (!message.isEmpty())
                dispatch(message);
        });
        // A peer that never finishes is dropped, unheard.
        QTimer::singleShot(kConnectionMs, current, [this, current] {
            m_pending.remove(current);
            current->abort();
            current->deleteLater();
        });
        if (current->bytesAvailable() > 0)
            readFrom(current);
    }
}

void SingleApplication::dataReady()
{
    if (auto *current = qobject_cast<QLocalSocket *>(sender()))
        readFrom(current);
}

void SingleApplication::readFrom(QLocalSocket *current)
{
    const auto pending = m_pending.find(current);
    if (pending == m_pending.end())
        return;
    *pending += current->readAll();
    if (pending->size() > kMaxMessage) {
        qWarning() << Q_FUNC_INFO << "message too long; connection dropped";
        m_pending.erase(pending);
        current->abort();
    }
}

void SingleApplication::dispatch(const QByteArray &message)
{
    using CommandLine::ForwardedCommand;
    const ForwardedCommand command = CommandLine::parseMessage(message);
    switch (command.kind) {
    case ForwardedCommand::Kind::Nothing:
        qDebug() << Q_FUNC_INFO << "nothing to do for a forwarded message";
        break;
    case ForwardedCommand::Kind::RunningAgain:
        emit runnigSecondCopy();
        break;
    case ForwardedCommand::Kind::OpenAudioImage:
        emit openAudioImageFile(command.file);
        break;
    case ForwardedCommand::Kind::UploadZip:
        emit uploadFileInZip(command.files);
        break;
    case ForwardedCommand::Kind::FullScreen:
        emit fullScreen();
        break;
    case ForwardedCommand::Kind::QuickScreen:
        emit quickScreen();
        break;
    case ForwardedCommand::Kind::Screen:
        emit screen();
        break;
    case ForwardedCommand::Kind::Upload:
        emit uploadFile(command.files);
        break;
    }
}
