#ifndef AUDIOFILES_H
#define AUDIOFILES_H

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QtEndian>
#include <QtMath>

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

#endif // AUDIOFILES_H
