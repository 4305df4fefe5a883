#pragma once

#include <QByteArray>
#include <QString>

// Writes `size` random bytes to path, a mebibyte at a time, so the writer never holds the
// whole file (which would hide in a memory figure a file read whole by the code measured).
// Returns the MD5 of the bytes (raw), or nothing when the file could not be written.
QByteArray writeRandomFile(const QString &path, qint64 size);

// A random file made for a test, with the MD5 (hex) a server should report for it.
struct RandomFile
{
    QString path;
    qint64 size = 0;
    QString md5;
};

// Like writeRandomFile; all fields are empty when the file could not be written.
RandomFile makeRandomFile(const QString &path, qint64 size);
