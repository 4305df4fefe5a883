#ifndef WINDOWS_H
#define WINDOWS_H

#include <QColor>
#include <QList>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

class AutorizationWidget;
class Core;
class EditPonoramWidget;
class LastUploadWidget;
class MainToolWidget;
class ProxyWidget;
class SelectorWidgetMac;
class SettingWidget;
class SurfacePonoramScreen;
class SurfaceWidget;
class UploadModel;
class UploadWidget;

// The windows of the program, the capture and panorama routes, the spoken comments and the
// uploads: everything the tray, the hot keys and the timers of an idle program never need.
// The controller asks for it on the first window, capture, sound file or upload and keeps it;
// until then none of the libraries behind it (Qt Quick and QML, Qt Multimedia, libcurl) are
// loaded. The members are the controller's own of the same names.
class Windows
{
public:
    using SaveFileAsker = std::function<QString(const QString &proposed, const QString &filter)>;
    using FolderAsker = std::function<QString(const QString &start)>;

    virtual ~Windows() = default;

    virtual MainToolWidget *mainToolWidget() = 0;
    virtual SettingWidget *settingWidget() = 0;
    virtual AutorizationWidget *autorizationWidget() = 0;
    virtual UploadWidget *uploadWidget() = 0;
    virtual LastUploadWidget *lastUploadWidget() = 0;
    virtual ProxyWidget *proxyWidget() = 0;
    virtual SurfaceWidget *surfaceWidget() const = 0;
    virtual SurfacePonoramScreen *surfacePonoramScreen() = 0;
    virtual QList<SelectorWidgetMac *> selectorWidgets() const = 0;
    virtual EditPonoramWidget *editPonoramWidget() const = 0;
    virtual UploadModel *uploadModel() = 0;

    // The sign-in window, shown and raised.
    virtual void showAutorization() = 0;
    virtual void registrationWidgetDestroy() = 0;
    virtual void showSetting() = 0;
    virtual void showProxyWidget() = 0;
    virtual void deleteSettingWindow() = 0;
    // A message window that goes when it closes.
    virtual void showMessage(const QString &title, const QString &message) = 0;
    virtual void showSettingsTrouble(const QString &text) = 0;
    virtual void showErrorWidget(const QString &text) = 0;
    virtual void setSaveFileAsker(SaveFileAsker asker) = 0;
    virtual void setFolderAsker(FolderAsker asker) = 0;
    virtual QColor getColorFromX(int x) const = 0;

    virtual void recordAudio() = 0;
    virtual void pauseRecordAudio() = 0;
    virtual void uppauseRecordAudio() = 0;
    virtual QString stopRecordAudio() = 0;
    virtual void openAudioImage(const QString &fileName) = 0;

    virtual void uploadData(const QStringList &files) = 0;
    virtual void uploadDataZip(const QStringList &files) = 0;
    virtual void cancelUpload() = 0;
    virtual void showUploadPage() = 0;
    virtual void showLastUploadPage() = 0;
    virtual void uploadFailed(const QString &text, const QString &file, bool signInAgain) = 0;
    virtual void internetNotAvailable(const QString &file) = 0;
    virtual void internetNotAvailableResult(int result, const QString &file) = 0;
    virtual void checkFtpConnecrion(const QString &username, const QString &password,
        const QString &host, const QString &path, const QVariant &port)
        = 0;
    virtual void checkSFTPConnecrion(const QString &username, const QString &password,
        const QString &host, const QString &path, const QVariant &port)
        = 0;

    virtual void screen(bool fullscreen, bool quick) = 0;
    virtual void openSurfaceRect(int index, const QRect &rect, const QPixmap &picture) = 0;
    virtual void screenUpload(int type, bool quick, const QPixmap &picture) = 0;
    virtual void screenSaveToDisk(const QPixmap &picture) = 0;
    virtual void screenSaveToClipboard() = 0;
    virtual void selectSaveScreenFolder() = 0;
    virtual void ponoramScreen() = 0;
    virtual void ponoramUpload() = 0;
    virtual void ponoramEdit(const QPixmap &picture) = 0;
    virtual void deleteEditPonoram() = 0;
};

// The window part for this controller: the module's, loaded from the program's folder, or the
// one linked into a test program. It is made once and lives as long as the controller.
Windows *openWindows(Core *core);

#endif // WINDOWS_H
