#include "serviceaddress.h"

#include <QUrl>

namespace {

// No public service exists; these names under the reserved domain never resolve to one.
const QString kDefaultWebHost = QStringLiteral("kuvo.example");
const QString kDefaultApiHost = QStringLiteral("api.kuvo.example");
QString s_webHost = kDefaultWebHost;
QString s_apiHost = kDefaultApiHost;
QString s_fixedHost = QStringLiteral("stat.kuvo.example");

QString secure(const QString &host, const char *path)
{
    return QStringLiteral("https://") + host + QLatin1String(path);
}

QString plain(const QString &host, const char *path)
{
    return QStringLiteral("http://") + host + QLatin1String(path);
}

} // namespace

QString ServiceAddress::webHost()
{
    return s_webHost;
}

QString ServiceAddress::apiHost()
{
    return s_apiHost;
}

void ServiceAddress::setWebHost(const QString &host)
{
    s_webHost = host;
}

void ServiceAddress::setApiHost(const QString &host)
{
    s_apiHost = host;
}

QString ServiceAddress::fixedHost()
{
    return s_fixedHost;
}

void ServiceAddress::setFixedHost(const QString &host)
{
    s_fixedHost = host;
}

QStringList ServiceAddress::betaArguments()
{
    if (s_webHost == kDefaultWebHost && s_apiHost == kDefaultApiHost)
        return {};
    return {QStringLiteral("-beta"), s_webHost, s_apiHost};
}

bool ServiceAddress::isOnApiHost(const QUrl &url)
{
    const QUrl api(secure(s_apiHost, ""));
    return url.isValid() && url.scheme() == QLatin1String("https") && !url.host().isEmpty()
        && url.userInfo().isEmpty() && url.host().compare(api.host(), Qt::CaseInsensitive) == 0
        && url.port(443) == api.port(443);
}

QString ServiceAddress::serverInit()
{
    return secure(s_apiHost, "/drive/v1/files?fields=id,alternateLink,selfLink");
}

QString ServiceAddress::serverUploadUrl()
{
    return secure(s_apiHost, "/upload/drive/v1/files");
}

QString ServiceAddress::serverDel()
{
    return secure(s_apiHost, "/api/url/");
}

QString ServiceAddress::serverAuth()
{
    return secure(s_apiHost, "/oauth/token");
}

QString ServiceAddress::serverHelp()
{
    return plain(s_apiHost, "/help");
}

// The history address carries the access token, so it travels over TLS like the others.
QString ServiceAddress::serverHistory()
{
    return secure(s_webHost, "/login/");
}

QString ServiceAddress::serverAnalitics()
{
    return plain(s_fixedHost, "/collect");
}

QString ServiceAddress::pingUrl()
{
    return plain(s_fixedHost, "/ping?q=");
}

QString ServiceAddress::feedbackUrl()
{
    return plain(s_fixedHost, "/support/tickets/");
}

QString ServiceAddress::authorizeUrl()
{
    return secure(s_webHost, "/oauth/authorize");
}

QString ServiceAddress::userInfoUrl()
{
    return secure(s_apiHost, "/api/user/info");
}

QString ServiceAddress::updateCheckUrl()
{
    return secure(s_apiHost, "/update/check");
}
