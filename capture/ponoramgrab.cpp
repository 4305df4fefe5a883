#include "ponoramgrab.h"

#include "sharedmemorysegment.h"

#include <atomic>

#include <X11/Xlib.h>

namespace {

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

// One picture's memory, shared with the server on a connection that has to outlive it.
struct PonoramGrab::Segment
{
    Segment(std::shared_ptr<Connection> connection, const QSize &size)
        : connection(std::move(connection))
        , memory(this->connection->display, size)
    {
    }

    std::shared_ptr<Connection> connection;
    SharedMemorySegment memory;
    // A picture made of this segment is alive.
    std::atomic<bool> held {false};
};

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
    if (!connection->display)
        return false;
    connection->root = SharedMemorySegment::grabbableRoot(connection->display);
    if (connection->root.isEmpty())
        return false;
    m_connection = connection;
    return true;
}

std::shared_ptr<PonoramGrab::Segment> PonoramGrab::freeSegment(const QSize &size)
{
    for (const auto &segment : qAsConst(m_segments)) {
        if (segment->memory.size() == size && !segment->held)
            return segment;
    }
    auto segment = std::make_shared<Segment>(m_connection, size);
    if (!segment->memory.create())
        return nullptr;
    // Segments of another size, or beyond those a held picture needs, are let go of; a held
    // one goes with its picture.
    m_segments.erase(std::remove_if(m_segments.begin(), m_segments.end(),
                         [&size](const std::shared_ptr<Segment> &kept) {
                             return kept->memory.size() != size || !kept->held;
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
    if (!segment->memory.grabRoot(rect.topLeft()))
        return QImage();
    segment->held = true;
    return QImage(
        segment->memory.bits(), rect.width(), rect.height(), segment->memory.bytesPerLine(),
        QImage::Format_RGB32,
        [](void *held) {
            auto *kept = static_cast<std::shared_ptr<Segment> *>(held);
            (*kept)->held = false;
            delete kept;
        },
        new std::shared_ptr<Segment>(segment));
}
