#include "standinservice.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSslConfiguration>
#include <QUrl>
#include <QUrlQuery>

StandinService::StandinService()
    : m_process(QStringLiteral("stand-in service"))
{
}

StandinService::~StandinService() = default;

bool StandinService::start(const QStringList &extraArgs)
{
    return m_process.start(QStringLiteral(KUVO_STANDIN_SCRIPT),
        {QStringLiteral("https"), QStringLiteral("http")},
        QStringList {QStringLiteral("--update-key"), StandinProcess::certificateFile("update.key")}
            + extraArgs);
}

QString StandinService::httpsHost() const
{
    return m_process.host(QStringLiteral("https"));
}

QString StandinService::httpHost() const
{
    return m_process.host(QStringLiteral("http"));
}

QString StandinService::caFile() const
{
    return StandinProcess::certificateFile("kuvo.pem");
}

void StandinService::trustStandinCa()
{
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    config.addCaCertificates(StandinProcess::authority());
    QSslConfiguration::setDefaultConfiguration(config);
}

QJsonArray StandinService::requests()
{
    return QJsonDocument::fromJson(control("GET", QStringLiteral("requests"))).array();
}

QJsonArray StandinService::requests(const QString &path)
{
    return StandinProcess::onPath(requests(), path);
}

QJsonArray StandinService::arrivals(const QString &path)
{
    return m_process.listed(QStringLiteral("arrivals"), path);
}

void StandinService::reset()
{
    control("POST", QStringLiteral("reset"));
}

void StandinService::offerUpdate(
    const QString &version, const QString &file, const QString &md5, QJsonObject order)
{
    if (!md5.isEmpty())
        order.insert(QStringLiteral("md5"), md5);
    order.insert(QStringLiteral("version"), version);
    order.insert(QStringLiteral("file"), file);
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
    return m_process.call(verb, QStringLiteral("/_control/") + action, body);
}

QString StandinService::issueToken(const QString &email, const QString &password)
{
    QUrlQuery form;
    form.addQueryItem(QStringLiteral("grant_type"), QStringLiteral("password"));
    form.addQueryItem(
        QStringLiteral("username"), QString::fromLatin1(QUrl::toPercentEncoding(email)));
    form.addQueryItem(
        QStringLiteral("password"), QString::fromLatin1(QUrl::toPercentEncoding(password)));
    const QByteArray reply = m_process.call("POST", QStringLiteral("/oauth/token"),
        form.query(QUrl::FullyEncoded).toUtf8(), "application/x-www-form-urlencoded");
    return QJsonDocument::fromJson(reply).object().value(QStringLiteral("access_token")).toString();
}
