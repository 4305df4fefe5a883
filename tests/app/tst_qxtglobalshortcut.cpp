#include "qxtglobalshortcut.h"
#include "x11otherclient.h"

#include <QGuiApplication>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

const int kFireMs = 5000;
// How long a key press that must not fire is given to arrive anyway.
const int kQuietMs = 300;

const char kRefused[] = "QxtGlobalShortcut failed to register: ";

} // namespace

// A system-wide shortcut on a real X server: grabbed against other clients, fired by keys
// typed through XTest.
class TestQxtGlobalShortcut : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void firesOncePerPress_data();
    void firesOncePerPress();
    void combinationHeldElsewhereIsRefused_data();
    void combinationHeldElsewhereIsRefused();
    void sequenceWithoutKeyIsNeverGrabbed_data();
    void sequenceWithoutKeyIsNeverGrabbed();
    void altMetaIsGrabbedWithMask0x48();
    void releasedOnDestructionAndOnChange();
    void disabledKeepsGrabButStaysSilent();
    void samePairTwiceBelongsToTheSecond();
    void lastShortcutLeftStillFires();

private:
    X11OtherClient m_other;
};

void TestQxtGlobalShortcut::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    QVERIFY(m_other.isReady());
    QCOMPARE(QString::fromLatin1(qxtVersion()), QStringLiteral("0.7.0"));
}

void TestQxtGlobalShortcut::cleanup()
{
    m_other.setLocked(XMask::NumLock | XMask::CapsLock, false);
}

void TestQxtGlobalShortcut::firesOncePerPress_data()
{
    QTest::addColumn<QKeySequence>("sequence");
    QTest::addColumn<QList<unsigned long>>("keys");
    QTest::addColumn<unsigned>("locks");

    const QList<unsigned long> ctrlShiftF5 = {XK_Control_L, XK_Shift_L, XK_F5};
    QTest::newRow("no lock") << QKeySequence("Ctrl+Shift+F5") << ctrlShiftF5 << 0u;
    QTest::newRow("Num Lock") << QKeySequence("Ctrl+Shift+F5") << ctrlShiftF5 << XMask::NumLock;
    QTest::newRow("Caps Lock") << QKeySequence("Ctrl+Shift+F5") << ctrlShiftF5 << XMask::CapsLock;
    QTest::newRow("both locks") << QKeySequence("Ctrl+Shift+F5") << ctrlShiftF5
                                << (XMask::NumLock | XMask::CapsLock);
    QTest::newRow("Ctrl+Print") << QKeySequence("Ctrl+Print")
                                << QList<unsigned long> {XK_Control_L, XK_Print} << 0u;
    QTest::newRow("letter") << QKeySequence("Shift+Ctrl+K")
                            << QList<unsigned long> {XK_Shift_L, XK_Control_L, XK_k}
                            << XMask::NumLock;
    QTest::newRow("Return") << QKeySequence(Qt::CTRL + Qt::Key_Return)
                            << QList<unsigned long> {XK_Control_L, XK_Return} << 0u;
    QTest::newRow("keypad Enter") << QKeySequence(Qt::CTRL + Qt::Key_Enter)
                                  << QList<unsigned long> {XK_Control_L, XK_KP_Enter}
                                  << XMask::NumLock;
}

void TestQxtGlobalShortcut::firesOncePerPress()
{
    QFETCH(QKeySequence, sequence);
    QFETCH(QList<unsigned long>, keys);
    QFETCH(unsigned, locks);

    QxtGlobalShortcut shortcut;
    QVERIFY(shortcut.setShortcut(sequence));
    QCOMPARE(shortcut.shortcut(), sequence);
    QSignalSpy fired(&shortcut, &QxtGlobalShortcut::activated);
    m_other.setLocked(locks, true);
    QCOMPARE(m_other.lockedModifiers() & locks, locks);

    m_other.type({keys.cbegin(), keys.cend()});
    QTRY_COMPARE_WITH_TIMEOUT(fired.count(), 1, kFireMs);
    QTest::qWait(kQuietMs);
    QCOMPARE(fired.count(), 1);

    // The bare key, without the modifiers, is not the combination.
    m_other.type({keys.last()});
    QTest::qWait(kQuietMs);
    QCOMPARE(fired.count(), 1);
}

void TestQxtGlobalShortcut::combinationHeldElsewhereIsRefused_data()
{
    QTest::addColumn<unsigned>("heldLocks");
    QTest::newRow("plain") << 0u;
    QTest::newRow("with Num Lock") << XMask::NumLock;
    QTest::newRow("with Caps Lock") << XMask::CapsLock;
    QTest::newRow("with both locks") << (XMask::NumLock | XMask::CapsLock);
}

void TestQxtGlobalShortcut::combinationHeldElsewhereIsRefused()
{
    QFETCH(unsigned, heldLocks);
    QVERIFY(m_other.grab(XK_F6, XMask::Control | heldLocks));

    QxtGlobalShortcut shortcut;
    QTest::ignoreMessage(QtWarningMsg, (QByteArray(kRefused) + "Ctrl+F6").constData());
    QVERIFY(!shortcut.setShortcut(QKeySequence("Ctrl+F6")));
    QVERIFY(shortcut.shortcut().isEmpty());

    // None of the four lock states stays grabbed by the refused shortcut.
    m_other.ungrab(XK_F6, XMask::Control | heldLocks);
    for (const unsigned locks :
        {0u, XMask::NumLock, XMask::CapsLock, XMask::NumLock | XMask::CapsLock}) {
        QVERIFY2(m_other.grab(XK_F6, XMask::Control | locks), qPrintable(QString::number(locks)));
        m_other.ungrab(XK_F6, XMask::Control | locks);
    }
}

void TestQxtGlobalShortcut::sequenceWithoutKeyIsNeverGrabbed_data()
{
    QTest::addColumn<QKeySequence>("sequence");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QKeySequence() << QString();
    QTest::newRow("modifiers only") << QKeySequence(Qt::CTRL) << QKeySequence(Qt::CTRL).toString();
    QTest::newRow("no such key on the keyboard") << QKeySequence(
        Qt::CTRL + Qt::Key_Launch0) << QKeySequence(Qt::CTRL + Qt::Key_Launch0).toString();
}

void TestQxtGlobalShortcut::sequenceWithoutKeyIsNeverGrabbed()
{
    QFETCH(QKeySequence, sequence);
    QFETCH(QString, text);

    QxtGlobalShortcut shortcut;
    QTest::ignoreMessage(QtWarningMsg, qPrintable(QLatin1String(kRefused) + text));
    QVERIFY(!shortcut.setShortcut(sequence));
    // A grab of keycode 0 would hold every key with Ctrl.
    QVERIFY(m_other.grab(XK_a, XMask::Control));
    m_other.ungrab(XK_a, XMask::Control);
}

void TestQxtGlobalShortcut::altMetaIsGrabbedWithMask0x48()
{
    QxtGlobalShortcut shortcut(QKeySequence("Alt+Meta+F7"));
    QCOMPARE(shortcut.shortcut(), QKeySequence("Alt+Meta+F7"));
    QVERIFY(!m_other.grab(XK_F7, 0x48));
    QVERIFY(m_other.grab(XK_F7, XMask::Alt));

    QSignalSpy fired(&shortcut, &QxtGlobalShortcut::activated);
    m_other.type({XK_Alt_L, XK_Super_L, XK_F7});
    QTRY_COMPARE_WITH_TIMEOUT(fired.count(), 1, kFireMs);
    m_other.ungrab(XK_F7, XMask::Alt);
}

void TestQxtGlobalShortcut::releasedOnDestructionAndOnChange()
{
    auto shortcut = std::make_unique<QxtGlobalShortcut>(QKeySequence("Ctrl+F9"));
    QVERIFY(!m_other.grab(XK_F9, XMask::Control));

    QVERIFY(shortcut->setShortcut(QKeySequence("Ctrl+F10")));
    QVERIFY(m_other.grab(XK_F9, XMask::Control | XMask::NumLock));
    QVERIFY(!m_other.grab(XK_F10, XMask::Control | XMask::NumLock));
    m_other.ungrab(XK_F9, XMask::Control | XMask::NumLock);

    shortcut.reset();
    QVERIFY(m_other.grab(XK_F10, XMask::Control | XMask::CapsLock));
    m_other.ungrab(XK_F10, XMask::Control | XMask::CapsLock);
}

void TestQxtGlobalShortcut::disabledKeepsGrabButStaysSilent()
{
    QxtGlobalShortcut shortcut(QKeySequence("Ctrl+F11"));
    QSignalSpy fired(&shortcut, &QxtGlobalShortcut::activated);
    shortcut.setDisabled();
    QVERIFY(!shortcut.isEnabled());
    QVERIFY(!m_other.grab(XK_F11, XMask::Control));

    m_other.type({XK_Control_L, XK_F11});
    QTest::qWait(kQuietMs);
    QCOMPARE(fired.count(), 0);

    shortcut.setEnabled();
    m_other.type({XK_Control_L, XK_F11});
    QTRY_COMPARE_WITH_TIMEOUT(fired.count(), 1, kFireMs);
}

void TestQxtGlobalShortcut::samePairTwiceBelongsToTheSecond()
{
    auto first = std::make_unique<QxtGlobalShortcut>(QKeySequence("Ctrl+F12"));
    QxtGlobalShortcut second;
    QVERIFY(second.setShortcut(QKeySequence("Ctrl+F12")));
    QSignalSpy firstFired(first.get(), &QxtGlobalShortcut::activated);
    QSignalSpy secondFired(&second, &QxtGlobalShortcut::activated);

    m_other.type({XK_Control_L, XK_F12});
    QTRY_COMPARE_WITH_TIMEOUT(secondFired.count(), 1, kFireMs);
    QCOMPARE(firstFired.count(), 0);

    // The first one no longer owns the pair: it must leave the second one's grab alone.
    QTest::ignoreMessage(QtWarningMsg, "QxtGlobalShortcut failed to unregister: Ctrl+F12");
    first.reset();
    QVERIFY(!m_other.grab(XK_F12, XMask::Control));
    m_other.type({XK_Control_L, XK_F12});
    QTRY_COMPARE_WITH_TIMEOUT(secondFired.count(), 2, kFireMs);
}

void TestQxtGlobalShortcut::lastShortcutLeftStillFires()
{
    auto older = std::make_unique<QxtGlobalShortcut>(QKeySequence("Ctrl+Shift+F1"));
    QxtGlobalShortcut younger(QKeySequence("Ctrl+Shift+F2"));
    QSignalSpy fired(&younger, &QxtGlobalShortcut::activated);

    older.reset();
    m_other.type({XK_Control_L, XK_Shift_L, XK_F2});
    QTRY_COMPARE_WITH_TIMEOUT(fired.count(), 1, kFireMs);
}

QTEST_MAIN(TestQxtGlobalShortcut)
#include "tst_qxtglobalshortcut.moc"
