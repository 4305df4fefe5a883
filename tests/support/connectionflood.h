#pragma once

#include "otheruser.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>

// tests/support/connection_flood.py in a process of its own: many connections to one of the
// program's listeners, held open; from another local user when asked and the test runs as
// root.
class ConnectionFlood
{
public:
    // kind: "tcp" (where: the port) or "unix" (where: the socket's path).
    bool start(
        const QString &kind, const QString &where, int count, int seconds, bool otherUser = true)
    {
        const QStringList arguments { QStringLiteral(KUVO_CONNECTION_FLOOD_SCRIPT), kind, where,
            QString::number(count), QString::number(seconds) };
        if (otherUser && OtherUser::available())
            OtherUser::start(m_process, QStringLiteral(KUVO_TEST_PYTHON3), arguments);
        else
            m_process.start(QStringLiteral(KUVO_TEST_PYTHON3), arguments);
        return m_process.waitForStarted(5000);
    }
    // How many connections stood, once all were tried (-1 when the flood did not say within
    // 30 s). Events are handled meanwhile, the listener's among them, without the pauses of
    // QTest::qWait, which would let the listener's queue fill up; `watch` runs after each.
    template <typename Watch> int waitHeld(Watch watch)
    {
        QDeadlineTimer deadline(30000);
        while (!m_process.canReadLine() && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            watch();
        }
        if (!m_process.canReadLine())
            return -1;
        const QList<QByteArray> words = m_process.readLine().trimmed().split(' ');
        return words.size() == 2 ? words.at(1).toInt() : -1;
    }
    ~ConnectionFlood()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }

    // The descriptors this process has open.
    static int openDescriptors() { return QDir(QStringLiteral("/proc/self/fd")).count() - 2; }

private:
    QProcess m_process;
};
