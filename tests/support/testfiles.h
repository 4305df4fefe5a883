#pragma once

#include <QFile>
#include <QProcess>

// What a file holds, or a marker no test writes when it cannot be read.
inline QByteArray contents(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

inline bool writeFile(const QString &fileName, const QByteArray &data)
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.flush();
}

// Changes an SQLite file as another program would: Python runs code on the connection c, with
// values as the list a, and commits.
inline bool changeSqliteFile(
    const QString &name, const QString &code, const QStringList &values = {})
{
    const QString script
        = "import sqlite3, sys; c = sqlite3.connect(sys.argv[1]); a = sys.argv[2:]; " + code
        + "; c.commit()";
    return QProcess::execute(KUVO_TEST_PYTHON3, QStringList {"-c", script, name} + values) == 0;
}
