#include "networkreadreply.h"
#include "networkaccessmanager.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkReply>

NetworkReadReply::NetworkReadReply(QNetworkReply *reply)
{
    m_status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    // A reply the program cut short is closed already and has nothing worth reading.
    const QJsonDocument json
        = QJsonDocument::fromJson(reply->isOpen() ? reply->readAll() : QByteArray());
    m_data = json.object().toVariantMap();

    const QString described
        = shortText(m_data.value(QStringLiteral("error_description")).toString());
    if (!NetworkAccessManager::isSuccess(reply)) {
        m_error = described.isEmpty() ? NetworkAccessManager::replyError(reply) : described;
        return;
    }
    if (!json.isObject()) {
        m_error = tr("The server sent a reply that could not be read");
        return;
    }
    m_ok = true;
}

QString NetworkReadReply::shortText(const QString &text)
{
    constexpr int kLongest = 300;
    if (text.size() <= kLongest)
        return text;
    return text.left(kLongest) + QChar(0x2026);
}
