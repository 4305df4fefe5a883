#ifndef AUDIOFILES_H
#define AUDIOFILES_H

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QtEndian>
#include <QtMath>

#include <zlib.h>

// The two parts of the ".kia" files of the tests.

// A sine tone as a 16-bit PCM WAV recording.
inline QByteArray wavTone(
    int rate, int channels, double seconds, double frequency, double amplitude = 0.5)
{
    const int frames = int(rate * seconds);
    QByteArray samples(frames * channels * 2, Qt::Uninitialized);
    for (int i = 0; i < frames; ++i) {
        const auto value
            = qint16(qRound(amplitude * 32767 * qSin(2 * M_PI * frequency * i / rate)));
        for (int c = 0; c < channels; ++c)
            qToLittleEndian<qint16>(value, samples.data() + (i * channels + c) * 2);
    }
    auto u32 = [](quint32 v) {
        QByteArray b(4, '\0');
        qToLittleEndian<quint32>(v, b.data());
        return b;
    };
    auto u16 = [](quint16 v) {
        QByteArray b(2, '\0');
        qToLittleEndian<quint16>(v, b.data());
        return b;
    };
    return "RIFF" + u32(quint32(36 + samples.size())) + "WAVE" + "fmt " + u32(16) + u16(1)
        + u16(quint16(channels)) + u32(quint32(rate)) + u32(quint32(rate * channels * 2))
        + u16(quint16(channels * 2)) + u16(16) + "data" + u32(quint32(samples.size())) + samples;
}

inline QByteArray pngBytes(const QImage &picture)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return bytes;
}

// A PNG of side x side black pixels, grey or (with 4 channels) in colour with alpha, packed by
// zlib into a few megabytes: a small file that would take side * side * channels bytes and more
// once decoded.
inline QByteArray pngBomb(quint32 side, int channels = 1)
{
    auto chunk = [](const char *type, const QByteArray &data) {
        QByteArray bytes(4, '\0');
        qToBigEndian<quint32>(quint32(data.size()), bytes.data());
        const QByteArray body = type + data;
        QByteArray crc(4, '\0');
        qToBigEndian<quint32>(
            quint32(crc32(0, reinterpret_cast<const Bytef *>(body.constData()), uInt(body.size()))),
            crc.data());
        return bytes + body + crc;
    };
    QByteArray header(13, '\0');
    qToBigEndian<quint32>(side, header.data());
    qToBigEndian<quint32>(side, header.data() + 4);
    header[8] = 8; // bits per sample
    header[9] = channels == 4 ? 6 : 0; // colour type; no interlace
    z_stream zip = {};
    deflateInit2(&zip, 1, Z_DEFLATED, 15, 9, Z_RLE);
    QByteArray row(int(side) * channels + 1, '\0'); // filter byte, then the pixels
    QByteArray packed;
    QByteArray out(1 << 16, Qt::Uninitialized);
    for (quint32 y = 0; y <= side; ++y) {
        zip.next_in = reinterpret_cast<Bytef *>(row.data());
        zip.avail_in = y < side ? uInt(row.size()) : 0;
        do {
            zip.next_out = reinterpret_cast<Bytef *>(out.data());
            zip.avail_out = uInt(out.size());
            deflate(&zip, y < side ? Z_NO_FLUSH : Z_FINISH);
            packed.append(out.constData(), out.size() - int(zip.avail_out));
        } while (zip.avail_out == 0);
    }
    deflateEnd(&zip);
    return "\x89PNG\r\n\x1a\n" + chunk("IHDR", header) + chunk("IDAT", packed)
        + chunk("IEND", QByteArray());
}

#endif // AUDIOFILES_H
