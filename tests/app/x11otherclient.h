#ifndef X11OTHERCLIENT_H
#define X11OTHERCLIENT_H

#include <vector>

// Xlib's headers define None, Bool, KeyPress, ... which clash with Qt's; only the keysym
// macros are safe beside Qt, so the masks are spelled here.
#include <X11/keysym.h>

namespace XMask {
constexpr unsigned Shift = 0x01;
constexpr unsigned CapsLock = 0x02;
constexpr unsigned Control = 0x04;
constexpr unsigned Alt = 0x08;
constexpr unsigned NumLock = 0x10;
constexpr unsigned Super = 0x40;
} // namespace XMask

struct _XDisplay;

// A second X client beside the program under test: it holds key grabs of its own, as
// another program would, and types keys through the XTest extension, as the user would.
class X11OtherClient
{
public:
    X11OtherClient();
    ~X11OtherClient();
    X11OtherClient(const X11OtherClient &) = delete;
    X11OtherClient &operator=(const X11OtherClient &) = delete;

    // Connected to the display of $DISPLAY, with XTest there.
    bool isReady() const;

    // Grabs keysym with exactly this modifier mask on the root window; false when the server
    // refused (another client, the program under test included, holds it).
    bool grab(unsigned long keysym, unsigned mask);
    void ungrab(unsigned long keysym, unsigned mask);

    // Presses the keys in order and releases them in reverse, like a user's combination.
    void type(const std::vector<unsigned long> &keysyms);

    // Locks or unlocks modifiers (XMask::NumLock, XMask::CapsLock) of the server's keyboard.
    void setLocked(unsigned mask, bool locked);
    unsigned lockedModifiers();

private:
    unsigned keycode(unsigned long keysym) const;

    _XDisplay *m_display = nullptr;
    bool m_xtest = false;
};

#endif // X11OTHERCLIENT_H
