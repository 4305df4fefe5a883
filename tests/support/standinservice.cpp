#include "standinservice.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>
#include <QtDebug>

#include <memory>

namespace {

constexpr int StartTimeoutMs = 10000;
constexpr int ControlTimeoutMs = 5000;
constexpr int StopTimeoutMs = 3000;
// Only the tail matters when the stand-in fails to start: it holds the Python traceback.
constexpr int KeptErrorBytes = 16384;

QString certificateFile(const char *name)
{
    return QStringLiteral(KUVO_CERT_DIR "/") + QLatin1String(name);
}

QList<QSslCertificate> standinCa()
{
    return QSslCertificate::fromPath(certificateFile("kuvo.pem"));
}

} // namespace

StandinService::~StandinService()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(StopTimeoutMs)) {
        m_process.kill();
        m_process.waitForFinished(StopTimeoutMs);
    }
}

bool StandinService::start(const QStringList &extraArgs)
{
    QObject::connect(
        &m_process, &QProcess::readyReadStandardError, &m_process, [this] { readErrors(); });
    // The write channel stays open: when this program dies, however it dies, the stand-in
    // sees its standard input close and ends too.
    m_process.start(QStringLiteral(KUVO_PYTHON3),
        QStringList {QStringLiteral(KUVO_STANDIN_SCRIPT), QStringLiteral("--cert"),
            certificateFile("standin.pem"), QStringLiteral("--key"), certificateFile("standin.key"),
            QStringLiteral("--stop-on-stdin-eof")}
            + extraArgs);

    const QDeadlineTimer deadline(StartTimeoutMs);
    while (m_httpsPort == 0 || m_httpPort == 0) {
        if (!m_process.canReadLine()) {
            if (!m_process.waitForReadyRead(int(deadline.remainingTime())))
                break;
            continue;
        }
        const QList<QByteArray> words = m_process.readLine().trimmed().split(' ');
        if (words.size() != 2)
            continue;
        if (words.at(0) == "https")
            m_httpsPort = words.at(1).toInt();
        else if (words.at(0) == "http")
            m_httpPort = words.at(1).toInt();
    }
    if (m_httpsPort != 0 && m_httpPort != 0) {
        m_ready = true;
        return true;
    }

    m_process.kill();
    m_process.waitForFinished(StopTimeoutMs);
    readErrors();
    qWarning().noquote() << "The stand-in service did not start:" << m_process.errorString() << '\n'
                         << QString::fromLocal8Bit(m_errors);
    return false;
}

QString StandinService::httpsHost() const
{
    return QStringLiteral("127.0.0.1:%1").arg(m_httpsPort);
}

QString StandinService::httpHost() const
{
    return QStringLiteral("127.0.0.1:%1").arg(m_httpPort);
}

QString StandinService::caFile() const
{
    return certificateFile("kuvo.pem");
}

void StandinService::trustStandinCa()
{
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    config.addCaCertificates(standinCa());
    QSslConfiguration::setDefaultConfiguration(config);
}

QJsonArray StandinService::requests()
{
    return QJsonDocument::fromJson(control("GET", QStringLiteral("requests"))).array();
}

QJsonArray StandinService::requests(const QString &path)
{
    QJsonArray matching;
    for (const QJsonValue &request : requests()) {
        if (request.toObject().value(QLatin1String("path")).toString() == path)
            matching.append(request);
    }
    return matching;
}

void StandinService::reset()
{
    control("POST", QStringLiteral("reset"));
}

void StandinService::offerUpdate(const QString &version, const QString &file, const QString &md5)
{
    QJsonObject order {{QStringLiteral("version"), version}, {QStringLiteral("file"), file}};
    if (!md5.isEmpty())
        order.insert(QStringLiteral("md5"), md5);
    control("POST", QStringLiteral("update"), QJsonDocument(order).toJson());
}

void StandinService::withdrawUpdate()
{
    control("POST", QStringLiteral("update"), QJsonDocument(QJsonObject()).toJson());
}

void StandinService::failNext(const QString &path, int status, int times)
{
    const QJsonObject order {{QStringLiteral("path"), path}, {QStringLiteral("status"), status},
        {QStringLiteral("times"), times}};
    control("POST", QStringLiteral("fail"), QJsonDocument(order).toJson());
}

void StandinService::delay(const QString &path, double seconds)
{
    const QJsonObject order {{QStringLiteral("path"), path}, {QStringLiteral("seconds"), seconds}};
    control("POST", QStringLiteral("delay"), QJsonDocument(order).toJson());
}

QByteArray StandinService::control(
    const QByteArray &verb, const QString &action, const QByteArray &body)
{
    return call(verb, QStringLiteral("/_control/") + action, body, "application/json");
}

QString StandinService::issueToken(const QString &email, const QString &password)
{
    QUrlQuery form;
    form.addQueryItem(QStringLiteral("grant_type"), QStringLiteral("password"));
    form.addQueryItem(
        QStringLiteral("username"), QString::fromLatin1(QUrl::toPercentEncoding(email)));
    form.addQueryItem(
        QStringLiteral("password"), QString::fromLatin1(QUrl::toPercentEncoding(password)));
    const QByteArray reply = call("POST", QStringLiteral("/oauth/token"),
        form.query(QUrl::FullyEncoded).toUtf8(), "application/x-www-form-urlencoded");
    return QJsonDocument::fromJson(reply).object().value(QStringLiteral("access_token")).toString();
}

QByteArray StandinService::call(const QByteArray &verb, const QString &path, const QByteArray &body,
    const QByteArray &contentType)
{
    QNetworkRequest request(QUrl(QStringLiteral("https://%1%2").arg(httpsHost(), path)));
    QSslConfiguration ssl = QSslConfiguration::defaultConfiguration();
    ssl.setCaCertificates(standinCa());
    request.setSslConfiguration(ssl);
    request.setRawHeader("Content-Type", contentType);
    const std::unique_ptr<QNetworkReply> reply(m_network.sendCustomRequest(request, verb, body));

    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(ControlTimeoutMs, &loop, &QEventLoop::quit);
    loop.exec();

    if (!reply->isFinished()) {
        reply->abort();
        qWarning().noquote() << "The stand-in service did not answer" << path << "in time";
        return {};
    }
    if (reply->error() != QNetworkReply::NoError) {
        qWarning().noquote() << "The stand-in service refused" << path << ':'
                             << reply->errorString() << reply->readAll();
        return {};
    }
    return reply->readAll();
}

void StandinService::readErrors()
{
    const QByteArray text = m_process.readAllStandardError();
    if (text.isEmpty())
        return;
    // Once running, the stand-in writes to stderr only when something in it broke, which the
    // test's log should show where it happened.
    if (m_ready)
        qWarning().noquote() << "Stand-in service:" << QString::fromLocal8Bit(text).trimmed();
    else
        m_errors = (m_errors + text).right(KeptErrorBytes);
}
