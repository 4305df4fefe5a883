#include "sharedmemorygrab.h"

#include "sharedmemorysegment.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVector>
#include <QX11Info>
#include <QtConcurrentMap>

#include <memory>

#include <X11/Xlib.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

struct CloseDisplay
{
    void operator()(Display *display) const { XCloseDisplay(display); }
};

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
    const QScreen *primary = QGuiApplication::primaryScreen();
    if (!QX11Info::isPlatformX11() || !primary || !qFuzzyCompare(primary->devicePixelRatio(), 1.0))
        return QByteArray();
    return QByteArray(DisplayString(QX11Info::display()));
}

QImage SharedMemoryGrab::grab(const QRect &rect, const QByteArray &displayName)
{
    if (displayName.isEmpty() || rect.isEmpty())
        return QImage();
    const std::unique_ptr<Display, CloseDisplay> connection(XOpenDisplay(displayName.constData()));
    Display *display = connection.get();
    if (!display || !SharedMemorySegment::grabbableRoot(display).contains(rect))
        return QImage();

    // The server lets go of the segment as soon as the pixels are in; the memory then belongs
    // to the picture alone.
    SharedMemorySegment segment(display, rect.size());
    if (!segment.create())
        return QImage();
    const int bytesPerLine = segment.bytesPerLine();
    populate(
        reinterpret_cast<char *>(segment.bits()), size_t(bytesPerLine) * size_t(rect.height()));
    if (!segment.grabRoot(rect.topLeft()))
        return QImage();
    uchar *bits = segment.takeMemory();
    makeOpaque(bits, rect.width(), rect.height(), bytesPerLine);
    return QImage(bits, rect.width(), rect.height(), bytesPerLine, QImage::Format_RGB32,
        &SharedMemorySegment::releaseMemory, bits);
}
