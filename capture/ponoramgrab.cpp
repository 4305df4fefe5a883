#include "ponoramgrab.h"

#include <QDebug>

#include <atomic>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

namespace {

const auto kNoMemory = reinterpret_cast<char *>(-1);

// A picture held by a listener while the engine grabs again needs a second segment; more than
// this many means pictures are kept, and the spare ones go.
constexpr int kKeptSegments = 2;

} // namespace

struct PonoramGrab::Connection
{
    ~Connection()
    {
        if (display)
            XCloseDisplay(display);
    }

    Display *display = nullptr;
    QRect root;
};

// One picture's memory, shared with the server for as long as the segment lives.
struct PonoramGrab::Segment
{
    Segment(std::shared_ptr<Connection> connection, const QSize &size)
        : connection(std::move(connection))
        , size(size)
    {
        info.shmid = -1;
        info.shmaddr = kNoMemory;
    }
    ~Segment()
    {
        Display *display = connection->display;
        if (attached) {
            XShmDetach(display, &info);
            XSync(display, False);
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

    bool create();

    std::shared_ptr<Connection> connection;
    QSize size;
    XShmSegmentInfo info {};
    XImage *image = nullptr;
    bool attached = false;
    // A picture made of this segment is alive.
    std::atomic<bool> held {false};
};

bool PonoramGrab::Segment::create()
{
    Display *display = connection->display;
    const int screen = DefaultScreen(display);
    image = XShmCreateImage(display, DefaultVisual(display, screen), 24, ZPixmap, nullptr, &info,
        unsigned(size.width()), unsigned(size.height()));
    if (!image || image->bits_per_pixel != 32 || image->byte_order != LSBFirst
        || image->red_mask != 0xff0000 || image->green_mask != 0xff00 || image->blue_mask != 0xff)
        return false;
    info.shmid = shmget(
        IPC_PRIVATE, size_t(image->bytes_per_line) * size_t(size.height()), IPC_CREAT | 0600);
    if (info.shmid < 0)
        return false;
    info.shmaddr = static_cast<char *>(shmat(info.shmid, nullptr, 0));
    if (info.shmaddr == kNoMemory)
        return false;
    image->data = info.shmaddr;
    info.readOnly = False;
    if (!XShmAttach(display, &info))
        return false;
    attached = true;
    // Once the server holds it too, the segment may be marked for removal: it then goes away
    // with its last user, even if this process dies.
    XSync(display, False);
    shmctl(info.shmid, IPC_RMID, nullptr);
    info.shmid = -1;
    return true;
}

PonoramGrab::PonoramGrab(const QByteArray &display)
    : m_displayName(display)
{
}

PonoramGrab::~PonoramGrab() = default;

bool PonoramGrab::connect()
{
    if (m_tried)
        return bool(m_connection);
    m_tried = true;
    if (m_displayName.isEmpty())
        return false;
    auto connection = std::make_shared<Connection>();
    connection->display = XOpenDisplay(m_displayName.constData());
    Display *display = connection->display;
    if (!display || !XShmQueryExtension(display)
        || DefaultDepth(display, DefaultScreen(display)) != 24)
        return false;
    const int screen = DefaultScreen(display);
    connection->root = QRect(0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen));
    m_connection = connection;
    return true;
}

std::shared_ptr<PonoramGrab::Segment> PonoramGrab::freeSegment(const QSize &size)
{
    for (const auto &segment : qAsConst(m_segments)) {
        if (segment->size == size && !segment->held)
            return segment;
    }
    auto segment = std::make_shared<Segment>(m_connection, size);
    if (!segment->create())
        return nullptr;
    // Segments of another size, or beyond those a held picture needs, are let go of; a held
    // one goes with its picture.
    m_segments.erase(std::remove_if(m_segments.begin(), m_segments.end(),
                         [&size](const std::shared_ptr<Segment> &kept) {
                             return kept->size != size || !kept->held;
                         }),
        m_segments.end());
    while (m_segments.size() >= kKeptSegments)
        m_segments.removeFirst();
    m_segments << segment;
    return segment;
}

QImage PonoramGrab::grab(const QRect &rect)
{
    if (rect.isEmpty() || !connect() || !m_connection->root.contains(rect))
        return QImage();
    const std::shared_ptr<Segment> segment = freeSegment(rect.size());
    if (!segment)
        return QImage();
    Display *display = m_connection->display;
    if (!XShmGetImage(
            display, DefaultRootWindow(display), segment->image, rect.x(), rect.y(), AllPlanes)) {
        qDebug() << Q_FUNC_INFO << "the server refused the grab of" << rect;
        return QImage();
    }
    // The server leaves the unused byte of each pixel as it pleases; Qt's 32-bit RGB needs it
    // set.
    auto *bits = reinterpret_cast<uchar *>(segment->info.shmaddr);
    const int bytesPerLine = segment->image->bytes_per_line;
    for (int y = 0; y < rect.height(); ++y) {
        auto *line = reinterpret_cast<quint32 *>(bits + qsizetype(y) * bytesPerLine);
        for (int x = 0; x < rect.width(); ++x)
            line[x] |= 0xff000000u;
    }
    segment->held = true;
    return QImage(
        bits, rect.width(), rect.height(), bytesPerLine, QImage::Format_RGB32,
        [](void *held) {
            auto *kept = static_cast<std::shared_ptr<Segment> *>(held);
            (*kept)->held = false;
            delete kept;
        },
        new std::shared_ptr<Segment>(segment));
}
