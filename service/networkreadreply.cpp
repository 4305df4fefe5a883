#include "networkreadreply.h"
#include "networkaccessmanager.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkReply>

NetworkReadReply::NetworkReadReply(QNetworkReply *reply)
{
    m_status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QJsonDocument json = QJsonDocument::fromJson(reply->readAll());
    m_data = json.object().toVariantMap();

    const QString described = m_data.value(QStringLiteral("error_description")).toString();
    if (reply->error() != QNetworkReply::NoError) {
        m_error
            = described.isEmpty() ? NetworkAccessManager::networkError(reply->error()) : described;
        return;
    }
    if (!json.isObject()) {
        m_error = tr("The server sent a reply that could not be read");
        return;
    }
    m_ok = true;
}
