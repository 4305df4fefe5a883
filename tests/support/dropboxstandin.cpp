#include "dropboxstandin.h"

#include <QJsonDocument>

DropboxStandin::DropboxStandin()
    : m_process(QStringLiteral("Dropbox stand-in"))
{
}

DropboxStandin::~DropboxStandin() = default;

bool DropboxStandin::start(const QStringList &extraArgs)
{
    return m_process.start(
        QStringLiteral(KUVO_DROPBOX_STANDIN_SCRIPT), {QStringLiteral("https")}, extraArgs);
}

QString DropboxStandin::host() const
{
    return m_process.host(QStringLiteral("https"));
}

QJsonArray DropboxStandin::requests()
{
    return QJsonDocument::fromJson(control("GET", QStringLiteral("requests"))).array();
}

QJsonArray DropboxStandin::requests(const QString &path)
{
    return StandinProcess::onPath(requests(), path);
}

QJsonArray DropboxStandin::arrivals(const QString &path)
{
    return m_process.listed(QStringLiteral("arrivals"), path);
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
    const QByteArray body = verb == "GET" ? QByteArray() : QJsonDocument(order).toJson();
    return m_process.call(verb, QStringLiteral("/_control/") + action, body);
}
