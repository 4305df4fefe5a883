#include "dropboxstandin.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QJsonDocument>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QTimer>
#include <QUrl>
#include <QtDebug>

#include <memory>

namespace {

constexpr int StartTimeoutMs = 10000;
constexpr int ControlTimeoutMs = 5000;
constexpr int StopTimeoutMs = 3000;
constexpr int KeptErrorBytes = 16384;

QString certificateFile(const char *name)
{
    return QStringLiteral(KUVO_CERT_DIR "/") + QLatin1String(name);
}

} // namespace

DropboxStandin::~DropboxStandin()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(StopTimeoutMs)) {
        m_process.kill();
        m_process.waitForFinished(StopTimeoutMs);
    }
}

bool DropboxStandin::start(const QStringList &extraArgs)
{
    QObject::connect(
        &m_process, &QProcess::readyReadStandardError, &m_process, [this] { readErrors(); });
    // The write channel stays open: when this program dies, however it dies, the stand-in
    // sees its standard input close and ends too.
    m_process.start(QStringLiteral(KUVO_PYTHON3),
        QStringList {QStringLiteral(KUVO_DROPBOX_STANDIN_SCRIPT), QStringLiteral("--cert"),
            certificateFile("standin.pem"), QStringLiteral("--key"), certificateFile("standin.key"),
            QStringLiteral("--stop-on-stdin-eof")}
            + extraArgs);

    const QDeadlineTimer deadline(StartTimeoutMs);
    while (m_port == 0) {
        if (!m_process.canReadLine()) {
            if (!m_process.waitForReadyRead(int(deadline.remainingTime())))
                break;
            continue;
        }
        const QList<QByteArray> words = m_process.readLine().trimmed().split(' ');
        if (words.size() == 2 && words.at(0) == "https")
            m_port = words.at(1).toInt();
    }
    if (m_port != 0) {
        m_ready = true;
        return true;
    }

    m_process.kill();
    m_process.waitForFinished(StopTimeoutMs);
    readErrors();
    qWarning().noquote() << "The Dropbox stand-in did not start:" << m_process.errorString() << '\n'
                         << QString::fromLocal8Bit(m_errors);
    return false;
}

QString DropboxStandin::host() const
{
    return QStringLiteral("127.0.0.1:%1").arg(m_port);
}

QJsonArray DropboxStandin::requests()
{
    return QJsonDocument::fromJson(control("GET", QStringLiteral("requests"))).array();
}

QJsonArray DropboxStandin::requests(const QString &path)
{
    QJsonArray matching;
    for (const QJsonValue &request : requests()) {
        if (request[QLatin1String("path")].toString() == path)
            matching.append(request);
    }
    return matching;
}

QJsonObject DropboxStandin::files()
{
    return QJsonDocument::fromJson(control("GET", QStringLiteral("files"))).object();
}

void DropboxStandin::reset()
{
    control("POST", QStringLiteral("reset"));
}

QJsonObject DropboxStandin::issueToken(int expiresIn)
{
    const QByteArray answer
        = control("POST", QStringLiteral("token"), {{QStringLiteral("expires_in"), expiresIn}});
    return QJsonDocument::fromJson(answer).object();
}

void DropboxStandin::expireTokens()
{
    control("POST", QStringLiteral("expire"));
}

void DropboxStandin::setSpace(qint64 used, qint64 allocated)
{
    control("POST", QStringLiteral("space"),
        {{QStringLiteral("used"), used}, {QStringLiteral("allocated"), allocated}});
}

void DropboxStandin::setBareLinkConflict(bool bare)
{
    control("POST", QStringLiteral("options"), {{QStringLiteral("bare_link_conflict"), bare}});
}

void DropboxStandin::failNext(const QString &path, int status, int times)
{
    control("POST", QStringLiteral("fail"),
        {{QStringLiteral("path"), path}, {QStringLiteral("status"), status},
            {QStringLiteral("times"), times}});
}

void DropboxStandin::delay(const QString &path, double seconds)
{
    control("POST", QStringLiteral("delay"),
        {{QStringLiteral("path"), path}, {QStringLiteral("seconds"), seconds}});
}

QByteArray DropboxStandin::control(
    const QByteArray &verb, const QString &action, const QJsonObject &order)
{
    QNetworkRequest request(QUrl(QStringLiteral("https://%1/_control/%2").arg(host(), action)));
    QSslConfiguration ssl = QSslConfiguration::defaultConfiguration();
    ssl.setCaCertificates(QSslCertificate::fromPath(certificateFile("kuvo.pem")));
    request.setSslConfiguration(ssl);
    request.setRawHeader("Content-Type", "application/json");
    const QByteArray body = verb == "GET" ? QByteArray() : QJsonDocument(order).toJson();
    const std::unique_ptr<QNetworkReply> reply(m_network.sendCustomRequest(request, verb, body));

    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(ControlTimeoutMs, &loop, &QEventLoop::quit);
    loop.exec();

    if (!reply->isFinished()) {
        reply->abort();
        qWarning().noquote() << "The Dropbox stand-in did not answer" << action << "in time";
        return {};
    }
    if (reply->error() != QNetworkReply::NoError) {
        qWarning().noquote() << "The Dropbox stand-in refused" << action << ':'
                             << reply->errorString() << reply->readAll();
        return {};
    }
    return reply->readAll();
}

void DropboxStandin::readErrors()
{
    const QByteArray text = m_process.readAllStandardError();
    if (text.isEmpty())
        return;
    if (m_ready)
        qWarning().noquote() << "Dropbox stand-in:" << QString::fromLocal8Bit(text).trimmed();
    else
        m_errors = (m_errors + text).right(KeptErrorBytes);
}
