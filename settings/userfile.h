#ifndef USERFILE_H
#define USERFILE_H

#include <QCoreApplication>
#include <QFile>

// Opens a file the user named, for reading. It is opened without waiting, since a FIFO would
// block the caller until someone writes to it, and judged by the open descriptor, since a check
// by name beforehand races with a swap of the file: only a regular file is taken. A refusal
// says what is wrong, so that the user can put it right.
class UserFile
{
    Q_DECLARE_TR_FUNCTIONS(UserFile)

public:
    // Opens path into file, read-only; a file larger than maxSize bytes is refused too (no
    // limit when maxSize is negative). On failure file stays closed and *problem says why.
    // The file is opened on the checked descriptor, so its fileName() is empty afterwards
    // and its size() is that of the file opened, whatever the name stands for later.
    static bool open(QFile &file, const QString &path, QString *problem, qint64 maxSize = -1);

private:
    static QString openProblem(const QString &path, int error);
    static QString notAFile(const QString &path);
};

#endif // USERFILE_H
