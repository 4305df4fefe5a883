#ifndef PONORAMSESSION_H
#define PONORAMSESSION_H

#include <QObject>
#include <QPixmap>
#include <QRect>
#include <QSize>

#include <functional>

class Ponoram;

// One window's scrolling capture as its page sees it: whether it runs, how large the
// panorama has grown, whether it ended early, and the finished panorama. The capture view and
// the panorama window each keep one and publish its state as their own.
class PonoramSession : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool isPonoramWork READ isPonoramWork NOTIFY isPonoramWorkChanged)
    Q_PROPERTY(QSize ponoramSize READ ponoramSize NOTIFY ponoramSizeChanged)
    Q_PROPERTY(bool isPonoramError READ isPonoramError NOTIFY isPonoramErrorChanged)
    Q_PROPERTY(bool isPonoramBlank READ isPonoramBlank NOTIFY isPonoramErrorChanged)
    Q_PROPERTY(bool isPonoramFull READ isPonoramFull NOTIFY isPonoramFullChanged)
    Q_PROPERTY(bool ponoramDone READ ponoramDone NOTIFY finished)
    Q_PROPERTY(QPixmap ponoramPixmap READ ponoramPixmap NOTIFY finished)

public:
    explicit PonoramSession(QObject *parent = nullptr);

    bool isPonoramWork() const { return m_work; }
    QSize ponoramSize() const { return m_size; }
    // The last grab could not be placed: the panorama ended there.
    bool isPonoramError() const { return m_error; }
    // It ended there because a blank stretch was too tall to measure.
    bool isPonoramBlank() const;
    // The panorama stopped at its greatest height.
    bool isPonoramFull() const { return m_full; }
    bool ponoramDone() const { return !m_picture.isNull(); }
    QPixmap ponoramPixmap() const { return m_picture; }
    // The engine, made on the first start.
    Ponoram *engine() const { return m_engine; }
    // How the engine grabs the desktop: through X shared memory kept from one grab to the next
    // where it serves, else through the capture windows' grab, which tests replace.
    static std::function<QImage(const QRect &)> desktopGrabber();

    // Windows under the one that has just cut the rectangle out of itself need a moment to
    // paint what shows there; the first grab waits for them.
    static constexpr int kSettleMs = 100;

    // Starts on a rectangle of the desktop, the first grab after kSettleMs; when it cannot
    // be grabbed the capture ends in the error state and startFailed() follows.
    void start(const QRect &desktopRect);
    // Ends with the panorama gathered so far.
    void stop();
    // Ends without a panorama.
    void cancel();

signals:
    void isPonoramWorkChanged(bool work);
    void ponoramSizeChanged(const QSize &size);
    void isPonoramErrorChanged(bool error);
    void isPonoramFullChanged(bool full);
    // The panorama is finished; from now on it is the window's output.
    void finished(const QPixmap &picture);
    void startFailed();
    // The engine's thumbnail source, passed on.
    void changePreview(const QImage &picture);

private:
    void createEngine();
    void setWork(bool work);
    void setError(bool error);
    void setFull(bool full);

    Ponoram *m_engine = nullptr;
    bool m_work = false;
    bool m_error = false;
    bool m_full = false;
    QSize m_size;
    QPixmap m_picture;
};

#endif // PONORAMSESSION_H
