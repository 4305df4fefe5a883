#include "dropboxauth.h"
#include "dropboxstandin.h"
#include "handledropboxupload.h"
#include "heldport.h"
#include "networkaccessmanager.h"
#include "qdropbox.h"
#include "qdropboxauth.h"
#include "qdropboxfile.h"
#include "randomfile.h"
#include "setting.h"
#include "standinservice.h"
#include "testbrowser.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QUrlQuery>
#include <QtTest>

#include <memory>

namespace {

constexpr int kWait = 20000;
constexpr quint16 kLinkPort = 6609;
constexpr qint64 kThreshold = 256 * 1024;
constexpr qint64 kChunk = 100 * 1024;

const QString kTokenKey = QStringLiteral("drop_box_token_apiv2");
const QString kRefreshKey = QStringLiteral("drop_box_refresh_token_apiv2");
const QString kExpiryKey = QStringLiteral("drop_box_token_expiry");
const QStringList kAccountKeys = {"drop_box_token", "drop_box_display_name", "drop_box_email",
    "drop_box_total", "drop_box_usage", "drop_box_quota"};

const QString kExpiredText = QStringLiteral(
    "The link to your Dropbox account has expired. Link Dropbox again in the settings.");

Setting *settings()
{
    return Setting::instance();
}

QString queryValue(const QUrl &url, const QString &key)
{
    return QUrlQuery(url).queryItemValue(key, QUrl::FullyDecoded);
}

QString header(const QJsonValue &request, const char *name)
{
    return request[QLatin1String("headers")][QLatin1String(name)].toString();
}

QByteArray errorLog()
{
    QFile log(QDir::homePath() + QStringLiteral("/.kuvo/error.log"));
    return log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
}

} // namespace

class TestDropbox : public QObject
{
    Q_OBJECT

public slots:
    // The browser, as far as the program can tell.
    void openBrowser(const QUrl &url) { m_opened = url; }

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void linkThroughTheBrowser();
    void foreignAnswerIsRefused_data();
    void foreignAnswerIsRefused();
    void declinedInTheBrowser();
    void linkFailures_data();
    void linkFailures();
    void unlink_data();
    void unlink();
    void unlinkStopsALinkInFlight();

    void uploadAFile();
    void sameNameTwice();
    void existingSharedLink_data();
    void existingSharedLink();
    void sessionThreshold_data();
    void sessionThreshold();
    void uploadFailures_data();
    void uploadFailures();
    void refusedBeforeSending_data();
    void refusedBeforeSending();
    void expiredTokenIsRenewed_data();
    void expiredTokenIsRenewed();
    void cancelMidUpload();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    // A token of the stand-in's account in the settings, as a finished link leaves it.
    QString linkAccount();
    // Runs one job to its end; false when it did not end in time.
    bool runJob(
        HandleDropboxUpload &job, const QString &file, QSignalSpy &uploaded, QSignalSpy &failed);

    DropboxStandin m_dropbox;
    QTemporaryDir m_dir;
    TestBrowser m_browser;
    QUrl m_opened;
};

void TestDropbox::initTestCase()
{
    if (portIsHeld(kLinkPort))
        QSKIP("port 6609, where Dropbox sends the browser back, is held by another program");
    QVERIFY(m_dir.isValid());
    QVERIFY(m_dropbox.start());
    StandinService::trustStandinCa();
    QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "openBrowser");
    // The Kuvo account's token keys the cipher of the Dropbox tokens.
    settings()->setValue(QStringLiteral("token"), QStringLiteral("kuvo account token"));
}

void TestDropbox::init()
{
    m_dropbox.reset();
    QDropbox::setHosts(m_dropbox.host(), m_dropbox.host(), m_dropbox.host());
    settings()->setValue(kTokenKey, QStringLiteral(""), true);
    settings()->setValue(kRefreshKey, QStringLiteral(""), true);
    settings()->setValue(kExpiryKey, 0);
    for (const QString &key : kAccountKeys)
        settings()->setValue(key, QStringLiteral(""));
    m_opened.clear();
}

void TestDropbox::cleanup()
{
    QDropboxFile::setSessionLimits(150LL << 20, 8LL << 20);
    QDropboxAuth::setTimeout(10 * 60 * 1000);
}

QString TestDropbox::linkAccount()
{
    const QString token = m_dropbox.issueToken()[QLatin1String("access_token")].toString();
    settings()->setValue(kTokenKey, token, true);
    return token;
}

bool TestDropbox::runJob(
    HandleDropboxUpload &job, const QString &file, QSignalSpy &uploaded, QSignalSpy &failed)
{
    job.upload(file);
    if (!QTest::qWaitFor([&] { return uploaded.count() + failed.count() > 0; }, kWait))
        return false;
    // Nothing more may follow the one answer.
    QTest::qWait(100);
    return uploaded.count() + failed.count() == 1;
}

void TestDropbox::linkThroughTheBrowser()
{
    m_dropbox.setSpace(12345, 3LL << 30);
    DropboxAuth dropbox;
    QSignalSpy linked(&dropbox, &DropboxAuth::linkedChanged);
    QSignalSpy errors(&dropbox, &DropboxAuth::linkError);
    QSignalSpy busy(&dropbox, &DropboxAuth::busyChanged);

    dropbox.link();
    QVERIFY(dropbox.busy());
    QCOMPARE(m_opened.toString(QUrl::RemoveQuery),
        QStringLiteral("https://%1/oauth2/authorize").arg(m_dropbox.host()));
    QCOMPARE(queryValue(m_opened, "client_id"), QStringLiteral("kuvo-linux-app"));
    QCOMPARE(queryValue(m_opened, "response_type"), QStringLiteral("code"));
    QCOMPARE(queryValue(m_opened, "redirect_uri"), QStringLiteral("http://127.0.0.1:6609/"));
    QCOMPARE(queryValue(m_opened, "code_challenge_method"), QStringLiteral("S256"));
    QCOMPARE(queryValue(m_opened, "token_access_type"), QStringLiteral("offline"));
    const QString state = queryValue(m_opened, "state");
    QVERIFY2(state.size() >= 16, qPrintable(state));

    QUrl landing;
    QCOMPARE(m_browser.get(m_opened, &landing), 302);
    QCOMPARE(landing.port(), int(kLinkPort));
    QCOMPARE(m_browser.get(landing), 200);
    QVERIFY(linked.wait(kWait));
    QCOMPARE(errors.count(), 0);
    QVERIFY(dropbox.linked());
    QVERIFY(!dropbox.busy());
    QCOMPARE(busy.count(), 2);

    // The verifier that was sent matches the challenge the browser carried.
    const QJsonArray exchanges = m_dropbox.requests(QStringLiteral("/oauth2/token"));
    QCOMPARE(exchanges.size(), 1);
    const QJsonValue form = exchanges.at(0)[QLatin1String("form")];
    QCOMPARE(form[QLatin1String("grant_type")].toString(), QStringLiteral("authorization_code"));
    QCOMPARE(form[QLatin1String("code")].toString(), queryValue(landing, "code"));
    QCOMPARE(form[QLatin1String("client_id")].toString(), QStringLiteral("kuvo-linux-app"));
    QCOMPARE(
        form[QLatin1String("redirect_uri")].toString(), QStringLiteral("http://127.0.0.1:6609/"));
    QVERIFY(form[QLatin1String("client_secret")].isUndefined());
    const QByteArray challenge
        = QCryptographicHash::hash(
            form[QLatin1String("code_verifier")].toString().toLatin1(), QCryptographicHash::Sha256)
              .toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
    QCOMPARE(queryValue(m_opened, "code_challenge"), QString::fromLatin1(challenge));

    // The token that works at Dropbox is the one kept, and kept enciphered.
    const QJsonArray account = m_dropbox.requests(QStringLiteral("/2/users/get_current_account"));
    QCOMPARE(account.size(), 1);
    const QString token = settings()->getValue(kTokenKey, true).toString();
    QVERIFY(!token.isEmpty());
    QCOMPARE(header(account.at(0), "authorization"), QStringLiteral("Bearer ") + token);
    QTRY_VERIFY_WITH_TIMEOUT(!settings()->getValueDB(kTokenKey).toString().isEmpty(), 5000);
    QVERIFY(!settings()->getValueDB(kTokenKey).toString().contains(token));
    QVERIFY(!settings()->getValue(kRefreshKey, true).toString().isEmpty());

    QCOMPARE(dropbox.displayName(), QStringLiteral("Dana Kovář"));
    QCOMPARE(dropbox.email(), QStringLiteral("dana@dropbox.example"));
    QCOMPARE(settings()->getValue(QStringLiteral("drop_box_total")).toLongLong(), 3LL << 30);
    QCOMPARE(settings()->getValue(QStringLiteral("drop_box_quota")).toLongLong(), 3LL << 30);
    QCOMPARE(settings()->getValue(QStringLiteral("drop_box_usage")).toLongLong(), 12345LL);

    // The port is free again once the answer is in.
    QTcpServer after;
    QVERIFY(after.listen(QHostAddress::LocalHost, kLinkPort));
}

void TestDropbox::foreignAnswerIsRefused_data()
{
    QTest::addColumn<QString>("state");
    QTest::newRow("other state") << "0123456789abcdef0123456789abcdef";
    QTest::newRow("no state") << "";
}

// Someone else on the machine links an account of theirs and hands the code to our port;
// it must never become the user's link.
void TestDropbox::foreignAnswerIsRefused()
{
    QFETCH(QString, state);
    DropboxAuth dropbox;
    QSignalSpy linked(&dropbox, &DropboxAuth::linkedChanged);
    dropbox.link();
    QVERIFY(m_opened.isValid());

    QUrl foreign = m_opened;
    QUrlQuery query(foreign);
    query.removeQueryItem(QStringLiteral("state"));
    if (!state.isEmpty())
        query.addQueryItem(QStringLiteral("state"), state);
    foreign.setQuery(query);
    const int logSize = errorLog().size();
    QUrl landing;
    QCOMPARE(m_browser.get(foreign, &landing), 302);
    QCOMPARE(m_browser.get(landing), 400);
    QTRY_VERIFY_WITH_TIMEOUT(errorLog().size() > logSize, 5000);
    QVERIFY(!errorLog().mid(logSize).contains(queryValue(landing, "code").toUtf8()));
    QCOMPARE(m_dropbox.arrivals(QStringLiteral("/oauth2/token")).size(), 0);
    QVERIFY(!dropbox.linked());
    QVERIFY(dropbox.busy());

    // The user's own answer still goes through.
    QCOMPARE(m_browser.get(m_opened, &landing), 302);
    QCOMPARE(m_browser.get(landing), 200);
    QVERIFY(linked.wait(kWait));
    QVERIFY(dropbox.linked());
    const QJsonArray exchanges = m_dropbox.requests(QStringLiteral("/oauth2/token"));
    QCOMPARE(exchanges.size(), 1);
    QCOMPARE(exchanges.at(0)[QLatin1String("form")][QLatin1String("code")].toString(),
        queryValue(landing, "code"));
}

// The user says no on Dropbox's page: Dropbox sends the browser back with an error and no
// code, and the link ends at once instead of waiting for its time-out.
void TestDropbox::declinedInTheBrowser()
{
    DropboxAuth dropbox;
    QSignalSpy failed(&dropbox, &DropboxAuth::linkError);
    dropbox.link();
    QVERIFY(m_opened.isValid());
    const QString state = queryValue(m_opened, "state");

    // Someone else's refusal does not end the user's link, nor is it answered as the user's.
    QCOMPARE(m_browser.get(
                 QUrl(QStringLiteral("http://127.0.0.1:6609/?error=access_denied&state=other"))),
        400);
    QTest::qWait(200);
    QCOMPARE(failed.count(), 0);
    QVERIFY(dropbox.busy());

    QCOMPARE(m_browser.get(
                 QUrl(QStringLiteral("http://127.0.0.1:6609/?error=access_denied&state=") + state)),
        200);
    QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, 5000);
    QVERIFY(failed.at(0).at(0).toString().contains(QStringLiteral("declined")));
    QVERIFY(!dropbox.busy());
    QVERIFY(!dropbox.linked());
    QCOMPARE(m_dropbox.arrivals(QStringLiteral("/oauth2/token")).size(), 0);
}

void TestDropbox::linkFailures_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<bool>("linked");
    QTest::addColumn<QString>("text");

    QTest::newRow("port taken") << "port" << false << "port 6609";
    QTest::newRow("browser never answers") << "timeout" << false << "in time";
    QTest::newRow("token refused")
        << "/oauth2/token" << false
        << NetworkAccessManager::networkError(QNetworkReply::InternalServerError);
    QTest::newRow("details unreadable")
        << "/2/users/get_space_usage" << true
        << NetworkAccessManager::networkError(QNetworkReply::InternalServerError);
}

void TestDropbox::linkFailures()
{
    QFETCH(QString, failure);
    QFETCH(bool, linked);
    QFETCH(QString, text);
    QTcpServer blocker;
    if (failure == QLatin1String("port"))
        QVERIFY(blocker.listen(QHostAddress::LocalHost, kLinkPort));
    else if (failure == QLatin1String("timeout"))
        QDropboxAuth::setTimeout(300);
    else
        m_dropbox.failNext(failure, 500);
    DropboxAuth dropbox;
    QSignalSpy changed(&dropbox, &DropboxAuth::linkedChanged);
    QSignalSpy errors(&dropbox, &DropboxAuth::linkError);

    dropbox.link();
    if (failure == QLatin1String("port")) {
        QVERIFY(!m_opened.isValid());
    } else if (failure != QLatin1String("timeout")) {
        QUrl landing;
        QCOMPARE(m_browser.get(m_opened, &landing), 302);
        QCOMPARE(m_browser.get(landing), 200);
    }
    QTRY_COMPARE_WITH_TIMEOUT(errors.count(), 1, kWait);
    QVERIFY2(
        errors.at(0).at(0).toString().contains(text), qPrintable(errors.at(0).at(0).toString()));
    QVERIFY(!dropbox.busy());
    QCOMPARE(dropbox.linked(), linked);
    QCOMPARE(changed.count(), linked ? 1 : 0);
    QVERIFY(dropbox.displayName().isEmpty());
    if (failure != QLatin1String("port")) {
        QTcpServer after;
        QVERIFY(after.listen(QHostAddress::LocalHost, kLinkPort));
    }
}

void TestDropbox::unlink_data()
{
    QTest::addColumn<bool>("signedIn");
    QTest::newRow("signed in") << true;
    QTest::newRow("signed out") << false;
}

void TestDropbox::unlink()
{
    QFETCH(bool, signedIn);
    const QString token = QStringLiteral("token keying the cipher");
    settings()->setValue(QStringLiteral("token"), token);
    settings()->setValue(kTokenKey, QStringLiteral("dropbox token"), true);
    settings()->setValue(kRefreshKey, QStringLiteral("dropbox refresh token"), true);
    settings()->setValue(kExpiryKey, QDateTime::currentSecsSinceEpoch() + 3600);
    for (const QString &key : kAccountKeys)
        settings()->setValue(key, QStringLiteral("value of ") + key);
    if (!signedIn)
        settings()->setValue(QStringLiteral("token"), QStringLiteral(""));

    DropboxAuth dropbox;
    QCOMPARE(dropbox.linked(), signedIn);
    QCOMPARE(dropbox.displayName(), QStringLiteral("value of drop_box_display_name"));
    QCOMPARE(dropbox.email(), QStringLiteral("value of drop_box_email"));
    QSignalSpy changed(&dropbox, &DropboxAuth::linkedChanged);

    dropbox.unlink();
    QCOMPARE(changed.count(), 1);
    QVERIFY(!dropbox.linked());
    QVERIFY(dropbox.displayName().isEmpty());
    QVERIFY(dropbox.email().isEmpty());
    for (const QString &key : kAccountKeys + QStringList {kTokenKey, kRefreshKey})
        QVERIFY2(settings()->getValueDB(key).toString().isEmpty(), qPrintable(key));
    QCOMPARE(settings()->getValueDB(kExpiryKey).toLongLong(), 0LL);
    // Nor does the link come back with the next sign-in.
    settings()->setValue(QStringLiteral("token"), token);
    QVERIFY(!dropbox.linked());
    QVERIFY(settings()->getValue(kRefreshKey, true).toString().isEmpty());
}

void TestDropbox::unlinkStopsALinkInFlight()
{
    DropboxAuth dropbox;
    QSignalSpy changed(&dropbox, &DropboxAuth::linkedChanged);
    QSignalSpy errors(&dropbox, &DropboxAuth::linkError);
    // Before the browser answers: the port is free at once, not only once the event loop
    // runs again.
    dropbox.link();
    dropbox.unlink();
    QVERIFY(!dropbox.busy());
    {
        QTcpServer freed;
        QVERIFY(freed.listen(QHostAddress::LocalHost, kLinkPort));
    }

    // After it: the token exchange in flight is dropped.
    changed.clear();
    m_dropbox.delay(QStringLiteral("/oauth2/token"), 0.5);
    dropbox.link();
    QUrl landing;
    QCOMPARE(m_browser.get(m_opened, &landing), 302);
    QCOMPARE(m_browser.get(landing), 200);
    QTRY_COMPARE_WITH_TIMEOUT(m_dropbox.arrivals(QStringLiteral("/oauth2/token")).size(), 1, 5000);

    dropbox.unlink();
    QVERIFY(!dropbox.busy());
    QCOMPARE(changed.count(), 1);
    // The token the stand-in hands out after the delay must not be kept.
    QTest::qWait(1000);
    QVERIFY(!dropbox.linked());
    QCOMPARE(changed.count(), 1);
    QCOMPARE(errors.count(), 0);
    QTcpServer after;
    QVERIFY(after.listen(QHostAddress::LocalHost, kLinkPort));
}

void TestDropbox::uploadAFile()
{
    const QString token = linkAccount();
    // Beyond ASCII, as screenshots of some languages are named: the argument header must
    // escape it.
    const RandomFile file = makeRandomFile(path(QStringLiteral("snímek obrazovky €.png")), 3 << 20);
    QVERIFY(file.size > 0);
    HandleDropboxUpload job;
    QSignalSpy uploaded(&job, &HandleDropboxUpload::uploaded);
    QSignalSpy failed(&job, &HandleDropboxUpload::failed);
    QSignalSpy progress(&job, &HandleDropboxUpload::uploadProgress);

    QVERIFY(runJob(job, file.path, uploaded, failed));
    QVERIFY2(failed.isEmpty(), qPrintable(failed.value(0).value(0).toString()));
    const QString remote = QStringLiteral("/Kuvo/snímek obrazovky €.png");

    const QJsonArray sent = m_dropbox.requests(QStringLiteral("/2/files/upload"));
    QCOMPARE(sent.size(), 1);
    const QJsonValue request = sent.at(0);
    QCOMPARE(request[QLatin1String("size")].toDouble(), double(file.size));
    QCOMPARE(request[QLatin1String("md5")].toString(), file.md5);
    QCOMPARE(header(request, "authorization"), QStringLiteral("Bearer ") + token);
    QCOMPARE(header(request, "content-type"), QStringLiteral("application/octet-stream"));
    QVERIFY(header(request, "dropbox-api-arg").contains(QLatin1String("\\u00ed")));
    const QJsonValue arg = request[QLatin1String("arg")];
    QCOMPARE(arg[QLatin1String("path")].toString(), remote);
    QCOMPARE(arg[QLatin1String("mode")].toString(), QStringLiteral("add"));
    QCOMPARE(arg[QLatin1String("autorename")].toBool(false), true);
    QCOMPARE(arg[QLatin1String("mute")].toBool(true), false);

    const QJsonObject stored = m_dropbox.files().value(remote.toLower()).toObject();
    QCOMPARE(stored[QLatin1String("path_display")].toString(), remote);
    QCOMPARE(stored[QLatin1String("md5")].toString(), file.md5);

    const QJsonArray shares
        = m_dropbox.requests(QStringLiteral("/2/sharing/create_shared_link_with_settings"));
    QCOMPARE(shares.size(), 1);
    QCOMPARE(shares.at(0)[QLatin1String("json")][QLatin1String("path")].toString(), remote);
    const QString link = uploaded.at(0).at(0).toString();
    QVERIFY2(
        link.startsWith(QStringLiteral("https://%1/s/").arg(m_dropbox.host())), qPrintable(link));

    QVERIFY(!progress.isEmpty());
    QCOMPARE(progress.last().at(0).toLongLong(), file.size);
    QCOMPARE(progress.last().at(1).toLongLong(), file.size);
}

void TestDropbox::sameNameTwice()
{
    linkAccount();
    QStringList links;
    QList<RandomFile> files;
    for (int round = 0; round < 2; ++round) {
        files << makeRandomFile(path(QStringLiteral("shot.png")), 200 * 1024 + round);
        HandleDropboxUpload job;
        QSignalSpy uploaded(&job, &HandleDropboxUpload::uploaded);
        QSignalSpy failed(&job, &HandleDropboxUpload::failed);
        QVERIFY(runJob(job, files.last().path, uploaded, failed));
        QVERIFY2(failed.isEmpty(), qPrintable(failed.value(0).value(0).toString()));
        links << uploaded.at(0).at(0).toString();
    }

    const QJsonObject stored = m_dropbox.files();
    QCOMPARE(stored.size(), 2);
    QCOMPARE(
        stored[QLatin1String("/kuvo/shot.png")][QLatin1String("md5")].toString(), files.at(0).md5);
    QCOMPARE(stored[QLatin1String("/kuvo/shot (1).png")][QLatin1String("md5")].toString(),
        files.at(1).md5);
    QVERIFY(links.at(0) != links.at(1));
    const QJsonArray shares
        = m_dropbox.requests(QStringLiteral("/2/sharing/create_shared_link_with_settings"));
    QCOMPARE(shares.size(), 2);
    QCOMPARE(shares.at(1)[QLatin1String("json")][QLatin1String("path")].toString(),
        QStringLiteral("/Kuvo/shot (1).png"));
}

void TestDropbox::existingSharedLink_data()
{
    QTest::addColumn<bool>("bare");
    QTest::newRow("link in the refusal") << false;
    QTest::newRow("link looked up") << true;
}

void TestDropbox::existingSharedLink()
{
    QFETCH(bool, bare);
    linkAccount();
    m_dropbox.setBareLinkConflict(bare);
    const RandomFile file = makeRandomFile(path(QStringLiteral("shared.png")), 1000);
    HandleDropboxUpload job;
    QSignalSpy uploaded(&job, &HandleDropboxUpload::uploaded);
    QSignalSpy failed(&job, &HandleDropboxUpload::failed);
    QVERIFY(runJob(job, file.path, uploaded, failed));
    QVERIFY2(failed.isEmpty(), qPrintable(failed.value(0).value(0).toString()));

    QDropboxFile again;
    QSignalSpy shared(&again, &QDropboxFile::shared);
    QSignalSpy refused(&again, &QDropboxFile::failed);
    again.share(QStringLiteral("/Kuvo/shared.png"));
    QVERIFY(shared.wait(kWait));
    QCOMPARE(refused.count(), 0);
    QCOMPARE(shared.at(0).at(0).toString(), uploaded.at(0).at(0).toString());
    QCOMPARE(
        m_dropbox.requests(QStringLiteral("/2/sharing/create_shared_link_with_settings")).size(),
        2);
    QCOMPARE(
        m_dropbox.requests(QStringLiteral("/2/sharing/list_shared_links")).size(), bare ? 1 : 0);
}

void TestDropbox::sessionThreshold_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<int>("calls"); // session calls; 0 for one plain upload

    QTest::newRow("at the threshold") << kThreshold << 0;
    QTest::newRow("one byte over") << kThreshold + 1 << 3;
    QTest::newRow("whole chunks") << 4 * kChunk << 4;
    QTest::newRow("a megabyte and some") << (1LL << 20) + 4321 << 11;
}

void TestDropbox::sessionThreshold()
{
    QFETCH(qint64, size);
    QFETCH(int, calls);
    const QString token = linkAccount();
    QDropboxFile::setSessionLimits(kThreshold, kChunk);
    const RandomFile file = makeRandomFile(path(QStringLiteral("long.png")), size);
    HandleDropboxUpload job;
    QSignalSpy uploaded(&job, &HandleDropboxUpload::uploaded);
    QSignalSpy failed(&job, &HandleDropboxUpload::failed);
    QSignalSpy progress(&job, &HandleDropboxUpload::uploadProgress);
    QVERIFY(runJob(job, file.path, uploaded, failed));
    QVERIFY2(failed.isEmpty(), qPrintable(failed.value(0).value(0).toString()));

    const QJsonObject stored = m_dropbox.files()[QLatin1String("/kuvo/long.png")].toObject();
    QCOMPARE(stored[QLatin1String("size")].toDouble(), double(size));
    QCOMPARE(stored[QLatin1String("md5")].toString(), file.md5);
    QCOMPARE(progress.last().at(0).toLongLong(), size);

    QJsonArray session;
    for (const QJsonValue &request : m_dropbox.requests()) {
        if (request[QLatin1String("path")].toString().startsWith(QLatin1String("/2/files/")))
            session.append(request);
    }
    if (calls == 0) {
        QCOMPARE(session.size(), 1);
        QCOMPARE(
            session.at(0)[QLatin1String("path")].toString(), QStringLiteral("/2/files/upload"));
        return;
    }
    QCOMPARE(session.size(), calls);
    QCOMPARE(session.first()[QLatin1String("path")].toString(),
        QStringLiteral("/2/files/upload_session/start"));
    QCOMPARE(session.last()[QLatin1String("path")].toString(),
        QStringLiteral("/2/files/upload_session/finish"));
    QCOMPARE(session.last()[QLatin1String("arg")][QLatin1String("commit")][QLatin1String("path")]
                 .toString(),
        QStringLiteral("/Kuvo/long.png"));
    qint64 offset = 0;
    for (int i = 0; i < session.size(); ++i) {
        const QJsonValue call = session.at(i);
        if (i > 0 && i < session.size() - 1)
            QCOMPARE(call[QLatin1String("path")].toString(),
                QStringLiteral("/2/files/upload_session/append_v2"));
        if (i > 0)
            QCOMPARE(call[QLatin1String("arg")][QLatin1String("cursor")][QLatin1String("offset")]
                         .toDouble(),
                double(offset));
        QVERIFY(call[QLatin1String("size")].toDouble() <= kChunk);
        QCOMPARE(header(call, "authorization"), QStringLiteral("Bearer ") + token);
        offset += qint64(call[QLatin1String("size")].toDouble());
    }
    QCOMPARE(offset, size);
}

void TestDropbox::uploadFailures_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("text");

    QTest::newRow("token unknown") << "token" << kExpiredText;
    QTest::newRow("token expired") << "expired" << kExpiredText;
    QTest::newRow("no space left")
        << "space"
        << "There is not enough free space in your Dropbox for this file.";
    QTest::newRow("server fails") << "/2/files/upload"
                                  << NetworkAccessManager::networkError(
                                         QNetworkReply::InternalServerError);
    QTest::newRow("sharing fails")
        << "/2/sharing/" << NetworkAccessManager::networkError(QNetworkReply::InternalServerError);
    QTest::newRow("nobody listening")
        << "closed" << NetworkAccessManager::networkError(QNetworkReply::ConnectionRefusedError);
}

void TestDropbox::uploadFailures()
{
    QFETCH(QString, failure);
    QFETCH(QString, text);
    const QString token = linkAccount();
    QTcpServer closed;
    if (failure == QLatin1String("token")) {
        settings()->setValue(kTokenKey, QStringLiteral("not-a-dropbox-token"), true);
    } else if (failure == QLatin1String("expired")) {
        m_dropbox.expireTokens();
    } else if (failure == QLatin1String("space")) {
        m_dropbox.setSpace(0, 100 * 1024);
    } else if (failure == QLatin1String("closed")) {
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        const QString nowhere = QStringLiteral("127.0.0.1:%1").arg(closed.serverPort());
        closed.close();
        QDropbox::setHosts(nowhere, nowhere, nowhere);
    } else {
        m_dropbox.failNext(failure, 500);
    }
    const RandomFile file = makeRandomFile(path(QStringLiteral("refused.png")), 300 * 1024);
    HandleDropboxUpload job;
    QSignalSpy uploaded(&job, &HandleDropboxUpload::uploaded);
    QSignalSpy failed(&job, &HandleDropboxUpload::failed);
    const int logSize = errorLog().size();

    QVERIFY(runJob(job, file.path, uploaded, failed));
    QCOMPARE(uploaded.count(), 0);
    QCOMPARE(failed.at(0).at(0).toString(), text);
    const QByteArray logged = errorLog().mid(logSize);
    QVERIFY(logged.contains("refused.png"));
    QVERIFY(logged.contains(text.toUtf8()));
    QVERIFY(!logged.contains(token.toUtf8()));
    if (failure != QLatin1String("closed") && failure != QLatin1String("/2/sharing/"))
        QVERIFY(m_dropbox.files().isEmpty());
}

void TestDropbox::refusedBeforeSending_data()
{
    QTest::addColumn<bool>("linked");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("text");

    QTest::newRow("not linked")
        << false << "shot.png"
        << "Dropbox is not linked. Link your Dropbox account in the settings to upload there.";
    QTest::newRow("no such file") << true << "missing.png"
                                  << "cannot be read";
    QTest::newRow("a folder") << true << "folder.png"
                              << "cannot be read";
}

void TestDropbox::refusedBeforeSending()
{
    QFETCH(bool, linked);
    QFETCH(QString, file);
    QFETCH(QString, text);
    if (linked)
        linkAccount();
    makeRandomFile(path(QStringLiteral("shot.png")), 1000);
    QDir(m_dir.path()).mkdir(QStringLiteral("folder.png"));
    HandleDropboxUpload job;
    QSignalSpy uploaded(&job, &HandleDropboxUpload::uploaded);
    QSignalSpy failed(&job, &HandleDropboxUpload::failed);

    job.upload(path(file));
    QCOMPARE(failed.count(), 1);
    QVERIFY2(
        failed.at(0).at(0).toString().contains(text), qPrintable(failed.at(0).at(0).toString()));
    QTest::qWait(200);
    QCOMPARE(failed.count(), 1);
    QCOMPARE(uploaded.count(), 0);
    QCOMPARE(m_dropbox.arrivals().size(), 0);
}

void TestDropbox::expiredTokenIsRenewed_data()
{
    QTest::addColumn<bool>("refreshKnown");
    QTest::newRow("renewed") << true;
    QTest::newRow("refresh token revoked") << false;
}

void TestDropbox::expiredTokenIsRenewed()
{
    QFETCH(bool, refreshKnown);
    const QJsonObject tokens = m_dropbox.issueToken();
    const QString old = tokens[QLatin1String("access_token")].toString();
    const QString refresh = tokens[QLatin1String("refresh_token")].toString();
    settings()->setValue(kTokenKey, old, true);
    settings()->setValue(
        kRefreshKey, refreshKnown ? refresh : QStringLiteral("revoked-refresh-token"), true);
    settings()->setValue(kExpiryKey, QDateTime::currentSecsSinceEpoch() - 10);
    m_dropbox.expireTokens();
    const RandomFile file = makeRandomFile(path(QStringLiteral("late.png")), 2000);
    QDropbox api;
    HandleDropboxUpload job(&api);
    QSignalSpy uploaded(&job, &HandleDropboxUpload::uploaded);
    QSignalSpy failed(&job, &HandleDropboxUpload::failed);

    QVERIFY(runJob(job, file.path, uploaded, failed));
    const QJsonArray renewals = m_dropbox.requests(QStringLiteral("/oauth2/token"));
    QCOMPARE(renewals.size(), 1);
    const QJsonValue form = renewals.at(0)[QLatin1String("form")];
    QCOMPARE(form[QLatin1String("grant_type")].toString(), QStringLiteral("refresh_token"));
    QCOMPARE(form[QLatin1String("client_id")].toString(), QStringLiteral("kuvo-linux-app"));
    const QJsonArray sent = m_dropbox.requests(QStringLiteral("/2/files/upload"));
    if (!refreshKnown) {
        QCOMPARE(failed.at(0).at(0).toString(), kExpiredText);
        QCOMPARE(sent.size(), 0);
        return;
    }
    QVERIFY2(failed.isEmpty(), qPrintable(failed.value(0).value(0).toString()));
    const QString renewed = settings()->getValue(kTokenKey, true).toString();
    QVERIFY(!renewed.isEmpty() && renewed != old);
    QCOMPARE(sent.size(), 1);
    QCOMPARE(header(sent.at(0), "authorization"), QStringLiteral("Bearer ") + renewed);
    // The refresh token stays for the next renewal, and the new token's end is known.
    QCOMPARE(settings()->getValue(kRefreshKey, true).toString(), refresh);
    QVERIFY(settings()->getValue(kExpiryKey).toLongLong() > QDateTime::currentSecsSinceEpoch());
}

void TestDropbox::cancelMidUpload()
{
    linkAccount();
    // Larger than what the sockets can buffer, so the cut is visible on the other end.
    const RandomFile big = makeRandomFile(path(QStringLiteral("big.png")), 32 << 20);
    m_dropbox.delay(QStringLiteral("/2/files/upload"), 1.5);
    auto *job = new HandleDropboxUpload;
    QPointer<HandleDropboxUpload> watched = job;
    QSignalSpy uploaded(job, &HandleDropboxUpload::uploaded);
    QSignalSpy failed(job, &HandleDropboxUpload::failed);

    job->upload(big.path);
    QTRY_COMPARE_WITH_TIMEOUT(
        m_dropbox.arrivals(QStringLiteral("/2/files/upload")).size(), 1, 5000);
    job->cancel();
    QCOMPARE(failed.count(), 1);
    QCOMPARE(failed.at(0).at(0).toString(), QStringLiteral("The upload to Dropbox was cancelled."));
    job->cancel();
    QCOMPARE(failed.count(), 1);

    // Past the delay the stand-in reads what arrived: a cut body, and no word from the job.
    QTRY_COMPARE_WITH_TIMEOUT(
        m_dropbox.requests(QStringLiteral("/2/files/upload")).at(0)[QLatin1String("complete")],
        QJsonValue(false), 5000);
    QTest::qWait(300);
    QCOMPARE(failed.count(), 1);
    QCOMPARE(uploaded.count(), 0);
    QVERIFY(m_dropbox.files().isEmpty());
    job->deleteLater();
    QTRY_VERIFY_WITH_TIMEOUT(watched.isNull(), 2000);
}

QTEST_MAIN(TestDropbox)
#include "tst_dropbox.moc"
