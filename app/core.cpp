#include "core.h"
#include "autorization.h"
#include "hookkeybord.h"
#include "logging.h"
#include "pendingupdate.h"
#include "serviceaddress.h"
#include "setting.h"
#include "updater.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QProcess>

#include <cstdlib>

namespace {

Core *s_instance = nullptr;

const int kFirstUserInfoMs = 30000;
const int kUserInfoMs = 3600000;
const int kListenFailureExitMs = 10000;
const int kSecondUpdateCheckMs = 10800000;
const int kShowMainWindowMs = 500;

bool fail(const QString &step)
{
    const QString text = QStringLiteral("The downloaded update could not be started: ") + step;
    qWarning() << Q_FUNC_INFO << text;
    Logging::instance()->writeMessage(text);
    return false;
}

} // namespace

Core *Core::instance()
{
    // The account may ask for the controller while it is still being built (its listener's
    // failure path); s_instance is set first thing in the constructor for that.
    if (!s_instance)
        new Core;
    return s_instance;
}

Core::Core(QObject *parent)
    : QObject(parent)
{
    s_instance = this;
    // The settings pages read the web host from the store, which lies below the controller.
    Setting::setHostUrlSource([] { return Core::instance()->hostUrlAuth(); });
    m_userInfoTimer.setParent(this);
    m_userInfoTimer.setObjectName(QStringLiteral("userInfoTimer"));
    startAccount();
    // The account property is read from C++ too, before any page registers its type.
    qRegisterMetaType<Autorization *>();

    reportSettingsTrouble();
    connect(Setting::instance(), &Setting::writesFailed, this, [this](const QString &reason) {
        showSettingsTrouble(tr("Changes to the settings cannot be kept: %1").arg(reason));
    });

    createTrayIcon();
    connect(Setting::instance(), &Setting::valueChanged, this, [this](const QString &name) {
        if (name == SettingKeys::typeUpload)
            checkUploadTarget();
    });
    checkUploadTarget();
    connect(this, &Core::lastLinkChanged, this, &Core::enableLastLinkActions);
    connect(
        Setting::instance(), &Setting::keyFragmentScreenChanged, this, &Core::showTrayShortcuts);
    connect(
        Setting::instance(), &Setting::keySnapshotScreenChanged, this, &Core::showTrayShortcuts);
    connect(Setting::instance(), &Setting::languageChanged, this, &Core::languageChanged);
    connect(Setting::instance(), &Setting::languageChanged, this, &Core::createTrayIcon);
    HookKeybord *hook = HookKeybord::instance();
    connect(hook, &HookKeybord::printModifiedChanged, this, &Core::printModifiers);
    connect(hook, &HookKeybord::registrationFailed, this, &Core::hookRegistrationFailed);
    m_clipboard = QGuiApplication::clipboard();
    setLastLink(QString());
    startReminder();

    m_updater = new Updater(this);
    if (handOverPendingUpdate()) {
        Setting::drain();
        std::exit(0);
    }
    m_updater->startUpdate();
    QTimer::singleShot(kSecondUpdateCheckMs, m_updater, &Updater::startUpdate);
    clearTempPath();
    QTimer::singleShot(kShowMainWindowMs, this, &Core::showMainWindow);
    qDebug() << Q_FUNC_INFO
             << "error log:" << QDir::homePath() + QStringLiteral("/.kuvo/error.log");
}

Core::~Core()
{
    qDebug() << Q_FUNC_INFO;
}

// A damaged or unwritable settings file is no reason to stop, but the user must know that
// settings went missing (a sign-in, a server's password) or that changes will not last.
void Core::reportSettingsTrouble()
{
    const Setting *settings = Setting::instance();
    const QString detail = settings->storageDetail();
    switch (settings->storageTrouble()) {
    case Setting::StorageFine:
        return;
    case Setting::StorageDamaged:
        showSettingsTrouble(
            tr("The settings file was damaged. What could be read from it was kept; settings "
               "that could not be read are back to their defaults. The damaged file was "
               "moved to %1.")
                .arg(detail));
        return;
    case Setting::StorageReadOnly:
        showSettingsTrouble(
            tr("The settings file %1 cannot be written. Kuvo runs with the settings it "
               "holds, but changes to them cannot be kept.")
                .arg(detail));
        return;
    case Setting::StorageUnusable:
        showSettingsTrouble(
            tr("The settings file cannot be opened (%1). Kuvo runs with the default "
               "settings, and changes to them cannot be kept.")
                .arg(detail));
        return;
    }
}

void Core::showSettingsTrouble(const QString &text)
{
    windows()->showSettingsTrouble(text);
}

void Core::startAccount()
{
    m_account = new Autorization(this);
    connect(m_account, &Autorization::listenFailed, this, [this] {
        Logging::instance()->writeMessage(QStringLiteral("Error start socket"));
        windows()->showMessage(tr("Error start socket"),
            tr("No local port is free for the sign-in through the browser. Kuvo closes in "
               "10 seconds."));
        QTimer::singleShot(kListenFailureExitMs, this, &Core::exitApp);
    });
    m_account->listen();
    emit accountChange(m_account);
    connect(m_account, &Autorization::authChanged, this, &Core::checkAutorization);
    connect(m_account, &Autorization::authChanged, this, &Core::createTrayIcon);

    // Only an account signed in at start is refreshed on a timer.
    if (Autorization::isAuth()) {
        auto *first = new QTimer(this);
        first->setObjectName(QStringLiteral("firstUserInfoTimer"));
        first->setSingleShot(true);
        connect(first, &QTimer::timeout, m_account, &Autorization::getUserInfo);
        connect(first, &QTimer::timeout, first, &QObject::deleteLater);
        first->start(kFirstUserInfoMs);
        connect(&m_userInfoTimer, &QTimer::timeout, m_account, &Autorization::getUserInfo);
        m_userInfoTimer.start(kUserInfoMs);
    }
}

// Google disk is listed among the storages, but nothing here can upload there: a setting that
// names it (from an older version, or written by hand) is moved to the service, and the user
// is told where the uploads go.
void Core::checkUploadTarget()
{
    Setting *settings = Setting::instance();
    if (settings->getValue(SettingKeys::typeUpload).toString() != QLatin1String("google"))
        return;
    settings->setValue(SettingKeys::typeUpload, QStringLiteral("kuvo"));
    windows()->showMessage(tr("Storage"),
        tr("This version cannot upload to Google disk. Uploads go to the Kuvo service; another "
           "storage can be chosen in the settings."));
}

Windows *Core::windows()
{
    if (!m_windows)
        m_windows = openWindows(this);
    return m_windows;
}

MainToolWidget *Core::mainToolWidget()
{
    return windows()->mainToolWidget();
}

SettingWidget *Core::settingWidget()
{
    return windows()->settingWidget();
}

AutorizationWidget *Core::autorizationWidget()
{
    return windows()->autorizationWidget();
}

UploadWidget *Core::uploadWidget()
{
    return windows()->uploadWidget();
}

LastUploadWidget *Core::lastUploadWidget()
{
    return windows()->lastUploadWidget();
}

ProxyWidget *Core::proxyWidget()
{
    return windows()->proxyWidget();
}

void Core::showSetting()
{
    windows()->showSetting();
}

void Core::showProxyWidget()
{
    windows()->showProxyWidget();
}

void Core::deleteSettingWindow()
{
    windows()->deleteSettingWindow();
}

void Core::setSaveFileAsker(SaveFileAsker asker)
{
    windows()->setSaveFileAsker(std::move(asker));
}

void Core::setFolderAsker(FolderAsker asker)
{
    windows()->setFolderAsker(std::move(asker));
}

void Core::updateHook()
{
    HookKeybord::instance()->updateHootKey();
}

void Core::unhookKeyboard()
{
    HookKeybord::instance()->stopHook();
}

void Core::registrationWidgetDestroy()
{
    windows()->registrationWidgetDestroy();
}

void Core::exitApp()
{
    // Some trays keep the picture of an icon whose owner just vanished.
    m_trayIcon.reset();
    // Settings written just before are still queued on the SQL thread.
    Setting::drain();
    std::exit(0);
}

void Core::clearTempPath()
{
    const QDir temp(QDir::homePath() + QStringLiteral("/.kuvo/tmp/"));
    const QFileInfoList files = temp.entryInfoList(
        QDir::Files | QDir::Hidden | QDir::System, QDir::Time | QDir::Reversed);
    for (const QFileInfo &file : files)
        QFile::remove(file.absoluteFilePath());
    clearAudioFile();
}

// Starts a downloaded update in place of this copy, with the hosts this copy was started
// with. Every step is checked; when one fails this copy starts as usual.
bool Core::handOverPendingUpdate()
{
    if (!PendingUpdate::isWaiting())
        return false;
    const QString folder = QDir::cleanPath(PendingUpdate::folder());
    QString problem;
    const QString program = PendingUpdate::prepareLaunch(&problem);
    if (program.isEmpty())
        return fail(problem);
    // Set aside rather than removed, so that a program that does not start can be put back
    // for a later start to try again, while a started one never finds it a second time.
    const QString aside = folder + QStringLiteral(".started");
    QDir(aside).removeRecursively();
    if (!QDir().rename(folder, aside))
        return fail(QStringLiteral("cannot remove ") + folder);
    if (!QProcess::startDetached(program, ServiceAddress::betaArguments())) {
        QDir().rename(aside, folder);
        return fail(QStringLiteral("cannot start ") + program);
    }
    QDir(aside).removeRecursively();
    return true;
}
