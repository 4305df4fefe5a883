#include "zippacker.h"
#include "userfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

namespace {

const qint64 kChunk = 1 << 20;

// Written front to back only: the archive then carries each entry's sizes after its data
// instead of seeking back to its header, which would flush the write buffer every entry.
class ForwardOnlyFile : public QFile
{
public:
    using QFile::QFile;
    bool isSequential() const override { return true; }
};

// Copies one file into the archive, piece by piece: a big file never sits in memory whole.
QString addFile(
    QuaZip &zip, const QString &path, const QString &name, const std::atomic_bool &cancelled)
{
    QFile source(path);
    QString problem;
    if (!UserFile::open(source, path, &problem))
        return problem + QLatin1Char(' ') + ZipPacker::tr("It was not packed.");

    QuaZipNewInfo entryInfo(name);
    // The date of the file whose bytes are packed, not of whatever the name stands for now.
    entryInfo.dateTime = source.fileTime(QFileDevice::FileModificationTime);
    QuaZipFile entry(&zip);
    if (!entry.open(QIODevice::WriteOnly, entryInfo))
        return ZipPacker::tr("The archive cannot be written");
    for (qint64 left = source.size(); left > 0;) {
        if (cancelled)
            return ZipPacker::tr("Packing was cancelled");
        const QByteArray buffer = source.read(qMin(left, kChunk));
        if (buffer.isEmpty())
            return ZipPacker::tr("The file %1 cannot be read and was not packed").arg(path);
        if (entry.write(buffer) != buffer.size())
            return ZipPacker::tr("The archive cannot be written");
        left -= buffer.size();
    }
    entry.close();
    return entry.getZipError() == 0 ? QString() : ZipPacker::tr("The archive cannot be written");
}

} // namespace

QStringList ZipPacker::entryNames(const QStringList &files)
{
    QStringList names;
    QSet<QString> taken;
    for (const QString &path : files) {
        const QFileInfo info(path);
        QString name = info.fileName();
        for (int copy = 2; taken.contains(name.toLower()); ++copy) {
            const QString suffix = info.completeSuffix();
            name = info.baseName() + QStringLiteral(" (%1)").arg(copy)
                + (suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix);
        }
        taken.insert(name.toLower());
        names << name;
    }
    return names;
}

QString ZipPacker::pack(
    const QStringList &files, const QString &archive, const std::atomic_bool &cancelled)
{
    if (files.isEmpty())
        return tr("There are no files to pack");
    QString problem;
    {
        ForwardOnlyFile file(archive);
        QuaZip zip(&file);
        // Names in UTF-8, flagged as such, so that every unpacker shows non-ASCII letters.
        zip.setUtf8Enabled(true);
        if (!zip.open(QuaZip::mdCreate))
            return tr("The archive cannot be written");
        const QStringList names = entryNames(files);
        for (int i = 0; i < files.size() && problem.isEmpty(); ++i)
            problem = addFile(zip, files[i], names[i], cancelled);
        zip.close();
        if (problem.isEmpty() && zip.getZipError() != 0)
            problem = tr("The archive cannot be written");
        if (problem.isEmpty() && cancelled)
            problem = tr("Packing was cancelled");
    }
    if (!problem.isEmpty())
        QFile::remove(archive);
    return problem;
}
