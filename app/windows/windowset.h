#ifndef WINDOWSET_H
#define WINDOWSET_H

#include "handlerupload.h"
#include "pictureformat.h"
#include "uploadmodel.h"
#include "windows.h"

#include <QObject>
#include <QPointer>

class CurlUpload;
class MessageDialog;
class NetworkExchange;
class QAudioRecorder;
class QClipboard;
class QFileDialog;
class QuestionQueue;

// The window module's side of the controller: it owns the windows, runs the capture, panorama,
// sound and upload routes, and tells the user about them through windows of its own or the
// controller's tray. Its texts are the controller's, translated as they always were.
class WindowSet : public QObject, public Windows
{
    Q_OBJECT

public:
    explicit WindowSet(Core *core);

    MainToolWidget *mainToolWidget() override;
    SettingWidget *settingWidget() override;
    AutorizationWidget *autorizationWidget() override;
    UploadWidget *uploadWidget() override;
    LastUploadWidget *lastUploadWidget() override;
    ProxyWidget *proxyWidget() override;
    SurfaceWidget *surfaceWidget() const override;
    SurfacePonoramScreen *surfacePonoramScreen() override;
    QList<SelectorWidgetMac *> selectorWidgets() const override;
    EditPonoramWidget *editPonoramWidget() const override;
    UploadModel *uploadModel() override;

    void showAutorization() override;
    void registrationWidgetDestroy() override;
    void showSetting() override;
    void showProxyWidget() override;
    void deleteSettingWindow() override;
    void showMessage(const QString &title, const QString &message) override;
    void showSettingsTrouble(const QString &text) override;
    void showErrorWidget(const QString &text) override;
    void setSaveFileAsker(SaveFileAsker asker) override { m_saveFileAsker = std::move(asker); }
    void setFolderAsker(FolderAsker asker) override { m_folderAsker = std::move(asker); }
    QColor getColorFromX(int x) const override;

    void recordAudio() override;
    void pauseRecordAudio() override;
    void uppauseRecordAudio() override;
    QString stopRecordAudio() override;
    void openAudioImage(const QString &fileName) override;

    void uploadData(const QStringList &files) override;
    void uploadDataZip(const QStringList &files) override;
    void cancelUpload() override;
    void showUploadPage() override;
    void showLastUploadPage() override;
    void uploadFailed(const QString &text, const QString &file, bool signInAgain) override;
    void internetNotAvailable(const QString &file) override;
    void internetNotAvailableResult(int result, const QString &file) override;
    void checkFtpConnecrion(const QString &username, const QString &password, const QString &host,
        const QString &path, const QVariant &port) override;
    void checkSFTPConnecrion(const QString &username, const QString &password, const QString &host,
        const QString &path, const QVariant &port) override;

    void screen(bool fullscreen, bool quick) override;
    void openSurfaceRect(int index, const QRect &rect, const QPixmap &picture) override;
    void screenUpload(int type, bool quick, const QPixmap &picture) override;
    void screenSaveToDisk(const QPixmap &picture) override;
    void screenSaveToClipboard() override;
    void selectSaveScreenFolder() override;
    void ponoramScreen() override;
    void ponoramUpload() override;
    void ponoramEdit(const QPixmap &picture) override;
    void deleteEditPonoram() override;

private:
    // The name of files the program makes for itself: the time in milliseconds.
    static QString millisecondsNow();
    void startUploads();
    void checkConnection(CurlUpload *check, bool toTray, const QString &username,
        const QString &password, const QString &host, const QString &path, const QVariant &port);
    MessageDialog *showMessageWindow(const QString &title, const QString &message);
    // A balloon of the tray icon where the desktop shows one, else a message window.
    void tellUser(const QString &title, const QString &message);
    // The upload front, with the list model that collects its jobs made first.
    NetworkExchange *exchange();
    void askSignInAgain(const QString &text);
    // Asks whether to save a file that was not uploaded; Ok opens the save dialog.
    void offerToSave(const QString &title, const QString &message, const QString &file);
    MessageDialog *showQuestion(const QString &title, const QString &message);
    void offerSaveAgain(const QPixmap &picture);
    QFileDialog *offerOfflineSave(const QString &file);
    void saveOfflineFile(const QString &file, const QString &chosen, const PictureFormat &format);
    QString askSaveFile(const QString &proposed, const QString &extension, QString *filter);
    SurfaceWidget *newSurfaceWidget();
    SelectorWidgetMac *surfaceSelectorWidgetMac();
    void showSelectors();
    void closeSurfaceWidget();
    QPixmap takeSelection();
    bool writeCapture(const QPixmap &picture, const QString &fileName,
        const PictureFormat &format = PictureFormat::current());
    void writeExtraCopy(const QPixmap &picture);
    QAudioRecorder *audioRecorder();
    bool waitForRecorderStopped();
    bool saveAudioImage(const QPixmap &picture, const QString &fileName);

    Core *m_core;
    NetworkExchange *m_exchange = nullptr;
    UploadModel *m_uploadModel = nullptr;
    QPointer<MainToolWidget> m_mainToolWidget;
    QPointer<SettingWidget> m_settingWidget;
    QPointer<AutorizationWidget> m_autorizationWidget;
    QPointer<UploadWidget> m_uploadWidget;
    QPointer<LastUploadWidget> m_lastUploadWidget;
    QPointer<ProxyWidget> m_proxyWidget;
    QPointer<SurfaceWidget> m_surfaceWidget;
    QPointer<SurfacePonoramScreen> m_surfacePonoramScreen;
    QPointer<EditPonoramWidget> m_editPonoramWidget;
    QList<QPointer<SelectorWidgetMac>> m_selectors;
    SaveFileAsker m_saveFileAsker;
    FolderAsker m_folderAsker;
    QString m_captureFile;
    QAudioRecorder *m_audioRecorder = nullptr;
    QClipboard *m_clipboard = nullptr;
    // What the failed uploads ask the user, one question at a time across all of them.
    QuestionQueue *m_questions = nullptr;
    // Since the upload list was last empty: a job delivered its link; a job failed or the user
    // cancelled. The last-upload window shows only for a round that ended well.
    bool m_roundLinked = false;
    bool m_roundFailed = false;
    // What the user is told once the round is over, e.g. that a file went to the service.
    QStringList m_roundNotices;
};

// The entry of the window module: the window part of this controller, made once by it.
extern "C" Q_DECL_EXPORT Windows *kuvoWindows(Core *core);

#endif // WINDOWSET_H
