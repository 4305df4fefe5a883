#ifndef HOOKKEYBORD_H
#define HOOKKEYBORD_H

#include <QHash>
#include <QObject>
#include <QString>

class QKeyEvent;
class QxtGlobalShortcut;

// The capture hot keys of the settings as system-wide shortcuts, each wired to its capture
// route of the controller. Released while the user types a new combination, registered
// again from the settings afterwards.
class HookKeybord : public QObject
{
    Q_OBJECT
    Q_PROPERTY(
        bool printModified READ printModified WRITE setPrintModified NOTIFY printModifiedChanged)

public:
    enum HookType {
        HookFragmentScreen = 0,
        HookQuickFragmentScreen = 1,
        HookSnapshotFull = 2,
        HookPrintModifiers = 3,
    };
    Q_ENUM(HookType)

    static HookKeybord *instance();

    // Texts of key events in the form the settings store them ("Shift + Ctrl + A").
    static QString getKeyText(int key);
    static QString getHootKey(QKeyEvent *event);
    // The stored text of a hot-key setting with the Mac symbols and "Print Screen" spelt the
    // way QKeySequence reads them; the blanks stay, for texts shown to the user.
    static QString storedKey(QLatin1String name);

    // False when no shortcut of this type holds its combination now: the hot key is off,
    // its text names no usable key, or another program has the combination.
    bool isRegistered(HookType type) const;

    bool printModified() const { return m_printModified; }
    void setPrintModified(bool printModified);

public slots:
    void updateHootKey();
    bool registerKey(const QString &key, HookType type);
    void stopHook();
    void startHook();

signals:
    void printModifiedChanged(bool printModified);
    // A hot key that is on could not be registered; error is ready to show to the user.
    void registrationFailed(HookKeybord::HookType type, const QString &error);

private:
    explicit HookKeybord(QObject *parent = nullptr);
    void releaseAll();
    void connectToCore(QxtGlobalShortcut *shortcut, HookType type);

    QString m_fragmentKey;
    QString m_quickKey;
    QString m_snapshotKey;
    QHash<HookType, QxtGlobalShortcut *> m_shortcuts;
    bool m_printModified = false;
};

#endif // HOOKKEYBORD_H
