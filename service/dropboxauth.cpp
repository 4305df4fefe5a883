#include "dropboxauth.h"
#include "setting.h"

#include <QDebug>

namespace {

const QString kTokenKey = QStringLiteral("drop_box_token_apiv2");

QString stored(const char *key)
{
    return Setting::instance()->getValue(QLatin1String(key)).toString();
}

} // namespace

DropboxAuth::DropboxAuth(QObject *parent)
    : QObject(parent)
{
}

bool DropboxAuth::linked() const
{
    return !Setting::instance()->getValue(kTokenKey, true).toString().isEmpty();
}

QString DropboxAuth::displayName() const
{
    return stored("drop_box_display_name");
}

QString DropboxAuth::email() const
{
    return stored("drop_box_email");
}

void DropboxAuth::unlink()
{
    qDebug() << Q_FUNC_INFO;
    Setting *settings = Setting::instance();
    // Without a signed-in account the cipher has no key and the enciphered write stays in
    // memory; the plain write empties the stored row, so the link does not come back on the
    // next start.
    settings->setValue(kTokenKey, QStringLiteral(""));
    settings->setValue(kTokenKey, QStringLiteral(""), true);
    for (const char *key : {"drop_box_token", "drop_box_display_name", "drop_box_email",
             "drop_box_total", "drop_box_usage", "drop_box_quota"})
        settings->setValue(QLatin1String(key), QStringLiteral(""));
    emit linkedChanged();
}
