#ifndef CHECKEDSAVEFILE_H
#define CHECKEDSAVEFILE_H

#include <QCoreApplication>
#include <QSaveFile>

// Replaces a file in one step, like QSaveFile, but counts every byte onto the disk: QSaveFile
// buffers small writes and ignores a short write at its final flush, so on a full disk it
// would put a truncated file in place of the old one and still report success. Here every
// write goes straight to the file, is repeated until it is whole or fails, and the file is
// synced and its size checked before it replaces the old one.
class CheckedSaveFile
{
    Q_DECLARE_TR_FUNCTIONS(CheckedSaveFile)

public:
    explicit CheckedSaveFile(const QString &fileName);

    bool open();
    bool write(const QByteArray &bytes);
    // Syncs, checks the size and renames over the target; on any failure the target stays as
    // it was and the temporary file is gone.
    bool commit();
    void cancel();
    QString errorString() const { return m_problem; }

    // fileName replaced by bytes; on failure *problem says why.
    static bool writeWhole(const QString &fileName, const QByteArray &bytes, QString *problem);
    // target replaced by a full copy of source, read in blocks.
    static bool copyOver(const QString &source, const QString &target, QString *problem);

private:
    bool fail(const QString &problem);

    QSaveFile m_file;
    qint64 m_written = 0;
    QString m_problem;
};

#endif // CHECKEDSAVEFILE_H
