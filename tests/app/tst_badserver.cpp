#include "analytics.h"
#include "autorization.h"
#include "autorizationwidget.h"
#include "core.h"
#include "coretestsupport.h"
#include "errorwidget.h"
#include "handlerupload.h"
#include "messagedialog.h"
#include "misbehavingserver.h"
#include "networkaccessmanager.h"
#include "peakmemory.h"
#include "serviceaddress.h"
#include "setting.h"
#include "updater.h"
#include "windowtestsupport.h"

#include <QElapsedTimer>
#include <QQuickItem>
#include <QTemporaryDir>

namespace {

QString stored(const char *key)
{
    return Setting::instance()->getValue(QLatin1String(key)).toString();
}

qint64 errorLogSize()
{
    return QFileInfo(QDir::homePath() + QStringLiteral("/.kuvo/error.log")).size();
}

} // namespace

// The service's side gone wrong: redirects, 3xx answers, endless or huge bodies, a reply that
// drips, and error texts that are markup or megabytes long. Nothing of it may pass for success,
// fill the memory, hang the program, or reach the screen as anything but plain text.
class TestBadServer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void redirectIsNoSuccess_data();
    void redirectIsNoSuccess();
    void boundlessReplyIsCut_data();
    void boundlessReplyIsCut();
    void drippingReplyEndsAtTheDeadline();
    void analyticsBodyIsNotFetched();
    void longErrorTextIsCut();
    void markupIsShownAsText();

private:
    // Signs in through the misbehaving server: the error text, or nothing on success.
    QString failedSignIn(int timeout = 15000);

    StandinService m_service;
    MisbehavingServer m_bad;
    QString m_token;
};

void TestBadServer::initTestCase()
{
    QVERIFY(startSignedIn(m_service));
    QVERIFY(m_bad.start());
    Core::instance();
    m_token = stored("token");
}

void TestBadServer::init()
{
    ServiceAddress::setApiHost(m_bad.httpsHost());
    ServiceAddress::setWebHost(m_bad.httpsHost());
    ServiceAddress::setFixedHost(m_bad.httpHost());
    Setting::instance()->setValue(QStringLiteral("token"), m_token);
}

void TestBadServer::cleanup()
{
    NetworkAccessManager::setDeadline(60000);
    pointAt(m_service);
    for (BasicWindow *window : windowsOf<BasicWindow>()) {
        if (qobject_cast<ErrorWidget *>(window) || qobject_cast<MessageDialog *>(window))
            window->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QString TestBadServer::failedSignIn(int timeout)
{
    Autorization account;
    QSignalSpy failed(&account, &Autorization::authError);
    QSignalSpy changed(&account, &Autorization::authChanged);
    account.signIn(QStringLiteral("demo@kuvo.example"), QStringLiteral("kuvo-demo"));
    if (!QTest::qWaitFor([&] { return !failed.isEmpty() || !changed.isEmpty(); }, timeout))
        return QStringLiteral("(no answer)");
    if (account.status() == Autorization::AuthInProgress)
        return QStringLiteral("(still busy)");
    return failed.isEmpty() ? QString() : failed.first().at(1).toString();
}

void TestBadServer::redirectIsNoSuccess_data()
{
    QTest::addColumn<QString>("mode");
    QTest::newRow("302 to another host") << "redirect-away";
    QTest::newRow("300 without a Location") << "status-3xx";
}

void TestBadServer::redirectIsNoSuccess()
{
    QFETCH(QString, mode);
    m_bad.setMode(mode);

    // Sign-in: no token taken from it.
    QVERIFY(!failedSignIn().isEmpty());
    QCOMPARE(stored("token"), m_token);

    // User info: no account details taken from it.
    Setting::instance()->setValue(QStringLiteral("username"), QStringLiteral("kept"));
    Autorization account;
    account.getUserInfo();
    QTRY_VERIFY_WITH_TIMEOUT(m_bad.paths().size() >= 2, 10000);
    QTest::qWait(300);
    QCOMPARE(stored("username"), QStringLiteral("kept"));

    // Upload: no link handed out.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("shot.png"));
    QFile bytes(file);
    QVERIFY(bytes.open(QIODevice::WriteOnly) && bytes.write("picture") == 7);
    bytes.close();
    HandlerUpload job({file}, HandlerUpload::Screen);
    QSignalSpy link(&job, &HandlerUpload::readyLink);
    QSignalSpy failed(&job, &HandlerUpload::error);
    job.start();
    QVERIFY(failed.wait(10000));
    QCOMPARE(link.size(), 0);
    // Nothing followed the redirect off to another host.
    for (const QString &path : m_bad.paths())
        QVERIFY2(!path.startsWith(QStringLiteral("/elsewhere")), qPrintable(path));
}

void TestBadServer::boundlessReplyIsCut_data()
{
    QTest::addColumn<QString>("mode");
    QTest::newRow("endless chunked body") << "endless";
    QTest::newRow("3 GB announced") << "huge-length";
}

void TestBadServer::boundlessReplyIsCut()
{
    QFETCH(QString, mode);
    m_bad.setMode(mode);
    const qint64 before = peakMegabytes();
    QElapsedTimer clock;
    clock.start();
    const QString problem = failedSignIn(30000);
    QVERIFY2(!problem.isEmpty() && !problem.startsWith('('), qPrintable(problem));
    QVERIFY2(clock.elapsed() < 20000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY2(peakMegabytes() - before < 100,
        qPrintable(QStringLiteral("%1 MB more").arg(peakMegabytes() - before)));
    QCOMPARE(stored("token"), m_token);
}

void TestBadServer::drippingReplyEndsAtTheDeadline()
{
    NetworkAccessManager::setDeadline(3000);
    m_bad.setMode(QStringLiteral("drip"));
    QElapsedTimer clock;
    clock.start();
    const QString problem = failedSignIn(20000);
    QVERIFY2(!problem.isEmpty() && !problem.startsWith('('), qPrintable(problem));
    QVERIFY2(clock.elapsed() < 10000, qPrintable(QString::number(clock.elapsed())));

    // The update check gives up too, and may run again.
    Updater updater;
    QSignalSpy failed(&updater, &Updater::updateFailed);
    updater.startUpdate();
    QVERIFY(failed.wait(10000));
}

void TestBadServer::analyticsBodyIsNotFetched()
{
    m_bad.setMode(QStringLiteral("huge-length"));
    const qint64 before = peakMegabytes();
    auto *event = new AnalyticsEvent(AnalyticsEvent::CategoryCapture, AnalyticsEvent::ActionHotkey,
        true, QStringLiteral("fragment"));
    // Without a parent it ends itself once its post is over.
    QPointer<AnalyticsEvent> watched = event;
    QTRY_VERIFY_WITH_TIMEOUT(!watched, 15000);
    QVERIFY2(peakMegabytes() - before < 50,
        qPrintable(QStringLiteral("%1 MB more").arg(peakMegabytes() - before)));
}

void TestBadServer::longErrorTextIsCut()
{
    m_bad.setMode(QStringLiteral("long-error"));
    const qint64 logBefore = errorLogSize();
    const QString problem = failedSignIn();
    QVERIFY(problem.startsWith(QStringLiteral("The service says no.")));
    QVERIFY2(problem.size() <= 1000, qPrintable(QString::number(problem.size())));
    QVERIFY2(errorLogSize() - logBefore < 4000, qPrintable(QString::number(errorLogSize())));
}

// The sign-in window shows the service's words under the form: markup there must neither
// turn into a link nor fetch its picture.
void TestBadServer::markupIsShownAsText()
{
    m_bad.setMode(QStringLiteral("rich-error"));
    Core *core = Core::instance();
    AutorizationWidget *window = core->autorizationWidget();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    auto *line = window->rootObject()->findChild<QQuickItem *>(QStringLiteral("passwordError"));
    QVERIFY(line);
    QSignalSpy failed(core->account(), &Autorization::authError);
    core->account()->signIn(QStringLiteral("demo@kuvo.example"), QStringLiteral("kuvo-demo"));
    QVERIFY(failed.wait(10000));
    const QString problem = failed.first().at(1).toString();
    QVERIFY(problem.contains(QStringLiteral("<img")));
    QTRY_COMPARE_WITH_TIMEOUT(line->property("text").toString(), problem, 5000);
    QTest::qWait(1500);

    QCOMPARE(m_bad.paths().filter(QStringLiteral("pixel")), QStringList());
    for (qreal y = 1; y < line->height(); y += 4) {
        for (qreal x = 1; x < line->width(); x += 4) {
            QString link;
            QMetaObject::invokeMethod(
                line, "linkAt", Q_RETURN_ARG(QString, link), Q_ARG(qreal, x), Q_ARG(qreal, y));
            QVERIFY2(link.isEmpty(), qPrintable(link));
        }
    }
    window->hide();
}

QTEST_MAIN(TestBadServer)
#include "tst_badserver.moc"
