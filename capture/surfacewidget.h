#ifndef SURFACEWIDGET_H
#define SURFACEWIDGET_H

#include "abstractgraphitem.h"
#include "kpainterarea.h"
#include "ponoramsession.h"
#include "surfacekeys.h"
#include "surfaceselector.h"

#include <QPixmap>
#include <QPointer>
#include <QQuickView>

#include <functional>

class MagnifierItem;
class Ponoram;
class PonoramPreview;
class TextItem;

// The full-screen capture overlay: freezes the screens, lets the user select and mark up a
// rectangle on that picture and hands the result on. It never writes or sends anything
// itself: every output request leaves as a signal that the controller answers, and only while
// a selection of at least one pixel each way exists.
class SurfaceWidget : public QQuickView
{
    Q_OBJECT
    Q_PROPERTY(QPixmap background READ background WRITE setBackground NOTIFY backgroundChanged)
    Q_PROPERTY(bool hasBackground READ hasBackground NOTIFY backgroundChanged)
    Q_PROPERTY(bool visibleCloseWindow READ visibleCloseWindow WRITE setVisibleCloseWindow NOTIFY
            visibleCloseWindowChanged)
    Q_PROPERTY(int primaryX READ primaryX CONSTANT)
    Q_PROPERTY(int primaryY READ primaryY CONSTANT)
    Q_PROPERTY(int primaryWidth READ primaryWidth CONSTANT)
    Q_PROPERTY(int primaryHeight READ primaryHeight CONSTANT)
    Q_PROPERTY(bool isCommandModified READ isCommandModified NOTIFY isCommandModifiedChanged)
    Q_PROPERTY(PonoramSession *ponoram READ ponoramSession CONSTANT)
    // The tool bar's menu names the share keys with it.
    Q_PROPERTY(int shareModifier READ shareModifier CONSTANT)

public:
    // Held with Control, it turns V, O, F, T and E into the share keys of this view.
    static constexpr Qt::KeyboardModifier ShareModifier = Qt::ShiftModifier;
    int shareModifier() const { return ShareModifier; }

    // The share actions, with the numbers of the upload's after-upload actions.
    enum PostAction {
        PostFacebook = 1,
        PostOdnoklassniki = 2,
        PostVK = 3,
        PostTwitter = 4,
        PostMail = 5
    };
    Q_ENUM(PostAction)

    // Grabs one rectangle of the desktop, in desktop coordinates.
    using Grabber = std::function<QPixmap(const QRect &desktopRect)>;
    // Replaces the grab of the screens (tests give a known picture); an empty one restores it.
    static void setGrabber(Grabber grabber);
    // The screens given, each grabbed and placed at its offset in the union of their
    // geometries; black wherever no screen is.
    static QPixmap composeScreens(const QList<QRect> &geometries, const Grabber &grab);
    // The types and the tool of the scrolling capture, for its pages.
    static void registerPonoramTypes();
    // Every type of the capture pages, the panorama's among them, once per process; every
    // capture window calls it first, since it also keeps their large pictures out of the heap.
    static void registerCaptureTypes();
    // What every capture page is given: the program's folder among its import paths, and the
    // context objects "window" and "surface" (the view), "settings" and "core" (may be null).
    static void preparePage(QQuickView *view, QObject *core);
    // A rectangle of the desktop, grabbed now through the grab that setGrabber replaces.
    static QPixmap grab(const QRect &desktopRect);
    // Whether grab() is the program's own, not one a test gave.
    static bool grabsTheScreen();
    // All screens (index -1) or one screen, grabbed now.
    static QPixmap createBackground(int screenIndex);
    // The modifiers held right now; tests give their own, since a synthetic key event reports
    // the modifiers of the event before it. An empty one restores the keyboard's.
    using ModifierSource = std::function<Qt::KeyboardModifiers()>;
    static void setModifierSource(ModifierSource source);

    // core is published to the page as "core"; it may be null. A frozen picture of the whole
    // desktop is taken as it is instead of a new grab.
    explicit SurfaceWidget(
        QObject *core = nullptr, QWindow *parent = nullptr, const QPixmap &frozen = QPixmap());

    // False when the page or one of its parts did not load; the view then offers nothing.
    bool isLoaded() const { return m_selector && m_paintArea; }

    QPixmap background() const { return m_background; }
    // False without a screen to grab: the page then shows nothing to select on.
    bool hasBackground() const { return !m_background.isNull(); }
    void setBackground(const QPixmap &picture);
    bool visibleCloseWindow() const { return m_visibleCloseWindow; }
    void setVisibleCloseWindow(bool visible);
    int primaryX() const { return primaryGeometry().x(); }
    int primaryY() const { return primaryGeometry().y(); }
    int primaryWidth() const { return primaryGeometry().width(); }
    int primaryHeight() const { return primaryGeometry().height(); }
    bool isCommandModified() const;

    // The scrolling capture of the selection.
    PonoramSession *ponoramSession() const { return m_ponoram; }
    bool isPonoramWork() const { return m_ponoram->isPonoramWork(); }
    QSize ponoramSize() const { return m_ponoram->ponoramSize(); }
    // A panorama has been made: output comes from it from now on.
    bool ponoramDone() const { return m_ponoram->ponoramDone(); }
    QPixmap ponoramPixmap() const { return m_ponoram->ponoramPixmap(); }
    KPainterArea *ponoramPaintArea() const;
    PonoramPreview *ponoramPreview() const;
    // The engine, once a scrolling capture has started.
    Ponoram *ponoram() const;

    void setFullscreen(bool value);
    void setQuickScreen(bool value);
    bool isQuickScreen() const { return m_quickScreen; }
    // Covers every screen.
    void show();
    // Opens on screen index only, with rect preset as the selection.
    void showOnWindow(int index, const QRect &rect, const QPixmap &picture);

    SurfaceSelector *selector() const { return m_selector; }
    KPainterArea *paintArea() const { return m_paintArea; }
    MagnifierItem *magnifier() const;
    // The selection in whole pixels of the view.
    QRect selectRect() const;
    // The selection in desktop coordinates, wherever the view stands.
    QRect desktopSelectRect() const { return selectRect().translated(position()); }
    // At least one pixel each way is selected.
    bool hasSelection() const;
    // The selection with its shapes, without selection handles, or the panorama made of it
    // with the shapes on it; null without a selection.
    QPixmap renderRubberRect();

    // The picture as a PNG data URL; the page itself takes the picture as it is, which is faster.
    Q_INVOKABLE QString requestBackground() const;
    // The screen the tool bar belongs on for an area of the view (the lowest screen it
    // touches, else the primary one), in the view's coordinates.
    Q_INVOKABLE QRect toolbarScreen(int x, int y, int width, int height) const;
    Q_INVOKABLE QPointF mapToScene(QQuickItem *item) const;
    Q_INVOKABLE void setPaintArea(KPainterArea *area);
    Q_INVOKABLE void checkProperties();
    Q_INVOKABLE void setEnableMask(bool enable);

    // The output requests the tool bar and the keys call; each does nothing without a
    // selection.
    Q_INVOKABLE void uploadScreen();
    Q_INVOKABLE void saveScreen();
    Q_INVOKABLE void screenSaveToClipboard();
    Q_INVOKABLE void screenPostVK() { post(PostVK); }
    Q_INVOKABLE void screenPostOdnoklassniki() { post(PostOdnoklassniki); }
    Q_INVOKABLE void screenPostFacebook() { post(PostFacebook); }
    Q_INVOKABLE void screenPostTwitter() { post(PostTwitter); }
    Q_INVOKABLE void screenPostMail() { post(PostMail); }

public slots:
    void close();
    // Starts a scrolling capture of the selection; nothing without one or while one runs.
    void startPonoram();
    // Ends it with the panorama gathered so far, or without any.
    void stopPonoram();
    void cancelPonoram();

signals:
    void uploadedScreen();
    void saveScreenRequested();
    void clipboardRequested();
    void postRequested(int action);
    void closed();
    void backgroundChanged(const QPixmap &picture);
    void visibleCloseWindowChanged(bool visible);
    void hideToolBar();
    void isCommandModifiedChanged();
    void ponoramPixmapComplete();

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private slots:
    void ponoramComplete();

private:
    static QRect primaryGeometry();
    void connectPonoram();
    // The canvas the keys act on: the panorama's once there is one.
    KPainterArea *markedCanvas() const;
    QPixmap renderPonoram();
    void loadPage(QObject *core);
    void post(PostAction action);
    void copyColor();
    bool noToolChosen() const;
    void writeScreenLog(int index, const QRect &rect) const;
    void reportClosed();
    SurfaceKeys::State keyState() const;
    // The current text box when some of its text is selected, else null.
    TextItem *textWithSelection() const;
    void runKeyAction(SurfaceKeys::Action action);

    QPointer<KPainterArea> m_paintArea;
    QPointer<SurfaceSelector> m_selector;
    QPoint m_lastPos;
    bool m_pressed = false;
    bool m_draggingSelection = false;
    bool m_quickScreen = false;
    bool m_visibleCloseWindow = false;
    bool m_clipboardPending = false;
    bool m_closeReported = false;
    QPixmap m_background;
    PonoramSession *m_ponoram = nullptr;
};

#endif // SURFACEWIDGET_H
