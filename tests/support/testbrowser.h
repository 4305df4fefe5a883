#pragma once

#include <QNetworkAccessManager>
#include <QUrl>

// Plays the user's browser in a sign-in: opens one address and, instead of following a
// redirect, hands it back, so the test decides where the browser goes next. It trusts the
// stand-ins' CA, as the program does.
class TestBrowser
{
public:
    TestBrowser();

    // The HTTP status (0 when nothing came within 5 s), and the redirect target if asked.
    int get(const QUrl &url, QUrl *location = nullptr);

private:
    QNetworkAccessManager m_network;
};
