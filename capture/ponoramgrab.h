#ifndef PONORAMGRAB_H
#define PONORAMGRAB_H

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QVector>

#include <memory>

// The scrolling capture's grabs of one rectangle of the X root window, 20 a second: the
// connection to the server and the shared memory segments stay from one grab to the next, so
// that a grab costs the server's copy of the pixels alone, not a new connection, segment and
// copy into a picture every time. A picture it returned keeps its segment for as long as the
// picture lives; a grab meanwhile takes another one.
class PonoramGrab
{
public:
    explicit PonoramGrab(const QByteArray &display);
    ~PonoramGrab();
    PonoramGrab(const PonoramGrab &) = delete;
    PonoramGrab &operator=(const PonoramGrab &) = delete;

    // The area of the root window, in its own coordinates; a null picture where the server has
    // no shared memory, the root is not 24-bit true colour, or the area leaves the root.
    QImage grab(const QRect &rect);

private:
    struct Connection;
    struct Segment;

    bool connect();
    std::shared_ptr<Segment> freeSegment(const QSize &size);

    QByteArray m_displayName;
    bool m_tried = false;
    std::shared_ptr<Connection> m_connection;
    QVector<std::shared_ptr<Segment>> m_segments;
};

#endif // PONORAMGRAB_H
