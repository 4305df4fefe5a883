// Upload throughput to the local stand-in service: a 50 MB file of random bytes sent through
// NetworkExchange (from uploadScreen to the end of the job, creating the file included) beside
// curl sending the same file to the same service, best of three each, and the program's peak
// memory, which stays far below the file's size because the body is streamed. 1 MB is 2^20
// bytes here.

#include "benchsupport.h"
#include "handlerupload.h"
#include "networkaccessmanager.h"
#include "networkexchange.h"
#include "networkreadreply.h"
#include "randomfile.h"
#include "serviceaddress.h"
#include "setting.h"
#include "standinservice.h"
#include "uploadmodel.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkRequest>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrlQuery>

#include <algorithm>
#include <cstdio>
#include <optional>

#include <sys/resource.h>

namespace {

const qint64 kFileSize = 50 << 20;
const int kRuns = 3;
const int kTimeoutMs = 120000;

void print(const char *name, double value, const char *unit)
{
    std::printf("%s: %.2f %s\n", name, value, unit);
    std::fflush(stdout);
}

// Runs the event loop until the reply is in, at most kTimeoutMs; nullopt on any failure.
std::optional<QVariantMap> await(QNetworkReply *reply)
{
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(kTimeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    if (!reply->isFinished())
        return std::nullopt;
    const NetworkReadReply read(reply);
    if (!read.isOk())
        return std::nullopt;
    return read.data();
}

QString createFileId()
{
    NetworkAccessManager manager;
    QNetworkRequest request {QUrl(ServiceAddress::serverInit())};
    NetworkAccessManager::getAuthRequest(request);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    const QJsonObject body {{QStringLiteral("title"), QStringLiteral("curl.png")},
        {QStringLiteral("description"), QString()},
        {QStringLiteral("mimeType"), QStringLiteral("image/png")},
        {QStringLiteral("fileSize"), kFileSize}};
    const auto reply = await(manager.post(request, QJsonDocument(body).toJson()));
    return reply ? reply->value(QStringLiteral("id")).toString() : QString();
}

// The last upload the stand-in received must be the whole file, or the figure means nothing.
bool receivedWhole(StandinService &service, const QByteArray &md5)
{
    const QJsonArray all = service.requests();
    for (auto it = all.end(); it != all.begin();) {
        const QJsonObject request = (--it)->toObject();
        if (request.value(QLatin1String("method")).toString() == QLatin1String("PUT"))
            return request.value(QLatin1String("md5")).toString() == QLatin1String(md5)
                && request.value(QLatin1String("complete")).toBool();
    }
    return false;
}

double megabytesPerSecond(qint64 nsecs)
{
    return double(kFileSize) / (1 << 20) / (double(nsecs) / 1e9);
}

// Nanoseconds of one upload through the program, or a negative number when it failed.
qint64 uploadThroughExchange(const QString &path)
{
    UploadModel model;
    NetworkExchange exchange;
    exchange.setUploadModel(&model);
    bool failed = false;
    QObject::connect(&exchange, &NetworkExchange::error, [&](const QString &text) {
        std::fprintf(stderr, "upload failed: %s\n", qPrintable(text));
        failed = true;
    });
    QEventLoop loop;
    QObject::connect(&model, &UploadModel::uploadComplete, &loop, &QEventLoop::quit);
    QTimer::singleShot(kTimeoutMs, &loop, &QEventLoop::quit);

    QElapsedTimer timer;
    timer.start();
    exchange.uploadScreen(path, QString(), HandlerUpload::PostNone);
    loop.exec();
    const qint64 elapsed = timer.nsecsElapsed();
    return failed || model.countItem() != 0 ? -1 : elapsed;
}

qint64 uploadWithCurl(const QString &path, const QString &caFile, const QString &token)
{
    const QString id = createFileId();
    if (id.isEmpty())
        return -1;
    QProcess curl;
    QElapsedTimer timer;
    timer.start();
    curl.start(QStringLiteral("curl"),
        {QStringLiteral("-sS"), QStringLiteral("--fail"), QStringLiteral("-o"),
            QStringLiteral("/dev/null"), QStringLiteral("--cacert"), caFile, QStringLiteral("-X"),
            QStringLiteral("PUT"), QStringLiteral("-H"),
            QStringLiteral("Authorization: Bearer ") + token, QStringLiteral("-H"),
            QStringLiteral("Content-Type: image/png"), QStringLiteral("--data-binary"),
            QLatin1Char('@') + path, ServiceAddress::serverUploadUrl() + QLatin1Char('/') + id});
    if (!curl.waitForFinished(kTimeoutMs) || curl.exitCode() != 0) {
        std::fprintf(stderr, "curl failed: %s%s\n", qPrintable(curl.errorString()),
            curl.readAllStandardError().constData());
        return -1;
    }
    return timer.nsecsElapsed();
}

template <typename Upload>
double best(StandinService &service, const QByteArray &md5, Upload upload)
{
    qint64 fastest = -1;
    for (int run = 0; run < kRuns; ++run) {
        const qint64 elapsed = upload();
        if (elapsed < 0 || !receivedWhole(service, md5))
            return 0;
        fastest = fastest < 0 ? elapsed : std::min(fastest, elapsed);
    }
    return megabytesPerSecond(fastest);
}

} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir home;
    useTemporaryHome(home);
    QCoreApplication app(argc, argv);

    StandinService service;
    if (!service.start())
        return 1;
    ServiceAddress::setApiHost(service.httpsHost());
    ServiceAddress::setWebHost(service.httpsHost());
    ServiceAddress::setFixedHost(service.httpHost());
    const QString token = service.issueToken();
    if (token.isEmpty()) {
        std::fprintf(stderr, "the stand-in gave no token\n");
        return 1;
    }
    Setting::instance()->setValue(SettingKeys::token, token);

    const QString path = home.filePath(QStringLiteral("upload.png"));
    const QByteArray md5 = writeRandomFile(path, kFileSize).toHex();
    if (md5.isEmpty())
        return 1;

    const double ours = best(service, md5, [&] { return uploadThroughExchange(path); });
    const double peak = statusMegabytes("VmHWM");
    const double curl
        = best(service, md5, [&] { return uploadWithCurl(path, service.caFile(), token); });
    print("upload 50 MB through NetworkExchange, best of 3", ours, "MB/s");
    print("upload 50 MB with curl (baseline), best of 3", curl, "MB/s");
    print("NetworkExchange / curl", curl > 0 ? ours / curl : 0, "ratio");
    print("peak resident memory of the program after its uploads", peak, "MB");
    return ours > 0 && curl > 0 ? 0 : 1;
}
