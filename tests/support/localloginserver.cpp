#include "localloginserver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QtDebug>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int StartTimeoutMs = 10000;
constexpr int StopTimeoutMs = 3000;
constexpr int ProbeTimeoutMs = 300;
constexpr int PollIntervalMs = 10;
constexpr int StartAttempts = 5;

// Made by scripts/setup.
const char *const UserName = "kuvotest";
const char *const UserPassword = "kuvo-test-pw";

int freePort()
{
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, 0))
        return 0;
    return server.serverPort();
}

} // namespace

// The servers drop to the test user inside this folder, so it cannot live under the test's
// own temporary folder, which only root may enter.
LocalLoginServer::LocalLoginServer(const QString &kind)
    : m_kind(kind)
    , m_dir(QStringLiteral("/tmp/kuvo-%1-XXXXXX").arg(kind))
    , m_token(QStringLiteral("kuvo-test-%1-%2")
                  .arg(kind)
                  .arg(QRandomGenerator::global()->generate64(), 0, 16))
{
}

LocalLoginServer::~LocalLoginServer()
{
    stop();
}

QString LocalLoginServer::user()
{
    return QString::fromLatin1(UserName);
}

QString LocalLoginServer::password()
{
    return QString::fromLatin1(UserPassword);
}

QString LocalLoginServer::root() const
{
    return instancePath(QStringLiteral("root"));
}

QString LocalLoginServer::instancePath(const QString &name) const
{
    return m_dir.filePath(name);
}

bool LocalLoginServer::start()
{
    if (!checkMachine())
        return false;
    if (!m_prepared && !(makeFolders() && prepare())) {
        qWarning().noquote() << "The" << m_kind << "test server could not prepare" << m_dir.path();
        return false;
    }
    m_prepared = true;

    const QDeadlineTimer deadline(StartTimeoutMs);
    // A port freed a moment ago may be taken again before the server binds it.
    int port = m_port != 0 ? m_port : freePort();
    for (int attempt = 0; attempt < StartAttempts && !deadline.hasExpired(); ++attempt) {
        if (port != 0 && startOn(port, deadline)) {
            m_port = port;
            return true;
        }
        port = freePort();
    }
    qWarning().noquote() << "The" << m_kind << "test server did not start:" << startErrors();
    return false;
}

void LocalLoginServer::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(StopTimeoutMs)) {
        m_process.kill();
        m_process.waitForFinished(StopTimeoutMs);
    }
}

QString LocalLoginServer::startErrors() const
{
    QFile log(instancePath(QStringLiteral("server.log")));
    if (!log.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLocal8Bit(log.readAll().right(4096)).trimmed();
}

bool LocalLoginServer::checkMachine() const
{
    QStringList missing;
    for (const QString &program : requiredPrograms()) {
        if (!QFileInfo(program).isExecutable())
            missing << program;
    }
    if (!getpwnam(UserName))
        missing << QStringLiteral("the user %1").arg(user());
    if (!missing.isEmpty()) {
        qWarning().noquote() << "The" << m_kind << "test server needs" << missing.join(", ")
                             << "(scripts/setup provides them)";
        return false;
    }
    if (geteuid() != 0) {
        qWarning().noquote() << "The" << m_kind << "test server must be started by root";
        return false;
    }
    if (!m_dir.isValid()) {
        qWarning().noquote() << "No temporary folder for the" << m_kind
                             << "test server:" << m_dir.errorString();
        return false;
    }
    return true;
}

// The instance folder stays root's (the servers insist on that for their configuration); only
// the login folder belongs to the test user.
bool LocalLoginServer::makeFolders()
{
    const passwd *account = getpwnam(UserName);
    const QByteArray rootFolder = QFile::encodeName(root());
    return account && ::chmod(QFile::encodeName(m_dir.path()).constData(), 0755) == 0
        && QDir().mkpath(root())
        && ::chown(rootFolder.constData(), account->pw_uid, account->pw_gid) == 0
        && ::chmod(rootFolder.constData(), 0755) == 0;
}

bool LocalLoginServer::startOn(int port, const QDeadlineTimer &deadline)
{
    stop();
    if (!writeConfig(port))
        return false;
    m_process.setStandardInputFile(QProcess::nullDevice());
    m_process.setStandardOutputFile(instancePath(QStringLiteral("server.log")), QIODevice::Append);
    m_process.setStandardErrorFile(instancePath(QStringLiteral("server.log")), QIODevice::Append);
    launch(m_process);
    if (!m_process.waitForStarted(int(deadline.remainingTime())))
        return false;
    while (!deadline.hasExpired()) {
        if (greets(port))
            return true;
        // Exits when the port was taken meanwhile: the caller tries another.
        if (m_process.state() == QProcess::NotRunning || m_process.waitForFinished(PollIntervalMs))
            return false;
    }
    stop();
    return false;
}

bool LocalLoginServer::greets(int port) const
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, quint16(port));
    if (!socket.waitForConnected(ProbeTimeoutMs))
        return false;
    const QDeadlineTimer deadline(ProbeTimeoutMs);
    while (!socket.canReadLine() && !deadline.hasExpired()) {
        if (!socket.waitForReadyRead(int(deadline.remainingTime())))
            break;
    }
    return socket.canReadLine() && socket.readLine().contains(m_token.toLatin1());
}
