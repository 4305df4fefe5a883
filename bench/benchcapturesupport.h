#pragma once

#include "serviceaddress.h"
#include "setting.h"

#include <QGuiApplication>

#include <cstdio>

// Helpers the capture benchmarks share.

// Readies a capture run on the X server of DISPLAY with a signed-in account whose service is a
// closed loopback port, so the signed-in paths run while nothing leaves the machine. False,
// with a line on stderr, without an X server.
inline bool prepareOfflineCapture()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        std::fprintf(stderr, "needs an X server\n");
        return false;
    }
    for (auto set :
        {&ServiceAddress::setApiHost, &ServiceAddress::setWebHost, &ServiceAddress::setFixedHost})
        set(QStringLiteral("127.0.0.1:9"));
    Setting::instance()->setValue(SettingKeys::token, QStringLiteral("bench-token"));
    return true;
}
