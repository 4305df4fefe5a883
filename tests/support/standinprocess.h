#pragma once

#include <QByteArray>
#include <QHash>
#include <QJsonArray>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QSslCertificate>
#include <QString>
#include <QStringList>

// One of the local stand-in servers of tests/support (a Python script) as a child process for
// the lifetime of this object: started with the build's certificate, asked through HTTPS calls
// that trust the build's own CA (nothing here ignores certificate errors), and ended with it.
class StandinProcess
{
public:
    // name: how messages call it ("stand-in service").
    explicit StandinProcess(const QString &name);
    ~StandinProcess();

    // Starts the script with extraArgs and waits, at most 10 s, until it has printed a line
    // "<listener> <port>" for every listener named; on failure says why through qWarning().
    bool start(const QString &script, const QStringList &listeners, const QStringList &extraArgs);
    // "127.0.0.1:<port>" of a listener.
    QString host(const QString &listener) const;

    // A call to the "https" listener, bounded to 5 s; a failure is a qWarning and no bytes.
    QByteArray call(const QByteArray &verb, const QString &path, const QByteArray &body = {},
        const QByteArray &contentType = "application/json");

    static QString certificateFile(const char *name);
    static QList<QSslCertificate> authority();
    // The recorded requests whose path (without query) equals path.
    static QJsonArray onPath(const QJsonArray &requests, const QString &path);
    // One of the request lists the stand-in keeps ("arrivals"), through its control endpoint;
    // or only those entries whose path equals path.
    QJsonArray listed(const QString &list, const QString &path = {});

private:
    Q_DISABLE_COPY(StandinProcess)
    void readErrors();

    QString m_name;
    QProcess m_process;
    QNetworkAccessManager m_network;
    QByteArray m_errors;
    QHash<QString, int> m_ports;
    bool m_ready = false;
};
