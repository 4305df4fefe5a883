#include "hookkeybord.h"
#include "core.h"
#include "qxtglobalshortcut.h"
#include "setting.h"

#include <QDebug>
#include <QKeyEvent>
#include <QKeySequence>

namespace {

const QString kJoint = QStringLiteral(" + ");

bool isOn(QLatin1String name)
{
    return Setting::instance()->getValue(name).toBool();
}

} // namespace

HookKeybord *HookKeybord::instance()
{
    static HookKeybord *hook = new HookKeybord;
    return hook;
}

HookKeybord::HookKeybord(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<HookKeybord::HookType>();
}

QString HookKeybord::getKeyText(int key)
{
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
        return QString(QChar(key));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return QStringLiteral("F") + QString::number(key - Qt::Key_F1 + 1);
    if (key == Qt::Key_Print)
        return QStringLiteral("Print");
    return QString();
}

QString HookKeybord::storedKey(QLatin1String name)
{
    QString text = Setting::instance()->getValue(name).toString();
    text.replace(QStringLiteral("⇧"), QStringLiteral("Shift"));
    text.replace(QStringLiteral("⌘"), QStringLiteral("Ctrl"));
    text.replace(QStringLiteral("Print Screen"), QStringLiteral("Print"));
    return text;
}

QString HookKeybord::getHootKey(QKeyEvent *event)
{
    QStringList parts;
    if (event->modifiers() & Qt::ShiftModifier)
        parts << QStringLiteral("Shift");
    if (event->modifiers() & Qt::ControlModifier)
        parts << QStringLiteral("Ctrl");
    if (event->modifiers() & Qt::AltModifier)
        parts << QStringLiteral("Alt");
    const QString key = getKeyText(event->key());
    if (parts.isEmpty() || key.isEmpty())
        return QString();
    parts << key;
    return parts.join(kJoint);
}

bool HookKeybord::isRegistered(HookType type) const
{
    return m_shortcuts.contains(type);
}

void HookKeybord::setPrintModified(bool printModified)
{
    if (m_printModified == printModified)
        return;
    m_printModified = printModified;
    emit printModifiedChanged(printModified);
}

void HookKeybord::updateHootKey()
{
    releaseAll();
    m_fragmentKey = storedKey(SettingKeys::keyFragmentScreen);
    m_quickKey = storedKey(SettingKeys::keyQuickFragmentScreen);
    m_snapshotKey = storedKey(SettingKeys::keySnapshotScreen);
    if (isOn(SettingKeys::fragmentScreen))
        registerKey(m_fragmentKey, HookFragmentScreen);
    if (isOn(SettingKeys::quickFragmentScreen))
        registerKey(m_quickKey, HookQuickFragmentScreen);
    if (isOn(SettingKeys::snapshotFull))
        registerKey(m_snapshotKey, HookSnapshotFull);
}

bool HookKeybord::registerKey(const QString &key, HookType type)
{
    QString compact = key;
    compact.remove(QLatin1Char(' '));
    const QKeySequence sequence = QKeySequence::fromString(compact, QKeySequence::PortableText);
    delete m_shortcuts.take(type);
    // A sequence without a key is never handed on: grabbing it would take every key.
    const int keyPart = sequence.isEmpty() ? 0 : sequence[0] & ~int(Qt::KeyboardModifierMask);
    if (keyPart == 0 || keyPart == Qt::Key_unknown) {
        emit registrationFailed(type, tr("\"%1\" is not a key combination.").arg(key));
        return false;
    }
    auto *shortcut = new QxtGlobalShortcut(this);
    if (!shortcut->setShortcut(sequence)) {
        delete shortcut;
        emit registrationFailed(type,
            tr("The key combination %1 cannot be used: another program may hold it.").arg(key));
        return false;
    }
    connectToCore(shortcut, type);
    m_shortcuts.insert(type, shortcut);
    return true;
}

void HookKeybord::connectToCore(QxtGlobalShortcut *shortcut, HookType type)
{
    switch (type) {
    case HookFragmentScreen:
        connect(shortcut, &QxtGlobalShortcut::activated, Core::instance(), &Core::fragmentScreen);
        break;
    case HookQuickFragmentScreen:
        connect(shortcut, &QxtGlobalShortcut::activated, Core::instance(), &Core::quickScreen);
        break;
    case HookSnapshotFull:
        connect(shortcut, &QxtGlobalShortcut::activated, Core::instance(), &Core::fullScreen);
        break;
    case HookPrintModifiers:
        break;
    }
}

void HookKeybord::stopHook()
{
    qDebug() << Q_FUNC_INFO;
    releaseAll();
}

void HookKeybord::startHook()
{
    qDebug() << Q_FUNC_INFO;
    updateHootKey();
}

void HookKeybord::releaseAll()
{
    for (QxtGlobalShortcut *shortcut : qAsConst(m_shortcuts)) {
        shortcut->setDisabled(true);
        delete shortcut;
    }
    m_shortcuts.clear();
}
