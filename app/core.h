#ifndef CORE_H
#define CORE_H

#include "analytics.h"
#include "windows.h"

#include <QColor>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>

#include <functional>
#include <memory>

class Autorization;
class QAction;
class QClipboard;
class QMenu;
class QUrl;
class Updater;

// The controller of the whole program: owns the account, the tray and the updater, routes every
// capture and upload request, and is the context object "core" of the pages. What only a window,
// a capture, a sound or an upload needs it leaves to Windows, made on the first such request.
class Core : public QObject
{
    Q_OBJECT
    Q_PROPERTY(Autorization *account READ account NOTIFY accountChange)
    Q_PROPERTY(QString emptyString READ emptyString NOTIFY languageChanged)
    Q_PROPERTY(QString lastLink READ lastLink NOTIFY lastLinkChanged)

public:
    // The social posts' numbers: the uploads' after-upload actions, which this side of the
    // program does not include.
    enum SocialPost { PostFacebook = 1, PostOdnoklassniki, PostVK, PostTwitter, PostMail };

    static Core *instance();
    ~Core() override;

    Autorization *account() const { return m_account; }
    QString emptyString() const { return QStringLiteral(""); }
    QString lastLink() const { return m_lastLink; }

    // Service addresses.
    Q_INVOKABLE QString hostUrl() const;
    Q_INVOKABLE QString hostUrlAuth() const;
    void setHostUrl(const QString &host);
    void setHostUrlAuth(const QString &host);
    QString serverInit() const;
    QString serverUploadUrl() const;
    QString serverDel() const;
    QString serverAuth() const;
    QString serverHelp() const;
    QString serverHistory() const;
    QString serverAnalitics() const;
    QString pingUrl() const;
    QString feedbackUrl() const;

    // Small accessors of the pages.
    Q_INVOKABLE QString userAgent() const;
    Q_INVOKABLE QString appVersion() const;
    Q_INVOKABLE QString getPlatform() const { return QStringLiteral("Linux"); }
    Q_INVOKABLE bool is_mac() const { return false; }
    Q_INVOKABLE QString getWindowsManager() const;
    Q_INVOKABLE QString clipboardText() const;
    Q_INVOKABLE void openUrl(const QString &url);
    Q_INVOKABLE QColor getColorFromX(int x);
    Q_INVOKABLE QString licenseText() const;
    Q_INVOKABLE bool isCanRecordAudio() const { return false; }

    // Spoken comments: recordings in the audio folder, joined with the capture picture into
    // one ".kia" file when the capture is uploaded or saved.
    Q_INVOKABLE void recordAudio();
    Q_INVOKABLE void pauseRecordAudio();
    Q_INVOKABLE void uppauseRecordAudio();
    // The ".kia" file of the current capture and the newest recording; "" when it could not
    // be written (the user has been told why).
    Q_INVOKABLE QString stopRecordAudio();
    Q_INVOKABLE bool isHaveAudioFile() const;
    Q_INVOKABLE QString getAudioFile() const;
    Q_INVOKABLE void clearAudioFile();
    void addAnalyticsEvent(AnalyticsEvent::AnalyticsEventCategory category,
        AnalyticsEvent::AnalyticsEventAction action, bool is_sendEvent = false,
        const QString &value = QString());
    Q_INVOKABLE void addAnalyticsEvent(
        int category, int action, bool is_sendEvent = false, const QString &value = QString());

    Q_INVOKABLE UploadModel *uploadModel();
    // The global hot keys: registered again from the settings, or all released while the
    // user types a new combination.
    Q_INVOKABLE void updateHook();
    Q_INVOKABLE void unhookKeyboard();
    void clearTempPath();

    // The windows, each made on first use. The settings window goes when it closes, the
    // sign-in window when its page is done with it; the others stay for the whole run.
    MainToolWidget *mainToolWidget();
    SettingWidget *settingWidget();
    AutorizationWidget *autorizationWidget();
    UploadWidget *uploadWidget();
    LastUploadWidget *lastUploadWidget();
    ProxyWidget *proxyWidget();
    // The capture view of the capture running now, or null.
    SurfaceWidget *surfaceWidget() const;
    // The panorama window, made on first use; it goes when it closes.
    SurfacePonoramScreen *surfacePonoramScreen();

    // The tray icon and its menu; the icon exists from construction until exitApp(), even on
    // a desktop without a tray, where it simply shows nothing.
    QSystemTrayIcon *trayIcon() const { return m_trayIcon.get(); }
    QMenu *trayMenu() const { return m_trayMenu.get(); }
    QPoint getTrayPos() const;

    // The questions the capture routes ask the user: a file to save to (from a proposed name
    // and a filter) and a folder for the extra copies. A dialog unless replaced, as tests do;
    // an empty function restores the dialog.
    using SaveFileAsker = Windows::SaveFileAsker;
    using FolderAsker = Windows::FolderAsker;
    void setSaveFileAsker(SaveFileAsker asker);
    void setFolderAsker(FolderAsker asker);
    // The last link whose upload went through: the one a withdrawn link gives way to.
    void keepDeliveredLink(const QString &link) { m_storedLink = link; }

public slots:
    bool checkAutorization();
    void uploadData(const QStringList &files);
    void uploadDataZip(const QStringList &files);
    void cancelUpload();
    void setLastLink(const QString &link);
    void openLastLink();
    void copyLastLink();
    void writeClipboard(const QString &text);
    Q_INVOKABLE void openHistory();
    Q_INVOKABLE void openHelp();
    void showMainWindow() { }
    // The sign-in page asks for the arrow hint's animation, and a sound test once had a page:
    // neither is shown on this platform, so a page calling them finds them and nothing happens.
    Q_INVOKABLE void startArrowAnimation() { }
    Q_INVOKABLE void stopArrowAnimation() { }
    Q_INVOKABLE void testSaveAudio() { }
    void exitApp();
    // Opens a ".kia" file in a player window of its own; a file that cannot be read ends in
    // an error window instead.
    void openAudioImage(const QString &fileName);

    void createTrayIcon();
    void createTrayMenu();
    void openTrayMenu();
    void showTrayMessage(const QString &title, const QString &messae);
    void showReminderMessage();

    void showSetting();
    void showProxyWidget();
    void deleteSettingWindow();
    void registrationWidgetDestroy();
    void showUploadPage();
    void showLastUploadPage();
    void showErrorWidget(const QString &text);
    // An upload failed. A capture of ours (file) is offered for saving, as when the network is
    // missing; signInAgain offers a new sign-in when the service refused the stored token.
    void uploadFailed(const QString &text, const QString &file, bool signInAgain);
    // An upload found no network. A capture of ours (file) is offered for saving, since it
    // lives in the temporary folder that the next start empties; files of the user's own stay
    // where they are and only the failure is shown (file is empty then).
    void internetNotAvailable(const QString &file);
    // The port as the page's field holds it: it is read as the stored one will be.
    Q_INVOKABLE void checkFtpConnecrion(const QString &username, const QString &password,
        const QString &host, const QString &path, const QVariant &port = QVariant());
    Q_INVOKABLE void checkSFTPConnecrion(const QString &username, const QString &password,
        const QString &host, const QString &path, const QVariant &port = QVariant());
    void internetNotAvailableResult(int result, const QString &file);
    // The link of an upload that failed or was cancelled after it was handed out.
    void withdrawLink(const QString &link);

    // Capture routes. A null picture means: take the selection of the capture view, which
    // then closes; without a selection of at least one pixel each way nothing happens.
    void fragmentScreen();
    void fullScreen();
    // The whole desktop uploaded at once, without a capture view.
    void quickScreen();
    void screen(bool fullscreen, bool quick);
    void openSurfaceRect(int index, const QRect &rect, const QPixmap &picture);
    // The windows of the capture over several monitors that is open, in monitor order.
    QList<SelectorWidgetMac *> selectorWidgets() const;
    // type: what the page does with the link afterwards, a HandlerUpload::TypeAfterAction.
    void screenUpload(int type = 0, bool quick = false, const QPixmap &picture = QPixmap());
    // Uploaded, then shared: the network's page opens with the link.
    void screenPostFacebook(const QPixmap &picture = QPixmap());
    void screenPostOdnoklassniki(const QPixmap &picture = QPixmap());
    void screenPostVK(const QPixmap &picture = QPixmap());
    void screenPostTwitter(const QPixmap &picture = QPixmap());
    void screenPostMail(const QPixmap &picture = QPixmap());
    void screenSaveToDisk(const QPixmap &picture = QPixmap());
    void screenSaveToClipboard();
    Q_INVOKABLE void selectSaveScreenFolder();
    // A panorama in a window of its own; its finished picture is uploaded by ponoramUpload.
    void ponoramScreen();
    void ponoramUpload();
    // A finished picture that no capture view shows (several monitors) in the editor window;
    // while one is open a new picture is dropped.
    void ponoramEdit(const QPixmap &picture);
    EditPonoramWidget *editPonoramWidget() const;
    void deleteEditPonoram();

signals:
    void accountChange(Autorization *account);
    void languageChanged();
    void lastLinkChanged(const QString &link);
    void closeProxyWindow();
    void checkConnectionFinished();
    // The capture view of the last route is gone.
    void deletedSurfaceScreen();
    void printModifiers(bool printMod);
    // A hot key that is on could not be registered (type as HookKeybord::HookType); error is
    // ready to show, e.g. when another program holds the combination.
    void hookRegistrationFailed(int type, const QString &error);
    // A balloon was handed to the tray icon; the desktop shows it where it has a tray.
    void trayMessageShown(const QString &title, const QString &message);

private slots:
    void activatedTrayIcon(QSystemTrayIcon::ActivationReason reason);

private:
    explicit Core(QObject *parent = nullptr);
    Windows *windows();
    void startAccount();
    // address is what the error log may name of url.
    void openInBrowser(const QUrl &url, const QString &address);
    QAction *newTrayAction(const char *name, const QString &text);
    QAction *trayAction(const char *name) const;
    void showTrayShortcuts();
    void enableLastLinkActions();
    void startReminder();
    void checkUploadTarget();
    bool handOverPendingUpdate();
    void reportSettingsTrouble();
    void showSettingsTrouble(const QString &text);

    Autorization *m_account = nullptr;
    Updater *m_updater = nullptr;
    // Made on first need and kept: a child of this object.
    Windows *m_windows = nullptr;
    QClipboard *m_clipboard = nullptr;
    QString m_lastLink;
    // The last link whose upload went through.
    QString m_storedLink;
    QTimer m_userInfoTimer;
    // The menu outlives the icon that shows it: members go in reverse order.
    std::unique_ptr<QMenu> m_trayMenu;
    std::unique_ptr<QSystemTrayIcon> m_trayIcon;
    // Owner of the actions and separators of the menu's current build.
    QPointer<QObject> m_trayActions;
};

#endif // CORE_H
