#include "dropboxauth.h"
#include "qdropbox.h"
#include "qdropboxauth.h"
#include "qdropboxinfo.h"
#include "setting.h"

#include <QDebug>

namespace {

QString stored(QLatin1String key)
{
    return Setting::instance()->getValue(key).toString();
}

} // namespace

DropboxAuth::DropboxAuth(QObject *parent)
    : QObject(parent)
    , m_api(new QDropbox(this))
{
}

bool DropboxAuth::linked() const
{
    return QDropbox::isLinked();
}

QString DropboxAuth::displayName() const
{
    return stored(SettingKeys::dropBoxDisplayName);
}

QString DropboxAuth::email() const
{
    return stored(SettingKeys::dropBoxEmail);
}

bool DropboxAuth::busy() const
{
    return m_auth || m_info;
}

void DropboxAuth::link()
{
    qDebug() << Q_FUNC_INFO << busy();
    if (m_info)
        return;
    if (!m_auth) {
        m_auth = new QDropboxAuth(this);
        connect(m_auth, &QDropboxAuth::linked, this, &DropboxAuth::authorized);
        connect(m_auth, &QDropboxAuth::failed, this, &DropboxAuth::authFailed);
        emit busyChanged();
    }
    m_auth->start();
}

void DropboxAuth::authorized()
{
    m_auth->disconnect(this);
    m_auth->deleteLater();
    m_auth = nullptr;
    m_info = new QDropboxInfo(this);
    connect(m_info, &QDropboxInfo::updated, this, &DropboxAuth::infoRead);
    connect(m_info, &QDropboxInfo::failed, this, &DropboxAuth::infoFailed);
    m_info->update();
}

void DropboxAuth::authFailed(const QString &text)
{
    stop();
    emit linkError(text);
}

void DropboxAuth::infoRead()
{
    stop();
    emit linkedChanged();
}

// The link stands; only the account's details are missing on the settings page.
void DropboxAuth::infoFailed(const QString &text)
{
    stop();
    emit linkedChanged();
    emit linkError(
        tr("Dropbox is linked, but the account's details could not be read: %1").arg(text));
}

void DropboxAuth::stop()
{
    const bool wasBusy = busy();
    // Either may be in the middle of emitting: it goes once control is back in the event
    // loop, and says or stores nothing more until then.
    if (m_auth) {
        m_auth->disconnect(this);
        m_auth->abort();
        m_auth->deleteLater();
    }
    if (m_info) {
        m_info->disconnect(this);
        m_info->abort();
        m_info->deleteLater();
    }
    m_auth = nullptr;
    m_info = nullptr;
    if (wasBusy)
        emit busyChanged();
}

void DropboxAuth::unlink()
{
    qDebug() << Q_FUNC_INFO;
    stop();
    QDropbox::forgetTokens();
    Setting *settings = Setting::instance();
    for (QLatin1String key :
        {SettingKeys::dropBoxToken, SettingKeys::dropBoxDisplayName, SettingKeys::dropBoxEmail,
            SettingKeys::dropBoxTotal, SettingKeys::dropBoxUsage, SettingKeys::dropBoxQuota})
        settings->setValue(key, QStringLiteral(""));
    emit linkedChanged();
}
