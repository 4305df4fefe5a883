#include "hookkeybord.h"
#include "setting.h"

#include <QKeyEvent>
#include <QSignalSpy>
#include <QtTest>

namespace {

void setValue(const char *key, const QVariant &value)
{
    Setting::instance()->setValue(QLatin1String(key), value);
}

QList<int> failedTypes(const QSignalSpy &spy)
{
    QList<int> types;
    for (const QList<QVariant> &arguments : spy)
        types << arguments.at(0).toInt();
    return types;
}

} // namespace

// The hot-key manager without an X server: the texts it reads and writes, and the hot keys
// it tries to register, which all fail cleanly here.
class TestHookKeybord : public QObject
{
    Q_OBJECT

private slots:
    void getHootKeyNamesTheCombination_data();
    void getHootKeyNamesTheCombination();
    void storedTextsAreNormalised_data();
    void storedTextsAreNormalised();
    void onlyEnabledHotKeysAreTried_data();
    void onlyEnabledHotKeysAreTried();
    void textWithoutKeyIsRefused_data();
    void textWithoutKeyIsRefused();
    void printModifiedSignalsOnlyChanges();
};

void TestHookKeybord::getHootKeyNamesTheCombination_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("text");

    const Qt::KeyboardModifiers shiftCtrl = Qt::ShiftModifier | Qt::ControlModifier;
    QTest::newRow("Shift + Ctrl + A") << int(Qt::Key_A) << shiftCtrl << "Shift + Ctrl + A";
    QTest::newRow("all three, fixed order")
        << int(Qt::Key_Z) << (Qt::AltModifier | Qt::ControlModifier | Qt::ShiftModifier)
        << "Shift + Ctrl + Alt + Z";
    QTest::newRow("digit") << int(Qt::Key_7) << Qt::KeyboardModifiers(Qt::AltModifier) << "Alt + 7";
    QTest::newRow("F12") << int(Qt::Key_F12) << Qt::KeyboardModifiers(Qt::ControlModifier)
                         << "Ctrl + F12";
    QTest::newRow("Print") << int(Qt::Key_Print) << Qt::KeyboardModifiers(Qt::ShiftModifier)
                           << "Shift + Print";
    QTest::newRow("bare key") << int(Qt::Key_A) << Qt::KeyboardModifiers() << "";
    QTest::newRow("bare Print") << int(Qt::Key_Print) << Qt::KeyboardModifiers() << "";
    QTest::newRow("Home is not in the list") << int(Qt::Key_Home) << shiftCtrl << "";
    QTest::newRow("F13 is not in the list") << int(Qt::Key_F13) << shiftCtrl << "";
    QTest::newRow("modifier key alone") << int(Qt::Key_Control) << shiftCtrl << "";
    QTest::newRow("Meta is no named modifier")
        << int(Qt::Key_A) << Qt::KeyboardModifiers(Qt::MetaModifier) << "";
}

void TestHookKeybord::getHootKeyNamesTheCombination()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, text);
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QCOMPARE(HookKeybord::getHootKey(&event), text);
}

void TestHookKeybord::storedTextsAreNormalised_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("sequence");
    QTest::newRow("Print Screen") << "Ctrl + Print Screen"
                                  << "Ctrl+Print";
    QTest::newRow("symbols") << "⌘ + ⇧ + A"
                             << "Ctrl+Shift+A";
    QTest::newRow("any order") << "Shift + Ctrl + Print Screen"
                               << "Ctrl+Shift+Print";
    QTest::newRow("first-run text") << "Ctrl + Print"
                                    << "Ctrl+Print";
}

void TestHookKeybord::storedTextsAreNormalised()
{
    QFETCH(QString, stored);
    QFETCH(QString, sequence);
    setValue("fragmentScreen", false);
    setValue("quickFragmentScreen", false);
    setValue("snapshotFull", true);
    setValue("keySnapshotScreen", stored);

    // Without an X display every registration fails, naming the sequence it tried.
    QSignalSpy failed(HookKeybord::instance(), &HookKeybord::registrationFailed);
    QTest::ignoreMessage(QtWarningMsg,
        qPrintable(QStringLiteral("QxtGlobalShortcut failed to register: ") + sequence));
    HookKeybord::instance()->updateHootKey();
    QCOMPARE(failedTypes(failed), QList<int> {HookKeybord::HookSnapshotFull});
    QVERIFY(!HookKeybord::instance()->isRegistered(HookKeybord::HookSnapshotFull));
}

void TestHookKeybord::onlyEnabledHotKeysAreTried_data()
{
    QTest::addColumn<bool>("fragment");
    QTest::addColumn<bool>("quick");
    QTest::addColumn<bool>("snapshot");
    QTest::addColumn<QList<int>>("tried");
    QTest::newRow("all on") << true << true << true << QList<int> {0, 1, 2};
    QTest::newRow("quick off") << true << false << true << QList<int> {0, 2};
    QTest::newRow("only quick") << false << true << false << QList<int> {1};
    QTest::newRow("all off") << false << false << false << QList<int>();
}

void TestHookKeybord::onlyEnabledHotKeysAreTried()
{
    QFETCH(bool, fragment);
    QFETCH(bool, quick);
    QFETCH(bool, snapshot);
    QFETCH(QList<int>, tried);
    setValue("keyFragmentScreen", QStringLiteral("Ctrl + Print"));
    setValue("keyQuickFragmentScreen", QStringLiteral("Shift + Print"));
    setValue("keySnapshotScreen", QStringLiteral("Ctrl + Shift + Print"));
    setValue("fragmentScreen", fragment);
    setValue("quickFragmentScreen", quick);
    setValue("snapshotFull", snapshot);

    QSignalSpy failed(HookKeybord::instance(), &HookKeybord::registrationFailed);
    HookKeybord::instance()->updateHootKey();
    QCOMPARE(failedTypes(failed), tried);
    for (const QList<QVariant> &arguments : failed)
        QVERIFY(!arguments.at(1).toString().isEmpty());
}

void TestHookKeybord::textWithoutKeyIsRefused_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("blanks") << "  ";
    QTest::newRow("unparsable") << "Ctrl + Nonsense";
}

void TestHookKeybord::textWithoutKeyIsRefused()
{
    QFETCH(QString, text);
    QSignalSpy failed(HookKeybord::instance(), &HookKeybord::registrationFailed);
    QVERIFY(!HookKeybord::instance()->registerKey(text, HookKeybord::HookFragmentScreen));
    QCOMPARE(failedTypes(failed), QList<int> {HookKeybord::HookFragmentScreen});
    QVERIFY(!HookKeybord::instance()->isRegistered(HookKeybord::HookFragmentScreen));
}

void TestHookKeybord::printModifiedSignalsOnlyChanges()
{
    HookKeybord *hook = HookKeybord::instance();
    QSignalSpy changed(hook, &HookKeybord::printModifiedChanged);
    const bool start = hook->printModified();
    hook->setPrintModified(start);
    QCOMPARE(changed.count(), 0);
    hook->setPrintModified(!start);
    hook->setPrintModified(!start);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toBool(), !start);
    QCOMPARE(hook->printModified(), !start);
}

QTEST_MAIN(TestHookKeybord)
#include "tst_hookkeybord.moc"
