#ifndef QXTGLOBALSHORTCUT_P_H
#define QXTGLOBALSHORTCUT_P_H

#include "qxtglobalshortcut.h"

#include <QAbstractNativeEventFilter>
#include <QHash>
#include <QPair>

// The private part's way back to the public object that owns it.
template <typename Public> class QxtPrivate
{
public:
    explicit QxtPrivate(Public *owner)
        : m_owner(owner)
    {
    }
    virtual ~QxtPrivate() = default;
    QxtPrivate(const QxtPrivate &) = delete;
    QxtPrivate &operator=(const QxtPrivate &) = delete;

    Public *owner() const { return m_owner; }

private:
    Public *m_owner;
};

// State of one shortcut and the platform part shared by all of them. Only one private part
// at a time is installed as the native event filter: the key presses are looked up in the
// shared table, so one filter serves every shortcut.
class QxtGlobalShortcutPrivate : public QxtPrivate<QxtGlobalShortcut>,
                                 public QAbstractNativeEventFilter
{
public:
    explicit QxtGlobalShortcutPrivate(QxtGlobalShortcut *owner);
    ~QxtGlobalShortcutPrivate() override;

    bool setShortcut(const QKeySequence &shortcut);
    bool unsetShortcut();

    bool enabled = true;
    Qt::Key key = Qt::Key(0);
    Qt::KeyboardModifiers mods = Qt::NoModifier;
    // The pair grabbed for key and mods, kept because the keyboard map may change before
    // the grab is released.
    quint32 nativeKey = 0;
    quint32 nativeMods = 0;

    bool nativeEventFilter(const QByteArray &eventType, void *message, long *result) override;

    static void activateShortcut(quint32 keycode, quint32 mask);

    // The platform part (X11): 0 from nativeKeycode means the key cannot be grabbed.
    static quint32 nativeKeycode(Qt::Key key);
    static quint32 nativeModifiers(Qt::KeyboardModifiers modifiers);
    static bool registerShortcut(quint32 keycode, quint32 mask);
    static bool unregisterShortcut(quint32 keycode, quint32 mask);

    using NativePair = QPair<quint32, quint32>;
    // Which shortcut owns each grabbed (keycode, modifier mask) pair.
    static QHash<NativePair, QxtGlobalShortcut *> shortcuts;

private:
    static void moveFilter(QxtGlobalShortcutPrivate *from, QxtGlobalShortcutPrivate *to);
};

#endif // QXTGLOBALSHORTCUT_P_H
