#ifndef PACKAGESIGNATURE_H
#define PACKAGESIGNATURE_H

#include <QByteArray>
#include <QString>

// The maker signs every update package with an Ed25519 key whose public half is compiled into
// the program. A checksum that comes with the download address proves only that the transfer
// was whole; this signature proves who made the package, so nothing else is ever run.
class PackageSignature
{
public:
    static constexpr int kSize = 64;

    // True when signature is the maker's signature over exactly these bytes.
    static bool verify(const uchar *data, qint64 size, const QByteArray &signature);
    // The same over a whole file, read through a memory map: packages may be large.
    static bool verifyFile(const QString &path, const QByteArray &signature);
};

#endif // PACKAGESIGNATURE_H
