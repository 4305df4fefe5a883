#pragma once

#include <QProcess>
#include <QStringList>

#include <unistd.h>

// Runs a program as another local user ("nobody"), to try what the program keeps for its own
// user from outside. Switching users needs root; otherwise the tests say why they skip.
namespace OtherUser {

inline bool available()
{
    return ::geteuid() == 0;
}

inline QString skipReason()
{
    return QStringLiteral("acting as a second local user needs root");
}

// Starts program as "nobody"; the caller waits for it.
inline void start(QProcess &process, const QString &program, const QStringList &arguments)
{
    process.start(QStringLiteral("setpriv"),
        QStringList {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
            QStringLiteral("--clear-groups"), QStringLiteral("--"), program}
            + arguments);
}

// Whether the other user gets at least one byte of path.
inline bool canRead(const QString &path)
{
    QProcess process;
    start(process, QStringLiteral("head"), {QStringLiteral("-c1"), path});
    return process.waitForFinished(10000) && process.exitCode() == 0
        && !process.readAllStandardOutput().isEmpty();
}

} // namespace OtherUser
