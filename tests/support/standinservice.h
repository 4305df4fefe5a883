#pragma once

#include "standinprocess.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

// Runs tests/support/standin_service.py, the local stand-in of the maker's web service, as a
// child process for the lifetime of this object, and drives it through its control endpoints.
// The stand-in serves TLS with a certificate of the build's own CA, which every control call
// trusts; nothing here ignores certificate errors.
class StandinService
{
public:
    StandinService();
    ~StandinService();

    // Starts the stand-in with the build's certificate and extraArgs (see the script's
    // options) and waits, at most 10 s, until both listeners are ready.
    bool start(const QStringList &extraArgs = {});

    // "127.0.0.1:<port>" of the HTTPS listener (the service) and the plain HTTP one
    // (analytics, ping).
    QString httpsHost() const;
    QString httpHost() const;

    // The CA certificate the stand-in's server certificate is signed with.
    QString caFile() const;
    // Adds that CA to QSslConfiguration::defaultConfiguration(), for code under test that does
    // not trust the compiled-in copy by itself.
    static void trustStandinCa();

    // Every request except control calls whose body has been read (or cut short), in that
    // order, with everything about it; or only those whose path (without query) equals path.
    // A request is listed before its answer leaves.
    QJsonArray requests();
    QJsonArray requests(const QString &path);
    // Every request whose headers have arrived, in arrival order, with its headers only, or
    // those on path: for a test that acts while a request is still on its way, or that wants
    // none sent at all.
    QJsonArray arrivals(const QString &path = {});
    // Forgets the recorded requests, planned failures and delays.
    void reset();
    // The update check offers version, served from file and signed with the build's key; md5
    // replaces the file's checksum, order adds "sig", "url", "pieces", "pause" (see the script).
    void offerUpdate(const QString &version, const QString &file, const QString &md5 = {},
        QJsonObject order = {});
    void withdrawUpdate();
    // The next `times` requests whose path starts with path are answered with status.
    void failNext(const QString &path, int status, int times = 1);
    // Requests whose path starts with path wait that long before being read and answered;
    // 0 removes the delay.
    void delay(const QString &path, double seconds);
    // A fresh access token of the account, by the password grant; empty on failure.
    QString issueToken(const QString &email = QStringLiteral("demo@kuvo.example"),
        const QString &password = QStringLiteral("kuvo-demo"));

private:
    Q_DISABLE_COPY(StandinService)

    QByteArray control(const QByteArray &verb, const QString &action, const QByteArray &body = {});

    StandinProcess m_process;
};
