#include "core.h"
#include "autorization.h"
#include "dropboxauth.h"
#include "logging.h"
#include "networkexchange.h"
#include "setting.h"
#include "updater.h"
#include "uploadmodel.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
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

// Where a downloaded update is started from: a folder of the user's own, not a fixed name in
// the shared temporary folder, which another user could have prepared.
QString launchFolder()
{
    return QDir::homePath() + QStringLiteral("/.kuvo/launch/");
}

QString updateFolder()
{
    return QDir::homePath() + QStringLiteral("/.kuvo/update/");
}

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
    m_userInfoTimer.setParent(this);
    m_userInfoTimer.setObjectName(QStringLiteral("userInfoTimer"));
    startAccount();

    qmlRegisterType<Autorization>("Core", 1, 0, "Autorization");
    qmlRegisterType<DropboxAuth>("Core", 1, 0, "DropboxAuth");
    qmlRegisterType<UploadModel>("UploadModel", 1, 0, "UploadModel");

    startUploads();
    connect(Setting::instance(), &Setting::languageChanged, this, &Core::languageChanged);
    m_clipboard = QGuiApplication::clipboard();
    m_colorLine = QImage(QStringLiteral(":/component/image/component/color_line_big.png"));
    setLastLink(QString());

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

void Core::startAccount()
{
    m_account = new Autorization(this);
    connect(m_account, &Autorization::listenFailed, this, [this] {
        Logging::instance()->writeMessage(QStringLiteral("Error start socket"));
        QTimer::singleShot(kListenFailureExitMs, this, &Core::exitApp);
    });
    m_account->listen();
    emit accountChange(m_account);
    connect(m_account, &Autorization::authChanged, this, &Core::checkAutorization);

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
    connect(m_exchange, &NetworkExchange::readyLink, this, &Core::setLastLink);
    connect(m_exchange, &NetworkExchange::readyLinkAfterUpload, this, &Core::setLastLink);
    connect(m_exchange, &NetworkExchange::error, this,
        [](const QString &text) { qWarning() << Q_FUNC_INFO << "upload failed:" << text; });
}

void Core::exitApp()
{
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
}

// Starts a downloaded update in place of this copy. Every step is checked; when one fails the
// download stays where it is and this copy starts as usual.
bool Core::handOverPendingUpdate()
{
    const QString downloaded = updateFolder() + QStringLiteral("Kuvo.exe");
    if (!QFileInfo::exists(downloaded))
        return false;

    const QString copy = launchFolder() + QStringLiteral("Kuvo.exe");
    if (!QDir().mkpath(launchFolder()))
        return fail(QStringLiteral("cannot create ") + launchFolder());
    if (QFileInfo::exists(copy) && !QFile::remove(copy))
        return fail(QStringLiteral("cannot remove the previous ") + copy);
    if (!QFile::copy(downloaded, copy))
        return fail(QStringLiteral("cannot copy the update to ") + copy);
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    if (!QDir(updateFolder()).removeRecursively()) {
        QFile::remove(copy);
        return fail(QStringLiteral("cannot remove ") + updateFolder());
    }
    if (!QProcess::startDetached(copy, {})) {
        // Put the download back, so that a later start tries again.
        QDir().mkpath(updateFolder());
        QFile::copy(copy, downloaded);
        return fail(QStringLiteral("cannot start ") + copy);
    }
    return true;
}
