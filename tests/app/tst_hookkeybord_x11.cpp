#include "core.h"
#include "coretestsupport.h"
#include "hookkeybord.h"
#include "setting.h"
#include "settingwidget.h"
#include "surfacewidget.h"
#include "x11otherclient.h"

#include <QGuiApplication>

namespace {

const int kRouteMs = 10000;
// How long a key press that must not start anything is given to do so anyway.
const int kQuietMs = 500;

QVariant value(const char *key)
{
    return Setting::instance()->getValue(QLatin1String(key));
}

void setValue(const char *key, const QVariant &data)
{
    Setting::instance()->setValue(QLatin1String(key), data);
}

bool isRegistered(HookKeybord::HookType type)
{
    return HookKeybord::instance()->isRegistered(type);
}

} // namespace

// The capture hot keys of the settings, grabbed for real and pressed through XTest, with the
// real controller behind them.
class TestHookKeybordX11 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void hotKeyReachesItsRoute_data();
    void hotKeyReachesItsRoute();
    void combinationTakenElsewhereIsReported();
    void unhookReleasesEveryGrab();
    void closingTheSettingsWindowRegistersAgain();
    void sameCombinationTwiceBelongsToTheLater();
    void printModifiedReachesTheController();

private:
    void typeAndWait(std::initializer_list<unsigned long> keys);

    StandinService m_service;
    X11OtherClient m_other;
    Core *m_core = nullptr;
};

void TestHookKeybordX11::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    QVERIFY(m_other.isReady());
    QVERIFY(startSignedIn(m_service));
    m_core = Core::instance();

    // The first-run texts and flags are what start-up grabs.
    m_core->updateHook();
    QVERIFY(isRegistered(HookKeybord::HookFragmentScreen));
    QVERIFY(isRegistered(HookKeybord::HookQuickFragmentScreen));
    QVERIFY(isRegistered(HookKeybord::HookSnapshotFull));
}

void TestHookKeybordX11::init()
{
    setValue("keyFragmentScreen", QStringLiteral("Ctrl + Print"));
    setValue("keyQuickFragmentScreen", QStringLiteral("Shift + Print"));
    setValue("keySnapshotScreen", QStringLiteral("Ctrl + Shift + Print"));
    setValue("fragmentScreen", true);
    setValue("quickFragmentScreen", true);
    setValue("snapshotFull", true);
    m_core->updateHook();
}

void TestHookKeybordX11::cleanup()
{
    if (m_core->surfaceWidget())
        m_core->surfaceWidget()->close();
    QTRY_VERIFY_WITH_TIMEOUT(!m_core->surfaceWidget(), 2000);
}

void TestHookKeybordX11::typeAndWait(std::initializer_list<unsigned long> keys)
{
    m_other.type(keys);
    QTest::qWait(kQuietMs);
}

void TestHookKeybordX11::hotKeyReachesItsRoute_data()
{
    QTest::addColumn<QList<unsigned long>>("keys");
    QTest::addColumn<bool>("opensView");
    QTest::addColumn<bool>("fullScreen");
    QTest::newRow("fragment") << QList<unsigned long> {XK_Control_L, XK_Print} << true << false;
    QTest::newRow("full screen") << QList<unsigned long> {XK_Control_L, XK_Shift_L, XK_Print}
                                 << true << true;
    QTest::newRow("quick upload") << QList<unsigned long> {XK_Shift_L, XK_Print} << false << false;
}

void TestHookKeybordX11::hotKeyReachesItsRoute()
{
    QFETCH(QList<unsigned long>, keys);
    QFETCH(bool, opensView);
    QFETCH(bool, fullScreen);
    const int uploads = value("count_screen").toInt();

    m_other.type({keys.cbegin(), keys.cend()});

    if (opensView) {
        QTRY_VERIFY_WITH_TIMEOUT(m_core->surfaceWidget(), kRouteMs);
        QTRY_VERIFY_WITH_TIMEOUT(m_core->surfaceWidget()->selector(), kRouteMs);
        QCOMPARE(m_core->surfaceWidget()->selector()->fullScreen(), fullScreen);
        QCOMPARE(value("count_screen").toInt(), uploads);
    } else {
        QTRY_COMPARE_WITH_TIMEOUT(value("count_screen").toInt(), uploads + 1, kRouteMs);
        QVERIFY(!m_core->surfaceWidget());
    }
}

void TestHookKeybordX11::combinationTakenElsewhereIsReported()
{
    QVERIFY(m_other.grab(XK_F3, XMask::Control | XMask::Shift));
    setValue("keyQuickFragmentScreen", QStringLiteral("Ctrl + Shift + F3"));
    QSignalSpy failed(m_core, &Core::hookRegistrationFailed);

    m_core->updateHook();
    QCOMPARE(failed.count(), 1);
    QCOMPARE(failed.at(0).at(0).toInt(), int(HookKeybord::HookQuickFragmentScreen));
    QVERIFY(failed.at(0).at(1).toString().contains(QStringLiteral("Ctrl + Shift + F3")));
    QVERIFY(!isRegistered(HookKeybord::HookQuickFragmentScreen));
    QVERIFY(isRegistered(HookKeybord::HookFragmentScreen));
    QVERIFY(isRegistered(HookKeybord::HookSnapshotFull));
    m_other.ungrab(XK_F3, XMask::Control | XMask::Shift);
}

void TestHookKeybordX11::unhookReleasesEveryGrab()
{
    // A second registration in a row must not leave the first one's grabs behind.
    m_core->updateHook();
    m_core->unhookKeyboard();
    QVERIFY(!isRegistered(HookKeybord::HookFragmentScreen));
    QVERIFY(m_other.grab(XK_Print, XMask::Control | XMask::NumLock));
    QVERIFY(m_other.grab(XK_Print, XMask::Shift));
    QVERIFY(m_other.grab(XK_Print, XMask::Control | XMask::Shift | XMask::CapsLock));
    m_other.ungrab(XK_Print, XMask::Control | XMask::NumLock);
    m_other.ungrab(XK_Print, XMask::Shift);
    m_other.ungrab(XK_Print, XMask::Control | XMask::Shift | XMask::CapsLock);

    // While the user types a new combination, the old one starts nothing.
    typeAndWait({XK_Control_L, XK_Print});
    QVERIFY(!m_core->surfaceWidget());
}

void TestHookKeybordX11::closingTheSettingsWindowRegistersAgain()
{
    m_core->unhookKeyboard();
    SettingWidget *window = m_core->settingWidget();
    window->show();
    window->close();
    QTRY_VERIFY_WITH_TIMEOUT(isRegistered(HookKeybord::HookFragmentScreen), 2000);
    QVERIFY(!m_other.grab(XK_Print, XMask::Control));
}

void TestHookKeybordX11::sameCombinationTwiceBelongsToTheLater()
{
    setValue("keyQuickFragmentScreen", QStringLiteral("Ctrl + Print Screen"));
    m_core->updateHook();
    QVERIFY(isRegistered(HookKeybord::HookFragmentScreen));
    QVERIFY(isRegistered(HookKeybord::HookQuickFragmentScreen));
    const int uploads = value("count_screen").toInt();

    m_other.type({XK_Control_L, XK_Print});
    QTRY_COMPARE_WITH_TIMEOUT(value("count_screen").toInt(), uploads + 1, kRouteMs);
    QTest::qWait(kQuietMs);
    QVERIFY(!m_core->surfaceWidget());
}

void TestHookKeybordX11::printModifiedReachesTheController()
{
    QSignalSpy relayed(m_core, &Core::printModifiers);
    HookKeybord *hook = HookKeybord::instance();
    hook->setPrintModified(!hook->printModified());
    QCOMPARE(relayed.count(), 1);
    QCOMPARE(relayed.at(0).at(0).toBool(), hook->printModified());
}

QTEST_MAIN(TestHookKeybordX11)
#include "tst_hookkeybord_x11.moc"
