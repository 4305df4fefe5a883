#include "qxtglobalshortcut.h"
#include "qxtglobalshortcut_p.h"

#include <QAbstractEventDispatcher>
#include <QDebug>
#include <QList>

namespace {

// Every private part alive, oldest first; the first one carries the event filter.
QList<QxtGlobalShortcutPrivate *> s_parts;

const int kModifierBits = int(Qt::KeyboardModifierMask);

QString sequenceText(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    return QKeySequence(int(key) | int(modifiers)).toString();
}

} // namespace

const char *qxtVersion()
{
    return "0.7.0";
}

QHash<QxtGlobalShortcutPrivate::NativePair, QxtGlobalShortcut *>
    QxtGlobalShortcutPrivate::shortcuts;

QxtGlobalShortcutPrivate::QxtGlobalShortcutPrivate(QxtGlobalShortcut *owner)
    : QxtPrivate<QxtGlobalShortcut>(owner)
{
    s_parts.append(this);
    if (s_parts.size() == 1)
        moveFilter(nullptr, this);
}

QxtGlobalShortcutPrivate::~QxtGlobalShortcutPrivate()
{
    const bool carriesFilter = s_parts.first() == this;
    s_parts.removeOne(this);
    // No shortcut may be left without the filter: whoever is left takes it over.
    if (carriesFilter)
        moveFilter(this, s_parts.isEmpty() ? nullptr : s_parts.first());
}

void QxtGlobalShortcutPrivate::moveFilter(
    QxtGlobalShortcutPrivate *from, QxtGlobalShortcutPrivate *to)
{
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    if (!dispatcher)
        return;
    if (from)
        dispatcher->removeNativeEventFilter(from);
    if (to)
        dispatcher->installNativeEventFilter(to);
}

bool QxtGlobalShortcutPrivate::setShortcut(const QKeySequence &shortcut)
{
    // Only the first key of a sequence counts: a global grab is one key press.
    const int first = shortcut.isEmpty() ? 0 : shortcut[0];
    key = Qt::Key(first & ~kModifierBits);
    mods = Qt::KeyboardModifiers(first & kModifierBits)
        & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const quint32 keycode = nativeKeycode(key);
    const quint32 mask = nativeModifiers(mods);
    // Keycode 0 means "any key" to the X server: such a grab would take every key of the
    // desktop with these modifiers, so a sequence without a real key is refused.
    if (keycode == 0 || !registerShortcut(keycode, mask)) {
        qWarning().noquote() << "QxtGlobalShortcut failed to register:" << shortcut.toString();
        key = Qt::Key(0);
        mods = Qt::NoModifier;
        return false;
    }
    nativeKey = keycode;
    nativeMods = mask;
    shortcuts.insert(NativePair(keycode, mask), owner());
    return true;
}

bool QxtGlobalShortcutPrivate::unsetShortcut()
{
    bool released = false;
    const NativePair pair(nativeKey, nativeMods);
    // The table entry goes whatever the X server answers: it must never point at a
    // shortcut that is being destroyed.
    if (shortcuts.value(pair) == owner()) {
        shortcuts.remove(pair);
        released = unregisterShortcut(nativeKey, nativeMods);
    }
    if (!released)
        qWarning().noquote() << "QxtGlobalShortcut failed to unregister:"
                             << sequenceText(key, mods);
    key = Qt::Key(0);
    mods = Qt::NoModifier;
    nativeKey = 0;
    nativeMods = 0;
    return released;
}

void QxtGlobalShortcutPrivate::activateShortcut(quint32 keycode, quint32 mask)
{
    QxtGlobalShortcut *shortcut = shortcuts.value(NativePair(keycode, mask));
    if (shortcut && shortcut->isEnabled())
        emit shortcut->activated();
}

QxtGlobalShortcut::QxtGlobalShortcut(QObject *parent)
    : QObject(parent)
    , d(std::make_unique<QxtGlobalShortcutPrivate>(this))
{
}

QxtGlobalShortcut::QxtGlobalShortcut(const QKeySequence &shortcut, QObject *parent)
    : QxtGlobalShortcut(parent)
{
    setShortcut(shortcut);
}

QxtGlobalShortcut::~QxtGlobalShortcut()
{
    if (d->key != 0)
        d->unsetShortcut();
}

QKeySequence QxtGlobalShortcut::shortcut() const
{
    return QKeySequence(int(d->key) | int(d->mods));
}

bool QxtGlobalShortcut::setShortcut(const QKeySequence &shortcut)
{
    if (d->key != 0)
        d->unsetShortcut();
    return d->setShortcut(shortcut);
}

bool QxtGlobalShortcut::isEnabled() const
{
    return d->enabled;
}

void QxtGlobalShortcut::setEnabled(bool enabled)
{
    d->enabled = enabled;
}

void QxtGlobalShortcut::setDisabled(bool disabled)
{
    d->enabled = !disabled;
}
