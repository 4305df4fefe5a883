#ifndef EDITPONORAMWIDGET_H
#define EDITPONORAMWIDGET_H

#include "kpainterarea.h"
#include "surfacekeys.h"
#include "surfacewidget.h"

#include <QPixmap>
#include <QPointer>
#include <QQuickView>

class TextItem;

// The editor window of a finished picture that the capture view cannot show: a selection
// across screens or the full shot of several screens. The picture is marked up on the capture
// view's canvas with its tool bar, zoomed without changing the picture, and handed on as
// signals that the controller answers; the window itself only puts it on the clipboard.
class EditPonoramWidget : public QQuickView
{
    Q_OBJECT
    Q_PROPERTY(int maxWidth READ maxWidth NOTIFY maxWidthChanged)
    Q_PROPERTY(int maxHeight READ maxHeight NOTIFY maxHeightChanged)
    Q_PROPERTY(int currentPixmapAcpectRatio READ currentPixmapAcpectRatio NOTIFY
            currentPixmapAcpectRatioChanged)
    Q_PROPERTY(
        bool isTransparentSupport READ isTransparentSupport NOTIFY isTransparentSupportChanged)
    Q_PROPERTY(QPixmap background READ background NOTIFY backgroundChange)
    Q_PROPERTY(QSize pictureSize READ pictureSize NOTIFY backgroundChange)
    // The tool bar's menu names the share keys with it.
    Q_PROPERTY(int shareModifier READ shareModifier CONSTANT)

public:
    // Held with Control, it turns V, O, F, T and E into the share keys of this window.
    static constexpr Qt::KeyboardModifier ShareModifier = Qt::AltModifier;
    int shareModifier() const { return ShareModifier; }

    // core is published to the page as "core"; it may be null.
    explicit EditPonoramWidget(
        const QPixmap &pixmap, QObject *core = nullptr, QWindow *parent = nullptr);

    int maxWidth() const { return m_maxWidth; }
    int maxHeight() const { return m_maxHeight; }
    int currentPixmapAcpectRatio() const { return m_pixmapRatio; }
    // Whether a compositing manager shows the clear margin around the page as such; without
    // one the margin would be black, and the page has none.
    bool isTransparentSupport() const { return m_transparent; }
    QPixmap background() const { return m_background; }
    QSize pictureSize() const { return m_background.size(); }

    // Shows the picture and centres the window on it in the primary screen's free area.
    void setBackground(const QPixmap &pixmap);
    // Centred in the primary screen's free area.
    void show();
    KPainterArea *paintArea() const { return m_paintArea; }
    // The picture with its shapes, without handles, at the picture's own size.
    QPixmap renderPicture();

    Q_INVOKABLE void close();
    Q_INVOKABLE void uploadScreen();
    Q_INVOKABLE void saveScreen();
    Q_INVOKABLE void screenSaveToClipboard();
    Q_INVOKABLE void screenPostVK() { post(SurfaceWidget::PostVK); }
    Q_INVOKABLE void screenPostOdnoklassniki() { post(SurfaceWidget::PostOdnoklassniki); }
    Q_INVOKABLE void screenPostFacebook() { post(SurfaceWidget::PostFacebook); }
    Q_INVOKABLE void screenPostTwitter() { post(SurfaceWidget::PostTwitter); }
    // The mail is written beside the window, which stays open for it.
    Q_INVOKABLE void screenPostMail() { post(SurfaceWidget::PostMail, false); }
    Q_INVOKABLE void move(int x, int y);

signals:
    void closed();
    void uploadRequested(const QPixmap &picture);
    void saveRequested(const QPixmap &picture);
    void postRequested(int action, const QPixmap &picture);
    void maxWidthChanged();
    void maxHeightChanged();
    void hideToolBar();
    void currentPixmapAcpectRatioChanged();
    void isTransparentSupportChanged(bool supported);
    void backgroundChange();

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    void loadPage(QObject *core);
    void checkCompositing();
    void post(int action, bool closeAfter = true);
    SurfaceKeys::State keyState() const;
    TextItem *textWithSelection() const;
    void runKeyAction(SurfaceKeys::Action action);
    void reportClosed();

    QPixmap m_background;
    int m_maxWidth = 0;
    int m_maxHeight = 0;
    int m_pixmapRatio = 1;
    QPointer<KPainterArea> m_paintArea;
    bool m_escapeUnchecked = false;
    bool m_closeReported = false;
    bool m_transparent = true;
};

#endif // EDITPONORAMWIDGET_H
