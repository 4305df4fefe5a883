#ifndef SURFACEPONORAMSCREEN_H
#define SURFACEPONORAMSCREEN_H

#include "kpainterarea.h"
#include "ponoramsession.h"
#include "surfaceselector.h"
#include "surfacewidget.h"

#include <QPixmap>
#include <QPointer>
#include <QQuickView>

// The panorama window: over the frozen first screen the user selects the part of a document
// to capture; the scrolling capture then runs on it at once, and the finished panorama is
// shown there to be marked up and handed on. Like the capture view it sends nothing itself:
// its outputs leave as signals, and only once a panorama exists.
class SurfacePonoramScreen : public QQuickView
{
    Q_OBJECT
    Q_PROPERTY(QPixmap background READ background NOTIFY backgroundChanged)
    Q_PROPERTY(PonoramSession *ponoram READ session CONSTANT)

public:
    // core is published to the page as "core"; it may be null.
    explicit SurfacePonoramScreen(QObject *core = nullptr, QWindow *parent = nullptr);

    // The first screen, grabbed now; null without a screen.
    static QPixmap createBackground();

    QPixmap background() const { return m_background; }
    PonoramSession *session() const { return m_ponoram; }

    // Covers the first screen.
    void show();
    SurfaceSelector *selector() const { return m_selector; }
    // The canvas over the panorama, once the page has made it.
    KPainterArea *paintArea() const { return m_paintArea; }
    // The panorama with its shapes; null before a panorama has arrived.
    QPixmap renderRubberRect();

    // The screen the tool bar belongs on for an area of the window: of the screens it
    // touches the lowest, the first of equal ones; a null rectangle when it touches none.
    Q_INVOKABLE QRect toolbarScreen(int x, int y, int width, int height) const;
    Q_INVOKABLE void setPaintArea(KPainterArea *area);

    // Starts the scrolling capture on the selection just made.
    Q_INVOKABLE void startPonoram();
    Q_INVOKABLE void stopPonoram();
    Q_INVOKABLE void cancelPonoram();

    // The outputs of the tool bar; each does nothing before a panorama has arrived.
    Q_INVOKABLE void uploadScreen();
    Q_INVOKABLE void saveScreen();
    Q_INVOKABLE void screenSaveToClipboard();
    Q_INVOKABLE void screenPostVK() { post(SurfaceWidget::PostVK); }
    Q_INVOKABLE void screenPostOdnoklassniki() { post(SurfaceWidget::PostOdnoklassniki); }
    Q_INVOKABLE void screenPostFacebook() { post(SurfaceWidget::PostFacebook); }
    Q_INVOKABLE void screenPostTwitter() { post(SurfaceWidget::PostTwitter); }
    Q_INVOKABLE void screenPostMail() { post(SurfaceWidget::PostMail); }

signals:
    void backgroundChanged(const QPixmap &picture);
    void ponoramPixmapComplete(const QPixmap &picture);
    void uploadedScreen();
    void saveScreenRequested();
    void clipboardRequested();
    void postRequested(int action);
    void closed();

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private slots:
    void stopPonoram(const QPixmap &picture);

private:
    void connectPonoram();
    void loadPage(QObject *core);
    void post(int action);

    QPixmap m_background;
    PonoramSession *m_ponoram = nullptr;
    QPointer<SurfaceSelector> m_selector;
    QPointer<KPainterArea> m_paintArea;
};

#endif // SURFACEPONORAMSCREEN_H
