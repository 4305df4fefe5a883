#ifndef CORETESTSUPPORT_H
#define CORETESTSUPPORT_H

#include "autorization.h"
#include "serviceaddress.h"
#include "standinservice.h"

#include <QSignalSpy>
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

#endif // CORETESTSUPPORT_H
