#ifndef SHAREDMEMORYSEGMENT_H
#define SHAREDMEMORYSEGMENT_H

#include <QRect>

#include <memory>

typedef struct _XDisplay Display;
struct _XImage;

// Memory shared with the X server for grabs of its root window: the server writes the pixels
// once, straight into it. All it takes on this side and on the server goes with it.
class SharedMemorySegment
{
public:
    // The root window in its own coordinates where the server can grab it this way: with the
    // shared memory extension and a 24-bit root; empty otherwise.
    static QRect grabbableRoot(Display *display);

    SharedMemorySegment(Display *display, const QSize &size);
    ~SharedMemorySegment();
    SharedMemorySegment(const SharedMemorySegment &) = delete;
    SharedMemorySegment &operator=(const SharedMemorySegment &) = delete;

    // Makes the memory and has the server attach it; false where the server's pixels of a
    // 24-bit root are not 32-bit RGB, or the system or the server refuses.
    bool create();
    // The server's copy of the root window's area of the segment's size at topLeft, as the
    // pixels of a 32-bit RGB picture.
    bool grabRoot(const QPoint &topLeft);
    // Hands the memory over to the caller, who lets go of it with releaseMemory.
    uchar *takeMemory();
    static void releaseMemory(void *memory);

    QSize size() const { return m_size; }
    uchar *bits() const;
    int bytesPerLine() const;

private:
    struct Info;

    Display *m_display;
    QSize m_size;
    std::unique_ptr<Info> m_info;
    _XImage *m_image = nullptr;
    bool m_attached = false;
};

#endif // SHAREDMEMORYSEGMENT_H
