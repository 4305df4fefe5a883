#include "testbrowser.h"
#include "standinprocess.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSignalSpy>
#include <QSslConfiguration>

TestBrowser::TestBrowser()
{
    m_network.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
}

int TestBrowser::get(const QUrl &url, QUrl *location)
{
    QNetworkRequest request(url);
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.addCaCertificates(StandinProcess::authority());
    request.setSslConfiguration(tls);
    QNetworkReply *reply = m_network.get(request);
    QSignalSpy finished(reply, &QNetworkReply::finished);
    if (!reply->isFinished())
        finished.wait(5000);
    reply->deleteLater();
    if (location)
        *location = QUrl::fromEncoded(reply->rawHeader("Location"), QUrl::StrictMode);
    return reply->isFinished() ? reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt()
                               : 0;
}
