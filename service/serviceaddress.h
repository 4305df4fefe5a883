#ifndef SERVICEADDRESS_H
#define SERVICEADDRESS_H

#include <QString>
#include <QStringList>

class QUrl;

// The one place where the addresses of the service are built. A start with "-beta" replaces
// the two hosts, and with them every address the account, the uploads and the updater use.
// A host may carry a port ("127.0.0.1:8443").
class ServiceAddress
{
public:
    static QString webHost();
    static QString apiHost();
    static void setWebHost(const QString &host);
    static void setApiHost(const QString &host);

    // The analytics, connectivity and support endpoints stay on a host of their own, which
    // "-beta" does not move; tests point it at a local server.
    static QString fixedHost();
    static void setFixedHost(const QString &host);

    // "-beta" with the two hosts when they were replaced, else nothing: a program started again
    // on its own (after an update) keeps talking to the hosts it was started with.
    static QStringList betaArguments();
    // An https address on the API host, its port included.
    static bool isOnApiHost(const QUrl &url);

    static QString serverInit();
    static QString serverUploadUrl();
    static QString serverDel();
    static QString serverAuth();
    static QString serverHelp();
    static QString serverHistory();
    static QString serverAnalitics();
    static QString pingUrl();
    static QString feedbackUrl();

    static QString authorizeUrl(); // the browser sign-in page
    static QString userInfoUrl(); // name, e-mail, avatar and quota of the account
    static QString updateCheckUrl(); // newest version for a platform
};

#endif // SERVICEADDRESS_H
