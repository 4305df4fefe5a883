// Service addresses and the small accessors the pages read from the controller.

#include "core.h"
#include "serviceaddress.h"
#include "setting.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QFile>
#include <QUrl>

QString Core::hostUrl() const
{
    return ServiceAddress::apiHost();
}

QString Core::hostUrlAuth() const
{
    return ServiceAddress::webHost();
}

void Core::setHostUrl(const QString &host)
{
    ServiceAddress::setApiHost(host);
}

void Core::setHostUrlAuth(const QString &host)
{
    ServiceAddress::setWebHost(host);
}

QString Core::serverInit() const
{
    return ServiceAddress::serverInit();
}

QString Core::serverUploadUrl() const
{
    return ServiceAddress::serverUploadUrl();
}

QString Core::serverDel() const
{
    return ServiceAddress::serverDel();
}

QString Core::serverAuth() const
{
    return ServiceAddress::serverAuth();
}

QString Core::serverHelp() const
{
    return ServiceAddress::serverHelp();
}

QString Core::serverHistory() const
{
    return ServiceAddress::serverHistory();
}

QString Core::serverAnalitics() const
{
    return ServiceAddress::serverAnalitics();
}

QString Core::pingUrl() const
{
    return ServiceAddress::pingUrl();
}

QString Core::feedbackUrl() const
{
    return ServiceAddress::feedbackUrl();
}

QString Core::userAgent() const
{
    return QCoreApplication::applicationName() + QLatin1Char(' ')
        + QCoreApplication::applicationVersion();
}

QString Core::appVersion() const
{
    return QCoreApplication::applicationVersion();
}

QString Core::getWindowsManager() const
{
    return QString::fromLocal8Bit(qgetenv("XDG_CURRENT_DESKTOP")).toLower();
}

QString Core::clipboardText() const
{
    return m_clipboard ? m_clipboard->text() : QString();
}

void Core::openUrl(const QString &url)
{
    openInBrowser(QUrl::fromUserInput(url), url);
}

QColor Core::getColorFromX(int x)
{
    return windows()->getColorFromX(x);
}

QString Core::licenseText() const
{
    const bool english
        = Setting::instance()->getValue(SettingKeys::language) == QLatin1String("en");
    QFile file(QStringLiteral(":/license/license/license%1.txt")
                   .arg(english ? QStringLiteral("_en") : QString()));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray text = file.readAll();
    const int zero = text.indexOf('\0');
    return QString::fromUtf8(zero < 0 ? text : text.left(zero));
}

void Core::addAnalyticsEvent(AnalyticsEvent::AnalyticsEventCategory category,
    AnalyticsEvent::AnalyticsEventAction action, bool is_sendEvent, const QString &value)
{
    new AnalyticsEvent(category, action, is_sendEvent, value);
}

void Core::addAnalyticsEvent(int category, int action, bool is_sendEvent, const QString &value)
{
    addAnalyticsEvent(AnalyticsEvent::AnalyticsEventCategory(category),
        AnalyticsEvent::AnalyticsEventAction(action), is_sendEvent, value);
}
