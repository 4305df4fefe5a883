// Capture routes: the hot keys and the tray start a capture, the window part runs it.

#include "core.h"

void Core::fragmentScreen()
{
    addAnalyticsEvent(AnalyticsEvent::CategoryCapture, AnalyticsEvent::ActionHotkey, true,
        QStringLiteral("fragment"));
    screen(false, false);
}

void Core::fullScreen()
{
    addAnalyticsEvent(AnalyticsEvent::CategoryCapture, AnalyticsEvent::ActionHotkey, true,
        QStringLiteral("screen"));
    screen(true, false);
}

void Core::quickScreen()
{
    addAnalyticsEvent(AnalyticsEvent::CategoryCapture, AnalyticsEvent::ActionHotkey, true,
        QStringLiteral("smart"));
    screenUpload(0, true);
}

void Core::screen(bool fullscreen, bool quick)
{
    windows()->screen(fullscreen, quick);
}

QList<SelectorWidgetMac *> Core::selectorWidgets() const
{
    return m_windows ? m_windows->selectorWidgets() : QList<SelectorWidgetMac *>();
}

SurfaceWidget *Core::surfaceWidget() const
{
    return m_windows ? m_windows->surfaceWidget() : nullptr;
}

void Core::openSurfaceRect(int index, const QRect &rect, const QPixmap &picture)
{
    windows()->openSurfaceRect(index, rect, picture);
}

void Core::screenUpload(int type, bool quick, const QPixmap &picture)
{
    windows()->screenUpload(type, quick, picture);
}

void Core::screenPostFacebook(const QPixmap &picture)
{
    screenUpload(PostFacebook, false, picture);
}

void Core::screenPostOdnoklassniki(const QPixmap &picture)
{
    screenUpload(PostOdnoklassniki, false, picture);
}

void Core::screenPostVK(const QPixmap &picture)
{
    screenUpload(PostVK, false, picture);
}

void Core::screenPostTwitter(const QPixmap &picture)
{
    screenUpload(PostTwitter, false, picture);
}

void Core::screenPostMail(const QPixmap &picture)
{
    screenUpload(PostMail, false, picture);
}

void Core::screenSaveToDisk(const QPixmap &picture)
{
    windows()->screenSaveToDisk(picture);
}

void Core::screenSaveToClipboard()
{
    windows()->screenSaveToClipboard();
}

void Core::selectSaveScreenFolder()
{
    windows()->selectSaveScreenFolder();
}
