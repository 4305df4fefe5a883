// The X11 part of the global shortcut: grabs on the root window through Xlib and the key
// presses read from Qt's xcb events.

#include "qxtglobalshortcut_p.h"

#include <QX11Info>

#include <xcb/xcb.h>

// Xlib last: its macros (None, KeyPress, Bool, ...) clash with names in Qt's headers.
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace {

const quint32 kGrabKeyRequest = 33;
const quint32 kUngrabKeyRequest = 34;

// Num Lock and Caps Lock change the modifier state of every key press, so each combination is
// grabbed once for every state of the two locks.
const quint32 kLockMasks[] = {0, Mod2Mask, LockMask, Mod2Mask | LockMask};

const quint32 kRelevantMasks = ShiftMask | ControlMask | Mod1Mask | Mod4Mask;

bool s_grabFailed = false;

int catchGrabError(Display *, XErrorEvent *event)
{
    const bool grabRequest
        = event->request_code == kGrabKeyRequest || event->request_code == kUngrabKeyRequest;
    const bool refused = event->error_code == BadAccess || event->error_code == BadValue
        || event->error_code == BadWindow;
    if (grabRequest && refused)
        s_grabFailed = true;
    return 0;
}

// Collects the errors of our grab requests while it lives. X reports errors only when their
// answer comes back, so every read of the result waits for a round trip first; without it a
// combination that another program holds would count as ours.
class GrabErrorTrap
{
public:
    explicit GrabErrorTrap(Display *display)
        : m_display(display)
        , m_previous(XSetErrorHandler(catchGrabError))
    {
        s_grabFailed = false;
    }
    ~GrabErrorTrap()
    {
        XSync(m_display, False);
        XSetErrorHandler(m_previous);
    }
    GrabErrorTrap(const GrabErrorTrap &) = delete;
    GrabErrorTrap &operator=(const GrabErrorTrap &) = delete;

    bool failed()
    {
        XSync(m_display, False);
        return s_grabFailed;
    }

private:
    Display *m_display;
    XErrorHandler m_previous;
};

Display *display()
{
    return QX11Info::isPlatformX11() ? QX11Info::display() : nullptr;
}

KeySym keysymOf(Qt::Key key)
{
    // Qt's names for these two are no X keysym names.
    if (key == Qt::Key_Return)
        return XK_Return;
    if (key == Qt::Key_Enter)
        return XK_KP_Enter;
    const QByteArray name = QKeySequence(key).toString(QKeySequence::PortableText).toLatin1();
    const KeySym named = XStringToKeysym(name.constData());
    if (named != NoSymbol)
        return named;
    // Latin-1 keys are their own keysyms, other characters have a Unicode keysym; Qt's
    // function keys have neither.
    if (key <= 0xff)
        return KeySym(key);
    if (key < Qt::Key_Escape)
        return KeySym(0x01000000 | key);
    return NoSymbol;
}

} // namespace

bool QxtGlobalShortcutPrivate::nativeEventFilter(const QByteArray &eventType, void *message, long *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != XCB_KEY_PRESS)
        return false;
    const auto *press = static_cast<const xcb_key_press_event_t *>(message);
    activateShortcut(press->detail, press->state & kRelevantMasks);
    return false;
}

quint32 QxtGlobalShortcutPrivate::nativeKeycode(Qt::Key key)
{
    Display *dpy = display();
    if (!dpy || key == 0)
        return 0;
    const KeySym keysym = keysymOf(key);
    return keysym == NoSymbol ? 0 : XKeysymToKeycode(dpy, keysym);
}

quint32 QxtGlobalShortcutPrivate::nativeModifiers(Qt::KeyboardModifiers modifiers)
{
    quint32 mask = 0;
    if (modifiers & Qt::ShiftModifier)
        mask |= ShiftMask;
    if (modifiers & Qt::ControlModifier)
        mask |= ControlMask;
    if (modifiers & Qt::AltModifier)
        mask |= Mod1Mask;
    if (modifiers & Qt::MetaModifier)
        mask |= Mod4Mask;
    return mask;
}

bool QxtGlobalShortcutPrivate::registerShortcut(quint32 keycode, quint32 mask)
{
    Display *dpy = display();
    if (!dpy || keycode == 0)
        return false;
    const Window root = DefaultRootWindow(dpy);
    GrabErrorTrap trap(dpy);
    for (const quint32 lock : kLockMasks)
        XGrabKey(dpy, int(keycode), mask | lock, root, True, GrabModeAsync, GrabModeAsync);
    if (!trap.failed())
        return true;
    // Another client holds at least one of the four: give back the ones we did get.
    for (const quint32 lock : kLockMasks)
        XUngrabKey(dpy, int(keycode), mask | lock, root);
    return false;
}

bool QxtGlobalShortcutPrivate::unregisterShortcut(quint32 keycode, quint32 mask)
{
    Display *dpy = display();
    if (!dpy)
        return false;
    const Window root = DefaultRootWindow(dpy);
    GrabErrorTrap trap(dpy);
    for (const quint32 lock : kLockMasks)
        XUngrabKey(dpy, int(keycode), mask | lock, root);
    return !trap.failed();
}
