#ifndef KEYBOARDHOOK_H
#define KEYBOARDHOOK_H

#include <QObject>
#include <QString>

// The process-wide watcher of the keys pressed anywhere on the desktop, reporting each
// combination as text ("Ctrl + Shift + Print"). On X11 it watches nothing and so never
// reports: the program's own combinations arrive through the global hot keys (HookKeybord),
// and nothing here needs the keys of other programs.
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
