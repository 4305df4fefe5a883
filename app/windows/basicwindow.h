#ifndef BASICWINDOW_H
#define BASICWINDOW_H

#include <QPixmap>
#include <QQuickView>
#include <QVariantHash>

// The base of every small window: a frameless, transparent view of one page of
// "qrc:/qml/qml/Window/", which sees the window as "window", the controller as "core" and the
// settings as "settings". It places itself on the primary screen, cuts its outline with a
// rounded mask, can be dragged by a band near its top, closes on Escape, and keeps a small
// key/value store through which its owner hands texts to the page.
class BasicWindow : public QQuickView
{
    Q_OBJECT
    Q_PROPERTY(int width READ width WRITE setWidth NOTIFY widthChanged)
    Q_PROPERTY(int height READ height WRITE setHeight NOTIFY heightChanged)
    Q_PROPERTY(
        bool isTransparentSupport READ isTransparentSupport NOTIFY isTransparentSupportChanged)
    Q_PROPERTY(QRect geometry READ geometry NOTIFY geometryChanged)

public:
    // The window-local rows of the drag band, both included.
    static constexpr int kDragBandTop = 31;
    static constexpr int kDragBandBottom = 59;
    // The room of the page's shadow on every side, where a compositing manager shows it.
    static constexpr int kShadowSize = 10;

    explicit BasicWindow(QWindow *parent = nullptr);

    // Where a window of this size goes in the available area of a screen: its centre, or its
    // bottom-right corner. Never above or left of the area, so a window larger than the area
    // keeps its title band on the screen and out from under a panel.
    static QPoint placement(const QRect &available, const QSize &size, bool centred);
    // The outline of a window of this size: the corner picture's corners on a full rectangle.
    static QRegion roundedMask(const QSize &size, const QPixmap &corner);

    void setData(const QString &key, const QVariant &value);
    Q_INVOKABLE QVariant data(const QString &key) const;

    Q_INVOKABLE void setWidth(int width);
    Q_INVOKABLE virtual void setHeight(int height);
    void setMoviable(bool moviable) { m_moviable = moviable; }
    bool isMoved() const { return m_moved; }
    Q_INVOKABLE void setPosCenter(bool centred);
    // Whether the desktop can show the window's translucent shadow: only a compositing
    // manager can; without one the page draws no shadow, which would show as a black frame.
    bool isTransparentSupport() const { return m_transparent; }
    Q_INVOKABLE void move(int x, int y);

public slots:
    virtual void show();
    void hide();
    void close();
    void updatePos();
    QPointF mapToScene(QQuickItem *item) const;
    QPointF mapToScenePoint(QQuickItem *item, int x, int y) const;

signals:
    void dataChanged(const QString &key, const QVariant &value);
    // The window's own size signals, relayed: Qt cannot name a base class's signal with
    // arguments as the notifier of a property.
    void widthChanged(int width);
    void heightChanged(int height);
    void showed();
    void hided();
    void closed();
    void isTransparentSupportChanged();
    void geometryChanged();

protected:
    // Called once by the subclass's constructor, when its own members exist: publishes the
    // context properties, then runs init(), where the subclass loads its page.
    void setupUi();
    virtual void init() = 0;
    // Loads "qrc:/qml/qml/Window/<page>"; a page that does not load is logged, and the window
    // stays empty rather than failing later on a missing item.
    bool loadPage(const QString &page);
    static QRect availableArea();
    // text cut in its middle to a length a window can show whole, keeping the start and the
    // end (of a long path: the folders nearest the root and the file name).
    static QString fitText(const QString &text);
    // The title followed by the name of the signed-in user.
    void setTitleWithUser(const QString &title);

    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    QVariantHash m_data;
    QPixmap m_corner;
    bool m_centred = false;
    QPoint m_pressPoint;
    bool m_moved = false;
    bool m_moviable = false;
    bool m_dragging = false;
    bool m_closing = false;
    bool m_transparent = true;

    void checkCompositing();
};

#endif // BASICWINDOW_H
