#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

// Helpers the benchmark programs share.

// Points HOME and XDG_CONFIG_HOME into home and quiets debug lines, before the application
// object exists: a benchmark run leaves the user's settings alone.
inline void useTemporaryHome(const QTemporaryDir &home)
{
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8());
    qputenv("QT_LOGGING_RULES", "*.debug=false");
}

// A figure of /proc/<pid>/status in MB ("VmRSS" now, "VmHWM" the peak); -1 when unreadable.
inline double statusMegabytes(const char *field, const QString &pid = QStringLiteral("self"))
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray name = QByteArray(field) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(name))
            return line.mid(name.size()).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}
