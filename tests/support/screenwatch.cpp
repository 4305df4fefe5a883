#include "screenwatch.h"

#include <QThread>

#include <algorithm>

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace {

const int kProbeSize = 48;

// A window may be gone by the time it is asked about; that is no reason to stop.
int ignoreErrors(Display *, XErrorEvent *)
{
    return 0;
}

QRect windowRect(Display *display, Window window, bool *viewable)
{
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) {
        *viewable = false;
        return QRect();
    }
    *viewable = attributes.map_state == IsViewable;
    return QRect(attributes.x, attributes.y, attributes.width, attributes.height);
}

} // namespace

ScreenWatch::ScreenWatch()
    : m_display(XOpenDisplay(nullptr))
{
    if (!m_display)
        return;
    XSetErrorHandler(ignoreErrors);
    m_root = DefaultRootWindow(m_display);
    m_size = QSize(DisplayWidth(m_display, DefaultScreen(m_display)),
        DisplayHeight(m_display, DefaultScreen(m_display)));
    XSelectInput(m_display, m_root, SubstructureNotifyMask);
}

ScreenWatch::~ScreenWatch()
{
    if (m_display)
        XCloseDisplay(m_display);
}

QVector<QRect> ScreenWatch::freeProbes()
{
    QVector<QRect> taken;
    Window rootBack, parent, *children = nullptr;
    unsigned count = 0;
    if (XQueryTree(m_display, m_root, &rootBack, &parent, &children, &count)) {
        for (unsigned i = 0; i < count; ++i) {
            bool viewable = false;
            const QRect rect = windowRect(m_display, children[i], &viewable);
            if (viewable && rect.size() != m_size)
                taken << rect.adjusted(-8, -8, 8, 8);
        }
        XFree(children);
    }
    QVector<QRect> probes;
    for (int row = 1; row <= 4; ++row) {
        for (int column = 1; column <= 4; ++column) {
            const QRect probe(m_size.width() * column / 5 - kProbeSize / 2,
                m_size.height() * row / 5 - kProbeSize / 2, kProbeSize, kProbeSize);
            if (std::none_of(taken.begin(), taken.end(),
                    [&](const QRect &window) { return window.intersects(probe); }))
                probes << probe;
        }
    }
    return probes;
}

bool ScreenWatch::setRootPicture(const QImage &picture)
{
    const int screen = DefaultScreen(m_display);
    if (picture.isNull() || DefaultDepth(m_display, screen) != 24)
        return false;
    QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    XImage *image = XCreateImage(m_display, DefaultVisual(m_display, screen), 24, ZPixmap, 0,
        reinterpret_cast<char *>(rgb.bits()), unsigned(rgb.width()), unsigned(rgb.height()), 32,
        int(rgb.bytesPerLine()));
    if (!image)
        return false;
    const Pixmap pixmap
        = XCreatePixmap(m_display, m_root, unsigned(rgb.width()), unsigned(rgb.height()), 24);
    GC gc = XCreateGC(m_display, pixmap, 0, nullptr);
    XPutImage(
        m_display, pixmap, gc, image, 0, 0, 0, 0, unsigned(rgb.width()), unsigned(rgb.height()));
    XFreeGC(m_display, gc);
    // The pixels belong to the QImage.
    image->data = nullptr;
    XDestroyImage(image);
    XSetWindowBackgroundPixmap(m_display, m_root, pixmap);
    XClearWindow(m_display, m_root);
    XFreePixmap(m_display, pixmap);
    XSync(m_display, False);
    return true;
}

void ScreenWatch::takeBaseline()
{
    m_probes = freeProbes();
    m_baseline.clear();
    for (const QRect &probe : m_probes)
        m_baseline << readProbe(probe);
}

QImage ScreenWatch::grab(const QRect &rect)
{
    XImage *image = XGetImage(m_display, m_root, rect.x(), rect.y(), unsigned(rect.width()),
        unsigned(rect.height()), AllPlanes, ZPixmap);
    if (!image)
        return QImage();
    QImage picture(rect.size(), QImage::Format_RGB32);
    for (int y = 0; y < rect.height(); ++y) {
        for (int x = 0; x < rect.width(); ++x)
            picture.setPixel(x, y, 0xff000000u | QRgb(XGetPixel(image, x, y)));
    }
    XDestroyImage(image);
    return picture;
}

QByteArray ScreenWatch::readProbe(const QRect &probe)
{
    XImage *image = XGetImage(m_display, m_root, probe.x(), probe.y(), unsigned(probe.width()),
        unsigned(probe.height()), AllPlanes, ZPixmap);
    if (!image)
        return QByteArray();
    const QByteArray bytes(image->data, image->bytes_per_line * image->height);
    XDestroyImage(image);
    return bytes;
}

bool ScreenWatch::probesChanged()
{
    for (int i = 0; i < m_probes.size(); ++i) {
        if (readProbe(m_probes.at(i)) != m_baseline.at(i))
            return true;
    }
    return false;
}

// Managed windows are mapped inside a frame; a frame that grows to the screen's size later
// comes as a ConfigureNotify.
void ScreenWatch::drainEvents()
{
    while (XPending(m_display)) {
        XEvent event;
        XNextEvent(m_display, &event);
        Window window = 0;
        if (event.type == MapNotify)
            window = event.xmap.window;
        else if (event.type == ConfigureNotify)
            window = event.xconfigure.window;
        else if (event.type == UnmapNotify || event.type == DestroyNotify)
            m_fullWindows.removeAll(
                event.type == UnmapNotify ? event.xunmap.window : event.xdestroywindow.window);
        if (!window || m_fullWindows.contains(window))
            continue;
        bool viewable = false;
        const QRect rect = windowRect(m_display, window, &viewable);
        if (viewable && rect.width() >= m_size.width() && rect.height() >= m_size.height())
            m_fullWindows << window;
    }
}

bool ScreenWatch::fullWindowMapped()
{
    drainEvents();
    return !m_fullWindows.isEmpty();
}

ScreenWatch::Appearance ScreenWatch::waitForAppearance(const QElapsedTimer &timer, int timeoutMs)
{
    Appearance seen;
    while (timer.elapsed() < timeoutMs && (seen.mapMs < 0 || seen.pixelsMs < 0)) {
        if (seen.mapMs < 0 && fullWindowMapped())
            seen.mapMs = timer.nsecsElapsed() / 1e6;
        if (seen.pixelsMs < 0 && probesChanged())
            seen.pixelsMs = timer.nsecsElapsed() / 1e6;
        QThread::usleep(500);
    }
    return seen;
}

double ScreenWatch::waitForChange(const QRect &probe, const QElapsedTimer &timer, int timeoutMs)
{
    const QByteArray before = readProbe(probe);
    while (timer.elapsed() < timeoutMs) {
        if (readProbe(probe) != before)
            return timer.nsecsElapsed() / 1e6;
        QThread::usleep(200);
    }
    return -1;
}

bool ScreenWatch::waitForRestore(int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        if (!fullWindowMapped() && probesAsBaseline())
            return true;
        QThread::msleep(2);
    }
    return false;
}

void ScreenWatch::key(const char *keysym)
{
    const KeyCode code = XKeysymToKeycode(m_display, XStringToKeysym(keysym));
    XTestFakeKeyEvent(m_display, code, True, CurrentTime);
    XTestFakeKeyEvent(m_display, code, False, CurrentTime);
    XFlush(m_display);
}

void ScreenWatch::moveTo(const QPoint &point)
{
    XTestFakeMotionEvent(m_display, DefaultScreen(m_display), point.x(), point.y(), CurrentTime);
    XFlush(m_display);
}

void ScreenWatch::button(bool press)
{
    XTestFakeButtonEvent(m_display, 1, press ? True : False, CurrentTime);
    XFlush(m_display);
}
