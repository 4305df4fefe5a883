#include "misbehavingserver.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QVariant>

MisbehavingServer::MisbehavingServer()
    : m_process(QStringLiteral("misbehaving server"))
{
}

bool MisbehavingServer::start()
{
    return m_process.start(QStringLiteral(KUVO_MISBEHAVING_SCRIPT),
        {QStringLiteral("https"), QStringLiteral("http")}, {});
}

void MisbehavingServer::setMode(const QString &mode)
{
    m_process.call("POST", QStringLiteral("/_control/mode"),
        QJsonDocument(QJsonObject {{QStringLiteral("mode"), mode}}).toJson());
}

QStringList MisbehavingServer::paths()
{
    const QJsonObject answer
        = QJsonDocument::fromJson(m_process.call("GET", QStringLiteral("/_control/paths")))
              .object();
    return answer.value(QStringLiteral("paths")).toVariant().toStringList();
}
