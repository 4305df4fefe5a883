// Panorama routes: the panorama window and where its finished, marked-up picture goes.

#include "core.h"
#include "editponoramwidget.h"
#include "maintoolwidget.h"
#include "networkexchange.h"
#include "paths.h"
#include "pictureformat.h"
#include "setting.h"
#include "surfaceponoramscreen.h"

#include <QClipboard>
#include <QDateTime>
#include <QDebug>
#include <QDir>

SurfacePonoramScreen *Core::surfacePonoramScreen()
{
    if (m_surfacePonoramScreen)
        return m_surfacePonoramScreen;
    auto *view = new SurfacePonoramScreen(this);
    m_surfacePonoramScreen = view;
    connect(view, &SurfacePonoramScreen::closed, view, &QObject::deleteLater);
    connect(view, &SurfacePonoramScreen::uploadedScreen, this, &Core::ponoramUpload);
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
        screenUpload(HandlerUpload::TypeAfterAction(action), false, view->renderRubberRect());
        view->close();
    });
    return view;
}

// Every panorama gets a window of its own; one still open is dropped at once.
void Core::ponoramScreen()
{
    if (m_mainToolWidget) {
        m_mainToolWidget->hide();
        m_mainToolWidget->setPosition(-1000, -1000);
    }
    delete m_surfacePonoramScreen.data();
    surfacePonoramScreen()->show();
}

// Not counted as a capture, and without extra copy or audio: the panorama window's accept.
void Core::ponoramUpload()
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

EditPonoramWidget *Core::editPonoramWidget() const
{
    return m_editPonoramWidget;
}

void Core::ponoramEdit(const QPixmap &picture)
{
    emit deletedSurfaceScreen();
    if (m_editPonoramWidget || picture.isNull())
        return;
    auto *editor = new EditPonoramWidget(picture, this);
    m_editPonoramWidget = editor;
    connect(editor, &EditPonoramWidget::closed, this, &Core::deleteEditPonoram);
    connect(editor, &EditPonoramWidget::uploadRequested, this,
        [this](const QPixmap &shot) { screenUpload(HandlerUpload::PostNone, false, shot); });
    connect(editor, &EditPonoramWidget::saveRequested, this,
        [this](const QPixmap &shot) { screenSaveToDisk(shot); });
    connect(
        editor, &EditPonoramWidget::postRequested, this, [this](int action, const QPixmap &shot) {
            screenUpload(HandlerUpload::TypeAfterAction(action), false, shot);
        });
    editor->show();
}

void Core::deleteEditPonoram()
{
    qDebug() << Q_FUNC_INFO;
    if (m_editPonoramWidget)
        m_editPonoramWidget->deleteLater();
    m_editPonoramWidget.clear();
}
