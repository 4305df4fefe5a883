#include "sharedmemorysegment.h"

#include "memorypages.h"

#include <QDebug>
#include <QVector>
#include <QtConcurrentMap>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

namespace {

const auto kNoMemory = reinterpret_cast<char *>(-1);

constexpr int kBands = 4;

// A whole screen is a lot of memory to walk: bands of it are walked side by side.
template <typename Walk> void inBands(Walk walk)
{
    QVector<int> bands;
    for (int band = 0; band < kBands; ++band)
        bands << band;
    QtConcurrent::blockingMap(bands, walk);
}

// The server leaves the unused byte of each pixel as it pleases; Qt's 32-bit RGB needs it set.
void makeOpaque(uchar *bits, int width, int height, int bytesPerLine)
{
    inBands([=](int band) {
        const int first = height * band / kBands;
        const int last = height * (band + 1) / kBands;
        for (int y = first; y < last; ++y) {
            auto *line = reinterpret_cast<quint32 *>(bits + qsizetype(y) * bytesPerLine);
            for (int x = 0; x < width; ++x)
                line[x] |= 0xff000000u;
        }
    });
}

bool isRgb32(const XImage *image)
{
    return image->bits_per_pixel == 32 && image->byte_order == LSBFirst
        && image->red_mask == 0xff0000 && image->green_mask == 0xff00 && image->blue_mask == 0xff;
}

} // namespace

// Xlib's own name for the segment cannot be declared ahead in the header.
struct SharedMemorySegment::Info : XShmSegmentInfo
{
};

QRect SharedMemorySegment::grabbableRoot(Display *display)
{
    const int screen = DefaultScreen(display);
    if (!XShmQueryExtension(display) || DefaultDepth(display, screen) != 24)
        return QRect();
    return QRect(0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen));
}

SharedMemorySegment::SharedMemorySegment(Display *display, const QSize &size)
    : m_display(display)
    , m_size(size)
    , m_info(std::make_unique<Info>())
{
    m_info->shmid = -1;
    m_info->shmaddr = kNoMemory;
}

SharedMemorySegment::~SharedMemorySegment()
{
    if (m_attached) {
        XShmDetach(m_display, m_info.get());
        // Where this side lets go of its mapping below, the server has to have let go of its
        // own first; where a picture keeps the memory, sending the request is enough and
        // spares a round trip.
        if (m_info->shmaddr != kNoMemory)
            XSync(m_display, False);
        else
            XFlush(m_display);
    }
    if (m_image) {
        // The pixels belong to the segment, not to Xlib.
        m_image->data = nullptr;
        XDestroyImage(m_image);
    }
    if (m_info->shmaddr != kNoMemory)
        shmdt(m_info->shmaddr);
    if (m_info->shmid >= 0)
        shmctl(m_info->shmid, IPC_RMID, nullptr);
}

bool SharedMemorySegment::create()
{
    const int screen = DefaultScreen(m_display);
    m_image = XShmCreateImage(m_display, DefaultVisual(m_display, screen), 24, ZPixmap, nullptr,
        m_info.get(), unsigned(m_size.width()), unsigned(m_size.height()));
    if (!m_image || !isRgb32(m_image))
        return false;
    m_info->shmid = shmget(
        IPC_PRIVATE, size_t(m_image->bytes_per_line) * size_t(m_size.height()), IPC_CREAT | 0600);
    if (m_info->shmid < 0)
        return false;
    m_info->shmaddr = static_cast<char *>(shmat(m_info->shmid, nullptr, 0));
    if (m_info->shmaddr == kNoMemory)
        return false;
    m_image->data = m_info->shmaddr;
    // Mapped now rather than one fault at a time as the server writes the pages.
    MemoryPages::populate(
        m_info->shmaddr, size_t(m_image->bytes_per_line) * size_t(m_size.height()));
    m_info->readOnly = False;
    if (!XShmAttach(m_display, m_info.get()))
        return false;
    m_attached = true;
    // Once the server holds it too, the segment may be marked for removal: it then goes away
    // with its last user, even if this process dies.
    XSync(m_display, False);
    shmctl(m_info->shmid, IPC_RMID, nullptr);
    m_info->shmid = -1;
    return true;
}

bool SharedMemorySegment::grabRoot(const QPoint &topLeft)
{
    if (XShmGetImage(m_display, DefaultRootWindow(m_display), m_image, topLeft.x(), topLeft.y(),
            AllPlanes)) {
        makeOpaque(bits(), m_size.width(), m_size.height(), bytesPerLine());
        return true;
    }
    qDebug() << Q_FUNC_INFO << "the server refused the grab of" << QRect(topLeft, m_size);
    return false;
}

uchar *SharedMemorySegment::bits() const
{
    return reinterpret_cast<uchar *>(m_info->shmaddr);
}

int SharedMemorySegment::bytesPerLine() const
{
    return m_image->bytes_per_line;
}

uchar *SharedMemorySegment::takeMemory()
{
    uchar *memory = bits();
    m_info->shmaddr = kNoMemory;
    return memory;
}

void SharedMemorySegment::releaseMemory(void *memory)
{
    shmdt(memory);
}
