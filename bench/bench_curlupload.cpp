// FTP and SFTP upload throughput on this machine: a 200 MB file of random bytes sent to a local
// vsftpd and a local sshd through HandleFTPUpload / HandleSFTPUpload (from upload() to
// uploaded()), beside the curl command line sending the same file to the same servers, best
// of three each; then the program's peak resident memory, which stays far below the file's
// size because the file is streamed. 1 MB is 2^20 bytes here. Needs root and what
// scripts/setup installs, as the FTP and SFTP tests do.

#include "benchsupport.h"
#include "curlupload.h"
#include "handleftpupload.h"
#include "handlesftpupload.h"
#include "localftpserver.h"
#include "localsftpserver.h"
#include "randomfile.h"
#include "setting.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

const qint64 FileSize = qint64(200) << 20;
const int Runs = 3;
const int TimeoutMs = 120000;

void print(const char *name, double value, const char *unit)
{
    std::printf("%s: %.2f %s\n", name, value, unit);
    std::fflush(stdout);
}

QByteArray md5Of(const QString &path)
{
    QFile file(path);
    QCryptographicHash md5(QCryptographicHash::Md5);
    if (!file.open(QIODevice::ReadOnly) || !md5.addData(&file))
        return QByteArray();
    return md5.result();
}

double megabytesPerSecond(qint64 nsecs)
{
    return double(FileSize) / (1 << 20) / (double(nsecs) / 1e9);
}

// Nanoseconds of one upload through the program, or -1 when it failed.
qint64 uploadThroughProgram(CurlUpload &uploader, const QString &path)
{
    QEventLoop loop;
    bool ok = false;
    const QMetaObject::Connection done
        = QObject::connect(&uploader, &CurlUpload::uploaded, &loop, [&] {
              ok = true;
              loop.quit();
          });
    const QMetaObject::Connection failed
        = QObject::connect(&uploader, &CurlUpload::failed, &loop, [&](const QString &text) {
              std::fprintf(stderr, "upload failed: %s\n", qPrintable(text));
              loop.quit();
          });
    QTimer::singleShot(TimeoutMs, &loop, &QEventLoop::quit);

    QElapsedTimer timer;
    timer.start();
    uploader.upload(path);
    loop.exec();
    const qint64 elapsed = timer.nsecsElapsed();
    QObject::disconnect(done);
    QObject::disconnect(failed);
    return ok ? elapsed : -1;
}

qint64 uploadWithCurl(const QStringList &arguments)
{
    QProcess curl;
    QElapsedTimer timer;
    timer.start();
    curl.start(QStringLiteral("curl"), arguments);
    if (!curl.waitForFinished(TimeoutMs) || curl.exitStatus() != QProcess::NormalExit
        || curl.exitCode() != 0) {
        std::fprintf(stderr, "curl failed: %s%s\n", qPrintable(curl.errorString()),
            curl.readAllStandardError().constData());
        return -1;
    }
    return timer.nsecsElapsed();
}

// Best of the runs in MB/s; 0 when a run failed or the server did not get the whole file.
double best(const QString &landed, const QByteArray &md5, const std::function<qint64()> &upload)
{
    qint64 fastest = -1;
    for (int run = 0; run < Runs; ++run) {
        QFile::remove(landed);
        const qint64 elapsed = upload();
        if (elapsed < 0 || QFileInfo(landed).size() != FileSize)
            return 0;
        fastest = fastest < 0 ? elapsed : std::min(fastest, elapsed);
    }
    if (md5Of(landed) != md5) {
        std::fprintf(stderr, "%s differs from the file sent\n", qPrintable(landed));
        return 0;
    }
    return megabytesPerSecond(fastest);
}

void storeTarget(const QString &protocol, int port)
{
    Setting *settings = Setting::instance();
    const QString prefix = protocol + QLatin1Char('_');
    settings->setValue(prefix + QStringLiteral("host"), QStringLiteral("127.0.0.1"));
    settings->setValue(prefix + QStringLiteral("port"), port);
    settings->setValue(prefix + QStringLiteral("path"), QStringLiteral("bench-kuvo"));
    settings->setValue(prefix + QStringLiteral("user"), LocalLoginServer::user(), true);
    settings->setValue(prefix + QStringLiteral("password"), LocalLoginServer::password(), true);
}

QStringList curlArguments(const QString &path, const QString &url)
{
    return {QStringLiteral("-sS"), QStringLiteral("--ftp-create-dirs"), QStringLiteral("-T"), path,
        QStringLiteral("--user"),
        LocalLoginServer::user() + QLatin1Char(':') + LocalLoginServer::password(), url};
}

} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir home;
    useTemporaryHome(home);
    QCoreApplication app(argc, argv);

    LocalFtpServer ftp;
    LocalSftpServer sftp;
    if (!ftp.start() || !sftp.start())
        return 1;
    // The credential keys are enciphered with the token; any token will do.
    Setting::instance()->setValue(SettingKeys::token, QStringLiteral("bench-token"));
    storeTarget(QStringLiteral("ftp"), ftp.port());
    storeTarget(QStringLiteral("sftp"), sftp.port());

    const QString path = home.filePath(QStringLiteral("upload.bin"));
    const QByteArray md5 = writeRandomFile(path, FileSize);
    if (md5.isEmpty())
        return 1;

    HandleFTPUpload ftpUpload;
    HandleSFTPUpload sftpUpload;
    const double ftpOurs = best(ftp.root() + QStringLiteral("/bench-kuvo/upload.bin"), md5,
        [&] { return uploadThroughProgram(ftpUpload, path); });
    const double sftpOurs = best(sftp.root() + QStringLiteral("/bench-kuvo/upload.bin"), md5,
        [&] { return uploadThroughProgram(sftpUpload, path); });
    const double peak = statusMegabytes("VmHWM");

    const double ftpCurl = best(ftp.root() + QStringLiteral("/bench-curl/upload.bin"), md5, [&] {
        return uploadWithCurl(
            curlArguments(path, QStringLiteral("ftp://127.0.0.1:%1/bench-curl/").arg(ftp.port())));
    });
    const double sftpCurl = best(sftp.root() + QStringLiteral("/bench-curl/upload.bin"), md5, [&] {
        return uploadWithCurl(
            curlArguments(
                path, QStringLiteral("sftp://127.0.0.1:%1/~/bench-curl/").arg(sftp.port()))
            << QStringLiteral("--hostpubsha256") << sftp.hostKeySha256());
    });

    print("FTP upload 200 MB through HandleFTPUpload, best of 3", ftpOurs, "MB/s");
    print("FTP upload 200 MB with curl (baseline), best of 3", ftpCurl, "MB/s");
    // Time, not speed: below 1 the program is the faster of the two.
    print("FTP upload time, HandleFTPUpload / curl", ftpOurs > 0 ? ftpCurl / ftpOurs : 0, "x");
    print("SFTP upload 200 MB through HandleSFTPUpload, best of 3", sftpOurs, "MB/s");
    print("SFTP upload 200 MB with curl (baseline), best of 3", sftpCurl, "MB/s");
    print("SFTP upload time, HandleSFTPUpload / curl", sftpOurs > 0 ? sftpCurl / sftpOurs : 0, "x");
    print("peak resident memory of the program after its uploads", peak, "MB");
    return ftpOurs > 0 && sftpOurs > 0 && ftpCurl > 0 && sftpCurl > 0 ? 0 : 1;
}
