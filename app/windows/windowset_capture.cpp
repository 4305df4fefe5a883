// Capture routes: starting a capture and taking the finished picture to a file, the
// clipboard or an upload.

#include "checkedsavefile.h"
#include "core.h"
#include "maintoolwidget.h"
#include "messagedialog.h"
#include "networkexchange.h"
#include "paths.h"
#include "pictureformat.h"
#include "picturesavedialog.h"
#include "selectorwidgetmac.h"
#include "setting.h"
#include "surfacewidget.h"
#include "windowset.h"

#include <QClipboard>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

// The controller names the social posts by number for the side of the program without uploads.
static_assert(int(Core::PostFacebook) == HandlerUpload::PostFacebook
    && int(Core::PostOdnoklassniki) == HandlerUpload::PostOdnoklassniki
    && int(Core::PostVK) == HandlerUpload::PostVK
    && int(Core::PostTwitter) == HandlerUpload::PostTwitter
    && int(Core::PostMail) == HandlerUpload::PostMail);

namespace {

QVariant value(QLatin1String key)
{
    return Setting::instance()->getValue(key);
}

void setValue(QLatin1String key, const QVariant &data)
{
    Setting::instance()->setValue(key, data);
}

// The folder of the extra copies is stored with backslashes.
QString extraCopyName(const PictureFormat &format)
{
    QString folder = value(SettingKeys::saveScreenFolder).toString();
    folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return folder + QLatin1Char('/')
        + QDateTime::currentDateTime().toString(QStringLiteral("dd-MM-yyyy hh-mm-ss"))
        + format.extension();
}

} // namespace

QString WindowSet::millisecondsNow()
{
    return QString::number(QDateTime::currentMSecsSinceEpoch());
}

// Several monitors are covered by one view over their union, the gaps between them black.
void WindowSet::screen(bool fullscreen, bool quick)
{
    m_core->clearAudioFile();
    if (!m_core->checkAutorization())
        return;
    // Over several monitors the full shot goes to the editor window, which zooms out to all of it.
    if (fullscreen && QGuiApplication::screens().size() > 1) {
        ponoramEdit(SurfaceWidget::createBackground(-1));
        return;
    }
    if (m_mainToolWidget) {
        m_mainToolWidget->hide();
        m_mainToolWidget->setPosition(-1000, -1000);
    }
    if (QGuiApplication::screens().size() > 1) {
        showSelectors();
        return;
    }
    SurfaceWidget *view = newSurfaceWidget();
    view->setFullscreen(fullscreen);
    view->setQuickScreen(quick);
    view->show();
}

// One window a monitor; a capture still selecting is dropped first. Each window holds an engine
// and a grab of its monitor, so all of them go when the capture ends.
void WindowSet::showSelectors()
{
    for (SelectorWidgetMac *window : selectorWidgets())
        window->close();
    m_selectors.clear();
    // A capture view still open would be grabbed on its way off the screen: its monitor
    // starts from the picture the view froze.
    const bool viewOpen = m_surfaceWidget && m_surfaceWidget->isVisible();
    const QRect frozenArea = viewOpen ? m_surfaceWidget->geometry() : QRect();
    const QPixmap frozen = viewOpen ? m_surfaceWidget->background() : QPixmap();
    closeSurfaceWidget();
    QList<SelectorWidgetMac *> windows;
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (int i = 0; i < screens.size(); ++i) {
        SelectorWidgetMac *window = surfaceSelectorWidgetMac();
        windows << window;
        window->showOnScreen(i, screens.at(i)->geometry() == frozenArea ? frozen : QPixmap());
    }
    for (SelectorWidgetMac *window : qAsConst(windows))
        window->setListSelector(windows);
}

SelectorWidgetMac *WindowSet::surfaceSelectorWidgetMac()
{
    auto *window = new SelectorWidgetMac(m_core);
    m_selectors << window;
    connect(window, &SelectorWidgetMac::closed, window, &QObject::deleteLater);
    connect(window, qOverload<const QPixmap &>(&SelectorWidgetMac::selectCompleted), this,
        &WindowSet::ponoramEdit);
    connect(window,
        qOverload<int, const QRect &, const QPixmap &>(&SelectorWidgetMac::selectCompleted), this,
        &WindowSet::openSurfaceRect);
    return window;
}

QList<SelectorWidgetMac *> WindowSet::selectorWidgets() const
{
    QList<SelectorWidgetMac *> windows;
    for (const QPointer<SelectorWidgetMac> &window : m_selectors) {
        if (window)
            windows << window;
    }
    return windows;
}

SurfaceWidget *WindowSet::surfaceWidget() const
{
    return m_surfaceWidget;
}

void WindowSet::openSurfaceRect(int index, const QRect &rect, const QPixmap &picture)
{
    newSurfaceWidget()->showOnWindow(index, rect, picture);
}

// Every capture gets a view of its own; a capture still open is dropped. While that one is on
// the screen it covers the desktop, so a grab now would freeze the old view on its way out:
// the new view starts from the old one's picture, which is what the desktop still shows.
SurfaceWidget *WindowSet::newSurfaceWidget()
{
    const QPixmap frozen = m_surfaceWidget && m_surfaceWidget->isVisible()
        ? m_surfaceWidget->background()
        : QPixmap();
    closeSurfaceWidget();
    auto *view = new SurfaceWidget(m_core, nullptr, frozen);
    m_surfaceWidget = view;
    connect(view, &SurfaceWidget::closed, view, &QObject::deleteLater);
    connect(view, &SurfaceWidget::uploadedScreen, this,
        [this] { screenUpload(HandlerUpload::PostNone, false, QPixmap()); });
    connect(view, &SurfaceWidget::postRequested, this,
        [this](int action) { screenUpload(action, false, QPixmap()); });
    connect(
        view, &SurfaceWidget::saveScreenRequested, this, [this] { screenSaveToDisk(QPixmap()); });
    connect(view, &SurfaceWidget::clipboardRequested, this, &WindowSet::screenSaveToClipboard);
    return view;
}

void WindowSet::closeSurfaceWidget()
{
    if (m_surfaceWidget)
        m_surfaceWidget->close();
    m_surfaceWidget.clear();
}

// The selection of the open capture view with its shapes; null when there is none.
QPixmap WindowSet::takeSelection()
{
    if (!m_surfaceWidget || !m_surfaceWidget->hasSelection())
        return QPixmap();
    return m_surfaceWidget->renderRubberRect();
}

bool WindowSet::writeCapture(
    const QPixmap &picture, const QString &fileName, const PictureFormat &format)
{
    QString problem;
    if (format.write(picture.toImage(), fileName, &problem))
        return true;
    qDebug() << Q_FUNC_INFO << fileName << problem;
    showErrorWidget(Core::tr("The picture could not be saved to %1: %2").arg(fileName, problem));
    return false;
}

void WindowSet::writeExtraCopy(const QPixmap &picture)
{
    if (!value(SettingKeys::useSaveScreen).toBool())
        return;
    writeCapture(picture, extraCopyName(PictureFormat::current()));
}

void WindowSet::screenUpload(int type, bool quick, const QPixmap &picture)
{
    QPixmap shot = picture;
    const bool fromView = shot.isNull() && !quick;
    if (shot.isNull() && quick) {
        shot = SurfaceWidget::createBackground(-1);
    } else if (fromView) {
        shot = takeSelection();
        if (shot.isNull())
            return;
    }
    if (shot.isNull()) {
        qDebug() << Q_FUNC_INFO << "no screen to capture";
        return;
    }
    setValue(SettingKeys::countScreen, value(SettingKeys::countScreen).toInt() + 1);
    setValue(SettingKeys::dateLastScreen, QDateTime::currentDateTime());

    QDir().mkpath(Paths::tempFolder());
    const QString file
        = Paths::tempFolder() + millisecondsNow() + PictureFormat::current().extension();
    // Unwritten, the capture would be lost with its view: the view stays for another try.
    if (!writeCapture(shot, file))
        return;
    if (fromView)
        closeSurfaceWidget();
    m_captureFile = file;
    writeExtraCopy(shot);
    const QString withSound = m_core->isHaveAudioFile() ? stopRecordAudio() : QString();
    if (!withSound.isEmpty()) {
        exchange()->uploadData({withSound});
    } else {
        const QString description
            = value(SettingKeys::showActiveWindow).toBool() ? millisecondsNow() : QString();
        exchange()->uploadScreen(file, description, HandlerUpload::TypeAfterAction(type));
    }
    emit m_core->deletedSurfaceScreen();
}

void WindowSet::screenSaveToDisk(const QPixmap &picture)
{
    const bool fromView = picture.isNull();
    const QPixmap shot = fromView ? takeSelection() : picture;
    if (shot.isNull())
        return;
    if (fromView)
        m_surfaceWidget->hide();

    const PictureFormat current = PictureFormat::current();
    const bool withSound = m_core->isHaveAudioFile();
    const QString proposed
        = PictureSaveDialog::startFolder() + QLatin1Char('/') + millisecondsNow();
    const QString kia = QStringLiteral(".kia");
    QString filter = withSound ? QStringLiteral("*.kia") : current.saveFilter();
    const QString chosen = askSaveFile(proposed, withSound ? kia : current.extension(), &filter);
    if (fromView)
        closeSurfaceWidget();
    if (!chosen.isEmpty()) {
        const PictureFormat format = current.forChoice(chosen, filter);
        QString fileName = format.withExtension(chosen);
        if (withSound)
            fileName = chosen.endsWith(kia, Qt::CaseInsensitive) ? chosen : chosen + kia;
        const bool saved
            = withSound ? saveAudioImage(shot, fileName) : writeCapture(shot, fileName, format);
        if (saved)
            PictureSaveDialog::rememberFolder(fileName);
        else
            offerSaveAgain(shot);
    }
    emit m_core->deletedSurfaceScreen();
}

// The name the user chose, or "" when cancelled; *filter, from all offered, becomes the one
// the user picked.
QString WindowSet::askSaveFile(const QString &proposed, const QString &extension, QString *filter)
{
    if (m_saveFileAsker)
        return m_saveFileAsker(proposed, *filter);
    PictureSaveDialog dialog(proposed, *filter, extension);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    *filter = dialog.selectedNameFilter();
    return dialog.selectedFiles().value(0);
}

// The capture view is gone by now; the picture must not go with it.
void WindowSet::offerSaveAgain(const QPixmap &picture)
{
    auto *question = new MessageDialog;
    question->setObjectName(QStringLiteral("saveAgainDialog"));
    connect(question, &BasicWindow::closed, question, &QObject::deleteLater);
    connect(question, &MessageDialog::result, this, [this, picture](int result) {
        if (result == MessageDialog::Ok)
            screenSaveToDisk(picture);
    });
    question->questions(
        Core::tr("Warning"), Core::tr("The picture was not saved. Save it somewhere else?"));
    question->show();
}

// The picture goes into the ".kia" file as a JPEG of the best quality.
bool WindowSet::saveAudioImage(const QPixmap &picture, const QString &fileName)
{
    QDir().mkpath(Paths::tempFolder());
    const QString captureFile = Paths::tempFolder() + millisecondsNow();
    if (!picture.save(captureFile, "JPG", 100)) {
        showErrorWidget(Core::tr("The picture could not be saved to %1").arg(captureFile));
        return false;
    }
    m_captureFile = captureFile;
    const QString withSound = stopRecordAudio();
    // The user has been told why the sound is missing; the picture is still kept, as a picture.
    if (withSound.isEmpty()) {
        const PictureFormat format = PictureFormat::current();
        return writeCapture(picture, format.withExtension(fileName.chopped(4)));
    }
    // The dialog has asked about replacing a file of that name already; it is replaced only
    // by a whole copy, so a full disk leaves the old file as it was.
    QString problem;
    if (CheckedSaveFile::copyOver(withSound, fileName, &problem))
        return true;
    qDebug() << Q_FUNC_INFO << fileName << problem;
    showErrorWidget(Core::tr("The picture could not be saved to %1: %2").arg(fileName, problem));
    return false;
}

void WindowSet::screenSaveToClipboard()
{
    const QPixmap shot = takeSelection();
    if (shot.isNull())
        return;
    writeExtraCopy(shot);
    m_clipboard->clear();
    m_clipboard->setImage(shot.toImage());
    closeSurfaceWidget();
}

void WindowSet::selectSaveScreenFolder()
{
    const QString start = value(SettingKeys::saveScreenFolder).toString();
    const QString folder = m_folderAsker ? m_folderAsker(start)
                                         : QFileDialog::getExistingDirectory(nullptr,
                                             QStringLiteral("Kuvo - ") + Core::tr("Select folder"),
                                             start, QFileDialog::ShowDirsOnly);
    if (!folder.isEmpty()) {
        setValue(SettingKeys::useSaveScreen, true);
        setValue(SettingKeys::saveScreenFolder,
            QString(folder).replace(QLatin1Char('/'), QLatin1Char('\\')));
        return;
    }
    if (start.isEmpty() || start == QLatin1String("0")) {
        setValue(SettingKeys::useSaveScreen, false);
        setValue(SettingKeys::saveScreenFolder, QString());
    } else {
        setValue(SettingKeys::useSaveScreen, true);
    }
}
