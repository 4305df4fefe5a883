#include "localftpserver.h"

#include <QDir>
#include <QFile>

namespace {

const QString Vsftpd = QStringLiteral("/usr/sbin/vsftpd");

} // namespace

LocalFtpServer::LocalFtpServer()
    : LocalLoginServer(QStringLiteral("ftp"))
{
}

QStringList LocalFtpServer::requiredPrograms() const
{
    return {Vsftpd};
}

// vsftpd changes root into this empty folder for the parts of a session that run without the
// user's rights.
bool LocalFtpServer::prepare()
{
    return QDir().mkpath(instancePath(QStringLiteral("empty")));
}

bool LocalFtpServer::writeConfig(int port)
{
    // vsftpd takes key=value with nothing around the "=" and stops at a key it does not know.
    // Its seccomp sandbox kills a session at STOR on this Debian, and PAM's pause after a
    // wrong password would slow the tests down.
    const QStringList lines = {
        QStringLiteral("listen=YES"),
        QStringLiteral("listen_ipv6=NO"),
        QStringLiteral("background=NO"),
        QStringLiteral("listen_address=127.0.0.1"),
        QStringLiteral("listen_port=%1").arg(port),
        QStringLiteral("pasv_enable=YES"),
        QStringLiteral("pasv_min_port=0"),
        QStringLiteral("pasv_max_port=0"),
        QStringLiteral("anonymous_enable=NO"),
        QStringLiteral("local_enable=YES"),
        QStringLiteral("write_enable=YES"),
        QStringLiteral("local_umask=022"),
        QStringLiteral("pam_service_name=vsftpd"),
        QStringLiteral("chroot_local_user=YES"),
        QStringLiteral("allow_writeable_chroot=YES"),
        QStringLiteral("local_root=%1").arg(root()),
        QStringLiteral("secure_chroot_dir=%1").arg(instancePath(QStringLiteral("empty"))),
        QStringLiteral("seccomp_sandbox=NO"),
        QStringLiteral("delay_failed_login=0"),
        QStringLiteral("local_max_rate=%1").arg(m_maxRate),
        QStringLiteral("xferlog_enable=YES"),
        QStringLiteral("log_ftp_protocol=YES"),
        QStringLiteral("vsftpd_log_file=%1").arg(instancePath(QStringLiteral("vsftpd.log"))),
        QStringLiteral("ftpd_banner=%1").arg(bannerToken()),
    };
    QFile config(instancePath(QStringLiteral("vsftpd.conf")));
    const QByteArray text = lines.join(QLatin1Char('\n')).toUtf8() + '\n';
    return config.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && config.write(text) == text.size();
}

// vsftpd tells why it could not start ("500 OOPS") on its standard input, not its error
// output: that descriptor is opened on a file it can write. exec keeps the PID, so stopping
// the shell stops vsftpd.
void LocalFtpServer::launch(QProcess &process)
{
    process.start(QStringLiteral("/bin/sh"),
        {QStringLiteral("-c"), QStringLiteral("exec \"$0\" \"$1\" 0<>\"$2\""), Vsftpd,
            instancePath(QStringLiteral("vsftpd.conf")), instancePath(QStringLiteral("oops.log"))});
}

QString LocalFtpServer::startErrors() const
{
    QFile oops(instancePath(QStringLiteral("oops.log")));
    const QString said
        = oops.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(oops.readAll()) : QString();
    return (said + LocalLoginServer::startErrors()).trimmed();
}
