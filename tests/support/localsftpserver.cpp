#include "localsftpserver.h"

#include <QCryptographicHash>
#include <QFile>

namespace {

const QString Sshd = QStringLiteral("/usr/sbin/sshd");
const QString SshKeygen = QStringLiteral("/usr/bin/ssh-keygen");
constexpr int KeygenTimeoutMs = 5000;

} // namespace

LocalSftpServer::LocalSftpServer()
    : LocalLoginServer(QStringLiteral("sftp"))
{
}

QString LocalSftpServer::hostPublicKey() const
{
    QFile file(instancePath(QStringLiteral("host_key.pub")));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QList<QByteArray> fields = file.readAll().simplified().split(' ');
    return fields.size() < 2 ? QString() : QString::fromLatin1(fields.at(0) + ' ' + fields.at(1));
}

QString LocalSftpServer::hostKeySha256() const
{
    const QByteArray blob
        = QByteArray::fromBase64(hostPublicKey().section(QLatin1Char(' '), 1).toLatin1());
    if (blob.isEmpty())
        return QString();
    return QString::fromLatin1(QCryptographicHash::hash(blob, QCryptographicHash::Sha256)
                                   .toBase64(QByteArray::OmitTrailingEquals));
}

bool LocalSftpServer::replaceHostKey()
{
    stop();
    return makeHostKey() && start();
}

QStringList LocalSftpServer::requiredPrograms() const
{
    return {Sshd, SshKeygen};
}

bool LocalSftpServer::prepare()
{
    return makeHostKey();
}

// ssh-keygen makes the private key 0600, which sshd insists on.
bool LocalSftpServer::makeHostKey()
{
    const QString key = instancePath(QStringLiteral("host_key"));
    QFile::remove(key);
    QFile::remove(key + QStringLiteral(".pub"));
    QProcess keygen;
    keygen.start(SshKeygen,
        {QStringLiteral("-q"), QStringLiteral("-t"), QStringLiteral("ed25519"),
            QStringLiteral("-N"), QString(), QStringLiteral("-f"), key});
    return keygen.waitForFinished(KeygenTimeoutMs) && keygen.exitStatus() == QProcess::NormalExit
        && keygen.exitCode() == 0;
}

bool LocalSftpServer::writeConfig(int port)
{
    // No PAM: a wrong password is refused at once instead of after PAM's pause.
    const QStringList lines = {
        QStringLiteral("Port %1").arg(port),
        QStringLiteral("ListenAddress 127.0.0.1"),
        QStringLiteral("AddressFamily inet"),
        QStringLiteral("HostKey %1").arg(instancePath(QStringLiteral("host_key"))),
        QStringLiteral("PidFile %1").arg(instancePath(QStringLiteral("sshd.pid"))),
        QStringLiteral("UsePAM no"),
        QStringLiteral("PasswordAuthentication yes"),
        QStringLiteral("KbdInteractiveAuthentication no"),
        QStringLiteral("PubkeyAuthentication no"),
        QStringLiteral("PermitRootLogin no"),
        QStringLiteral("AllowUsers %1").arg(user()),
        QStringLiteral("StrictModes no"),
        QStringLiteral("Subsystem sftp internal-sftp -d %1").arg(root()),
        QStringLiteral("VersionAddendum %1").arg(bannerToken()),
    };
    QFile config(instancePath(QStringLiteral("sshd_config")));
    const QByteArray text = lines.join(QLatin1Char('\n')).toUtf8() + '\n';
    return config.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && config.write(text) == text.size();
}

// sshd wants its own absolute path to start; -D keeps it in the foreground, -e logs to the
// error output, which goes to the server's log file.
void LocalSftpServer::launch(QProcess &process)
{
    process.start(Sshd,
        {QStringLiteral("-D"), QStringLiteral("-e"), QStringLiteral("-f"),
            instancePath(QStringLiteral("sshd_config"))});
}
