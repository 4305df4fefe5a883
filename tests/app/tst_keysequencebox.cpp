#include "keyboardhook.h"
#include "keysequencebox.h"
#include "quicktestsupport.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QQuickItem>
#include <QSignalSpy>
#include <QtTest>

namespace {

const int kShownFor = 3000;

QQuickItem *page(const KeySequenceBox &box)
{
    return box.rootObject();
}

QQuickItem *part(const KeySequenceBox &box, const QString &name)
{
    return findSceneItem(box.rootObject(), name);
}

QTimer *periodOf(const KeySequenceBox &box)
{
    const auto timers = box.findChildren<QTimer *>(QString(), Qt::FindDirectChildrenOnly);
    return timers.size() == 1 ? timers.first() : nullptr;
}

double opacity(const KeySequenceBox &box)
{
    return page(box)->opacity();
}

// Milliseconds from now until the box has faded out completely, or -1 when it has not within
// the bound.
qint64 untilFadedOut(const KeySequenceBox &box)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < kShownFor + 5000) {
        if (opacity(box) == 0.0)
            return clock.elapsed();
        QTest::qWait(20);
    }
    return -1;
}

} // namespace

// The box that shows a key combination, on the offscreen screen.
class TestKeySequenceBox : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void showsTheCapsOfTheCombination_data();
    void showsTheCapsOfTheCombination();
    void fadesOutThreeSecondsAfterTheLastCall();
    void callsAfterTheWindowIsGoneDoNothing();
    void hookReportsToTheBoxUntilTheApplicationQuits();

private:
    QtMessageHandler m_previousHandler = nullptr;
};

void TestKeySequenceBox::initTestCase()
{
    m_previousHandler = qInstallMessageHandler(&keepWarnings);
}

void TestKeySequenceBox::cleanupTestCase()
{
    qInstallMessageHandler(m_previousHandler);
    QCOMPARE(pageWarnings().join('\n'), QString());
}

void TestKeySequenceBox::showsTheCapsOfTheCombination_data()
{
    QTest::addColumn<QString>("sequence");
    QTest::addColumn<QStringList>("caps");
    QTest::addColumn<QString>("key");

    QTest::newRow("Ctrl + Print") << "Ctrl + Print" << QStringList {"Ctrl"} << "Print";
    QTest::newRow("Ctrl + Shift + Print")
        << "Ctrl + Shift + Print" << QStringList {"Ctrl", "Shift"} << "Print";
    QTest::newRow("all three, stored order")
        << "Shift + Ctrl + Alt + Z" << QStringList {"Alt", "Ctrl", "Shift"} << "Z";
    QTest::newRow("no joint: all of it is the key") << "Print" << QStringList() << "Print";
    QTest::newRow("system key as a picture")
        << "Alt + Left Windows" << QStringList {"Alt"} << "Left Windows";
}

void TestKeySequenceBox::showsTheCapsOfTheCombination()
{
    QFETCH(QString, sequence);
    QFETCH(QStringList, caps);
    QFETCH(QString, key);

    KeySequenceBox box;
    QCOMPARE(box.status(), QQuickView::Ready);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    // A longer combination first, so that the box has to shrink to the one under test.
    box.setKeySequence(QStringLiteral("Alt + Ctrl + Shift + Right Windows"));
    box.setKeySequence(sequence);

    int lastRight = -1;
    for (const char *name : {"Alt", "Ctrl", "Shift"}) {
        QQuickItem *cap = part(box, QLatin1String(name) + QLatin1String("Cap"));
        QVERIFY(cap);
        QCOMPARE(cap->isVisible(), caps.contains(QLatin1String(name)));
    }
    QQuickItem *keyText = part(box, QStringLiteral("keyText"));
    QQuickItem *windowsIcon = part(box, QStringLiteral("windowsIcon"));
    QVERIFY(keyText && windowsIcon);
    const bool windowsKey = key.endsWith(QLatin1String("Windows"));
    QCOMPARE(keyText->isVisible(), !windowsKey);
    QCOMPARE(windowsIcon->isVisible(), windowsKey);
    if (!windowsKey) {
        QCOMPARE(keyText->property("text").toString(), key);
    } else {
        // A cap fitted to the picture, not to the hidden name.
        const QQuickItem *face = part(box, QStringLiteral("keyCap"))->childItems().first();
        QVERIFY(!windowsIcon->size().isEmpty());
        QVERIFY(face->width() < 3 * windowsIcon->width());
    }

    // The caps stand in their order, side by side, and all of them inside the plate, which
    // the window follows.
    QTRY_COMPARE(opacity(box), 1.0);
    QTRY_COMPARE(box.size(), page(box)->size().toSize());
    QStringList shown = caps;
    shown << QStringLiteral("key");
    const QRectF plate(QPointF(), page(box)->size());
    for (const QString &name : qAsConst(shown)) {
        QQuickItem *cap = part(box, name + QLatin1String("Cap"));
        const QRectF area = cap->mapRectToScene(QRectF(QPointF(), cap->size()));
        QVERIFY2(plate.contains(area), qPrintable(name));
        QVERIFY2(area.left() > lastRight, qPrintable(name));
        lastRight = qRound(area.right());
    }
}

void TestKeySequenceBox::fadesOutThreeSecondsAfterTheLastCall()
{
    KeySequenceBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QCOMPARE(opacity(box), 0.0);
    box.setKeySequence(QStringLiteral("Ctrl + Print"));
    QTest::qWait(kShownFor / 2);
    QCOMPARE(opacity(box), 1.0);
    box.setKeySequence(QStringLiteral("Shift + Print"));
    QTimer *period = periodOf(box);
    QVERIFY(period);
    QVERIFY(period->isActive());
    QVERIFY(period->remainingTime() > kShownFor - 500);
    // Three full seconds from the second call, not what was left of the first one.
    const qint64 faded = untilFadedOut(box);
    QVERIFY2(faded >= kShownFor, qPrintable(QString::number(faded)));
    // Only the page fades; the window stays for the next combination.
    QVERIFY(box.isVisible());
    box.setKeySequence(QStringLiteral("Alt + F4"));
    QTRY_COMPARE(opacity(box), 1.0);
}

void TestKeySequenceBox::callsAfterTheWindowIsGoneDoNothing()
{
    KeySequenceBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.setKeySequence(QStringLiteral("Ctrl + Print"));
    QTRY_COMPARE(opacity(box), 1.0);

    box.destroy();
    QTimer *period = periodOf(box);
    QVERIFY(period);
    QVERIFY(!period->isActive());
    box.setKeySequence(QStringLiteral("Alt + F4"));
    QVERIFY(!period->isActive());
    QCOMPARE(
        part(box, QStringLiteral("keyText"))->property("text").toString(), QStringLiteral("Print"));
    QCOMPARE(part(box, QStringLiteral("AltCap"))->isVisible(), false);

    // Shown again, it takes combinations again.
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.setKeySequence(QStringLiteral("Alt + F4"));
    QCOMPARE(
        part(box, QStringLiteral("keyText"))->property("text").toString(), QStringLiteral("F4"));
    QVERIFY(period->isActive());

    // A page that is gone, with its period still running.
    box.setSource(QUrl());
    QVERIFY(!box.rootObject());
    box.setKeySequence(QStringLiteral("Ctrl + Print"));
    QMetaObject::invokeMethod(&box, "hideBox");
    QCOMPARE(pageWarnings().join('\n'), QString());
}

// Nothing on X11 reports through the hook, but whoever listens to it gets the box working, and
// the hook does not outlive the application.
void TestKeySequenceBox::hookReportsToTheBoxUntilTheApplicationQuits()
{
    QPointer<KeyboardHook> hook = KeyboardHook::instance();
    QCOMPARE(KeyboardHook::instance(), hook.data());
    KeySequenceBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    connect(hook, &KeyboardHook::notifyKeySequence, &box, &KeySequenceBox::setKeySequence);
    hook->start();
    emit hook->notifyKeySequence(QStringLiteral("Ctrl + Shift + Print"));
    QVERIFY(part(box, QStringLiteral("ShiftCap"))->isVisible());
    QTRY_COMPARE(opacity(box), 1.0);

    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
    QVERIFY(hook.isNull());
    KeyboardHook *again = KeyboardHook::instance();
    QVERIFY(again);
    QSignalSpy reported(again, &KeyboardHook::notifyKeySequence);
    emit again->notifyKeySequence(QStringLiteral("Ctrl + Print"));
    QCOMPARE(reported.count(), 1);
}

QTEST_MAIN(TestKeySequenceBox)
#include "tst_keysequencebox.moc"
