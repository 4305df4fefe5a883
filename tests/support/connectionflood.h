#pragma once

#include "otheruser.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <QtDebug>

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
        QFile script(QStringLiteral(KUVO_CONNECTION_FLOOD_SCRIPT));
        if (!script.open(QIODevice::ReadOnly))
            return false;
        m_before = openDescriptors();
        // The script goes in on standard input: the other user may not reach into the folder
        // this checkout lies in.
        const QStringList arguments {
            QStringLiteral("-"), kind, where, QString::number(count), QString::number(seconds)};
        if (otherUser && OtherUser::available())
            OtherUser::start(m_process, QStringLiteral(KUVO_TEST_PYTHON3), arguments);
        else
            m_process.start(QStringLiteral(KUVO_TEST_PYTHON3), arguments);
        if (!m_process.waitForStarted(5000))
            return false;
        m_process.write(script.readAll());
        m_process.closeWriteChannel();
        return true;
    }

    struct Outcome
    {
        int held = -1; // connections that stood; -1 when the flood did not say within 30 s
        int mostDescriptors = 0; // the most this process had open beyond those before
    };
    // Waits until every connection was tried, and a moment longer. Events are handled
    // meanwhile, the listener's among them, without the pauses of QTest::qWait, which would
    // let the listener's queue fill up.
    Outcome wait()
    {
        Outcome outcome;
        auto look = [&] {
            outcome.mostDescriptors = qMax(outcome.mostDescriptors, openDescriptors() - m_before);
        };
        QDeadlineTimer deadline(30000);
        // Wakes the wait below when nothing else happens, a flood that died among it.
        QTimer alarm;
        alarm.setSingleShot(true);
        alarm.start(int(deadline.remainingTime()));
        while (!m_process.canReadLine() && m_process.state() != QProcess::NotRunning
            && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            look();
        }
        if (m_process.canReadLine()) {
            const QList<QByteArray> words = m_process.readLine().trimmed().split(' ');
            outcome.held = words.size() == 2 ? words.at(1).toInt() : -1;
        } else {
            qWarning().noquote() << "The connection flood said nothing:"
                                 << m_process.readAllStandardError();
        }
        QTest::qWait(200);
        look();
        return outcome;
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
    int m_before = 0;
};
