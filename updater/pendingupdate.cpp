#include "pendingupdate.h"
#include "packagesignature.h"
#include "paths.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

#include <limits>

namespace {

constexpr qint64 kCopyChunk = 1 << 20;

// Where the program is started from: a folder of the user's own, not a fixed name in the
// shared temporary folder, which another user could have prepared.
QString launchFolder()
{
    return Paths::settingsFolder() + QStringLiteral("launch/");
}

QByteArray readSignature()
{
    QFile file(PendingUpdate::signatureFile());
    return file.open(QIODevice::ReadOnly) ? file.read(PackageSignature::kSize + 1) : QByteArray();
}

bool copyEntry(QuaZipFile &entry, QFile &target)
{
    while (!entry.atEnd()) {
        const QByteArray chunk = entry.read(kCopyChunk);
        if (chunk.isEmpty() || target.write(chunk) != chunk.size())
            return false;
    }
    return entry.getZipError() == 0 && target.flush();
}

// The program out of the verified package bytes, never out of the unpacked copy beside it.
QString writeProgram(const QByteArray &package, QString *problem)
{
    QBuffer buffer;
    buffer.setData(package);
    QuaZip zip(&buffer);
    const QString name = PendingUpdate::programName();
    if (!zip.open(QuaZip::mdUnzip) || !zip.setCurrentFile(name, QuaZip::csSensitive)) {
        *problem = QStringLiteral("the signed package holds no %1").arg(name);
        return {};
    }
    const QString folder = launchFolder();
    const QString path = folder + name;
    QFile::remove(path);
    QuaZipFile entry(&zip);
    QFile target(path);
    const bool written = Paths::makePrivateFolder(folder) && entry.open(QIODevice::ReadOnly)
        && target.open(QIODevice::WriteOnly)
        && target.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)
        && copyEntry(entry, target);
    if (!written) {
        *problem = QStringLiteral("cannot write %1: %2").arg(path, target.errorString());
        target.remove();
        return {};
    }
    return path;
}

} // namespace

namespace PendingUpdate {

QString folder()
{
    return Paths::settingsFolder() + QStringLiteral("update/");
}

QString packageFile()
{
    return folder() + QStringLiteral("package.zip");
}

QString signatureFile()
{
    return folder() + QStringLiteral("package.sig");
}

QString programName()
{
    return QStringLiteral("Kuvo.exe");
}

bool isWaiting()
{
    return QFileInfo::exists(folder() + programName());
}

QString prepareLaunch(QString *problem)
{
    QFile package(packageFile());
    // Held whole in one byte array for unpacking, which Qt 5 bounds by int.
    const bool fits = package.size() > 0 && package.size() <= std::numeric_limits<int>::max();
    const uchar *data
        = fits && package.open(QIODevice::ReadOnly) ? package.map(0, package.size()) : nullptr;
    // Verified and unpacked from the same mapped bytes: a file renamed into its place in
    // between cannot slip through.
    if (!PackageSignature::verify(data, package.size(), readSignature())) {
        // What does not verify now never will: no later start is to meet it again.
        QDir(folder()).removeRecursively();
        *problem = QStringLiteral("its package does not carry the maker's signature; removed");
        return {};
    }
    return writeProgram(
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(package.size())),
        problem);
}

} // namespace PendingUpdate
