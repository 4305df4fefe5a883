#ifndef SHAREDMEMORYGRAB_H
#define SHAREDMEMORYGRAB_H

#include <QByteArray>
#include <QImage>
#include <QRect>

// A grab of the X root window through a shared memory segment: the server writes the pixels
// once, straight into memory the picture then owns. The ordinary grab copies the area on the
// server, sends it over the socket into one buffer and copies that into a picture again; at 4K
// that costs more than the rest of a capture's first frame.
class SharedMemoryGrab
{
public:
    // The area of the root window of display, in its own coordinates; a null picture where the
    // server has no shared memory, the root is not 24-bit true colour, or the area leaves the
    // root. It talks to the server over a connection of its own, so it may run on any thread.
    static QImage grab(const QRect &rect, const QByteArray &display);
    // The display Qt is connected to, where its root window has the desktop's coordinates;
    // empty off X11, and where Qt scales the primary screen. Only on the GUI thread.
    static QByteArray displayName();
};

#endif // SHAREDMEMORYGRAB_H
