#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QRect>
#include <QVector>

struct _XDisplay;

// Watches the X server of DISPLAY from outside, as a user's eyes would: when a window covering
// the whole screen is mapped and when pixels of the root window change. The root window's
// contents are what is on the screen (no compositor): every probe reads back real pixels.
class ScreenWatch
{
public:
    ScreenWatch();
    ~ScreenWatch();
    ScreenWatch(const ScreenWatch &) = delete;
    ScreenWatch &operator=(const ScreenWatch &) = delete;

    bool isOpen() const { return m_display; }
    // Lays picture on the root window, where every window leaves the screen uncovered.
    bool setRootPicture(const QImage &picture);
    // What the screen shows in rect now.
    QImage grab(const QRect &rect);
    QSize screenSize() const { return m_size; }

    // Remembers what the probes show now. Probes are small squares spread over the screen,
    // away from every window that is on the screen at this moment (a peer's own main window
    // may go away when it captures, which is not what is measured).
    void takeBaseline();
    bool probesChanged();
    bool probesAsBaseline() { return !probesChanged(); }

    // Milliseconds since timer started until a window at least the screen's size is mapped
    // (mapMs) and until the probes change (pixelsMs); -1 where it did not happen within
    // timeoutMs.
    struct Appearance
    {
        double mapMs = -1;
        double pixelsMs = -1;
    };
    Appearance waitForAppearance(const QElapsedTimer &timer, int timeoutMs);
    // Milliseconds from timer's start until probe differs from what it showed at the call.
    double waitForChange(const QRect &probe, const QElapsedTimer &timer, int timeoutMs);
    // True once no screen-sized window is mapped and the probes show the baseline again.
    bool waitForRestore(int timeoutMs);
    bool fullWindowMapped();

    // Synthetic input through XTest.
    void key(const char *keysym);
    void moveTo(const QPoint &point);
    void button(bool press);

private:
    void drainEvents();
    QVector<QRect> freeProbes();
    QByteArray readProbe(const QRect &probe);

    _XDisplay *m_display = nullptr;
    unsigned long m_root = 0;
    QSize m_size;
    QVector<QRect> m_probes;
    QVector<QByteArray> m_baseline;
    QVector<unsigned long> m_fullWindows;
};
