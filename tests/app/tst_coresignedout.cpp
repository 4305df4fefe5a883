#include "core.h"
#include "coretestsupport.h"
#include "uploadmodel.h"

// The controller of a program started with no account signed in.
class TestCoreSignedOut : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void nothingIsUploadedOrOpenedWhileSignedOut();
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
    QTest::qWait(500);
    QVERIFY(m_service.requests(QStringLiteral("/drive/v1/files")).isEmpty());
    QCOMPARE(core->lastLink(), QString());
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
