#ifndef ZIPPACKER_H
#define ZIPPACKER_H

#include <QCoreApplication>
#include <QStringList>

#include <atomic>

// Packs files into one zip archive. Runs on a worker task: it touches no object of the GUI
// thread and stops soon after `cancelled` turns true.
class ZipPacker
{
    Q_DECLARE_TR_FUNCTIONS(ZipPacker)

public:
    // The empty text when the archive holds every file whole; otherwise what went wrong, and
    // no archive is left behind.
    static QString pack(
        const QStringList &files, const QString &archive, const std::atomic_bool &cancelled);

    // The name each file gets inside the archive: its own name, with " (2)", " (3)", ...
    // before the extension when two files share one.
    static QStringList entryNames(const QStringList &files);
};

#endif // ZIPPACKER_H
