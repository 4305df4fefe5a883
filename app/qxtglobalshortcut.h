#ifndef QXTGLOBALSHORTCUT_H
#define QXTGLOBALSHORTCUT_H

#include <QKeySequence>
#include <QObject>

#include <memory>

class QxtGlobalShortcutPrivate;

// The version of the shortcut design this class keeps to; kept for callers that ask.
const char *qxtVersion();

// One system-wide key combination: while it is registered, pressing it anywhere on the
// desktop emits activated(), whatever window has the focus.
class QxtGlobalShortcut : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool enabled READ isEnabled WRITE setEnabled)
    Q_PROPERTY(QKeySequence shortcut READ shortcut WRITE setShortcut)

public:
    explicit QxtGlobalShortcut(QObject *parent = nullptr);
    explicit QxtGlobalShortcut(const QKeySequence &shortcut, QObject *parent = nullptr);
    ~QxtGlobalShortcut() override;

    // The combination held now; empty when none is, also after a refused registration.
    QKeySequence shortcut() const;
    // False when the combination could not be grabbed: another program holds it, there is
    // no X display, or the sequence names no key that the keyboard has.
    bool setShortcut(const QKeySequence &shortcut);

    bool isEnabled() const;

public slots:
    void setEnabled(bool enabled = true);
    void setDisabled(bool disabled = true);

signals:
    void activated();

private:
    friend class QxtGlobalShortcutPrivate;
    std::unique_ptr<QxtGlobalShortcutPrivate> d;
};

#endif // QXTGLOBALSHORTCUT_H
