#ifndef CURLTARGET_H
#define CURLTARGET_H

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVariant>

// One FTP or SFTP server as the settings or the connection check name it: where it is, how to
// log in, and the addresses built from that. The credentials never become part of an address.
class CurlTarget
{
    Q_DECLARE_TR_FUNCTIONS(CurlTarget)

public:
    enum Protocol { Ftp, Sftp };

    CurlTarget(Protocol protocol, const QString &host, int port, const QString &path,
        const QString &user, const QString &password, const QString &baseUrl = QString());

    static int defaultPort(Protocol protocol);
    // The port as the settings hold it or the page hands it over: a whole number, also when
    // written as "2121.0", as the page once stored it; the protocol's own when there is none,
    // and -1 (no port) for anything else.
    static int portFrom(const QVariant &value, Protocol protocol);

    Protocol protocol() const { return m_protocol; }
    QString scheme() const;
    QString host() const { return m_host; }
    // The host as it appears in the addresses: lower case, international names in ASCII, an
    // IPv6 address without brackets.
    QString urlHost() const;
    int port() const { return m_port; }
    QString user() const { return m_user; }
    QString password() const { return m_password; }
    // The remote folder as the user would write it, for messages.
    QString folder() const;

    // Why no transfer can use these settings, translated; empty when they are usable.
    QString problem() const;

    // Addresses for libcurl: the folder (ending in "/") and a file in it.
    QString folderUrl() const;
    QString fileUrl(const QString &fileName) const;
    // Where the uploaded file can be found: under the base url when one is set, else on the
    // server itself.
    QString link(const QString &fileName) const;

private:
    QString origin(bool alwaysWithPort) const;
    QString encodedFolder() const;

    Protocol m_protocol;
    QString m_host;
    int m_port;
    QStringList m_folder; // path segments, without empty ones
    QString m_user;
    QString m_password;
    QString m_baseUrl;
};

#endif // CURLTARGET_H
