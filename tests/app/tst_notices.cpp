#include "core.h"
#include "coretestsupport.h"
#include "errorwidget.h"
#include "messagedialog.h"
#include "peakmemory.h"
#include "windowtestsupport.h"

#include <QDir>
#include <QFile>
#include <QQuickItem>
#include <QScreen>

namespace {

QString kuvoFolder()
{
    return QDir::homePath() + QStringLiteral("/.kuvo");
}

} // namespace

// What the program tells the user when something went wrong: a settings file found damaged
// at start (told once, in a message window and the error log, with where the damaged file
// went), and texts far too long for a window.
class TestNotices : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void damagedFileIsToldOnce();
    void longTextKeepsTheWindowOnScreen_data();
    void longTextKeepsTheWindowOnScreen();

private:
    StandinService m_service;
};

void TestNotices::initTestCase()
{
    QVERIFY(QDir().mkpath(kuvoFolder()));
    QFile damaged(kuvoFolder() + QStringLiteral("/setting"));
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray("not a database at all\n").repeated(300));
    damaged.close();
    QVERIFY(startSignedIn(m_service));
    Core::instance();
}

void TestNotices::damagedFileIsToldOnce()
{
    const QStringList aside
        = QDir(kuvoFolder()).entryList({QStringLiteral("setting.damaged-*")}, QDir::Files);
    QCOMPARE(aside.size(), 1);
    const QString where = kuvoFolder() + QLatin1Char('/') + aside.first();

    QTRY_COMPARE_WITH_TIMEOUT(visibleMessageWindows(), 1, 5000);
    const QList<MessageDialog *> shown = windowsOf<MessageDialog>();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first()->status(), QQuickView::Ready);
    QVERIFY(shown.first()->rootObject());
    QVERIFY2(shown.first()->data(QStringLiteral("message")).toString().contains(where),
        qPrintable(shown.first()->data(QStringLiteral("message")).toString()));

    QFile log(kuvoFolder() + QStringLiteral("/error.log"));
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(log.readAll()).count(where), 1);
}

void TestNotices::longTextKeepsTheWindowOnScreen_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("error") << "error";
    QTest::newRow("message") << "message";
}

// A megabyte of path, as a second copy once sent: the window shows its start and its end, fits
// on the screen with its button, and costs no more memory than any other.
void TestNotices::longTextKeepsTheWindowOnScreen()
{
    QFETCH(QString, window);
    const QString text = QStringLiteral("/home/someone/") + QString(1 << 20, QLatin1Char('d'))
        + QStringLiteral("/shot.png");
    const qint64 before = peakMegabytes();
    std::unique_ptr<BasicWindow> shown;
    QString textItem;
    if (window == QLatin1String("error")) {
        shown = std::make_unique<ErrorWidget>(text);
        textItem = QStringLiteral("errorText");
    } else {
        auto *message = new MessageDialog;
        message->information(QStringLiteral("Kuvo"), text);
        shown.reset(message);
        textItem = QStringLiteral("message");
    }
    shown->show();
    QVERIFY(QTest::qWaitForWindowExposed(shown.get()));
    QTest::qWait(200);

    const auto *item = shown->rootObject()->findChild<QQuickItem *>(textItem);
    QVERIFY(item);
    const QString visible = item->property("text").toString();
    QVERIFY2(visible.size() <= 1000, qPrintable(QString::number(visible.size())));
    QVERIFY(visible.startsWith(QStringLiteral("/home/someone/")));
    QVERIFY(visible.endsWith(QStringLiteral("/shot.png")));

    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY2(screen.contains(shown->geometry()),
        qPrintable(QStringLiteral("%1x%2").arg(shown->width()).arg(shown->height())));
    auto *button = shown->rootObject()->findChild<QQuickItem *>(QStringLiteral("pbOk"));
    QVERIFY(button);
    const QPointF corner = button->mapToScene(QPointF(button->width(), button->height()));
    QVERIFY(corner.y() <= shown->height());
    QVERIFY2(peakMegabytes() - before < 50,
        qPrintable(QStringLiteral("%1 MB more").arg(peakMegabytes() - before)));
    shown->close();
}

QTEST_MAIN(TestNotices)
#include "tst_notices.moc"
