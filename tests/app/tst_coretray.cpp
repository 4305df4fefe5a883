#include "autorizationwidget.h"
#include "browser.h"
#include "core.h"
#include "coretestsupport.h"
#include "errorwidget.h"
#include "setting.h"
#include "settingwidget.h"
#include "surfaceselector.h"
#include "surfacewidget.h"
#include "testfiles.h"
#include "windowtestsupport.h"

#include <QAction>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>

namespace {

// The menu as the user sees it: object names, "-" for a separator.
QStringList menuNames(const QMenu *menu)
{
    QStringList names;
    for (const QAction *action : menu->actions())
        names << (action->isSeparator() ? QStringLiteral("-") : action->objectName());
    return names;
}

QAction *menuAction(const QMenu *menu, const QString &name)
{
    for (QAction *action : menu->actions()) {
        if (action->objectName() == name)
            return action;
    }
    return nullptr;
}

const QStringList kSignedIn
    = {QStringLiteral("actionScreen"), QStringLiteral("actionVideo"), QStringLiteral("-"),
        QStringLiteral("trayHistory"), QStringLiteral("actionSetting"), QStringLiteral("-"),
        QStringLiteral("openLastLink"), QStringLiteral("copyLastLink"), QStringLiteral("-"),
        QStringLiteral("actionHelp"), QStringLiteral("-"), QStringLiteral("actionQuit")};
const QStringList kSignedOut = {QStringLiteral("actionAuth"), QStringLiteral("-"),
    QStringLiteral("actionHelp"), QStringLiteral("-"), QStringLiteral("actionQuit")};

} // namespace

// The tray icon and its menu, on a desktop without a tray (offscreen), with the real store and
// the stand-in service behind the account.
class TestCoreTray : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void iconWithoutATray();
    void lastLinkActionsFollowTheLink();
    void menuFollowsTheSignInState();
    void shortcutTexts_data();
    void shortcutTexts();
    void languageSwitchRebuildsTheMenu();
    void actionsOpenWindowsAndCaptures();
    void actionsOpenAddressesAndCopyTheLink();
    void clickOnTheIcon_data();
    void clickOnTheIcon();
    void reminder_data();
    void reminder();
    void reminderComesOnceAMinuteAfterStart();
    void ftpReportFallsBackToAWindowWithoutATray();

private:
    QMenu *menu() const { return m_core->trayMenu(); }
    QAction *action(const char *name) const { return menuAction(menu(), QLatin1String(name)); }

    StandinService m_service;
    Core *m_core = nullptr;
    OpenedUrls m_opened;
};

void TestCoreTray::initTestCase()
{
    QVERIFY(startSignedIn(m_service));
    m_core = Core::instance();
    QVERIFY(m_core);
    QVERIFY(m_core->trayMenu());
}

void TestCoreTray::cleanup()
{
    if (m_core->surfaceWidget())
        m_core->surfaceWidget()->close();
    QTRY_VERIFY_WITH_TIMEOUT(!m_core->surfaceWidget(), 2000);
    m_opened.clear();
}

void TestCoreTray::iconWithoutATray()
{
    QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
    QSystemTrayIcon *icon = m_core->trayIcon();
    QVERIFY(icon);
    QCOMPARE(icon->contextMenu(), menu());
    // Every size a panel commonly asks for is drawn, none scaled from another.
    const QList<QSize> sizes = icon->icon().availableSizes();
    for (int side : {16, 22, 24, 32, 48, 64})
        QVERIFY2(sizes.contains(QSize(side, side)), qPrintable(QString::number(side)));
    QVERIFY(!QImage(QStringLiteral(":/image/image/image/mac_icon_retina.png")).isNull());
    QCOMPARE(m_core->getTrayPos(), QPoint(0, 0));
    m_core->openTrayMenu();
    QVERIFY(menu()->isVisible());
    menu()->close();
}

// Runs first among the menu tests: the link is still the empty one of the start.
void TestCoreTray::lastLinkActionsFollowTheLink()
{
    QCOMPARE(m_core->lastLink(), QString());
    QVERIFY(!action("openLastLink")->isEnabled());
    QVERIFY(!action("copyLastLink")->isEnabled());

    m_core->setLastLink(QStringLiteral("https://kuvo.test/s/tray"));
    QVERIFY(action("openLastLink")->isEnabled());
    QVERIFY(action("copyLastLink")->isEnabled());
    m_core->createTrayIcon();
    QVERIFY(action("openLastLink")->isEnabled());
    QVERIFY(action("copyLastLink")->isEnabled());
}

void TestCoreTray::menuFollowsTheSignInState()
{
    QCOMPARE(menuNames(menu()), kSignedIn);

    QPointer<QAction> before = action("actionScreen");
    m_core->account()->signOut();
    QCOMPARE(menuNames(menu()), kSignedOut);
    // The old actions go with the next turn of the event loop, not at once and not never.
    QVERIFY(before);
    QTRY_VERIFY_WITH_TIMEOUT(!before, 2000);

    // Signed out, the one account action opens the sign-in window.
    m_core->registrationWidgetDestroy();
    action("actionAuth")->trigger();
    QVERIFY(m_core->autorizationWidget()->isVisible());
    m_core->registrationWidgetDestroy();

    QVERIFY(signInDemo(*m_core->account()));
    QCOMPARE(menuNames(menu()), kSignedIn);
    QVERIFY(action("openLastLink")->isEnabled());
}

void TestCoreTray::shortcutTexts_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");

    QTest::newRow("fragment") << "keyFragmentScreen"
                              << "actionScreen"
                              << "Ctrl + Print Screen"
                              << "Ctrl+Print";
    QTest::newRow("full screen") << "keySnapshotScreen"
                                 << "actionVideo"
                                 << "Ctrl + Shift + Print Screen"
                                 << "Ctrl+Shift+Print";
    QTest::newRow("written on a Mac") << "keyFragmentScreen"
                                      << "actionScreen"
                                      << "⌘ + ⇧ + 5"
                                      << "Ctrl+Shift+5";
    QTest::newRow("shift only") << "keySnapshotScreen"
                                << "actionVideo"
                                << "⇧ + F5"
                                << "Shift+F5";
    QTest::newRow("print alone") << "keyFragmentScreen"
                                 << "actionScreen"
                                 << "Print Screen"
                                 << "Print";
}

void TestCoreTray::shortcutTexts()
{
    QFETCH(QString, key);
    QFETCH(QString, action);
    QFETCH(QString, stored);
    QFETCH(QString, shown);

    const QVariant before = Setting::instance()->getValue(key);
    Setting::instance()->setValue(key, stored);
    m_core->createTrayIcon();
    const QKeySequence shortcut = menuAction(menu(), action)->shortcut();
    Setting::instance()->setValue(key, before);
    QCOMPARE(shortcut.toString(QKeySequence::PortableText), shown);
}

void TestCoreTray::languageSwitchRebuildsTheMenu()
{
    Setting *settings = Setting::instance();
    settings->setLanguage(QStringLiteral("en"));
    QCOMPARE(action("actionSetting")->text(), QStringLiteral("Settings"));
    QCOMPARE(action("actionScreen")->text(), QStringLiteral("Capture fragment"));

    settings->setLanguage(QStringLiteral("ru"));
    QCOMPARE(menuNames(menu()), kSignedIn);
    QCOMPARE(action("actionSetting")->text(), QStringLiteral("Настройки"));
    QCOMPARE(action("actionScreen")->text(), QStringLiteral("Снимок фрагмента"));
    QCOMPARE(action("actionQuit")->text(), QStringLiteral("Выход"));

    settings->setLanguage(QStringLiteral("en"));
    QCOMPARE(action("actionQuit")->text(), QStringLiteral("Quit"));
}

void TestCoreTray::actionsOpenWindowsAndCaptures()
{
    action("actionSetting")->trigger();
    QVERIFY(m_core->settingWidget()->isVisible());
    m_core->settingWidget()->close();

    m_service.reset();
    action("actionScreen")->trigger();
    QVERIFY(m_core->surfaceWidget());
    QVERIFY(m_core->surfaceWidget()->isVisible());
    QVERIFY(!m_core->surfaceWidget()->selector()->fullScreen());
    // The menu's capture is counted, unlike a click on the icon.
    QTRY_VERIFY_WITH_TIMEOUT(!m_service.requests(QStringLiteral("/collect")).isEmpty(), 10000);
    m_core->surfaceWidget()->close();
    QTRY_VERIFY_WITH_TIMEOUT(!m_core->surfaceWidget(), 2000);

    action("actionVideo")->trigger();
    QVERIFY(m_core->surfaceWidget());
    QVERIFY(m_core->surfaceWidget()->selector()->fullScreen());
    QTRY_COMPARE_WITH_TIMEOUT(m_service.requests(QStringLiteral("/collect")).size(), 2, 10000);
}

void TestCoreTray::actionsOpenAddressesAndCopyTheLink()
{
    const QString link = QStringLiteral("https://kuvo.test/s/copied");
    m_core->setLastLink(link);
    QGuiApplication::clipboard()->setText(QStringLiteral("something else"));
    action("copyLastLink")->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), link);

    action("openLastLink")->trigger();
    action("trayHistory")->trigger();
    action("actionHelp")->trigger();
    QCOMPARE(m_opened.urls().size(), 3);
    QCOMPARE(m_opened.urls()[0], QUrl(link));
    const QString site = QStringLiteral("https://") + m_service.httpsHost();
    QVERIFY(m_opened.urls()[1].toString().startsWith(site + QStringLiteral("/login/")));
    QCOMPARE(m_opened.urls()[2], QUrl(site + QStringLiteral("/support")));

    // Offscreen, Qt has no browser to start: each action says so, and the log says where to,
    // never with the token.
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    const QString log = QDir::homePath() + QStringLiteral("/.kuvo/error.log");
    const qint64 logged = QFileInfo(log).size();
    for (const char *name : {"openLastLink", "trayHistory", "actionHelp"})
        action(name)->trigger();
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &m_opened, "open");
    const QList<ErrorWidget *> told = windowsOf<ErrorWidget>();
    QCOMPARE(told.size(), 3);
    for (ErrorWidget *window : told) {
        QCOMPARE(window->error(), Browser::failureText());
        window->close();
    }
    const QString lines = QString::fromUtf8(contents(log).mid(logged));
    QCOMPARE(lines.count(QStringLiteral("Cannot open the browser at ")), 3);
    QVERIFY(!lines.contains(Autorization::token()));
}

void TestCoreTray::clickOnTheIcon_data()
{
    QTest::addColumn<int>("reason");
    QTest::addColumn<QByteArray>("desktop");
    QTest::addColumn<bool>("captures");

    QTest::newRow("click") << int(QSystemTrayIcon::Trigger) << QByteArray("openbox") << true;
    QTest::newRow("click on KDE") << int(QSystemTrayIcon::Trigger) << QByteArray("KDE") << true;
    QTest::newRow("double click") << int(QSystemTrayIcon::DoubleClick) << QByteArray("openbox")
                                  << false;
    QTest::newRow("middle click on GNOME")
        << int(QSystemTrayIcon::MiddleClick) << QByteArray("GNOME") << false;
    QTest::newRow("context") << int(QSystemTrayIcon::Context) << QByteArray("") << false;
}

void TestCoreTray::clickOnTheIcon()
{
    QFETCH(int, reason);
    QFETCH(QByteArray, desktop);
    QFETCH(bool, captures);

    qputenv("XDG_CURRENT_DESKTOP", desktop);
    m_service.reset();
    emit m_core->trayIcon()->activated(QSystemTrayIcon::ActivationReason(reason));
    QCOMPARE(m_core->surfaceWidget() != nullptr, captures);
    if (captures)
        QVERIFY(!m_core->surfaceWidget()->selector()->fullScreen());
    // Nothing counts a click on the icon as a capture event.
    QTest::qWait(500);
    QVERIFY(m_service.arrivals(QStringLiteral("/collect")).isEmpty());
}

void TestCoreTray::reminder_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<bool>("shown");

    const QDateTime now = QDateTime::currentDateTime();
    QTest::newRow("never captured") << QVariant() << false;
    QTest::newRow("unreadable date") << QVariant(QStringLiteral("soon")) << false;
    QTest::newRow("yesterday") << QVariant(now.addDays(-1)) << false;
    QTest::newRow("nine days and a half") << QVariant(now.addSecs(-(9 * 86400 + 43200))) << false;
    QTest::newRow("eleven days") << QVariant(now.addDays(-11)) << true;
    QTest::newRow("a year") << QVariant(now.addYears(-1)) << true;
}

void TestCoreTray::reminder()
{
    QFETCH(QVariant, stored);
    QFETCH(bool, shown);

    const QString key = QStringLiteral("date_last_screen");
    Setting::instance()->setValue(key, stored);
    QSignalSpy balloons(m_core, &Core::trayMessageShown);
    m_core->showReminderMessage();
    QCOMPARE(balloons.count(), shown ? 1 : 0);
    if (shown) {
        QCOMPARE(balloons[0][0].toString(), QStringLiteral("Kuvo - best screenshoter"));
        QCOMPARE(balloons[0][1].toString(),
            QStringLiteral("Hey! I Kuvo. The faster program to create screenshots and transfer "
                           "files over a network. Are you forgot for me ? Let`s do screenshot!"));
    }
    const QDateTime after = Setting::instance()->getValue(key).toDateTime();
    if (stored.toDateTime().isValid())
        QCOMPARE(after, stored.toDateTime());
    else
        QVERIFY(qAbs(after.secsTo(QDateTime::currentDateTime())) < 5);
}

void TestCoreTray::reminderComesOnceAMinuteAfterStart()
{
    QPointer<QTimer> timer = m_core->findChild<QTimer *>(QStringLiteral("reminderTimer"));
    QVERIFY(timer);
    QVERIFY(timer->isActive());
    QVERIFY(timer->isSingleShot());
    QCOMPARE(timer->interval(), 60000);

    Setting::instance()->setValue(
        QStringLiteral("date_last_screen"), QDateTime::currentDateTime().addDays(-30));
    QSignalSpy balloons(m_core, &Core::trayMessageShown);
    timer->start(10);
    QVERIFY(balloons.wait(2000));
    QTRY_VERIFY_WITH_TIMEOUT(!timer, 2000);
    QCOMPARE(balloons.count(), 1);
}

// Without a tray a balloon would be lost; the outcome the user asked for must still show.
void TestCoreTray::ftpReportFallsBackToAWindowWithoutATray()
{
    QSignalSpy finished(m_core, &Core::checkConnectionFinished);
    QSignalSpy balloons(m_core, &Core::trayMessageShown);
    const int windows = visibleMessageWindows();
    m_core->checkFtpConnecrion(QStringLiteral("user"), QStringLiteral("secret"),
        QStringLiteral("127.0.0.1"), QString(), closedPort());
    QVERIFY(finished.wait(30000));
    QTRY_COMPARE_WITH_TIMEOUT(visibleMessageWindows(), windows + 1, 5000);
    QCOMPARE(balloons.count(), 0);
}

QTEST_MAIN(TestCoreTray)
#include "tst_coretray.moc"
