#include "core.h"
#include "autorization.h"
#include "autorizationwidget.h"
#include "hookkeybord.h"
#include "lastuploadwidget.h"
#include "logging.h"
#include "maintoolwidget.h"
#include "messagedialog.h"
#include "networkexchange.h"
#include "pendingupdate.h"
#include "proxywidget.h"
#include "serviceaddress.h"
#include "setting.h"
#include "settingwidget.h"
#include "updater.h"
#include "uploadmodel.h"
#include "uploadwidget.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QProcess>
#include <QQmlEngine>

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

    startUploads();
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
    Logging::instance()->writeMessage(text);
    auto *message = new MessageDialog;
    message->setObjectName(QStringLiteral("settingsTroubleDialog"));
    connect(message, &BasicWindow::closed, message, &QObject::deleteLater);
    message->information(tr("Settings"), text);
    message->show();
}

void Core::startAccount()
{
    m_account = new Autorization(this);
    connect(m_account, &Autorization::listenFailed, this, [this] {
        Logging::instance()->writeMessage(QStringLiteral("Error start socket"));
        auto *message = new MessageDialog;
        connect(message, &BasicWindow::closed, message, &QObject::deleteLater);
        message->information(tr("Error start socket"),
            tr("No local port is free for the sign-in through the browser. Kuvo closes in "
               "10 seconds."));
        message->show();
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

void Core::startUploads()
{
    m_exchange = new NetworkExchange(this);
    connect(m_exchange, &NetworkExchange::startUpload, this, &Core::showUploadPage);
    connect(m_exchange, &NetworkExchange::readyLink, this, &Core::showUploadPage);
    connect(m_exchange, &NetworkExchange::readyLink, this, &Core::setLastLink);
    connect(m_exchange, &NetworkExchange::readyLinkAfterUpload, this, &Core::setLastLink);
    connect(m_exchange, &NetworkExchange::readyLinkAfterUpload, this, [this](const QString &link) {
        m_roundLinked = true;
        m_storedLink = link;
    });
    connect(m_exchange, &NetworkExchange::linkWithdrawn, this, &Core::withdrawLink);
    connect(m_exchange, &NetworkExchange::sentToServiceInstead, this,
        [this](const QString &text) { m_roundNotices << text; });
    connect(m_exchange, &NetworkExchange::error, this, &Core::uploadFailed);
    connect(m_exchange, &NetworkExchange::internetNotAvailable, this, &Core::internetNotAvailable);
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
    showMessageWindow(tr("Storage"),
        tr("This version cannot upload to Google disk. Uploads go to the Kuvo service; another "
           "storage can be chosen in the settings."));
}

MainToolWidget *Core::mainToolWidget()
{
    if (!m_mainToolWidget)
        m_mainToolWidget = new MainToolWidget;
    return m_mainToolWidget;
}

SettingWidget *Core::settingWidget()
{
    if (!m_settingWidget) {
        m_settingWidget = new SettingWidget;
        connect(m_settingWidget, &BasicWindow::closed, this, &Core::deleteSettingWindow);
    }
    return m_settingWidget;
}

AutorizationWidget *Core::autorizationWidget()
{
    if (!m_autorizationWidget)
        m_autorizationWidget = new AutorizationWidget;
    return m_autorizationWidget;
}

UploadWidget *Core::uploadWidget()
{
    if (!m_uploadWidget)
        m_uploadWidget = new UploadWidget;
    return m_uploadWidget;
}

LastUploadWidget *Core::lastUploadWidget()
{
    if (!m_lastUploadWidget)
        m_lastUploadWidget = new LastUploadWidget;
    return m_lastUploadWidget;
}

ProxyWidget *Core::proxyWidget()
{
    if (!m_proxyWidget) {
        m_proxyWidget = new ProxyWidget;
        connect(m_proxyWidget, &BasicWindow::closed, this, &Core::closeProxyWindow);
    }
    return m_proxyWidget;
}

void Core::showSetting()
{
    SettingWidget *window = settingWidget();
    window->show();
    window->raise();
}

void Core::showProxyWidget()
{
    proxyWidget()->show();
}

void Core::deleteSettingWindow()
{
    if (m_settingWidget)
        m_settingWidget->deleteLater();
    m_settingWidget = nullptr;
    // "Change" on the hot-key page releases every hot key; closing the window without
    // accepting must not leave them released.
    updateHook();
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
    qDebug() << Q_FUNC_INFO;
    if (!m_autorizationWidget)
        return;
    m_autorizationWidget->close();
    m_autorizationWidget->deleteLater();
    m_autorizationWidget = nullptr;
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
