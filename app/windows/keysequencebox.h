#ifndef KEYSEQUENCEBOX_H
#define KEYSEQUENCEBOX_H

#include <QQuickView>
#include <QString>
#include <QTimer>

// A box above everything that shows a key combination as caps ("Ctrl", "Shift", the key) and
// fades out three seconds after the last combination it was given. Its creator shows the
// window; the box itself only fades its page in and out.
class KeySequenceBox : public QQuickView
{
    Q_OBJECT

public:
    explicit KeySequenceBox(QWindow *parent = nullptr);

public slots:
    // sequence in the form of the hot-key settings, "Ctrl + Shift + Print".
    void setKeySequence(const QString &sequence);

protected:
    bool event(QEvent *event) override;

private slots:
    void hideBox();

private:
    QQuickItem *livePage() const;

    QTimer m_timer;
    bool m_surfaceDestroyed = false;
};

#endif // KEYSEQUENCEBOX_H
