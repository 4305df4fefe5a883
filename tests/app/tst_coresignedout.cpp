#include "autorizationwidget.h"
#include "core.h"
#include "coretestsupport.h"
#include "handlerupload.h"
#include "networkexchange.h"
#include "uploadmodel.h"
#include "windowtestsupport.h"

// The controller of a program started with no account signed in.
class TestCoreSignedOut : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void nothingIsUploadedOrOpenedWhileSignedOut();
    void signInPageSignsInAndGoes();
    void signingInLaterStartsNoRefreshTimer();

private:
    StandinService m_service;
};

void TestCoreSignedOut::initTestCase()
{
    QVERIFY(m_service.start());
    pointAt(m_service);
    QVERIFY(!Autorization::isAuth());
    QVERIFY(Core::instance());
}

void TestCoreSignedOut::nothingIsUploadedOrOpenedWhileSignedOut()
{
    QTemporaryFile file;
    QVERIFY(file.open());
    file.write("picture");
    file.close();

    Core *core = Core::instance();
    QVERIFY(!core->checkAutorization());
    core->uploadData({file.fileName()});
    core->uploadDataZip({file.fileName()});
    core->openHistory();
    // The upload front never heard of the files; the user is asked to sign in instead.
    QCOMPARE(core->findChild<NetworkExchange *>()->findChildren<HandlerUpload *>().size(), 0);
    QCOMPARE(core->uploadModel()->rowCount(), 0);
    QCOMPARE(windowsOf<AutorizationWidget>().size(), 1);
    QVERIFY(core->autorizationWidget()->isVisible());
    // Once the sign-in window is on the screen, the service has heard of nothing either.
    QVERIFY(QTest::qWaitForWindowExposed(core->autorizationWidget(), 5000));
    QVERIFY(m_service.arrivals(QStringLiteral("/drive/v1/files")).isEmpty());
    QCOMPARE(core->lastLink(), QString());
}

namespace {

void typeText(QWindow *window, const char *text)
{
    for (; *text; ++text)
        QTest::keyClick(window, *text);
}

} // namespace

// The user types the account's e-mail and password into the page and presses the button;
// once the account is in, the page lets its window go.
void TestCoreSignedOut::signInPageSignsInAndGoes()
{
    Core *core = Core::instance();
    QPointer<AutorizationWidget> window = core->autorizationWidget();
    window->show();
    window->requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(window, 5000));

    clickItem(window, findItem(window, QStringLiteral("email")));
    typeText(window, "demo@kuvo.example");
    clickItem(window, findItem(window, QStringLiteral("password")));
    typeText(window, "kuvo-demo");
    QSignalSpy changed(core->account(), &Autorization::authChanged);
    clickItem(window, findItem(window, QStringLiteral("signInButton")));
    QVERIFY(findItem(window, QStringLiteral("busy"))->isVisible());

    QVERIFY(changed.wait(10000));
    QVERIFY(Autorization::isAuth());
    QTRY_VERIFY_WITH_TIMEOUT(window.isNull(), 5000);
    const QJsonArray tokens = m_service.requests(QStringLiteral("/oauth/token"));
    QCOMPARE(tokens.size(), 1);
    QCOMPARE(tokens.first()["form"]["username"].toString(), QStringLiteral("demo@kuvo.example"));
}

void TestCoreSignedOut::signingInLaterStartsNoRefreshTimer()
{
    Core *core = Core::instance();
    QVERIFY(signInDemo(*core->account()));
    QVERIFY(core->checkAutorization());
    QVERIFY(!core->findChild<QTimer *>(QStringLiteral("firstUserInfoTimer")));
    auto *hourly = core->findChild<QTimer *>(QStringLiteral("userInfoTimer"));
    QVERIFY(!hourly || !hourly->isActive());
}

QTEST_MAIN(TestCoreSignedOut)
#include "tst_coresignedout.moc"
