// Panorama routes: the panorama window and where its finished, marked-up picture goes.

#include "core.h"
#include "editponoramwidget.h"
#include "maintoolwidget.h"
#include "networkexchange.h"
#include "paths.h"
#include "pictureformat.h"
#include "setting.h"
#include "surfaceponoramscreen.h"
#include "windowset.h"

#include <QClipboard>
#include <QDateTime>
#include <QDebug>
#include <QDir>

SurfacePonoramScreen *WindowSet::surfacePonoramScreen()
{
    if (m_surfacePonoramScreen)
        return m_surfacePonoramScreen;
    auto *view = new SurfacePonoramScreen(m_core);
    m_surfacePonoramScreen = view;
    connect(view, &SurfacePonoramScreen::closed, view, &QObject::deleteLater);
    connect(view, &SurfacePonoramScreen::uploadedScreen, this, &WindowSet::ponoramUpload);
    connect(view, &SurfacePonoramScreen::saveScreenRequested, this, [this, view] {
        const QPixmap picture = view->renderRubberRect();
        view->hide();
        screenSaveToDisk(picture);
        view->close();
    });
    connect(view, &SurfacePonoramScreen::clipboardRequested, this, [this, view] {
        m_clipboard->clear();
        m_clipboard->setImage(view->renderRubberRect().toImage());
        view->close();
    });
    connect(view, &SurfacePonoramScreen::postRequested, this, [this, view](int action) {
        screenUpload(action, false, view->renderRubberRect());
        view->close();
    });
    return view;
}

// Every panorama gets a window of its own; one still open is dropped at once.
void WindowSet::ponoramScreen()
{
    if (m_mainToolWidget) {
        m_mainToolWidget->hide();
        m_mainToolWidget->setPosition(-1000, -1000);
    }
    delete m_surfacePonoramScreen.data();
    surfacePonoramScreen()->show();
}

// Not counted as a capture, and without extra copy or audio: the panorama window's accept.
void WindowSet::ponoramUpload()
{
    if (!m_surfacePonoramScreen)
        return;
    const QPixmap picture = m_surfacePonoramScreen->renderRubberRect();
    if (picture.isNull()) {
        qDebug() << Q_FUNC_INFO << "no panorama yet";
        return;
    }
    QDir().mkpath(Paths::tempFolder());
    const QString file = Paths::tempFolder() + QString::number(QDateTime::currentMSecsSinceEpoch())
        + PictureFormat::current().extension();
    if (!writeCapture(picture, file))
        return;
    const QString description
        = Setting::instance()->getValue(SettingKeys::showActiveWindow).toBool()
        ? QString::number(QDateTime::currentMSecsSinceEpoch())
        : QString();
    exchange()->uploadScreen(file, description, HandlerUpload::PostNone);
    m_surfacePonoramScreen->close();
}

EditPonoramWidget *WindowSet::editPonoramWidget() const
{
    return m_editPonoramWidget;
}

void WindowSet::ponoramEdit(const QPixmap &picture)
{
    emit m_core->deletedSurfaceScreen();
    if (m_editPonoramWidget || picture.isNull())
        return;
    auto *editor = new EditPonoramWidget(picture, m_core);
    m_editPonoramWidget = editor;
    connect(editor, &EditPonoramWidget::closed, this, &WindowSet::deleteEditPonoram);
    connect(editor, &EditPonoramWidget::uploadRequested, this,
        [this](const QPixmap &shot) { screenUpload(HandlerUpload::PostNone, false, shot); });
    connect(editor, &EditPonoramWidget::saveRequested, this,
        [this](const QPixmap &shot) { screenSaveToDisk(shot); });
    connect(editor, &EditPonoramWidget::postRequested, this,
        [this](int action, const QPixmap &shot) { screenUpload(action, false, shot); });
    editor->show();
}

void WindowSet::deleteEditPonoram()
{
    qDebug() << Q_FUNC_INFO;
    if (m_editPonoramWidget)
        m_editPonoramWidget->deleteLater();
    m_editPonoramWidget.clear();
}
