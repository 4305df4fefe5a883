#include "browser.h"

#include "logging.h"

#include <QDebug>
#include <QDesktopServices>
#include <QUrl>

bool Browser::open(const QUrl &url, const QString &address)
{
    if (QDesktopServices::openUrl(url))
        return true;
    qDebug() << Q_FUNC_INFO << "no browser for" << address;
    Logging::instance()->writeMessage(QStringLiteral("Cannot open the browser at %1").arg(address));
    return false;
}

QString Browser::failureText()
{
    return tr("The browser could not be opened");
}
