#ifndef SELECTORWIDGETMAC_H
#define SELECTORWIDGETMAC_H

#include <QImage>
#include <QList>
#include <QPixmap>
#include <QPointer>
#include <QQuickView>

class MagnifierItem;
class SurfaceSelector;

// One window of a capture over several monitors: the frozen picture of its own monitor with
// the selection item of the capture view. The windows of one capture mirror the pointer and
// the selection in their own coordinates, so a selection may cross monitors. A selection
// inside one monitor goes on to the capture view on that monitor, one across monitors is cut
// out of the composite of all of them; then every window of the capture closes.
class SelectorWidgetMac : public QQuickView
{
    Q_OBJECT
    Q_PROPERTY(int indexScreen READ indexScreen WRITE setIndexScreen NOTIFY indexScreenChanged)
    Q_PROPERTY(QPixmap background READ background NOTIFY backgroundChanged)
    Q_PROPERTY(QImage backgroundImg READ backgroundImg NOTIFY backgroundImgChanged)

public:
    // core is published to the page as "core"; it may be null.
    explicit SelectorWidgetMac(QObject *core = nullptr, QWindow *parent = nullptr);

    int indexScreen() const { return m_indexScreen; }
    void setIndexScreen(int index);
    QPixmap background() const { return m_background; }
    QImage backgroundImg() const { return m_background.toImage(); }

    // Covers monitor index with a grab of it, or with frozen when that is not null; an index of
    // no monitor does nothing.
    void showOnScreen(int index, const QPixmap &frozen = QPixmap());
    // Every window of this capture in monitor order, this one included.
    void setListSelector(const QList<SelectorWidgetMac *> &list);
    void setIsShowMagnified(bool show);
    SurfaceSelector *selector() const;
    MagnifierItem *magnifier() const;

    // Pointer and selection from the window under the pointer, in desktop coordinates.
    Q_INVOKABLE void setGlobalX(int x);
    Q_INVOKABLE void setGlobalY(int y);
    Q_INVOKABLE void setGlobalRect(const QRectF &rect);
    // From this window's page, in this monitor's coordinates.
    Q_INVOKABLE void changeSelectorPos(int x, int y);
    Q_INVOKABLE void changeSelectorRect(const QRectF &rect);
    Q_INVOKABLE void selectComplete();

public slots:
    // Closes every window of the capture, once.
    void close();

signals:
    void indexScreenChanged(int index);
    void backgroundChanged(const QPixmap &picture);
    void backgroundImgChanged(const QImage &picture);
    // A selection across monitors, cut out of their composite.
    void selectCompleted(const QPixmap &picture);
    // A selection inside monitor index, in its coordinates, with that monitor's picture.
    void selectCompleted(int index, const QRect &rect, const QPixmap &picture);
    // The capture is over for this window; its owner releases it.
    void closed();

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QRect screenGeometry() const;
    // The composite of every window's frozen monitor, laid out as the desktop.
    QPixmap composite(const QRect &united) const;

    QPixmap m_background;
    QList<QPointer<SelectorWidgetMac>> m_list;
    int m_indexScreen = -1;
    QRectF m_localSelection;
    bool m_closing = false;
};

#endif // SELECTORWIDGETMAC_H
