#ifndef KEYBOARDHOOK_H
#define KEYBOARDHOOK_H

#include <QObject>
#include <QString>

// The process-wide watcher of the keys pressed anywhere on the desktop, reporting each
// combination as text ("Ctrl + Shift + Print"). X11 has no such hook short of grabbing the
// whole keyboard, which would take every key from the user's programs; the program's own
// combinations arrive through the global hot keys (HookKeybord) instead, so here the hook is
// never started and never reports.
class KeyboardHook : public QObject
{
    Q_OBJECT

public:
    // Made on first use and deleted when the application quits; a call after that makes a new
    // one rather than hand out the deleted one.
    static KeyboardHook *instance();
    ~KeyboardHook() override;

public slots:
    void start();
    void stop();

signals:
    void notifyKeySequence(const QString &sequence);

private:
    KeyboardHook();
};

#endif // KEYBOARDHOOK_H
