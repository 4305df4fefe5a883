#ifndef AUDIOTESTSUPPORT_H
#define AUDIOTESTSUPPORT_H

#include "wavsound.h"

#include <QGuiApplication>
#include <QWindow>
#include <QtEndian>
#include <QtMath>

// The loudness and pitch of the first channel of a 16-bit recording, measured over the part
// that is louder than a tenth of full scale.
struct Tone
{
    double peak = 0; // 0..1
    double frequency = 0; // Hz
};

inline Tone measureTone(const QByteArray &wav)
{
    Tone tone;
    const WavSound sound = WavSound::parse(wav);
    if (!sound.isValid() || sound.format().sampleSize() != 16)
        return tone;
    const QByteArray samples = sound.samples(wav);
    const int channels = sound.format().channelCount();
    const int frames = samples.size() / (2 * channels);
    auto at = [&](int frame) {
        return qFromLittleEndian<qint16>(samples.constData() + frame * channels * 2) / 32768.0;
    };
    int first = -1;
    int last = -1;
    for (int i = 0; i < frames; ++i) {
        const double value = qAbs(at(i));
        tone.peak = qMax(tone.peak, value);
        if (value > 0.1) {
            first = first < 0 ? i : first;
            last = i;
        }
    }
    if (first < 0 || last <= first)
        return tone;
    int crossings = 0;
    for (int i = first + 1; i <= last; ++i)
        crossings += (at(i - 1) < 0) != (at(i) < 0);
    tone.frequency = crossings / 2.0 / (double(last - first) / sound.format().sampleRate());
    return tone;
}

template <typename T> T *visibleWindow(const char *className)
{
    for (QWindow *window : QGuiApplication::topLevelWindows()) {
        if (window->isVisible() && window->inherits(className))
            return qobject_cast<T *>(window);
    }
    return nullptr;
}

#endif // AUDIOTESTSUPPORT_H
