#pragma once

#include "standinprocess.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

// Runs tests/support/dropbox_standin.py, the local stand-in of Dropbox's API v2, as a child
// process for the lifetime of this object, and drives it through its control endpoints. One
// HTTPS port serves Dropbox's api, content and web hosts alike, with a certificate of the
// build's own CA.
class DropboxStandin
{
public:
    DropboxStandin();
    ~DropboxStandin();

    // Starts the stand-in with the build's certificate and extraArgs (see the script's
    // options) and waits, at most 10 s, until it listens.
    bool start(const QStringList &extraArgs = {});

    // "127.0.0.1:<port>": the api, content and web host at once.
    QString host() const;

    // Every request except control calls whose body has been read (or cut short), in that
    // order, with everything about it; or only those whose path (without query) equals path.
    // A request is listed before its answer leaves.
    QJsonArray requests();
    QJsonArray requests(const QString &path);
    // Every request whose headers have arrived, in arrival order, with its headers only, or
    // those on path: for a test that acts while a request is still on its way, or that wants
    // none sent at all.
    QJsonArray arrivals(const QString &path = {});
    // The stored files by lower-case path: {"path_display", "size", "md5"}.
    QJsonObject files();
    // Forgets requests, files, shared links, sessions, failures, delays and options.
    void reset();
    // A fresh token answer of the account, as /oauth2/token gives it: "access_token",
    // "refresh_token", "expires_in"; empty on failure.
    QJsonObject issueToken(int expiresIn = 4 * 3600);
    // Every access token issued so far is refused as expired from now on.
    void expireTokens();
    // Space used beside the stored files, and the allocation of the account.
    void setSpace(qint64 used, qint64 allocated);
    // The 409 for an already shared file then carries no metadata of the link.
    void setBareLinkConflict(bool bare);
    // The next `times` requests whose path starts with path are answered with status.
    void failNext(const QString &path, int status, int times = 1);
    // Requests whose path starts with path wait that long before being read and answered.
    void delay(const QString &path, double seconds);

private:
    Q_DISABLE_COPY(DropboxStandin)

    QByteArray control(
        const QByteArray &verb, const QString &action, const QJsonObject &order = {});

    StandinProcess m_process;
};
