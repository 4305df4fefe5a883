#include "core.h"
#include "coretestsupport.h"
#include "handleftpupload.h"
#include "handlesftpupload.h"
#include "localftpserver.h"
#include "localsftpserver.h"
#include "messagedialog.h"
#include "proxywidget.h"
#include "setting.h"
#include "settingwidget.h"
#include "surfacewidget.h"
#include "windowtestsupport.h"

#include <QAction>
#include <QMenu>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QScreen>

#include <memory>

// The pages of the settings window, clicked as a user would, against the real settings store
// and the real controller.
class TestSettingPages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void everyPageShowsWithoutWarnings();
    void sftpOnlyPageShowsTheSftpServer();
    void checkBoxWritesItsKeyOnAccept_data();
    void checkBoxWritesItsKeyOnAccept();
    void captureViewFollowsTheAcceptedFlags_data();
    void captureViewFollowsTheAcceptedFlags();
    void choiceWritesItsKeyOnAccept_data();
    void choiceWritesItsKeyOnAccept();
    void googleDiskIsShownButNeverChosen();
    void qualityButtonExplainsItselfAfterAPause();
    void languageSwitchTranslatesThePages();
    void cancelWritesNothingAndShowsTheStoredValues();
    void resetByDefault();
    void proxyWindowClosedWithoutHostUnchecksUseProxy();
    void extraCopyNeedsAFolder_data();
    void extraCopyNeedsAFolder();
    void sftpSwitchKeepsEachServersValues();
    void tabMovesThroughTheServerFields();
    void connectionTestEndsWithTheBusyPictureHidden_data();
    void connectionTestEndsWithTheBusyPictureHidden();
    void serverTargetWorksAfterARestart_data();
    void serverTargetWorksAfterARestart();
    void hotKeyFieldTakesOnlyUsableCombinations();
    void trayShowsTheHotKeysOfThePage();
    void escapeAndCancelGrabTheHotKeysAgain();
    void signingOutEmptiesTheServerFields();

private:
    std::unique_ptr<SettingWidget> openSettings();
    QQuickItem *item(QQuickView *window, const QString &name);
    void click(QQuickView *window, const QString &name);
    // The FTP/SFTP page, opened, with the fields typed in for the local server on port.
    std::unique_ptr<SettingWidget> typeServer(int port, const QString &password);
    static QVariant stored(const char *key, bool enciphered = false);
    static void store(const char *key, const QVariant &value, bool enciphered = false);

    StandinService m_service;
    Core *m_core = nullptr;
};

void TestSettingPages::initTestCase()
{
    QVERIFY(m_service.start());
    pointAt(m_service);
    m_core = Core::instance();
    QVERIFY(signInDemo(*m_core->account()));
}

// A test that stops early must not leave the next ones in Russian or behind a proxy.
void TestSettingPages::cleanup()
{
    Setting::instance()->setLanguage(QStringLiteral("en"));
    store("useProxy", 0);
    m_core->setFolderAsker({});
    for (MessageDialog *message : windowsOf<MessageDialog>())
        message->close();
    m_core->proxyWidget()->hide();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

std::unique_ptr<SettingWidget> TestSettingPages::openSettings()
{
    auto window = std::make_unique<SettingWidget>();
    window->show();
    window->requestActivate();
    if (!QTest::qWaitForWindowActive(window.get(), 5000) || !window->rootObject())
        return nullptr;
    return window;
}

QQuickItem *TestSettingPages::item(QQuickView *window, const QString &name)
{
    QQuickItem *found = findItem(window, name);
    if (!found)
        qWarning() << Q_FUNC_INFO << "no item" << name;
    return found;
}

void TestSettingPages::click(QQuickView *window, const QString &name)
{
    QQuickItem *target = item(window, name);
    QVERIFY2(target && target->isVisible(), qPrintable(name + QStringLiteral(" is not shown")));
    clickItem(window, target);
}

QVariant TestSettingPages::stored(const char *key, bool enciphered)
{
    return Setting::instance()->getValue(QLatin1String(key), enciphered);
}

void TestSettingPages::store(const char *key, const QVariant &value, bool enciphered)
{
    Setting::instance()->setValue(QLatin1String(key), value, enciphered);
}

void TestSettingPages::everyPageShowsWithoutWarnings()
{
    WarningCatcher catcher;
    {
        std::unique_ptr<SettingWidget> window = openSettings();
        QVERIFY(window);
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(available.contains(window->geometry()));
        for (const char *target : {"ftpTarget", "dropboxTarget", "googleTarget", "kuvoTarget"}) {
            click(window.get(), QLatin1String(target));
            QTest::qWait(50);
        }
        QVERIFY(item(window.get(), QStringLiteral("accountCard"))->isVisible());
        for (const char *tool : {"settingToolItem", "hootKeyToolItem", "authToolItem"}) {
            click(window.get(), QLatin1String(tool));
            QTest::qWait(50);
        }
        QVERIFY(item(window.get(), QStringLiteral("authDelegate"))->isVisible());
        QVERIFY(!item(window.get(), QStringLiteral("settingDelegate"))->isVisible());
        QCOMPARE(item(window.get(), QStringLiteral("version"))->property("text").toString(),
            QStringLiteral("Version ") + m_core->appVersion());
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(catcher.warnings(), QStringList());
}

// The page of the SFTP server alone reads and writes the SFTP keys and nothing else.
void TestSettingPages::sftpOnlyPageShowsTheSftpServer()
{
    store("ftp_host", QStringLiteral("ftp.lan"));
    store("sftp_host", QStringLiteral("sftp.lan"));
    store("sftp_port", QVariant());
    WarningCatcher catcher;
    ProbeWindow window;
    window.resize(500, 400);
    QQmlComponent maker(window.engine());
    maker.setData("import QtQuick 2.12\nimport \"../Settings\"\n"
                  "SettingsAuthSftpPage { width: 480 }",
        QUrl(QStringLiteral("qrc:/qml/qml/Window/probe.qml")));
    std::unique_ptr<QObject> page(maker.create(window.rootContext()));
    QVERIFY2(page, qPrintable(maker.errorString()));
    auto *form = qobject_cast<QQuickItem *>(page.get());
    form->setParentItem(window.contentItem());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window, 5000));

    auto *host = form->findChild<QQuickItem *>(QStringLiteral("host"));
    QVERIFY(host);
    QCOMPARE(host->property("text").toString(), QStringLiteral("sftp.lan"));
    QCOMPARE(form->findChild<QQuickItem *>(QStringLiteral("port"))->property("text").toString(),
        QStringLiteral("22"));
    host->setProperty("text", QStringLiteral("other.lan"));
    QMetaObject::invokeMethod(form, "save");
    QCOMPARE(stored("sftp_host").toString(), QStringLiteral("other.lan"));
    QCOMPARE(stored("ftp_host").toString(), QStringLiteral("ftp.lan"));
    // An untouched default port is no value of the user's.
    QVERIFY(stored("sftp_port").isNull());
    QCOMPARE(catcher.warnings(), QStringList());
}

void TestSettingPages::checkBoxWritesItsKeyOnAccept_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("key");

    const QString general = QStringLiteral("settingToolItem");
    QTest::newRow("autostart") << general << QString() << "chbAutostart"
                               << "autostart";
    QTest::newRow("upload window") << general << QString() << "chbProccessLoad"
                                   << "show_upload";
    QTest::newRow("upload complete window") << general << QString() << "chbLoadShowWindow"
                                            << "show_last_upload";
    QTest::newRow("active window title") << general << QString() << "chbShowActiveWindow"
                                         << "showActiveWindow";
    QTest::newRow("direct link") << general << QString() << "chbShortLink"
                                 << "shortLink";
    QTest::newRow("magnifier") << general << QString() << "chbShowMagnifier"
                               << "showMagnifier";
    QTest::newRow("ask before closing") << general << QString() << "chbShowCloseSurfaceWindow"
                                        << "showCloseSurfaceWindow";
    const QString storage = QStringLiteral("authToolItem");
    QTest::newRow("sftp") << storage << "ftpTarget"
                          << "chbSftp"
                          << "is_sftp";
    QTest::newRow("ftp falls back to the service") << storage << "ftpTarget"
                                                   << "chbFtpErrorUpload"
                                                   << "is_ftp_error_upload_kuvo";
    QTest::newRow("dropbox falls back to the service") << storage << "dropboxTarget"
                                                       << "chbDropboxErrorUpload"
                                                       << "is_dropbox_error_upload_kuvo";
}

void TestSettingPages::checkBoxWritesItsKeyOnAccept()
{
    QFETCH(QString, tool);
    QFETCH(QString, target);
    QFETCH(QString, control);
    QFETCH(QString, key);

    for (const bool before : {false, true}) {
        Setting::instance()->setValue(key, before ? 1 : 0);
        std::unique_ptr<SettingWidget> window = openSettings();
        QVERIFY(window);
        click(window.get(), tool);
        if (!target.isEmpty())
            click(window.get(), target);
        QCOMPARE(item(window.get(), control)->property("check").toBool(), before);
        click(window.get(), control);
        QCOMPARE(item(window.get(), control)->property("check").toBool(), !before);
        QCOMPARE(Setting::instance()->getValue(key).toBool(), before);
        click(window.get(),
            tool == QLatin1String("authToolItem") ? QStringLiteral("authAccept")
                                                  : QStringLiteral("settingAccept"));
        QCOMPARE(Setting::instance()->getValue(key).toBool(), !before);
    }
}

// The capture page reads what the settings page stored, as the user left it on Accept and as
// the database gives it back after a restart (text).
void TestSettingPages::captureViewFollowsTheAcceptedFlags_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("property");
    QTest::addColumn<bool>("inverted");
    QTest::newRow("magnifier") << "chbShowMagnifier"
                               << "showMagnifier"
                               << "SurfaceSelector"
                               << "isShowMagnified" << false;
    QTest::newRow("ask before closing") << "chbShowCloseSurfaceWindow"
                                        << "showCloseSurfaceWindow"
                                        << "CheckBowCloseWindow"
                                        << "checked" << true;
}

void TestSettingPages::captureViewFollowsTheAcceptedFlags()
{
    QFETCH(QString, control);
    QFETCH(QString, key);
    QFETCH(QString, item);
    QFETCH(QString, property);
    QFETCH(bool, inverted);
    SurfaceWidget::setGrabber([](const QRect &rect) {
        QPixmap picture(rect.size());
        picture.fill(Qt::gray);
        return picture;
    });
    const auto shownOnTheCapturePage = [&] {
        SurfaceWidget view(m_core);
        QQuickItem *shown = findItem(&view, item);
        return shown && shown->property(qPrintable(property)).toBool() != inverted;
    };
    for (const bool on : {false, true}) {
        store(qPrintable(key), on ? 0 : 1);
        std::unique_ptr<SettingWidget> window = openSettings();
        QVERIFY(window);
        click(window.get(), QStringLiteral("settingToolItem"));
        click(window.get(), control);
        click(window.get(), QStringLiteral("settingAccept"));
        QCOMPARE(shownOnTheCapturePage(), on);
        store(qPrintable(key), on ? QStringLiteral("1") : QStringLiteral("0"));
        QCOMPARE(shownOnTheCapturePage(), on);
    }
    SurfaceWidget::setGrabber({});
}

void TestSettingPages::choiceWritesItsKeyOnAccept_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("before");
    QTest::addColumn<QVariant>("after");

    const QString general = QStringLiteral("settingToolItem");
    QTest::newRow("low quality: jpeg 90") << general << "rbLow"
                                          << "qualityImage" << QVariant(2) << QVariant(0);
    QTest::newRow("average quality: jpeg 100") << general << "rbAverage"
                                               << "qualityImage" << QVariant(0) << QVariant(1);
    QTest::newRow("high quality: png") << general << "rbHigh"
                                       << "qualityImage" << QVariant(1) << QVariant(2);
    const QString storage = QStringLiteral("authToolItem");
    QTest::newRow("target ftp") << storage << "ftpTarget"
                                << "type_upload" << QVariant("kuvo") << QVariant("ftp");
    QTest::newRow("target dropbox") << storage << "dropboxTarget"
                                    << "type_upload" << QVariant("ftp") << QVariant("dropbox");
    QTest::newRow("target service") << storage << "kuvoTarget"
                                    << "type_upload" << QVariant("dropbox") << QVariant("kuvo");
}

void TestSettingPages::choiceWritesItsKeyOnAccept()
{
    QFETCH(QString, tool);
    QFETCH(QString, control);
    QFETCH(QString, key);
    QFETCH(QVariant, before);
    QFETCH(QVariant, after);

    Setting::instance()->setValue(key, before);
    std::unique_ptr<SettingWidget> window = openSettings();
    QVERIFY(window);
    click(window.get(), tool);
    QVERIFY(!item(window.get(), control)->property("check").toBool());
    click(window.get(), control);
    QVERIFY(item(window.get(), control)->property("check").toBool());
    QCOMPARE(Setting::instance()->getValue(key).toString(), before.toString());
    click(window.get(),
        tool == QLatin1String("authToolItem") ? QStringLiteral("authAccept")
                                              : QStringLiteral("settingAccept"));
    QCOMPARE(Setting::instance()->getValue(key).toString(), after.toString());
}

void TestSettingPages::googleDiskIsShownButNeverChosen()
{
    store("type_upload", QStringLiteral("ftp"));
    std::unique_ptr<SettingWidget> window = openSettings();
    QVERIFY(window);
    click(window.get(), QStringLiteral("authToolItem"));
    click(window.get(), QStringLiteral("googleTarget"));
    QVERIFY(item(window.get(), QStringLiteral("googlePage"))->isVisible());
    QVERIFY(item(window.get(), QStringLiteral("googleUnavailable"))
                ->property("text")
                .toString()
                .contains(QStringLiteral("cannot upload to Google disk")));
    QVERIFY(!item(window.get(), QStringLiteral("googleTarget"))->property("check").toBool());
    QVERIFY(item(window.get(), QStringLiteral("ftpTarget"))->property("check").toBool());
    click(window.get(), QStringLiteral("authAccept"));
    QCOMPARE(stored("type_upload").toString(), QStringLiteral("ftp"));

    // The chosen target shows its page again on a click.
    click(window.get(), QStringLiteral("ftpTarget"));
    QVERIFY(item(window.get(), QStringLiteral("ftpPage"))->isVisible());
    QVERIFY(!item(window.get(), QStringLiteral("googlePage"))->isVisible());

    // A stored "google" goes to the service, and the user is told.
    QCOMPARE(windowsOf<MessageDialog>().size(), 0);
    store("type_upload", QStringLiteral("google"));
    QCOMPARE(stored("type_upload").toString(), QStringLiteral("kuvo"));
    QCOMPARE(windowsOf<MessageDialog>().size(), 1);
    QVERIFY(windowsOf<MessageDialog>()
                .first()
                ->data(QStringLiteral("message"))
                .toString()
                .contains(QStringLiteral("Uploads go to the Kuvo service")));
}

void TestSettingPages::qualityButtonExplainsItselfAfterAPause()
{
    std::unique_ptr<SettingWidget> window = openSettings();
    QVERIFY(window);
    click(window.get(), QStringLiteral("settingToolItem"));
    QQuickItem *low = item(window.get(), QStringLiteral("rbLow"));
    auto *tip = low->findChild<QQuickItem *>(QStringLiteral("toolTip"));
    QVERIFY(tip);
    QTest::mouseMove(window.get(), low->mapToScene(QPointF(8, low->height() / 2)).toPoint());
    QVERIFY(!tip->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(tip->isVisible(), 3000);
    QTest::mouseMove(window.get(), QPoint(5, 5));
    QVERIFY(!tip->isVisible());
}

void TestSettingPages::languageSwitchTranslatesThePages()
{
    store("language", QStringLiteral("en"));
    std::unique_ptr<SettingWidget> window = openSettings();
    QVERIFY(window);
    QQuickItem *tool = item(window.get(), QStringLiteral("settingToolItem"));
    QCOMPARE(tool->property("text").toString(), QStringLiteral("Settings"));
    click(window.get(), QStringLiteral("settingToolItem"));
    click(window.get(), QStringLiteral("lanRussian"));
    QCOMPARE(tool->property("text").toString(), QStringLiteral("Settings"));
    click(window.get(), QStringLiteral("settingAccept"));
    QCOMPARE(stored("language").toString(), QStringLiteral("ru"));
    QCOMPARE(tool->property("text").toString(), QStringLiteral("Настройки"));
    QCOMPARE(item(window.get(), QStringLiteral("chbUseProxy"))->property("textCheck").toString(),
        QStringLiteral("Использовать прокси"));
    // What the pages showed before the switch stays shown.
    QVERIFY(item(window.get(), QStringLiteral("lanRussian"))->property("check").toBool());
    QCOMPARE(item(window.get(), QStringLiteral("fragmentKey"))->property("text").toString(),
        stored("keyFragmentScreen").toString());

    click(window.get(), QStringLiteral("lanEnglish"));
    click(window.get(), QStringLiteral("settingAccept"));
    QCOMPARE(tool->property("text").toString(), QStringLiteral("Settings"));
}

void TestSettingPages::cancelWritesNothingAndShowsTheStoredValues()
{
    store("qualityImage", 1);
    store("shortLink", 0);
    store("type_upload", QStringLiteral("kuvo"));
    store("ftp_host", QStringLiteral("ftp.lan"));
    store("keySnapshotScreen", QStringLiteral("Ctrl + Shift + Print"));
    std::unique_ptr<SettingWidget> window = openSettings();
    QVERIFY(window);
    QSignalSpy written(Setting::instance(), &Setting::valueChanged);

    click(window.get(), QStringLiteral("ftpTarget"));
    item(window.get(), QStringLiteral("host"))->setProperty("text", QStringLiteral("x.lan"));
    click(window.get(), QStringLiteral("settingToolItem"));
    click(window.get(), QStringLiteral("rbHigh"));
    click(window.get(), QStringLiteral("chbShortLink"));
    click(window.get(), QStringLiteral("hootKeyToolItem"));
    click(window.get(), QStringLiteral("fullScreenChange"));
    QTest::keyClick(window.get(), Qt::Key_F5, Qt::AltModifier);
    QCOMPARE(item(window.get(), QStringLiteral("fullScreenKey"))->property("text").toString(),
        QStringLiteral("Alt + F5"));
    click(window.get(), QStringLiteral("hotKeyCancel"));

    QCOMPARE(written.count(), 0);
    QCOMPARE(item(window.get(), QStringLiteral("fullScreenKey"))->property("text").toString(),
        QStringLiteral("Ctrl + Shift + Print"));
    QVERIFY(item(window.get(), QStringLiteral("rbAverage"))->property("check").toBool());
    QVERIFY(!item(window.get(), QStringLiteral("rbHigh"))->property("check").toBool());
    QVERIFY(!item(window.get(), QStringLiteral("chbShortLink"))->property("check").toBool());
    QVERIFY(item(window.get(), QStringLiteral("kuvoTarget"))->property("check").toBool());
    QVERIFY(!item(window.get(), QStringLiteral("ftpTarget"))->property("check").toBool());
    QCOMPARE(item(window.get(), QStringLiteral("host"))->property("text").toString(),
        QStringLiteral("ftp.lan"));
}

void TestSettingPages::resetByDefault()
{
    store("qualityImage", 0);
    store("showMagnifier", 0);
    store("useProxy", 1);
    store("type_upload", QStringLiteral("ftp"));
    store("keyFragmentScreen", QStringLiteral("Alt + F1"));
    std::unique_ptr<SettingWidget> window = openSettings();
    QVERIFY(window);
    click(window.get(), QStringLiteral("settingToolItem"));
    QVERIFY(item(window.get(), QStringLiteral("rbLow"))->property("check").toBool());
    QVERIFY(item(window.get(), QStringLiteral("chbUseProxy"))->property("check").toBool());

    click(window.get(), QStringLiteral("settingResetToDefault"));
    QCOMPARE(stored("qualityImage").toInt(), 1);
    QCOMPARE(stored("showMagnifier").toBool(), true);
    QCOMPARE(stored("useProxy").toBool(), false);
    QCOMPARE(stored("type_upload").toString(), QStringLiteral("kuvo"));
    QCOMPARE(stored("keyFragmentScreen").toString(), QStringLiteral("Print Screen"));
    QVERIFY(item(window.get(), QStringLiteral("rbAverage"))->property("check").toBool());
    QVERIFY(!item(window.get(), QStringLiteral("rbLow"))->property("check").toBool());
    QVERIFY(item(window.get(), QStringLiteral("chbShowMagnifier"))->property("check").toBool());
    QVERIFY(!item(window.get(), QStringLiteral("chbUseProxy"))->property("check").toBool());
    QVERIFY(item(window.get(), QStringLiteral("kuvoTarget"))->property("check").toBool());
    QCOMPARE(item(window.get(), QStringLiteral("fragmentKey"))->property("text").toString(),
        QStringLiteral("Print Screen"));
}

void TestSettingPages::proxyWindowClosedWithoutHostUnchecksUseProxy()
{
    store("useProxy", 0);
    store("proxy_host", QString());
    std::unique_ptr<SettingWidget> window = openSettings();
    QVERIFY(window);
    click(window.get(), QStringLiteral("settingToolItem"));
    QQuickItem *useProxy = item(window.get(), QStringLiteral("chbUseProxy"));

    click(window.get(), QStringLiteral("chbUseProxy"));
    QVERIFY(m_core->proxyWidget()->isVisible());
    QVERIFY(useProxy->property("check").toBool());
    m_core->proxyWidget()->close();
    QVERIFY(!useProxy->property("check").toBool());

    // With a host the proxy is usable, and the choice stands.
    store("proxy_host", QStringLiteral("127.0.0.1"));
    click(window.get(), QStringLiteral("chbUseProxy"));
    m_core->proxyWidget()->close();
    QVERIFY(useProxy->property("check").toBool());
    click(window.get(), QStringLiteral("settingAccept"));
    QCOMPARE(stored("useProxy").toBool(), true);
}

void TestSettingPages::extraCopyNeedsAFolder_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<QString>("shown");

    QTest::newRow("folder chosen") << QDir::tempPath() + QStringLiteral("/copies") << true
                                   << QDir::tempPath() + QStringLiteral("/copies");
    QTest::newRow("question dismissed") << QString() << false << QString();
}

void TestSettingPages::extraCopyNeedsAFolder()
{
    QFETCH(QString, chosen);
    QFETCH(bool, checked);
    QFETCH(QString, shown);

    store("useSaveScreen", 0);
    store("saveScreenFolder", QString());
    int asked = 0;
    m_core->setFolderAsker([&](const QString &) {
        ++asked;
        return chosen;
    });
    std::unique_ptr<SettingWidget> window = openSettings();
    QVERIFY(window);
    click(window.get(), QStringLiteral("settingToolItem"));
    QVERIFY(!item(window.get(), QStringLiteral("textPath"))->isVisible());
    click(window.get(), QStringLiteral("chbUseSaveScreen"));
    QCOMPARE(asked, 1);
    QCOMPARE(item(window.get(), QStringLiteral("chbUseSaveScreen"))->property("check").toBool(),
        checked);
    QCOMPARE(item(window.get(), QStringLiteral("textPath"))->isVisible(), checked);
    QCOMPARE(item(window.get(), QStringLiteral("textPath"))->property("text").toString(), shown);
}

void TestSettingPages::sftpSwitchKeepsEachServersValues()
{
    store("is_sftp", 0);
    store("ftp_host", QStringLiteral("ftp.lan"));
    store("ftp_port", QVariant());
    store("ftp_user", QStringLiteral("ftp-user"), true);
    store("sftp_host", QStringLiteral("sftp.lan"));
    store("sftp_port", QVariant());
    store("sftp_user", QStringLiteral("sftp-user"), true);
    std::unique_ptr<SettingWidget> window = openSettings();
    QVERIFY(window);
    click(window.get(), QStringLiteral("ftpTarget"));
    QQuickItem *host = item(window.get(), QStringLiteral("host"));
    QQuickItem *port = item(window.get(), QStringLiteral("port"));
    QQuickItem *user = item(window.get(), QStringLiteral("user"));
    QCOMPARE(host->property("text").toString(), QStringLiteral("ftp.lan"));
    QCOMPARE(port->property("text").toString(), QStringLiteral("21"));
    QCOMPARE(user->property("text").toString(), QStringLiteral("ftp-user"));

    click(window.get(), QStringLiteral("chbSftp"));
    QCOMPARE(host->property("text").toString(), QStringLiteral("sftp.lan"));
    QCOMPARE(port->property("text").toString(), QStringLiteral("22"));
    QCOMPARE(user->property("text").toString(), QStringLiteral("sftp-user"));
    host->setProperty("text", QStringLiteral("edited.lan"));
    port->setProperty("text", QStringLiteral("2222"));

    click(window.get(), QStringLiteral("chbSftp"));
    QCOMPARE(host->property("text").toString(), QStringLiteral("ftp.lan"));
    QCOMPARE(port->property("text").toString(), QStringLiteral("21"));
    click(window.get(), QStringLiteral("chbSftp"));
    QCOMPARE(host->property("text").toString(), QStringLiteral("edited.lan"));
    click(window.get(), QStringLiteral("authAccept"));

    QCOMPARE(stored("is_sftp").toBool(), true);
    QCOMPARE(stored("sftp_host").toString(), QStringLiteral("edited.lan"));
    QCOMPARE(stored("sftp_port").toInt(), 2222);
    QCOMPARE(stored("sftp_user", true).toString(), QStringLiteral("sftp-user"));
    QCOMPARE(stored("ftp_host").toString(), QStringLiteral("ftp.lan"));
    QVERIFY(stored("ftp_port").isNull());
    QCOMPARE(stored("ftp_user", true).toString(), QStringLiteral("ftp-user"));
}

void TestSettingPages::tabMovesThroughTheServerFields()
{
    std::unique_ptr<SettingWidget> window = openSettings();
    QVERIFY(window);
    click(window.get(), QStringLiteral("ftpTarget"));
    click(window.get(), QStringLiteral("host"));
    for (const char *next : {"port", "user", "password", "path", "baseUrl"}) {
        QTest::keyClick(window.get(), Qt::Key_Tab);
        auto *edit
            = item(window.get(), QLatin1String(next))->property("edit").value<QQuickItem *>();
        QVERIFY2(edit && edit->hasActiveFocus(), next);
    }
}

void TestSettingPages::connectionTestEndsWithTheBusyPictureHidden_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("title");

    QTest::newRow("right password") << LocalLoginServer::password() << "Well done";
    QTest::newRow("wrong password")
        << LocalLoginServer::password() + QStringLiteral("-no") << "Error";
}

void TestSettingPages::connectionTestEndsWithTheBusyPictureHidden()
{
    QFETCH(QString, password);
    QFETCH(QString, title);

    LocalFtpServer ftp;
    QVERIFY(ftp.start());
    store("is_sftp", 0);
    std::unique_ptr<SettingWidget> window = typeServer(ftp.port(), password);
    QVERIFY(window);
    QQuickItem *busy = item(window.get(), QStringLiteral("checkBusy"));
    QVERIFY(!busy->isVisible());

    QSignalSpy finished(m_core, &Core::checkConnectionFinished);
    click(window.get(), QStringLiteral("checkConnection"));
    QVERIFY(busy->isVisible());
    QVERIFY(!item(window.get(), QStringLiteral("checkConnection"))->isEnabled());
    QVERIFY(finished.wait(15000));
    QVERIFY(!busy->isVisible());
    QVERIFY(item(window.get(), QStringLiteral("checkConnection"))->isEnabled());
    const QList<MessageDialog *> reports = windowsOf<MessageDialog>();
    QCOMPARE(reports.size(), 1);
    QCOMPARE(reports.first()->data(QStringLiteral("title")).toString(), title);
}

std::unique_ptr<SettingWidget> TestSettingPages::typeServer(int port, const QString &password)
{
    std::unique_ptr<SettingWidget> window = openSettings();
    if (!window)
        return nullptr;
    click(window.get(), QStringLiteral("ftpTarget"));
    item(window.get(), QStringLiteral("host"))->setProperty("text", QStringLiteral("127.0.0.1"));
    item(window.get(), QStringLiteral("port"))->setProperty("text", QString::number(port));
    item(window.get(), QStringLiteral("user"))->setProperty("text", LocalLoginServer::user());
    item(window.get(), QStringLiteral("password"))->setProperty("text", password);
    item(window.get(), QStringLiteral("path"))->setProperty("text", QString());
    return window;
}

void TestSettingPages::serverTargetWorksAfterARestart_data()
{
    QTest::addColumn<bool>("sftp");
    QTest::addColumn<bool>("olderFile"); // the port as an older version stored it
    QTest::newRow("ftp") << false << false;
    QTest::newRow("sftp") << true << false;
    QTest::newRow("ftp, port of an older version") << false << true;
}

// A port accepted on the page and read back from the file, as after a restart: the page shows
// it, its check and a real upload to the server use it alike.
void TestSettingPages::serverTargetWorksAfterARestart()
{
    QFETCH(bool, sftp);
    QFETCH(bool, olderFile);
    std::unique_ptr<LocalLoginServer> server(
        sftp ? static_cast<LocalLoginServer *>(new LocalSftpServer) : new LocalFtpServer);
    QVERIFY(server->start());
    store("is_sftp", int(sftp));
    const QString key = QLatin1String(sftp ? "sftp_port" : "ftp_port");
    click(typeServer(server->port(), LocalLoginServer::password()).get(),
        QStringLiteral("authAccept"));
    // What a restart reads: the file's value in place of the one the page handed the store.
    const QVariant fromFile = olderFile ? QStringLiteral("%1.0").arg(server->port())
                                        : Setting::instance()->getValueDB(key);
    store(qPrintable(key), QVariant());
    store(qPrintable(key), fromFile);

    std::unique_ptr<SettingWidget> window = openSettings();
    QVERIFY(window);
    click(window.get(), QStringLiteral("ftpTarget"));
    QCOMPARE(item(window.get(), QStringLiteral("port"))->property("text").toString(),
        QString::number(server->port()));
    QSignalSpy finished(m_core, &Core::checkConnectionFinished);
    click(window.get(), QStringLiteral("checkConnection"));
    QVERIFY(finished.wait(15000));
    QCOMPARE(windowsOf<MessageDialog>().value(0)->data(QStringLiteral("title")).toString(),
        QStringLiteral("Well done"));

    QTemporaryFile file;
    QVERIFY(file.open() && file.write("sent after a restart") > 0 && file.flush());
    std::unique_ptr<CurlUpload> upload(
        sftp ? static_cast<CurlUpload *>(new HandleSFTPUpload) : new HandleFTPUpload);
    QSignalSpy uploaded(upload.get(), &CurlUpload::uploaded);
    upload->upload(file.fileName());
    QVERIFY(uploaded.wait(15000));
    QCOMPARE(QFileInfo(server->root() + QLatin1Char('/') + QFileInfo(file).fileName()).size(),
        file.size());
}

// Only a combination with a modifier and a named key is taken; until then the field asks on.
void TestSettingPages::hotKeyFieldTakesOnlyUsableCombinations()
{
    store("keyFragmentScreen", QStringLiteral("Ctrl + Print"));
    std::unique_ptr<SettingWidget> window = openSettings();
    QVERIFY(window);
    click(window.get(), QStringLiteral("hootKeyToolItem"));
    QQuickItem *field = item(window.get(), QStringLiteral("fragmentKey"));

    click(window.get(), QStringLiteral("fragmentChange"));
    QVERIFY(field->property("activeFocusInput").toBool());
    QTest::keyClick(window.get(), Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(window.get(), Qt::Key_Left, Qt::AltModifier);
    QTest::keyClick(window.get(), Qt::Key_B);
    QVERIFY(field->property("activeFocusInput").toBool());
    QCOMPARE(field->property("text").toString(), QStringLiteral("Ctrl + Print"));
    QTest::keyClick(window.get(), Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(!field->property("activeFocusInput").toBool());
    QCOMPARE(field->property("text").toString(), QStringLiteral("Shift + Ctrl + A"));

    click(window.get(), QStringLiteral("fragmentChange"));
    QTest::keyClick(window.get(), Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(field->property("text").toString(), QStringLiteral("Ctrl + Enter"));
    QCOMPARE(stored("keyFragmentScreen").toString(), QStringLiteral("Ctrl + Print"));
    click(window.get(), QStringLiteral("hotKeyAccept"));
    QCOMPARE(stored("keyFragmentScreen").toString(), QStringLiteral("Ctrl + Enter"));
}

void TestSettingPages::trayShowsTheHotKeysOfThePage()
{
    const auto shown = [this](const char *name) {
        for (QAction *action : m_core->trayMenu()->actions()) {
            if (action->objectName() == QLatin1String(name))
                return action->shortcut().toString(QKeySequence::PortableText);
        }
        return QStringLiteral("no action");
    };
    store("keyFragmentScreen", QStringLiteral("Ctrl + Print Screen"));
    store("keySnapshotScreen", QStringLiteral("Ctrl + Shift + Print Screen"));
    std::unique_ptr<SettingWidget> window = openSettings();
    QVERIFY(window);
    click(window.get(), QStringLiteral("hootKeyToolItem"));
    click(window.get(), QStringLiteral("fragmentChange"));
    QTest::keyClick(window.get(), Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    click(window.get(), QStringLiteral("hotKeyAccept"));
    QCOMPARE(shown("actionScreen"), QStringLiteral("Ctrl+Shift+A"));

    click(window.get(), QStringLiteral("hotKeyResetToDefault"));
    QCOMPARE(stored("keyFragmentScreen").toString(), QStringLiteral("Print Screen"));
    QCOMPARE(shown("actionScreen"), QStringLiteral("Print"));
    QCOMPARE(shown("actionVideo"), QStringLiteral("Ctrl+Shift+Print"));
}

// The offscreen tests have no X server to grab keys on: every grab fails and says so, which
// tells when the page asked for the hot keys again.
void TestSettingPages::escapeAndCancelGrabTheHotKeysAgain()
{
    store("fragmentScreen", 1);
    store("quickFragmentScreen", 1);
    store("snapshotFull", 1);
    store("keyQuickFragmentScreen", QStringLiteral("Shift + Print"));
    std::unique_ptr<SettingWidget> window = openSettings();
    QVERIFY(window);
    QSignalSpy closed(window.get(), &BasicWindow::closed);
    click(window.get(), QStringLiteral("hootKeyToolItem"));
    QQuickItem *field = item(window.get(), QStringLiteral("quickKey"));
    QSignalSpy grabbed(m_core, &Core::hookRegistrationFailed);

    click(window.get(), QStringLiteral("quickChange"));
    QCOMPARE(grabbed.count(), 0);
    QTest::keyClick(window.get(), Qt::Key_7, Qt::AltModifier);
    QCOMPARE(field->property("text").toString(), QStringLiteral("Alt + 7"));
    QCOMPARE(grabbed.count(), 3);

    grabbed.clear();
    click(window.get(), QStringLiteral("quickChange"));
    QCOMPARE(grabbed.count(), 0);
    QTest::keyClick(window.get(), Qt::Key_Escape);
    QCOMPARE(field->property("text").toString(), QStringLiteral("Alt + 7"));
    QVERIFY(!field->property("activeFocusInput").toBool());
    QCOMPARE(grabbed.count(), 3);
    QCOMPARE(closed.count(), 0);

    grabbed.clear();
    click(window.get(), QStringLiteral("quickChange"));
    QCOMPARE(grabbed.count(), 0);
    click(window.get(), QStringLiteral("hotKeyCancel"));
    QVERIFY(grabbed.count() >= 3);
    QVERIFY(!field->property("activeFocusInput").toBool());
    QCOMPARE(field->property("text").toString(), QStringLiteral("Shift + Print"));
    // The field asks no more: a key now changes nothing.
    QTest::keyClick(window.get(), Qt::Key_8, Qt::AltModifier);
    QCOMPARE(field->property("text").toString(), QStringLiteral("Shift + Print"));
    QCOMPARE(item(window.get(), QStringLiteral("quickProblem"))->isVisible(), true);
}

// Signing out forgets the stored servers; the page forgets them too, so that "Accept" cannot
// store them again.
void TestSettingPages::signingOutEmptiesTheServerFields()
{
    store("type_upload", QStringLiteral("kuvo"));
    store("is_sftp", 0);
    store("ftp_host", QStringLiteral("ftp.lan"));
    std::unique_ptr<SettingWidget> window = openSettings();
    QVERIFY(window);
    QCOMPARE(item(window.get(), QStringLiteral("userMail"))->property("text").toString(),
        stored("usermail").toString());
    QVERIFY(!stored("usermail").toString().isEmpty());

    click(window.get(), QStringLiteral("signOut"));
    QVERIFY(!Autorization::isAuth());
    QVERIFY(item(window.get(), QStringLiteral("signedOut"))->isVisible());
    QVERIFY(item(window.get(), QStringLiteral("signIn"))->isVisible());
    QVERIFY(!item(window.get(), QStringLiteral("accountCard"))->isVisible());
    QCOMPARE(item(window.get(), QStringLiteral("host"))->property("text").toString(), QString());
    click(window.get(), QStringLiteral("authAccept"));
    QCOMPARE(stored("ftp_host").toString(), QString());
    QVERIFY(signInDemo(*m_core->account()));
}

QTEST_MAIN(TestSettingPages)
#include "tst_settingpages.moc"
