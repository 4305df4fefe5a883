#ifndef WAVSOUND_H
#define WAVSOUND_H

#include <QAudioFormat>
#include <QByteArray>

// The sound of a RIFF/WAVE recording: its sample format and where its samples lie. The bytes
// come from files handed in from outside, so every chunk length is checked against them.
class WavSound
{
public:
    // An invalid sound (isValid() false) unless the bytes hold a "fmt " chunk of integer or
    // float PCM and a "data" chunk after it. A data chunk longer than the bytes left (a
    // recording cut short) keeps the whole samples that are there.
    static WavSound parse(const QByteArray &bytes);

    bool isValid() const { return m_format.isValid() && m_length >= 0; }
    QAudioFormat format() const { return m_format; }
    // The samples, over the parsed bytes without a copy: bytes must outlive them.
    QByteArray samples(const QByteArray &bytes) const
    {
        return QByteArray::fromRawData(bytes.constData() + m_offset, m_length);
    }

private:
    QAudioFormat m_format;
    int m_offset = 0;
    int m_length = -1;
};

#endif // WAVSOUND_H
