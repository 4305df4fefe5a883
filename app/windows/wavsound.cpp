#include "wavsound.h"

#include <QtEndian>

namespace {

constexpr quint16 kIntegerPcm = 1;
constexpr quint16 kFloatPcm = 3;
constexpr quint16 kExtensible = 0xfffe;

quint16 take16(const QByteArray &bytes, int at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

quint32 take32(const QByteArray &bytes, int at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

// The sample format of a "fmt " chunk of size bytes at offset at; invalid when it is no PCM
// that an audio device can be asked for.
QAudioFormat readFormat(const QByteArray &bytes, int at, quint32 size)
{
    QAudioFormat format;
    if (size < 16)
        return format;
    quint16 tag = take16(bytes, at);
    // The extensible form names the real tag as the first two bytes of its sub-format.
    if (tag == kExtensible && size >= 26)
        tag = take16(bytes, at + 24);
    const int channels = take16(bytes, at + 2);
    const quint32 rate = take32(bytes, at + 4);
    const int bits = take16(bytes, at + 14);
    const bool integer
        = tag == kIntegerPcm && (bits == 8 || bits == 16 || bits == 24 || bits == 32);
    const bool real = tag == kFloatPcm && bits == 32;
    if (!(integer || real) || channels < 1 || channels > 8 || rate < 1000 || rate > 384000)
        return format;
    format.setCodec(QStringLiteral("audio/pcm"));
    format.setByteOrder(QAudioFormat::LittleEndian);
    format.setChannelCount(channels);
    format.setSampleRate(int(rate));
    format.setSampleSize(bits);
    if (real)
        format.setSampleType(QAudioFormat::Float);
    else
        format.setSampleType(bits == 8 ? QAudioFormat::UnSignedInt : QAudioFormat::SignedInt);
    return format;
}

} // namespace

WavSound WavSound::parse(const QByteArray &bytes)
{
    WavSound sound;
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return sound;
    qint64 at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(int(at), 4);
        const quint32 size = take32(bytes, int(at + 4));
        const qint64 body = at + 8;
        const qint64 left = bytes.size() - body;
        if (id == "fmt " && size <= left) {
            sound.m_format = readFormat(bytes, int(body), size);
        } else if (id == "data") {
            if (!sound.m_format.isValid())
                return sound;
            const qint64 length = qMin<qint64>(size, left);
            const int frame = sound.m_format.bytesPerFrame();
            sound.m_offset = int(body);
            sound.m_length = int(length - length % frame);
            return sound;
        }
        // Chunks are padded to an even length.
        at = body + size + (size & 1);
    }
    return sound;
}
