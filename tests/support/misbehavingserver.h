#pragma once

#include "standinprocess.h"

#include <QStringList>

// Runs tests/support/misbehaving_server.py: a server on 127.0.0.1 (HTTPS with the build's
// certificate, and plain HTTP) that answers every request in one wrong way chosen by setMode
// (the modes are listed in the script).
class MisbehavingServer
{
public:
    MisbehavingServer();

    bool start();
    QString httpsHost() const { return m_process.host(QStringLiteral("https")); }
    QString httpHost() const { return m_process.host(QStringLiteral("http")); }
    // Chooses the answer and forgets the paths seen so far.
    void setMode(const QString &mode);
    // The paths of the requests that arrived since the last setMode.
    QStringList paths();

private:
    StandinProcess m_process;
};
