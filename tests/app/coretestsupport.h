#ifndef CORETESTSUPPORT_H
#define CORETESTSUPPORT_H

#include "autorization.h"
#include "messagedialog.h"
#include "serviceaddress.h"
#include "standinservice.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QList>
#include <QSignalSpy>
#include <QTcpServer>
#include <QUrl>
#include <QtTest>

// Points every service address at the stand-in, so that nothing the controller starts
// leaves the machine.
inline void pointAt(StandinService &service)
{
    ServiceAddress::setApiHost(service.httpsHost());
    ServiceAddress::setWebHost(service.httpsHost());
    ServiceAddress::setFixedHost(service.httpHost());
}

// Signs the stand-in's demo account in through a separate account object.
inline bool signInDemo(Autorization &account)
{
    QSignalSpy changed(&account, &Autorization::authChanged);
    account.signIn(QStringLiteral("demo@kuvo.example"), QStringLiteral("kuvo-demo"));
    return changed.wait(10000) && Autorization::isAuth();
}

// The program's names, the stand-in started and every address pointed at it, the demo account
// signed in: what a controller test needs before it builds the controller.
inline bool startSignedIn(StandinService &service)
{
    QCoreApplication::setApplicationName(QStringLiteral("Kuvo"));
    QCoreApplication::setApplicationVersion(QStringLiteral("3.0.15"));
    if (!service.start())
        return false;
    pointAt(service);
    Autorization account;
    return signInDemo(account);
}

inline int visibleMessageWindows()
{
    int count = 0;
    for (const QWindow *window : QGuiApplication::topLevelWindows())
        count += window->isVisible() && qobject_cast<const MessageDialog *>(window);
    return count;
}

// The text of every message window shown while it lives, and the most that stood open at once.
struct MessageWatch : QObject
{
    MessageWatch() { QCoreApplication::instance()->installEventFilter(this); }
    bool eventFilter(QObject *object, QEvent *event) override
    {
        auto *window = qobject_cast<MessageDialog *>(object);
        if (window && event->type() == QEvent::Show) {
            shown << window->data(QStringLiteral("message")).toString();
            mostOpen = qMax(mostOpen, visibleMessageWindows() + !window->isVisible());
        }
        return false;
    }
    QStringList shown;
    int mostOpen = 0;
};

// A local port on which nothing listens.
inline quint16 closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

// Takes every "https" address the program hands to the desktop while it lives: the test sees
// it, and no browser opens.
class OpenedUrls : public QObject
{
    Q_OBJECT
public:
    OpenedUrls() { QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "open"); }
    ~OpenedUrls() override { QDesktopServices::unsetUrlHandler(QStringLiteral("https")); }
    OpenedUrls(const OpenedUrls &) = delete;
    OpenedUrls &operator=(const OpenedUrls &) = delete;

    const QList<QUrl> &urls() const { return m_urls; }
    void clear() { m_urls.clear(); }

public slots:
    void open(const QUrl &url) { m_urls << url; }

private:
    QList<QUrl> m_urls;
};

#endif // CORETESTSUPPORT_H
