#ifndef PONORAM_H
#define PONORAM_H

#include "ponoramrows.h"

#include <QImage>
#include <QObject>
#include <QPixmap>
#include <QRect>
#include <QTimer>

#include <functional>

// The scrolling capture: while the user scrolls a document inside a fixed rectangle of the
// screen, the rectangle is grabbed every 50 ms, the place of each grab in the picture gathered
// so far is found from its top rows, and the grab is glued on there, so that the picture grows
// downwards.
//
// The document only ever scrolls down, so a grab is looked for from the row of the previous
// one on. Rows at the top of a grab that equal the picture's own top rows (a fixed header) are
// not searched for and not glued again. Only the columns that have changed between grabs are
// compared: a window border or the desktop beside the document would otherwise match only
// where nothing moved. A strip of rows that are all alike in those columns (a blank stretch)
// tells nothing about where it lies, so the first row below it that differs is searched for
// instead, and a grab without one is skipped rather than glued at a guess. A capture that ends
// on such a grab, while it shows rows the picture does not hold, says so.
class Ponoram : public QObject
{
    Q_OBJECT

public:
    static constexpr int kPeriodMs = 50;
    static constexpr int kStripRows = 100;
    static constexpr int kRepeatsToStop = 5;
    // 1920 pixels wide that is 230 MB; beyond it a picture no longer fits where it is sent.
    static constexpr int kMaxHeight = 30000;

    // A rectangle of the desktop as a 32-bit picture; null when it cannot be had.
    using Grabber = std::function<QImage(const QRect &desktopRect)>;
    using PointerSource = std::function<QPoint()>;

    explicit Ponoram(QObject *parent = nullptr);

    // The screen and the pointer unless replaced (tests and benchmarks script both).
    void setGrabber(Grabber grabber);
    void setPointerSource(PointerSource source);

    bool isRunning() const { return m_running; }
    QSize size() const { return QSize(m_rows.width(), m_height); }
    // The picture so far. It shares the engine's memory until the engine writes again, when
    // the engine, not the holder, pays for the copy.
    QImage picture() const;
    // Bytes of pixels copied into the picture since the start: the glued rows, and the picture
    // itself whenever it had to move to grow or because someone still held it.
    quint64 copiedBytes() const { return m_copiedBytes; }
    // The capture ended short in a blank stretch, or on a grab found nowhere after grabs of
    // nothing but one: the stretch was too tall to tell how far the document moved across it.
    bool endedInBlankStretch() const { return m_inBlankStretch; }

public slots:
    // Starts over with a grab of rect; false when the grab fails.
    bool startPonoram(const QRect &rect);
    // Ends a running capture and delivers its picture through complete(); nothing when idle.
    void stopPonoram();
    // Ends a running capture without delivering anything.
    void cancelPonoram();
    // One grab: find, glue, and stop where the capture is over. The timer calls it.
    void shotTimer();

signals:
    // Once per capture, with every glued grab in it.
    void complete(const QPixmap &picture);
    void rectChange(const QSize &size);
    // The picture after each glue; see picture() for its memory.
    void changePreview(const QImage &picture);
    // The capture has ended with less than was scrolled, after complete(): a grab was found
    // nowhere at or below the previous one, or the last grabs, of a blank stretch, showed rows
    // that could not be placed.
    void errorGlueImage();
    // The picture reached kMaxHeight: the capture has ended with what it had.
    void heightLimitReached();

private:
    struct Match
    {
        int offset = -1; // row of the grab's top in the picture; -1 when found nowhere
        int first = 0; // first row of the grab to glue
        bool blank = false; // the grab has no content to place it by
    };

    QImage grab() const;
    Match locate(const PonoramRows &shot) const;
    int stripStart(const PonoramRows &shot, int from, int count) const;
    bool noteMovingColumns(const PonoramRows &shot);
    void skipBlank(const PonoramRows &shot, bool changed);
    void countStill();
    void glue(const QImage &shot, const PonoramRows &shotRows, const Match &match);
    uchar *writableRows(int height);
    void finish();

    QTimer m_timer;
    Grabber m_grabber;
    PointerSource m_pointer;
    QRect m_rect;
    // Rows beyond m_height are room to grow into.
    QImage m_buffer;
    int m_height = 0;
    PonoramRows m_rows;
    PonoramRows m_lastShot;
    PonoramRows m_lastGlued;
    // The columns that have changed between two grabs since the start.
    PonoramRows::Columns m_moving;
    int m_previousOffset = 0;
    int m_repeatCount = 0;
    bool m_running = false;
    bool m_pointerWasInside = false;
    // The document has moved since the start: only then do grabs that find it still count.
    bool m_moved = false;
    bool m_inBlankStretch = false;
    // The last grab shows rows the picture does not hold.
    bool m_unplaced = false;
    quint64 m_copiedBytes = 0;
};

#endif // PONORAM_H
