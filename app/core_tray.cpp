// The tray icon, its menu and its balloons: the program's face, since it has no main window.

#include "autorization.h"
#include "core.h"
#include "hookkeybord.h"
#include "setting.h"

#include <QAction>
#include <QDateTime>
#include <QDebug>
#include <QGuiApplication>
#include <QIcon>
#include <QKeySequence>
#include <QMenu>
#include <QScreen>

namespace {

const int kReminderDelayMs = 60000;
const int kReminderAfterDays = 10;
const int kBalloonMs = 10000;

// The hot-key settings hold texts meant for reading ("Ctrl + Print Screen"), some written on
// a Mac; the menu wants what QKeySequence parses.
QString shortcutText(QLatin1String key)
{
    return HookKeybord::storedKey(key).remove(QLatin1Char(' '));
}

} // namespace

void Core::createTrayIcon()
{
    if (!m_trayIcon) {
        m_trayIcon = std::make_unique<QSystemTrayIcon>();
        m_trayIcon->setObjectName(QStringLiteral("trayIcon"));
        // The icon file carries every size a tray asks for; the plain picture stands in where
        // no reader for icon files is installed.
        QIcon icon(QStringLiteral(":/icon/image/icon.ico"));
        if (icon.isNull())
            icon = QIcon(QStringLiteral(":/image/image/image/mac_icon_retina.png"));
        m_trayIcon->setIcon(icon);
        connect(m_trayIcon.get(), &QSystemTrayIcon::activated, this, &Core::activatedTrayIcon);
    }
    createTrayMenu();
}

QAction *Core::newTrayAction(const char *name, const QString &text)
{
    auto *action = new QAction(text, m_trayActions);
    action->setObjectName(QLatin1String(name));
    return action;
}

void Core::createTrayMenu()
{
    if (m_trayMenu) {
        // The menu may be open, and the action being triggered may be what led here: the old
        // actions go once control is back in the event loop, not under QMenu's feet.
        const QList<QAction *> old = m_trayMenu->actions();
        for (QAction *action : old)
            m_trayMenu->removeAction(action);
        if (m_trayActions)
            m_trayActions->deleteLater();
    } else {
        m_trayMenu = std::make_unique<QMenu>();
        m_trayMenu->setObjectName(QStringLiteral("trayMenu"));
    }
    m_trayActions = new QObject(m_trayMenu.get());

    QAction *auth = newTrayAction("actionAuth", tr("Autorization"));
    connect(auth, &QAction::triggered, this, &Core::checkAutorization);
    QAction *fragment = newTrayAction("actionScreen", tr("Capture fragment"));
    connect(fragment, &QAction::triggered, this, &Core::fragmentScreen);
    QAction *full = newTrayAction("actionVideo", tr("Capture fullscreen"));
    connect(full, &QAction::triggered, this, &Core::fullScreen);
    QAction *settings = newTrayAction("actionSetting", tr("Settings"));
    connect(settings, &QAction::triggered, this, &Core::showSetting);
    QAction *history = newTrayAction("trayHistory", tr("History"));
    connect(history, &QAction::triggered, this, &Core::openHistory);
    QAction *help = newTrayAction("actionHelp", tr("Help"));
    connect(help, &QAction::triggered, this, &Core::openHelp);
    QAction *quit = newTrayAction("actionQuit", tr("Quit"));
    connect(quit, &QAction::triggered, this, &Core::exitApp);
    QAction *openLink = newTrayAction("openLastLink", tr("Open last link"));
    connect(openLink, &QAction::triggered, this, &Core::openLastLink);
    QAction *copyLink = newTrayAction("copyLastLink", tr("Copy last link"));
    connect(copyLink, &QAction::triggered, this, &Core::copyLastLink);
    showTrayShortcuts();
    enableLastLinkActions();

    // Separators of our own making, so that they go with the actions of this build.
    const auto separator = [this] {
        auto *line = new QAction(m_trayActions);
        line->setSeparator(true);
        return line;
    };
    if (Autorization::isAuth()) {
        m_trayMenu->addActions(
            {fragment, full, separator(), history, settings, separator(), openLink, copyLink});
    } else {
        m_trayMenu->addAction(auth);
    }
    m_trayMenu->addActions({separator(), help, separator(), quit});

    if (m_trayIcon) {
        m_trayIcon->hide();
        m_trayIcon->setContextMenu(m_trayMenu.get());
        m_trayIcon->show();
    }
}

QAction *Core::trayAction(const char *name) const
{
    return m_trayActions ? m_trayActions->findChild<QAction *>(QLatin1String(name)) : nullptr;
}

// The menu shows the stored hot keys, whenever they change.
void Core::showTrayShortcuts()
{
    if (QAction *fragment = trayAction("actionScreen"))
        fragment->setShortcut(
            QKeySequence(shortcutText(SettingKeys::keyFragmentScreen), QKeySequence::PortableText));
    if (QAction *full = trayAction("actionVideo"))
        full->setShortcut(
            QKeySequence(shortcutText(SettingKeys::keySnapshotScreen), QKeySequence::NativeText));
}

// A link that comes with an upload is there to open at once.
void Core::enableLastLinkActions()
{
    for (const char *name : {"openLastLink", "copyLastLink"}) {
        if (QAction *action = trayAction(name))
            action->setEnabled(!m_lastLink.isEmpty());
    }
}

void Core::activatedTrayIcon(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::Trigger) {
        screen(false, false);
        return;
    }
    // These desktops open the tray menu themselves on the other clicks.
    const QStringList ownMenu
        = {QStringLiteral("kde"), QStringLiteral("gnome"), QStringLiteral("xfce")};
    if (!ownMenu.contains(getWindowsManager()))
        showMainWindow();
}

void Core::openTrayMenu()
{
    // The window system moves the menu back on screen, just below the top edge.
    if (m_trayIcon && m_trayMenu)
        m_trayMenu->popup(QPoint(m_trayIcon->geometry().left(), -5));
}

QPoint Core::getTrayPos() const
{
    if (!m_trayIcon)
        return QPoint();
    const QScreen *primary = QGuiApplication::primaryScreen();
    const int screenLeft = primary ? primary->geometry().left() : 0;
    return QPoint(m_trayIcon->geometry().left() + screenLeft, 0);
}

void Core::showTrayMessage(const QString &title, const QString &messae)
{
    if (!m_trayIcon)
        return;
    m_trayIcon->showMessage(title, messae, QSystemTrayIcon::Information, kBalloonMs);
    emit trayMessageShown(title, messae);
}

// Once per run, a minute after start; a capture upload moves the date on.
void Core::startReminder()
{
    auto *reminder = new QTimer(this);
    reminder->setObjectName(QStringLiteral("reminderTimer"));
    reminder->setSingleShot(true);
    connect(reminder, &QTimer::timeout, this, &Core::showReminderMessage);
    connect(reminder, &QTimer::timeout, reminder, &QObject::deleteLater);
    reminder->start(kReminderDelayMs);
}

void Core::showReminderMessage()
{
    Setting *settings = Setting::instance();
    const QString key = SettingKeys::dateLastScreen;
    const QDateTime last = settings->getValue(key).toDateTime();
    const QDateTime now = QDateTime::currentDateTime();
    // A first run, or a date nobody can read: the ten days count from now.
    if (!last.isValid()) {
        settings->setValue(key, now);
        return;
    }
    if (last < now.addDays(-kReminderAfterDays)) {
        showTrayMessage(QStringLiteral("Kuvo - best screenshoter"),
            tr("Hey! I Kuvo. The faster program to create screenshots and transfer files over a "
               "network. Are you forgot for me ? Let`s do screenshot!"));
    }
}
