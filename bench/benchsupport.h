#pragma once

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QString>
#include <QTemporaryDir>

// Helpers the benchmark programs share.

// Drawing into pictures needs no desktop session; a platform chosen in the environment still
// wins.
inline void preferOffscreen()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

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

// Opaque random pixels, the same on every run: a picture that no cache or compression flatters.
inline QImage noisePicture(const QSize &size)
{
    QImage picture(size, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < picture.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            line[x] = random.generate() | 0xff000000u;
    }
    return picture;
}
