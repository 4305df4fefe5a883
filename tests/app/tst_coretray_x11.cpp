#include "core.h"
#include "coretestsupport.h"
#include "setting.h"

#include <QApplication>
#include <QProcess>
#include <QScreen>
#include <QSystemTrayIcon>

namespace {

// Qt draws its own balloons for the trays of the X embedding protocol.
QWidget *visibleBalloon()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->inherits("QBalloonTip"))
            return widget;
    }
    return nullptr;
}

} // namespace

// The tray icon on a real X server with a real system tray (trayer, a small panel that holds
// nothing but a tray).
class TestCoreTrayX11 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void iconSitsInTheTray();
    void reminderShowsABalloon();
    void ftpReportGoesToABalloon();

private:
    QProcess m_tray;
    StandinService m_service;
    Core *m_core = nullptr;
};

void TestCoreTrayX11::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
    m_tray.setProcessChannelMode(QProcess::ForwardedChannels);
    m_tray.start(QStringLiteral("trayer"),
        {QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--align"),
            QStringLiteral("right"), QStringLiteral("--widthtype"), QStringLiteral("pixel"),
            QStringLiteral("--width"), QStringLiteral("200"), QStringLiteral("--height"),
            QStringLiteral("24")});
    QVERIFY2(m_tray.waitForStarted(5000), qPrintable(m_tray.errorString()));
    QTRY_VERIFY_WITH_TIMEOUT(QSystemTrayIcon::isSystemTrayAvailable(), 10000);

    QVERIFY(startSignedIn(m_service));
    m_core = Core::instance();
}

void TestCoreTrayX11::cleanupTestCase()
{
    m_tray.kill();
    m_tray.waitForFinished(5000);
}

void TestCoreTrayX11::iconSitsInTheTray()
{
    QSystemTrayIcon *icon = m_core->trayIcon();
    QVERIFY(icon->isVisible());
    // Docked, the icon has a place on the screen: in the panel at the top right.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const auto inThePanel = [&] {
        const QRect place = icon->geometry();
        return place.isValid() && place.left() > screen.width() / 2 && place.top() < 40;
    };
    QTRY_VERIFY2_WITH_TIMEOUT(inThePanel(),
        qPrintable(QStringLiteral("%1,%2 %3x%4")
                       .arg(icon->geometry().left())
                       .arg(icon->geometry().top())
                       .arg(icon->geometry().width())
                       .arg(icon->geometry().height())),
        10000);
    QCOMPARE(m_core->getTrayPos(), QPoint(icon->geometry().left() + screen.left(), 0));

    // A rebuild hides and shows the icon; it must come back into the tray.
    m_core->createTrayIcon();
    QTRY_VERIFY_WITH_TIMEOUT(inThePanel(), 10000);
}

void TestCoreTrayX11::reminderShowsABalloon()
{
    Setting::instance()->setValue(
        QStringLiteral("date_last_screen"), QDateTime::currentDateTime().addDays(-20));
    m_core->showReminderMessage();
    QTRY_VERIFY_WITH_TIMEOUT(visibleBalloon(), 5000);
    visibleBalloon()->close();
    QTRY_VERIFY_WITH_TIMEOUT(!visibleBalloon(), 5000);
}

void TestCoreTrayX11::ftpReportGoesToABalloon()
{
    QSignalSpy finished(m_core, &Core::checkConnectionFinished);
    QSignalSpy balloons(m_core, &Core::trayMessageShown);
    m_core->checkFtpConnecrion(QStringLiteral("user"), QStringLiteral("secret"),
        QStringLiteral("127.0.0.1"), QString(), closedPort());
    QVERIFY(finished.wait(30000));
    QTRY_VERIFY_WITH_TIMEOUT(visibleBalloon(), 5000);
    QCOMPARE(balloons.count(), 1);
    QCOMPARE(balloons[0][0].toString(), QStringLiteral("Error"));
    QCOMPARE(visibleMessageWindows(), 0);
}

QTEST_MAIN(TestCoreTrayX11)
#include "tst_coretray_x11.moc"
