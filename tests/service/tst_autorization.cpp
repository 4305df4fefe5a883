#include "autorization.h"
#include "heldport.h"
#include "serviceaddress.h"
#include "setting.h"
#include "standinservice.h"
#include "testbrowser.h"

#include <QDesktopServices>
#include <QDir>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTcpServer>
#include <QUrlQuery>
#include <QtTest>

#include <memory>

namespace {

const QString kEmail = QStringLiteral("tester@kuvo.example");
// Characters that mean something in a form body, so a badly encoded form fails.
const QString kPassword = QStringLiteral("pa+ss w&rd=1");

const QStringList kAccountKeys
    = {"ftp_host", "ftp_port", "ftp_path", "ftp_base_url", "ftp_user", "ftp_password", "sftp_host",
        "sftp_port", "sftp_path", "sftp_base_url", "sftp_user", "sftp_password", "username",
        "usermail", "useravatar", "quota", "usage", "max_post_size", "token"};
const QStringList kDropboxKeys = {"drop_box_token_apiv2", "drop_box_token", "drop_box_display_name",
    "drop_box_email", "drop_box_total", "drop_box_usage", "drop_box_quota"};

Setting *settings()
{
    return Setting::instance();
}

QString stored(const QString &key)
{
    return settings()->getValue(key).toString();
}

QByteArray errorLog()
{
    QFile log(QDir::homePath() + QStringLiteral("/.kuvo/error.log"));
    return log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
}

QString queryValue(const QUrl &url, const QString &key)
{
    return QUrlQuery(url).queryItemValue(key, QUrl::FullyDecoded);
}

} // namespace

class TestAutorization : public QObject
{
    Q_OBJECT

public slots:
    // The browser, as far as the program can tell.
    void openBrowser(const QUrl &url) { m_opened = url; }

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void passwordSignIn();
    void passwordSignInRefused_data();
    void passwordSignInRefused();
    void badInputSendsNothing_data();
    void badInputSendsNothing();
    void browserSignIn();
    void foreignCodeIsRefused_data();
    void foreignCodeIsRefused();
    void signOutClearsTheAccount();
    void listenPortOrder_data();
    void listenPortOrder();
    void listensOnlyWhileASignInIsPending();
    void userInfoFailures_data();
    void userInfoFailures();

private:
    void signInWithPassword();

    StandinService m_service;
    TestBrowser m_browser;
    std::unique_ptr<Autorization> m_account;
    QUrl m_opened;
};

void TestAutorization::initTestCase()
{
    QVERIFY(m_service.start({QStringLiteral("--account"), kEmail + ':' + kPassword}));
    StandinService::trustStandinCa();
    QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "openBrowser");
}

void TestAutorization::init()
{
    ServiceAddress::setApiHost(m_service.httpsHost());
    ServiceAddress::setWebHost(m_service.httpsHost());
    ServiceAddress::setFixedHost(m_service.httpHost());
    m_service.reset();
    // Only what a previous case left behind: clearing enciphered keys without a token warns.
    for (const QString &key : kAccountKeys) {
        if (!stored(key).isEmpty())
            settings()->setValue(key, QStringLiteral(""));
    }
    m_opened.clear();
    m_account = std::make_unique<Autorization>();
}

void TestAutorization::cleanup()
{
    m_account.reset();
}

void TestAutorization::signInWithPassword()
{
    QSignalSpy signedIn(m_account.get(), &Autorization::authChanged);
    m_account->signIn(kEmail, kPassword);
    QVERIFY(signedIn.wait(5000));
    QTRY_COMPARE_WITH_TIMEOUT(stored("usermail"), kEmail, 5000);
}

void TestAutorization::passwordSignIn()
{
    QSignalSpy auth(m_account.get(), &Autorization::authChanged);
    QSignalSpy status(m_account.get(), &Autorization::statusChanged);
    m_account->signIn(kEmail, kPassword);
    QCOMPARE(m_account->status(), Autorization::AuthInProgress);
    QVERIFY(auth.wait(5000));
    QCOMPARE(auth.first().first().toBool(), true);
    QVERIFY(m_account->auth());
    QCOMPARE(m_account->status(), Autorization::NoneAuth);
    QCOMPARE(status.count(), 2);

    QTRY_COMPARE_WITH_TIMEOUT(stored("usermail"), kEmail, 5000);
    QCOMPARE(stored("username"), QStringLiteral("Demo User"));
    const QVariant quota = settings()->getValue(QStringLiteral("quota"));
    QCOMPARE(quota.userType(), int(QMetaType::LongLong));
    QCOMPARE(quota.toLongLong(), 1LL << 30);
    QCOMPARE(settings()->getValue(QStringLiteral("max_post_size")).toLongLong(), 100LL << 20);

    const QJsonArray info = m_service.requests(QStringLiteral("/api/user/info"));
    QCOMPARE(info.size(), 1);
    QCOMPARE(info.at(0)[QStringLiteral("headers")][QStringLiteral("authorization")].toString(),
        QStringLiteral("Bearer ") + Autorization::token());
}

void TestAutorization::passwordSignInRefused_data()
{
    QTest::addColumn<QString>("email");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("failStatus");
    QTest::addColumn<bool>("reachable");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("message");

    const QString wrong = QStringLiteral("Wrong e-mail or password");
    QTest::newRow("wrong password")
        << kEmail << "Not-The-Pass-42" << 0 << true << "password" << wrong;
    QTest::newRow("unknown account")
        << "someone@kuvo.example" << kPassword << 0 << true << "password" << wrong;
    QTest::newRow("service fails") << kEmail << kPassword << 500 << true << "password"
                                   << "";
    QTest::newRow("no service") << kEmail << kPassword << 0 << false << "network"
                                << "";
}

void TestAutorization::passwordSignInRefused()
{
    QFETCH(QString, email);
    QFETCH(QString, password);
    QFETCH(int, failStatus);
    QFETCH(bool, reachable);
    QFETCH(QString, key);
    QFETCH(QString, message);
    if (failStatus)
        m_service.failNext(QStringLiteral("/oauth/token"), failStatus);
    if (!reachable) {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        ServiceAddress::setApiHost(QStringLiteral("127.0.0.1:%1").arg(closed.serverPort()));
    }
    QSignalSpy auth(m_account.get(), &Autorization::authChanged);
    QSignalSpy errors(m_account.get(), &Autorization::authError);
    const int logSize = errorLog().size();

    m_account->signIn(email, password);
    QVERIFY(errors.wait(5000));
    QCOMPARE(errors.first().at(0).toString(), key);
    const QString shown = errors.first().at(1).toString();
    QVERIFY(!shown.isEmpty());
    if (!message.isEmpty())
        QCOMPARE(shown, message);
    QVERIFY(!Autorization::isAuth());
    QCOMPARE(auth.count(), 0);
    QCOMPARE(m_account->status(), Autorization::NoneAuth);

    const QByteArray entry = errorLog().mid(logSize);
    QVERIFY(entry.contains(ServiceAddress::serverAuth().toUtf8()));
    QVERIFY(!entry.contains(password.toUtf8()));
}

void TestAutorization::badInputSendsNothing_data()
{
    QTest::addColumn<QString>("email");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("key");

    QTest::newRow("no e-mail") << "" << kPassword << "email";
    QTest::newRow("no at") << "tester.kuvo.example" << kPassword << "email";
    QTest::newRow("no top level") << "tester@kuvo" << kPassword << "email";
    QTest::newRow("two ats") << "tes@ter@kuvo.example" << kPassword << "email";
    QTest::newRow("space inside") << "tes ter@kuvo.example" << kPassword << "email";
    QTest::newRow("no name") << "@kuvo.example" << kPassword << "email";
    QTest::newRow("nothing") << ""
                             << ""
                             << "email";
    QTest::newRow("no password") << kEmail << ""
                                 << "password";
}

void TestAutorization::badInputSendsNothing()
{
    QFETCH(QString, email);
    QFETCH(QString, password);
    QFETCH(QString, key);
    QSignalSpy errors(m_account.get(), &Autorization::authError);
    m_account->signIn(email, password);
    QCOMPARE(errors.count(), 1);
    QCOMPARE(errors.first().at(0).toString(), key);
    QVERIFY(!errors.first().at(1).toString().isEmpty());
    QCOMPARE(m_account->status(), Autorization::NoneAuth);

    // A request of the refused attempt would have arrived before this one's.
    signInWithPassword();
    const QJsonArray sent = m_service.requests(QStringLiteral("/oauth/token"));
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent.at(0)[QStringLiteral("form")][QStringLiteral("username")].toString(), kEmail);
}

void TestAutorization::browserSignIn()
{
    m_account->listen();
    const QString redirect = QStringLiteral("http://127.0.0.1:%1/").arg(m_account->listenPort());
    QSignalSpy auth(m_account.get(), &Autorization::authChanged);

    m_account->signInWithBrowser(QStringLiteral("face book&co"));
    QCOMPARE(m_opened.toString(QUrl::RemoveQuery), ServiceAddress::authorizeUrl());
    QCOMPARE(queryValue(m_opened, QStringLiteral("redirect_uri")), redirect);
    QCOMPARE(queryValue(m_opened, QStringLiteral("provider")), QStringLiteral("face book&co"));
    const QString state = queryValue(m_opened, QStringLiteral("state"));
    QVERIFY2(QRegularExpression(QStringLiteral("^[0-9a-f]{32}$")).match(state).hasMatch(),
        qPrintable(state));

    QUrl landing;
    QCOMPARE(m_browser.get(m_opened, &landing), 302);
    QCOMPARE(landing.port(), m_account->listenPort());
    QCOMPARE(m_browser.get(landing), 200);
    QTRY_COMPARE_WITH_TIMEOUT(auth.count(), 1, 5000);
    QCOMPARE(auth.first().first().toBool(), true);
    QVERIFY(Autorization::isAuth());

    const QJsonArray sent = m_service.requests(QStringLiteral("/oauth/token"));
    QCOMPARE(sent.size(), 1);
    const QJsonValue form = sent.at(0)[QStringLiteral("form")];
    QCOMPARE(form[QStringLiteral("grant_type")].toString(), QStringLiteral("authorization_code"));
    QCOMPARE(form[QStringLiteral("code")].toString(), queryValue(landing, QStringLiteral("code")));
    QCOMPARE(form[QStringLiteral("redirect_uri")].toString(), redirect);
    QTRY_COMPARE_WITH_TIMEOUT(stored("usermail"), kEmail, 5000);

    m_account->signInWithBrowser(QStringLiteral("google"));
    QVERIFY(queryValue(m_opened, QStringLiteral("state")) != state);
}

void TestAutorization::foreignCodeIsRefused_data()
{
    QTest::addColumn<bool>("inFlight");
    QTest::addColumn<QString>("state");

    QTest::newRow("nothing in flight") << false << "0123456789abcdef";
    QTest::newRow("other state") << true << "0123456789abcdef";
    QTest::newRow("no state") << true << "";
}

// Someone else on the machine signs in to an account of theirs and hands the code to our
// listener; it must never be exchanged.
void TestAutorization::foreignCodeIsRefused()
{
    QFETCH(bool, inFlight);
    QFETCH(QString, state);
    m_account->listen();
    const QString redirect = QStringLiteral("http://127.0.0.1:%1/").arg(m_account->listenPort());
    if (inFlight)
        m_account->signInWithBrowser(QStringLiteral("google"));

    QUrlQuery query;
    query.addQueryItem(QStringLiteral("redirect_uri"), redirect);
    if (!state.isEmpty())
        query.addQueryItem(QStringLiteral("state"), state);
    QUrl foreign(ServiceAddress::authorizeUrl());
    foreign.setQuery(query);
    const int logSize = errorLog().size();
    QUrl landing;
    QCOMPARE(m_browser.get(foreign, &landing), 302);
    if (inFlight) {
        QCOMPARE(m_browser.get(landing), 400);
        QTRY_VERIFY_WITH_TIMEOUT(errorLog().size() > logSize, 5000);
        QVERIFY(!errorLog().mid(logSize).contains(queryValue(landing, "code").toUtf8()));
    } else {
        // With no sign-in of ours pending nothing listens for one.
        QVERIFY(m_browser.get(landing) != 200);
    }

    // The user's own sign-in still goes through, and only its code reaches the service.
    if (!inFlight)
        m_account->signInWithBrowser(QStringLiteral("google"));
    QCOMPARE(m_browser.get(m_opened, &landing), 302);
    QCOMPARE(m_browser.get(landing), 200);
    QTRY_VERIFY_WITH_TIMEOUT(Autorization::isAuth(), 5000);
    const QJsonArray sent = m_service.requests(QStringLiteral("/oauth/token"));
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent.at(0)[QStringLiteral("form")][QStringLiteral("code")].toString(),
        queryValue(landing, QStringLiteral("code")));
}

void TestAutorization::signOutClearsTheAccount()
{
    signInWithPassword();
    for (const QString &key : kAccountKeys.mid(0, 12))
        settings()->setValue(key, QStringLiteral("value of ") + key);
    settings()->setValue(kDropboxKeys.first(), QStringLiteral("dropbox token"), true);
    for (const QString &key : kDropboxKeys.mid(1))
        settings()->setValue(key, QStringLiteral("value of ") + key);
    const QString sealedDropbox = stored(kDropboxKeys.first());
    QSignalSpy auth(m_account.get(), &Autorization::authChanged);

    m_account->signOut();
    QCOMPARE(auth.count(), 1);
    QCOMPARE(auth.first().first().toBool(), false);
    QVERIFY(!m_account->auth());
    for (const QString &key : kAccountKeys) {
        QVERIFY2(settings()->getValue(key).toString().isEmpty(), qPrintable(key));
        // Enciphered keys cleared after the token would keep their old row on disk.
        QVERIFY2(settings()->getValueDB(key).toString().isEmpty(), qPrintable(key));
    }
    QCOMPARE(stored(kDropboxKeys.first()), sealedDropbox);
    for (const QString &key : kDropboxKeys.mid(1))
        QCOMPARE(stored(key), QStringLiteral("value of ") + key);
}

void TestAutorization::listenPortOrder_data()
{
    QTest::addColumn<QList<quint16>>("taken");
    QTest::addColumn<int>("port");

    QList<quint16> all;
    for (const quint16 base : {62000, 63000, 64000, 65000})
        for (quint16 port = base; port < base + 10; ++port)
            all << port;
    QTest::newRow("all free") << QList<quint16>() << 62000;
    QTest::newRow("first two taken") << all.mid(0, 2) << 62002;
    QTest::newRow("first ten taken") << all.mid(0, 10) << 63000;
    QTest::newRow("thirty-nine taken") << all.mid(0, 39) << 65009;
    QTest::newRow("all taken") << all << 0;
}

void TestAutorization::listenPortOrder()
{
    QFETCH(QList<quint16>, taken);
    QFETCH(int, port);
    // The ports up to the one expected must be free but for the test's own blockers.
    for (const quint16 base : {62000, 63000, 64000, 65000}) {
        for (quint16 free = base; free < base + 10 && (port == 0 || free <= port); ++free) {
            if (!taken.contains(free) && portIsHeld(free))
                QSKIP(qPrintable(QStringLiteral("port %1 is held by another program").arg(free)));
        }
    }
    std::vector<std::unique_ptr<QTcpServer>> blockers;
    for (const quint16 busy : taken) {
        blockers.push_back(std::make_unique<QTcpServer>());
        if (!blockers.back()->listen(QHostAddress::LocalHost, busy))
            QSKIP(qPrintable(QStringLiteral("port %1 is held by another program").arg(busy)));
    }
    if (port != 0) {
        QTcpServer probe;
        if (!probe.listen(QHostAddress::LocalHost, quint16(port)))
            QSKIP("a sign-in port is already in use on this machine");
    }
    QSignalSpy failed(m_account.get(), &Autorization::listenFailed);
    const int logSize = errorLog().size();

    m_account->listen();
    QCOMPARE(m_account->listenPort(), port);
    QCOMPARE(failed.count(), port == 0 ? 1 : 0);
    QCOMPARE(errorLog().size() > logSize, port == 0);
}

void TestAutorization::listensOnlyWhileASignInIsPending()
{
    auto reachable = [this] {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, quint16(m_account->listenPort()));
        return probe.waitForConnected(2000);
    };
    m_account->listen();
    QVERIFY(m_account->listenPort() > 0);
    QVERIFY(!reachable());

    m_account->signInWithBrowser(QStringLiteral("google"));
    QVERIFY(reachable());
    QUrl landing;
    QCOMPARE(m_browser.get(m_opened, &landing), 302);
    QCOMPARE(m_browser.get(landing), 200);
    QTRY_VERIFY_WITH_TIMEOUT(Autorization::isAuth(), 5000);
    QVERIFY(!reachable());

    // A sign-in given up (here: by signing out) stops listening too.
    m_account->signInWithBrowser(QStringLiteral("google"));
    QVERIFY(reachable());
    m_account->signOut();
    QVERIFY(!reachable());
}

void TestAutorization::userInfoFailures_data()
{
    QTest::addColumn<int>("failStatus");
    QTest::addColumn<bool>("tokenError");

    QTest::newRow("token refused") << 0 << true;
    QTest::newRow("service fails") << 500 << false;
}

void TestAutorization::userInfoFailures()
{
    QFETCH(int, failStatus);
    QFETCH(bool, tokenError);
    const QString token = QStringLiteral("not-a-token-of-the-service");
    settings()->setValue(QStringLiteral("token"), token);
    if (failStatus)
        m_service.failNext(QStringLiteral("/api/user/info"), failStatus);
    QSignalSpy errors(m_account.get(), &Autorization::authError);
    QSignalSpy auth(m_account.get(), &Autorization::authChanged);
    const int logSize = errorLog().size();

    m_account->getUserInfo();
    QTRY_VERIFY_WITH_TIMEOUT(errorLog().size() > logSize, 5000);
    const QByteArray entry = errorLog().mid(logSize);
    QVERIFY(entry.contains(ServiceAddress::userInfoUrl().toUtf8()));
    QVERIFY(!entry.contains(token.toUtf8()));
    QCOMPARE(errors.count(), tokenError ? 1 : 0);
    if (tokenError)
        QCOMPARE(errors.first().first().toString(), QStringLiteral("token"));
    // Not signed out by itself: the user decides.
    QCOMPARE(Autorization::token(), token);
    QCOMPARE(auth.count(), 0);
    QVERIFY(stored("username").isEmpty());
}

QTEST_MAIN(TestAutorization)
#include "tst_autorization.moc"
