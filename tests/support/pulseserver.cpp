#include "pulseserver.h"

#include <QDeadlineTimer>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QThread>

namespace {

bool writeText(const QString &fileName, const QByteArray &text)
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

// Client side: never start a server of the user's own on demand.
bool writeClientConfig(const QString &folder)
{
    const QString config = folder + QStringLiteral("/client.conf");
    qputenv("PULSE_CLIENTCONFIG", QFile::encodeName(config));
    return writeText(config, "autospawn = no\n");
}

} // namespace

PulseServer::~PulseServer()
{
    if (m_server.state() == QProcess::NotRunning)
        return;
    m_server.terminate();
    if (!m_server.waitForFinished(5000)) {
        m_server.kill();
        m_server.waitForFinished(5000);
    }
}

bool PulseServer::start()
{
    const QString root = m_folder.path();
    const QString config = root + QStringLiteral("/server.pa");
    if (!writeClientConfig(root)
        || !writeText(config,
            "load-module module-null-sink sink_name=kuvotest\n"
            "set-default-sink kuvotest\n"
            "set-default-source kuvotest.monitor\n"
            // Last: its socket shows that the sink and the source are ready.
            "load-module module-native-protocol-unix\n"))
        return false;

    // The server keeps its socket, cookie and state in folders of its own.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root);
    env.insert(QStringLiteral("HOME"), root);
    env.remove(QStringLiteral("PULSE_SERVER"));
    m_server.setProcessEnvironment(env);
    m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_server.start(QStringLiteral("pulseaudio"),
        {QStringLiteral("-n"), QStringLiteral("--daemonize=no"),
            QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--disallow-exit"),
            QStringLiteral("--log-level=error"), QStringLiteral("-F"), config});
    if (!m_server.waitForStarted(5000)) {
        qWarning() << "pulseaudio did not start:" << m_server.errorString();
        return false;
    }
    const QString socket = root + QStringLiteral("/pulse/native");
    const QDeadlineTimer deadline(10000);
    while (!QFileInfo(socket).exists() && !deadline.hasExpired()
        && m_server.state() == QProcess::Running)
        QThread::msleep(20);
    if (!QFileInfo(socket).exists()) {
        qWarning() << "pulseaudio did not open" << socket;
        return false;
    }
    qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(socket));
    return true;
}

void PulseServer::useNoServer()
{
    static QTemporaryDir folder;
    writeClientConfig(folder.path());
    qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(folder.path()) + "/no-such-server");
}
