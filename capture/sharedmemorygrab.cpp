#include "sharedmemorygrab.h"

#include <QDebug>
#include <QVector>
#include <QX11Info>
#include <QtConcurrentMap>

#include <memory>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/mman.h>
#include <sys/shm.h>
#include <unistd.h>

namespace {

const auto kNoMemory = reinterpret_cast<char *>(-1);

// Everything one grab holds on the client and the server while it runs. The server lets go of
// the segment as soon as the pixels are in; the memory then belongs to the picture alone.
struct Segment
{
    explicit Segment(Display *display)
        : display(display)
    {
        info.shmid = -1;
        info.shmaddr = kNoMemory;
    }
    ~Segment()
    {
        if (attached) {
            XShmDetach(display, &info);
            // Xlib keeps requests until something flushes them; the segment's memory stays
            // taken until the server has read this one.
            XFlush(display);
        }
        if (image) {
            // The pixels belong to the segment, not to Xlib.
            image->data = nullptr;
            XDestroyImage(image);
        }
        if (info.shmaddr != kNoMemory)
            shmdt(info.shmaddr);
        if (info.shmid >= 0)
            shmctl(info.shmid, IPC_RMID, nullptr);
    }
    Segment(const Segment &) = delete;
    Segment &operator=(const Segment &) = delete;

    uchar *takeMemory()
    {
        auto *memory = reinterpret_cast<uchar *>(info.shmaddr);
        info.shmaddr = kNoMemory;
        return memory;
    }

    Display *display;
    XShmSegmentInfo info {};
    XImage *image = nullptr;
    bool attached = false;
};

struct CloseDisplay
{
    void operator()(Display *display) const { XCloseDisplay(display); }
};

void releaseMemory(void *memory)
{
    shmdt(memory);
}

bool isRgb32(const XImage *image)
{
    return image->bits_per_pixel == 32 && image->byte_order == LSBFirst
        && image->red_mask == 0xff0000 && image->green_mask == 0xff00 && image->blue_mask == 0xff;
}

constexpr int kBands = 4;

// A whole screen is a lot of memory to walk: bands of it are walked side by side.
template <typename Walk> void inBands(Walk walk)
{
    QVector<int> bands;
    for (int band = 0; band < kBands; ++band)
        bands << band;
    QtConcurrent::blockingMap(bands, walk);
}

// Mapping all pages in a few calls is much cheaper than one page fault per 4 KB later, when
// the server writes them and when the picture is read. Older kernels refuse it; the pages then
// come one by one.
void populate(char *memory, size_t bytes)
{
#ifdef MADV_POPULATE_WRITE
    const size_t page = size_t(sysconf(_SC_PAGESIZE));
    inBands([=](int band) {
        const size_t first = bytes * size_t(band) / kBands / page * page;
        const size_t last
            = band + 1 == kBands ? bytes : bytes * size_t(band + 1) / kBands / page * page;
        madvise(memory + first, last - first, MADV_POPULATE_WRITE);
    });
#else
    Q_UNUSED(memory)
    Q_UNUSED(bytes)
#endif
}

// The server leaves the unused byte of each pixel as it pleases; Qt's 32-bit RGB needs it set.
void makeOpaque(uchar *bits, int width, int height, int bytesPerLine)
{
    inBands([=](int band) {
        const int first = height * band / kBands;
        const int last = height * (band + 1) / kBands;
        for (int y = first; y < last; ++y) {
            auto *line = reinterpret_cast<QRgb *>(bits + qsizetype(y) * bytesPerLine);
            for (int x = 0; x < width; ++x)
                line[x] |= 0xff000000;
        }
    });
}

} // namespace

QByteArray SharedMemoryGrab::displayName()
{
    return QX11Info::isPlatformX11() ? QByteArray(DisplayString(QX11Info::display()))
                                     : QByteArray();
}

QImage SharedMemoryGrab::grab(const QRect &rect, const QByteArray &displayName)
{
    if (displayName.isEmpty() || rect.isEmpty())
        return QImage();
    const std::unique_ptr<Display, CloseDisplay> connection(XOpenDisplay(displayName.constData()));
    Display *display = connection.get();
    if (!display || !XShmQueryExtension(display))
        return QImage();
    const int screen = DefaultScreen(display);
    const QRect root(0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen));
    if (DefaultDepth(display, screen) != 24 || !root.contains(rect))
        return QImage();

    const auto segment = std::make_unique<Segment>(display);
    segment->image = XShmCreateImage(display, DefaultVisual(display, screen), 24, ZPixmap, nullptr,
        &segment->info, unsigned(rect.width()), unsigned(rect.height()));
    if (!segment->image || !isRgb32(segment->image))
        return QImage();
    const size_t bytes = size_t(segment->image->bytes_per_line) * size_t(rect.height());
    segment->info.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (segment->info.shmid < 0)
        return QImage();
    segment->info.shmaddr = static_cast<char *>(shmat(segment->info.shmid, nullptr, 0));
    if (segment->info.shmaddr == reinterpret_cast<char *>(-1))
        return QImage();
    segment->image->data = segment->info.shmaddr;
    populate(segment->info.shmaddr, bytes);
    segment->info.readOnly = False;
    if (!XShmAttach(display, &segment->info))
        return QImage();
    segment->attached = true;
    // Once the server holds it too, the segment may be marked for removal: it then goes away
    // with its last user, even if this process dies.
    XSync(display, False);
    shmctl(segment->info.shmid, IPC_RMID, nullptr);
    segment->info.shmid = -1;
    if (!XShmGetImage(
            display, DefaultRootWindow(display), segment->image, rect.x(), rect.y(), AllPlanes)) {
        qDebug() << Q_FUNC_INFO << "the server refused the grab of" << rect;
        return QImage();
    }
    const int bytesPerLine = segment->image->bytes_per_line;
    uchar *bits = segment->takeMemory();
    makeOpaque(bits, rect.width(), rect.height(), bytesPerLine);
    return QImage(bits, rect.width(), rect.height(), bytesPerLine, QImage::Format_RGB32,
        &releaseMemory, bits);
}
