#include "qdropboxinfo.h"
#include "qdropbox.h"
#include "setting.h"

#include <QDebug>
#include <QJsonObject>
#include <QNetworkReply>

QDropboxInfo::QDropboxInfo(QObject *parent)
    : QObject(parent)
{
}

void QDropboxInfo::update()
{
    if (m_reply)
        return;
    ask("/2/users/get_current_account", &QDropboxInfo::accountRead);
}

void QDropboxInfo::abort()
{
    QDropbox::abandon(m_reply, this);
}

void QDropboxInfo::ask(const char *endpoint, void (QDropboxInfo::*done)())
{
    m_reply = QDropbox::callWithoutArgument(QLatin1String(endpoint), this);
    connect(m_reply, &QNetworkReply::finished, this, done);
}

QDropbox::Answer QDropboxInfo::takeAnswer()
{
    const QString path = m_reply->url().path();
    const QDropbox::Answer answer = QDropbox::take(m_reply);
    if (!answer.ok)
        qDebug() << Q_FUNC_INFO << path << answer.status << answer.error;
    return answer;
}

void QDropboxInfo::accountRead()
{
    const QDropbox::Answer answer = takeAnswer();
    if (!answer.ok) {
        emit failed(QDropbox::failureText(answer));
        return;
    }
    const QJsonObject name = answer.data.value(QLatin1String("name")).toObject();
    m_displayName = name.value(QLatin1String("display_name")).toString();
    m_email = answer.data.value(QLatin1String("email")).toString();
    ask("/2/users/get_space_usage", &QDropboxInfo::spaceRead);
}

void QDropboxInfo::spaceRead()
{
    const QDropbox::Answer answer = takeAnswer();
    if (!answer.ok) {
        emit failed(QDropbox::failureText(answer));
        return;
    }
    // Individual and team allocations both name their size "allocated".
    const qint64 allocated = answer.data.value(QLatin1String("allocation"))
                                 .toObject()
                                 .value(QLatin1String("allocated"))
                                 .toVariant()
                                 .toLongLong();
    const qint64 used = answer.data.value(QLatin1String("used")).toVariant().toLongLong();
    Setting *settings = Setting::instance();
    settings->setValue(SettingKeys::dropBoxDisplayName, m_displayName);
    settings->setValue(SettingKeys::dropBoxEmail, m_email);
    settings->setValue(SettingKeys::dropBoxTotal, allocated);
    settings->setValue(SettingKeys::dropBoxUsage, used);
    settings->setValue(SettingKeys::dropBoxQuota, allocated);
    emit updated();
}
