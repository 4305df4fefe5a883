#include "standinprocess.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslConfiguration>
#include <QTimer>
#include <QUrl>
#include <QtDebug>

#include <memory>

namespace {

constexpr int StartTimeoutMs = 10000;
constexpr int CallTimeoutMs = 5000;
constexpr int StopTimeoutMs = 3000;
// Only the tail matters when a stand-in fails to start: it holds the Python traceback.
constexpr int KeptErrorBytes = 16384;

} // namespace

StandinProcess::StandinProcess(const QString &name)
    : m_name(name)
{
}

StandinProcess::~StandinProcess()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(StopTimeoutMs)) {
        m_process.kill();
        m_process.waitForFinished(StopTimeoutMs);
    }
}

QString StandinProcess::certificateFile(const char *name)
{
    return QStringLiteral(KUVO_CERT_DIR "/") + QLatin1String(name);
}

QList<QSslCertificate> StandinProcess::authority()
{
    return QSslCertificate::fromPath(certificateFile("kuvo.pem"));
}

QJsonArray StandinProcess::onPath(const QJsonArray &requests, const QString &path)
{
    QJsonArray matching;
    for (const QJsonValue &request : requests) {
        if (request.toObject().value(QLatin1String("path")).toString() == path)
            matching.append(request);
    }
    return matching;
}

QJsonArray StandinProcess::listed(const QString &list, const QString &path)
{
    const QJsonArray all
        = QJsonDocument::fromJson(call("GET", QStringLiteral("/_control/") + list)).array();
    return path.isEmpty() ? all : onPath(all, path);
}

bool StandinProcess::start(
    const QString &script, const QStringList &listeners, const QStringList &extraArgs)
{
    QObject::connect(
        &m_process, &QProcess::readyReadStandardError, &m_process, [this] { readErrors(); });
    // The write channel stays open: when this program dies, however it dies, the stand-in
    // sees its standard input close and ends too.
    m_process.start(QStringLiteral(KUVO_PYTHON3),
        QStringList {script, QStringLiteral("--cert"), certificateFile("standin.pem"),
            QStringLiteral("--key"), certificateFile("standin.key"),
            QStringLiteral("--stop-on-stdin-eof")}
            + extraArgs);

    const QDeadlineTimer deadline(StartTimeoutMs);
    auto missing = [&] {
        for (const QString &listener : listeners) {
            if (!m_ports.contains(listener))
                return true;
        }
        return false;
    };
    while (missing()) {
        if (!m_process.canReadLine()) {
            if (!m_process.waitForReadyRead(int(deadline.remainingTime())))
                break;
            continue;
        }
        const QList<QByteArray> words = m_process.readLine().trimmed().split(' ');
        if (words.size() == 2 && words.at(1).toInt() > 0)
            m_ports.insert(QString::fromLatin1(words.at(0)), words.at(1).toInt());
    }
    if (!missing()) {
        m_ready = true;
        return true;
    }

    m_process.kill();
    m_process.waitForFinished(StopTimeoutMs);
    readErrors();
    qWarning().noquote() << "The" << m_name << "did not start:" << m_process.errorString() << '\n'
                         << QString::fromLocal8Bit(m_errors);
    return false;
}

QString StandinProcess::host(const QString &listener) const
{
    return QStringLiteral("127.0.0.1:%1").arg(m_ports.value(listener));
}

QByteArray StandinProcess::call(const QByteArray &verb, const QString &path, const QByteArray &body,
    const QByteArray &contentType)
{
    QNetworkRequest request(
        QUrl(QStringLiteral("https://%1%2").arg(host(QStringLiteral("https")), path)));
    QSslConfiguration ssl = QSslConfiguration::defaultConfiguration();
    ssl.setCaCertificates(authority());
    request.setSslConfiguration(ssl);
    request.setRawHeader("Content-Type", contentType);
    const std::unique_ptr<QNetworkReply> reply(m_network.sendCustomRequest(request, verb, body));

    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(CallTimeoutMs, &loop, &QEventLoop::quit);
    loop.exec();

    if (!reply->isFinished()) {
        reply->abort();
        qWarning().noquote() << "The" << m_name << "did not answer" << path << "in time";
        return {};
    }
    if (reply->error() != QNetworkReply::NoError) {
        qWarning().noquote() << "The" << m_name << "refused" << path << ':' << reply->errorString()
                             << reply->readAll();
        return {};
    }
    return reply->readAll();
}

void StandinProcess::readErrors()
{
    const QByteArray text = m_process.readAllStandardError();
    if (text.isEmpty())
        return;
    // Once running, a stand-in writes to stderr only when something in it broke, which the
    // test's log should show where it happened.
    if (m_ready)
        qWarning().noquote() << m_name << ':' << QString::fromLocal8Bit(text).trimmed();
    else
        m_errors = (m_errors + text).right(KeptErrorBytes);
}
