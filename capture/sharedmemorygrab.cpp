#include "sharedmemorygrab.h"

#include "sharedmemorysegment.h"

#include <QGuiApplication>
#include <QScreen>
#include <QX11Info>

#include <memory>

#include <X11/Xlib.h>

namespace {

struct CloseDisplay
{
    void operator()(Display *display) const { XCloseDisplay(display); }
};

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
    if (!segment.grabRoot(rect.topLeft()))
        return QImage();
    const int bytesPerLine = segment.bytesPerLine();
    uchar *bits = segment.takeMemory();
    return QImage(bits, rect.width(), rect.height(), bytesPerLine, QImage::Format_RGB32,
        &SharedMemorySegment::releaseMemory, bits);
}
