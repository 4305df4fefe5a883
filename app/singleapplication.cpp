#include "singleapplication.h"
#include "commandline.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QTimer>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const int kWaitMs = 30000;
// A second copy sends a command line, not a file: anything longer is not one of ours.
const int kMaxMessage = 1 << 20;
// A second copy connects and writes at once: a connection still open by then is no copy.
const int kConnectionMs = 3000;
// Copies start one at a time; past this many connections held at once the oldest goes.
const int kMaxConnections = 8;

} // namespace

SingleApplication::SingleApplication(QObject *parent)
    : QObject(parent)
{
}

// The server deletes the connections still open when it goes, after the members they report
// to: they must report to nobody by then.
SingleApplication::~SingleApplication()
{
    for (QLocalSocket *current : qAsConst(m_order))
        current->disconnect(this);
}

QString SingleApplication::serverName()
{
    const QString folder = privateFolder();
    return folder.isEmpty() ? QString() : QDir(folder).filePath(QStringLiteral("KuvoApp"));
}

// Another user must neither answer for this user's copy (it would be handed the command line,
// file paths and all) nor reach it: the socket lives in the session's runtime folder, or else
// in a folder of the program's own in the temporary folder. Either has to be a real folder of
// this user that nobody else may enter. A folder someone else made there first gives no
// name at all: the program then forwards nothing and listens for nobody, rather than fall
// back on a place others share (as Qt's own fallback ends up doing).
QString SingleApplication::privateFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && isPrivateFolder(runtime))
        return runtime;
    const QString own = QDir::tempPath() + QStringLiteral("/kuvo-%1").arg(::geteuid());
    ::mkdir(QFile::encodeName(own).constData(), 0700);
    if (isPrivateFolder(own))
        return own;
    qWarning() << Q_FUNC_INFO << "no private folder for the single-instance socket:" << own;
    return QString();
}

bool SingleApplication::isPrivateFolder(const QString &path)
{
    struct stat info;
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode)
        && info.st_uid == ::geteuid() && (info.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

bool SingleApplication::isRunning()
{
    if (socket.state() == QLocalSocket::ConnectedState)
        return true;
    const QString name = serverName();
    if (name.isEmpty())
        return false;
    socket.connectToServer(name, QIODevice::ReadWrite);
    socket.waitForConnected(kWaitMs);
    return socket.state() == QLocalSocket::ConnectedState;
}

bool SingleApplication::writeMessage(const QString &message)
{
    return writeMessage(message.toUtf8());
}

bool SingleApplication::writeMessage(const QByteArray &message)
{
    socket.write(message);
    const bool written = socket.waitForBytesWritten(kWaitMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(kWaitMs);
    return written;
}

bool SingleApplication::exec()
{
    if (isRunning() || serverName().isEmpty())
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
        if (m_pending.size() >= kMaxConnections)
            dropOldest();
        m_pending.insert(current, QByteArray());
        m_order << current;
        connect(current, &QLocalSocket::readyRead, this, &SingleApplication::dataReady);
        connect(current, &QLocalSocket::disconnected, this, [this, current] {
            readFrom(current);
            const QByteArray message = m_pending.take(current);
            m_order.removeOne(current);
            current->deleteLater();
            if (!message.isEmpty())
                dispatch(message);
        });
        // A peer that never finishes is dropped, unheard.
        QTimer::singleShot(kConnectionMs, current, [this, current] { drop(current); });
        if (current->bytesAvailable() > 0)
            readFrom(current);
    }
}

void SingleApplication::dropOldest()
{
    if (!m_order.isEmpty())
        drop(m_order.first());
}

// Unheard: whatever it sent so far goes with it.
void SingleApplication::drop(QLocalSocket *current)
{
    m_pending.remove(current);
    m_order.removeOne(current);
    current->abort();
    current->deleteLater();
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
        drop(current);
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
    case ForwardedCommand::Kind::Refused:
        qWarning() << Q_FUNC_INFO << "forwarded names refused:" << command.refused;
        emit refused(tr("Nothing was sent or opened: it is not clear which file is meant by "
                        "%1. Start Kuvo again with the file's full name.")
                         .arg(command.refused.join(QStringLiteral(", "))));
        break;
    }
}
