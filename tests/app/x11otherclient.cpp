#include "x11otherclient.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace {

bool s_refused = false;

int noteRefusal(Display *, XErrorEvent *event)
{
    if (event->error_code == BadAccess)
        s_refused = true;
    return 0;
}

} // namespace

X11OtherClient::X11OtherClient()
    : m_display(XOpenDisplay(nullptr))
{
    int event = 0;
    int error = 0;
    int major = 0;
    int minor = 0;
    m_xtest = m_display && XTestQueryExtension(m_display, &event, &error, &major, &minor);
}

X11OtherClient::~X11OtherClient()
{
    if (m_display)
        XCloseDisplay(m_display);
}

bool X11OtherClient::isReady() const
{
    return m_display && m_xtest;
}

bool X11OtherClient::grab(unsigned long keysym, unsigned mask)
{
    XSync(m_display, False);
    s_refused = false;
    const XErrorHandler previous = XSetErrorHandler(noteRefusal);
    XGrabKey(m_display, int(keycode(keysym)), mask, DefaultRootWindow(m_display), True,
        GrabModeAsync, GrabModeAsync);
    XSync(m_display, False);
    XSetErrorHandler(previous);
    return !s_refused;
}

void X11OtherClient::ungrab(unsigned long keysym, unsigned mask)
{
    XUngrabKey(m_display, int(keycode(keysym)), mask, DefaultRootWindow(m_display));
    XSync(m_display, False);
}

void X11OtherClient::type(const std::vector<unsigned long> &keysyms)
{
    for (const unsigned long keysym : keysyms)
        XTestFakeKeyEvent(m_display, keycode(keysym), True, CurrentTime);
    for (auto it = keysyms.rbegin(); it != keysyms.rend(); ++it)
        XTestFakeKeyEvent(m_display, keycode(*it), False, CurrentTime);
    XSync(m_display, False);
}

void X11OtherClient::setLocked(unsigned mask, bool locked)
{
    XkbLockModifiers(m_display, XkbUseCoreKbd, mask, locked ? mask : 0);
    XSync(m_display, False);
}

unsigned X11OtherClient::lockedModifiers()
{
    XkbStateRec state;
    if (XkbGetState(m_display, XkbUseCoreKbd, &state) != Success)
        return 0;
    return state.locked_mods;
}

unsigned X11OtherClient::keycode(unsigned long keysym) const
{
    return XKeysymToKeycode(m_display, KeySym(keysym));
}
