#include "randomfile.h"

#include <QCryptographicHash>
#include <QFile>
#include <QRandomGenerator>

QByteArray writeRandomFile(const QString &path, qint64 size)
{
    const int piece = 1 << 20;
    QByteArray bytes(piece, Qt::Uninitialized);
    QCryptographicHash md5(QCryptographicHash::Md5);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QByteArray();
    for (qint64 written = 0; written < size; written += piece) {
        const int length = int(qMin<qint64>(piece, size - written));
        QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(bytes.data()), piece / 4);
        md5.addData(bytes.constData(), length);
        if (file.write(bytes.constData(), length) != length)
            return QByteArray();
    }
    return md5.result();
}

RandomFile makeRandomFile(const QString &path, qint64 size)
{
    const QByteArray md5 = writeRandomFile(path, size);
    if (md5.isEmpty())
        return {};
    return {path, size, QString::fromLatin1(md5.toHex())};
}
