// The stand-in of the maker's web service is what every network test talks to, so its own
// faults would show up as baffling failures elsewhere. These cases pin down the parts other
// tests lean on: sign-in, uploads and their checksums, the update offer, planned failures,
// the record of requests and TLS through the build's CA.

#include "standinservice.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSslSocket>
#include <QTemporaryDir>
#include <QUrlQuery>
#include <QtTest>

#include <memory>

namespace {

constexpr int ReplyTimeoutMs = 15000;

const QString Email = QStringLiteral("demo@kuvo.example");
const QString Password = QStringLiteral("kuvo-demo");

struct Answer
{
    int status = 0;
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    QByteArray body;
    QByteArray location;

    QJsonObject json() const { return QJsonDocument::fromJson(body).object(); }
};

// Form bodies and query strings alike, every reserved character escaped.
QByteArray form(const QList<QPair<QString, QString>> &fields)
{
    QByteArrayList pairs;
    for (const auto &field : fields)
        pairs << QUrl::toPercentEncoding(field.first) + '=' + QUrl::toPercentEncoding(field.second);
    return pairs.join('&');
}

QByteArray randomBytes(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(size);
    for (char &byte : bytes)
        byte = char(generator.bounded(256));
    return bytes;
}

QString md5Hex(const QByteArray &data)
{
    return QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Md5).toHex());
}

} // namespace

class TestStandin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void passwordGrant_data();
    void passwordGrant();
    void authorizationCode();
    void upload();
    void updateCheck();
    void plannedFailureAndDelay();
    void analytics();
    void requestsAreListedWhole();
    void tlsVerification();
    void stateFileKeepsTheSessionAcrossRestarts();

private:
    Answer send(const QByteArray &verb, const QString &url, const QByteArray &body = {},
        const QString &contentType = {}, const QString &token = {},
        const QSslConfiguration &ssl = QSslConfiguration::defaultConfiguration());
    QString service(const QString &pathAndQuery) const;
    QString signIn();

    StandinService m_standin;
    QNetworkAccessManager m_network;
};

void TestStandin::initTestCase()
{
    QVERIFY(m_standin.start());
    StandinService::trustStandinCa();
    m_network.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
}

void TestStandin::init()
{
    m_standin.reset();
    m_standin.withdrawUpdate();
}

void TestStandin::passwordGrant_data()
{
    QTest::addColumn<QString>("username");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("right") << Email << Password << true;
    QTest::newRow("wrong password") << Email << QStringLiteral("kuvo-dem0") << false;
    QTest::newRow("unknown account") << QStringLiteral("other@kuvo.example") << Password << false;
    QTest::newRow("empty password") << Email << QString() << false;
}

void TestStandin::passwordGrant()
{
    QFETCH(QString, username);
    QFETCH(QString, password);
    QFETCH(bool, accepted);

    const QByteArray body = form({{QStringLiteral("grant_type"), QStringLiteral("password")},
        {QStringLiteral("username"), username}, {QStringLiteral("password"), password}});
    const auto contentType = QStringLiteral("application/x-www-form-urlencoded");
    const Answer first = send("POST", service(QStringLiteral("/oauth/token")), body, contentType);
    const QString token = first.json().value(QLatin1String("access_token")).toString();
    // Every user-info call below needs a valid token: a failed grant must not yield one.
    const Answer info = send("GET", service(QStringLiteral("/api/user/info")), {}, {}, token);
    if (!accepted) {
        QCOMPARE(first.status, 400);
        QCOMPARE(
            first.json().value(QLatin1String("error")).toString(), QStringLiteral("invalid_grant"));
        QVERIFY(token.isEmpty());
        QCOMPARE(info.status, 401);
        return;
    }

    QCOMPARE(first.status, 200);
    QVERIFY2(QRegularExpression(QStringLiteral("^[0-9a-f]{32}$")).match(token).hasMatch(),
        qPrintable(token));
    QCOMPARE(first.json().value(QLatin1String("expires_in")).toInt(), 2592000);
    QCOMPARE(info.status, 200);
    QCOMPARE(info.json().value(QLatin1String("email")).toString(), Email);

    const Answer second = send("POST", service(QStringLiteral("/oauth/token")), body, contentType);
    QCOMPARE(second.status, 200);
    QVERIFY(second.json().value(QLatin1String("access_token")).toString() != token);

    const QJsonArray recorded = m_standin.requests(QStringLiteral("/oauth/token"));
    QCOMPARE(recorded.size(), 2);
    const QJsonObject fields = recorded.at(0).toObject().value(QLatin1String("form")).toObject();
    QCOMPARE(fields.value(QLatin1String("username")).toString(), username);
}

void TestStandin::authorizationCode()
{
    const auto authorize = [this](const QString &redirect, const QString &state) {
        const QByteArray query
            = form({{QStringLiteral("redirect_uri"), redirect}, {QStringLiteral("state"), state},
                {QStringLiteral("provider"), QStringLiteral("social")}});
        return send(
            "GET", service(QStringLiteral("/oauth/authorize?") + QString::fromLatin1(query)));
    };
    for (const auto &foreign : {QStringLiteral("http://192.0.2.7:8080/callback"),
             QStringLiteral("https://127.0.0.1:8080/callback"),
             QStringLiteral("http://127.0.0.1.example:8080/callback")}) {
        const Answer refused = authorize(foreign, QStringLiteral("s"));
        QVERIFY2(refused.status == 400, qPrintable(foreign));
        QVERIFY(refused.location.isEmpty());
    }

    const QString redirect = QStringLiteral("http://127.0.0.1:45678/callback?session=7");
    const QString state = QStringLiteral("a b&c");
    const Answer redirected = authorize(redirect, state);
    QCOMPARE(redirected.status, 302);
    const QUrl landing(QString::fromUtf8(redirected.location));
    QCOMPARE(landing.adjusted(QUrl::RemoveQuery),
        QUrl(QStringLiteral("http://127.0.0.1:45678/callback")));
    const QUrlQuery answer(landing);
    QCOMPARE(answer.queryItemValue(QStringLiteral("session")), QStringLiteral("7"));
    QCOMPARE(answer.queryItemValue(QStringLiteral("state"), QUrl::FullyDecoded), state);
    const QString code = answer.queryItemValue(QStringLiteral("code"), QUrl::FullyDecoded);
    QVERIFY(!code.isEmpty());

    const auto exchange = [&](const QString &redirectUri) {
        return send("POST", service(QStringLiteral("/oauth/token")),
            form({{QStringLiteral("grant_type"), QStringLiteral("authorization_code")},
                {QStringLiteral("code"), code}, {QStringLiteral("redirect_uri"), redirectUri}}),
            QStringLiteral("application/x-www-form-urlencoded"));
    };
    QCOMPARE(exchange(QStringLiteral("http://127.0.0.1:45679/callback?session=7")).status, 400);
    const Answer granted = exchange(redirect);
    QCOMPARE(granted.status, 200);
    QVERIFY(!granted.json().value(QLatin1String("access_token")).toString().isEmpty());
    const Answer reused = exchange(redirect);
    QCOMPARE(reused.status, 400);
    QCOMPARE(
        reused.json().value(QLatin1String("error")).toString(), QStringLiteral("invalid_grant"));
}

void TestStandin::upload()
{
    const QString token = signIn();
    QVERIFY(!token.isEmpty());
    const auto usage = [&] {
        return send("GET", service(QStringLiteral("/api/user/info")), {}, {}, token)
            .json()
            .value(QLatin1String("usage"))
            .toDouble(-1);
    };
    const double usageBefore = usage();
    QVERIFY(usageBefore >= 0);

    // Not a multiple of the stand-in's 1 MiB read size, so a lost or doubled last chunk shows.
    const QByteArray data = randomBytes(5 * 1024 * 1024 + 321);
    const QString title = QStringLiteral("Screenshot <1>.png");
    const QJsonObject meta {{QStringLiteral("title"), title},
        {QStringLiteral("description"), QStringLiteral("a test")},
        {QStringLiteral("mimeType"), QStringLiteral("image/png")},
        {QStringLiteral("fileSize"), data.size()}};
    const Answer created
        = send("POST", service(QStringLiteral("/drive/v1/files?fields=id,alternateLink,selfLink")),
            QJsonDocument(meta).toJson(), QStringLiteral("application/json"), token);
    QCOMPARE(created.status, 200);
    const QString id = created.json().value(QLatin1String("id")).toString();
    QVERIFY2(QRegularExpression(QStringLiteral("^[A-Za-z0-9_-]{12}$")).match(id).hasMatch(),
        qPrintable(id));
    QCOMPARE(created.json().value(QLatin1String("alternateLink")).toString(),
        service(QStringLiteral("/s/") + id));

    const QString uploadPath = QStringLiteral("/upload/drive/v1/files/") + id;
    QCOMPARE(send("PUT", service(uploadPath), data, QStringLiteral("image/png")).status, 401);
    QCOMPARE(send("PUT", service(QStringLiteral("/upload/drive/v1/files/unknown12345")), data,
                 QStringLiteral("image/png"), token)
                 .status,
        404);
    const Answer uploaded
        = send("PUT", service(uploadPath), data, QStringLiteral("image/png"), token);
    QCOMPARE(uploaded.status, 200);
    QCOMPARE(uploaded.json().value(QLatin1String("fileSize")).toDouble(), double(data.size()));
    QCOMPARE(uploaded.json().value(QLatin1String("md5Checksum")).toString(), md5Hex(data));
    QCOMPARE(usage() - usageBefore, double(data.size()));

    const QJsonArray puts = m_standin.requests(uploadPath);
    QCOMPARE(puts.size(), 2);
    const QJsonObject recorded = puts.last().toObject();
    QCOMPARE(recorded.value(QLatin1String("size")).toDouble(), double(data.size()));
    QCOMPARE(recorded.value(QLatin1String("md5")).toString(), md5Hex(data));
    QCOMPARE(recorded.value(QLatin1String("headers"))
                 .toObject()
                 .value(QLatin1String("authorization"))
                 .toString(),
        QStringLiteral("Bearer ") + token);
    const QJsonObject post = m_standin.requests(QStringLiteral("/drive/v1/files")).at(0).toObject();
    QCOMPARE(post.value(QLatin1String("query")).toObject().value(QLatin1String("fields")),
        QJsonValue(QStringLiteral("id,alternateLink,selfLink")));
    QCOMPARE(post.value(QLatin1String("json")).toObject(), meta);

    const Answer page = send("GET", service(QStringLiteral("/s/") + id));
    QCOMPARE(page.status, 200);
    QVERIFY(page.body.contains("Screenshot &lt;1&gt;.png"));
    QVERIFY(page.body.contains(QByteArray::number(data.size())));
}

void TestStandin::updateCheck()
{
    const QString check = service(QStringLiteral("/update/check?platform=linux&version=3.0.15"));
    Answer answer = send("GET", check);
    QCOMPARE(answer.status, 200);
    QCOMPARE(answer.json(), QJsonObject({{QStringLiteral("version"), QStringLiteral("3.0.15")}}));

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("kuvo-3.1.0.zip"));
    const QByteArray package = randomBytes(200000);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(package), qint64(package.size()));
    file.close();

    m_standin.offerUpdate(QStringLiteral("3.1.0"), path);
    answer = send("GET", check);
    QCOMPARE(answer.json().value(QLatin1String("version")).toString(), QStringLiteral("3.1.0"));
    QCOMPARE(answer.json().value(QLatin1String("md5")).toString(), md5Hex(package));
    const QString url = answer.json().value(QLatin1String("url")).toString();
    QCOMPARE(url, service(QStringLiteral("/update/package/kuvo-3.1.0.zip")));
    const Answer download = send("GET", url);
    QCOMPARE(download.status, 200);
    QVERIFY(download.body == package);

    const QString wrong = QStringLiteral("0123456789abcdef0123456789abcdef");
    m_standin.offerUpdate(QStringLiteral("3.1.0"), path, wrong);
    QCOMPARE(send("GET", check).json().value(QLatin1String("md5")).toString(), wrong);

    m_standin.withdrawUpdate();
    QCOMPARE(send("GET", check).json().value(QLatin1String("version")).toString(),
        QStringLiteral("3.0.15"));
    QCOMPARE(send("GET", url).status, 404);
}

void TestStandin::plannedFailureAndDelay()
{
    const QString token = signIn();
    QVERIFY(!token.isEmpty());
    const QString info = service(QStringLiteral("/api/user/info"));

    m_standin.failNext(QStringLiteral("/api/user"), 503, 2);
    const Answer failed = send("GET", info, {}, {}, token);
    QCOMPARE(failed.status, 503);
    QCOMPARE(
        failed.json().value(QLatin1String("error")).toString(), QStringLiteral("server_error"));
    QCOMPARE(send("GET", info, {}, {}, token).status, 503);
    QCOMPARE(send("GET", info, {}, {}, token).status, 200);
    QCOMPARE(m_standin.requests(QStringLiteral("/api/user/info")).size(), 3);

    m_standin.failNext(QStringLiteral("/api/"), 500, 5);
    m_standin.reset();
    QCOMPARE(send("GET", info, {}, {}, token).status, 200);
    QCOMPARE(m_standin.requests().size(), 1);

    m_standin.delay(QStringLiteral("/api/user"), 0.6);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(send("GET", info, {}, {}, token).status, 200);
    QVERIFY2(clock.elapsed() >= 550, qPrintable(QString::number(clock.elapsed())));
    m_standin.delay(QStringLiteral("/api/user"), 0);
    clock.restart();
    QCOMPARE(send("GET", info, {}, {}, token).status, 200);
    QVERIFY2(clock.elapsed() < 550, qPrintable(QString::number(clock.elapsed())));
}

void TestStandin::analytics()
{
    const QString base = QStringLiteral("http://") + m_standin.httpHost();
    const Answer collected = send("POST", base + QStringLiteral("/collect"),
        form({{QStringLiteral("t"), QStringLiteral("event")},
            {QStringLiteral("ea"), QStringLiteral("capture area")}}),
        QStringLiteral("application/x-www-form-urlencoded"));
    QCOMPARE(collected.status, 200);
    QVERIFY(collected.body.isEmpty());
    const Answer ping = send("GET", base + QStringLiteral("/ping?nocache=1"));
    QCOMPARE(ping.status, 200);
    QCOMPARE(ping.body, QByteArray("pong"));
    // The analytics listener is plain HTTP only; the service paths are not served there.
    QCOMPARE(send("GET", base + QStringLiteral("/update/check?version=1")).status, 404);

    const QJsonArray recorded = m_standin.requests();
    QCOMPARE(recorded.size(), 3);
    const QJsonObject event = recorded.at(0).toObject();
    QCOMPARE(event.value(QLatin1String("listener")).toString(), QStringLiteral("http"));
    QCOMPARE(event.value(QLatin1String("form")).toObject().value(QLatin1String("ea")),
        QJsonValue(QStringLiteral("capture area")));
    QCOMPARE(recorded.at(1).toObject().value(QLatin1String("query")).toObject(),
        QJsonObject({{QStringLiteral("nocache"), QStringLiteral("1")}}));
}

// A test waits for a count of requests and then reads them: each must be whole when listed,
// and one still on its way when the record is reset must stay out of it.
void TestStandin::requestsAreListedWhole()
{
    const QString collect = QStringLiteral("/collect");
    m_standin.delay(collect, 0.5);
    const auto post = [&](const QString &action) {
        QNetworkRequest request(QUrl(QStringLiteral("http://") + m_standin.httpHost() + collect));
        request.setHeader(QNetworkRequest::ContentTypeHeader,
            QStringLiteral("application/x-www-form-urlencoded"));
        return std::unique_ptr<QNetworkReply>(
            m_network.post(request, form({{QStringLiteral("ea"), action}})));
    };

    const auto first = post(QStringLiteral("first"));
    QTRY_VERIFY_WITH_TIMEOUT(!m_standin.requests(collect).isEmpty(), ReplyTimeoutMs);
    QCOMPARE(m_standin.requests(collect).at(0)["form"]["ea"].toString(), QStringLiteral("first"));
    QTRY_VERIFY_WITH_TIMEOUT(first->isFinished(), ReplyTimeoutMs);

    const auto second = post(QStringLiteral("second"));
    QTRY_COMPARE_WITH_TIMEOUT(m_standin.arrivals(collect).size(), 2, ReplyTimeoutMs);
    QCOMPARE(m_standin.requests(collect).size(), 1);
    m_standin.reset();
    QTRY_VERIFY_WITH_TIMEOUT(second->isFinished(), ReplyTimeoutMs);
    QVERIFY(m_standin.requests().isEmpty());
    QVERIFY(m_standin.arrivals().isEmpty());
}

void TestStandin::tlsVerification()
{
    // Without the build's CA the stand-in is a stranger: the successes above come from the CA
    // being trusted, not from verification being off.
    QSslConfiguration systemOnly = QSslConfiguration::defaultConfiguration();
    systemOnly.setCaCertificates(QSslConfiguration::systemCaCertificates());
    // Qt would otherwise send the request over a connection verified earlier with the CA.
    m_network.clearConnectionCache();
    const Answer refused
        = send("GET", service(QStringLiteral("/update/check?version=1")), {}, {}, {}, systemOnly);
    QCOMPARE(refused.error, QNetworkReply::SslHandshakeFailedError);
    QVERIFY(m_standin.arrivals().isEmpty());

    // The program trusts the copy compiled into its resources; it must be this very CA.
    QFile compiled(QStringLiteral(":/certificate/kuvo.pem"));
    QVERIFY(compiled.open(QIODevice::ReadOnly));
    QCOMPARE(QSslCertificate::fromData(compiled.readAll()),
        QSslCertificate::fromPath(m_standin.caFile()));

    // The certificate also names localhost, for clients that reach the stand-in by that name.
    QSslSocket socket;
    QSslConfiguration withCa = QSslConfiguration::defaultConfiguration();
    withCa.setCaCertificates(QSslCertificate::fromPath(m_standin.caFile()));
    socket.setSslConfiguration(withCa);
    const QStringList host = m_standin.httpsHost().split(QLatin1Char(':'));
    socket.connectToHostEncrypted(
        host.at(0), quint16(host.at(1).toUInt()), QStringLiteral("localhost"));
    QVERIFY2(socket.waitForEncrypted(ReplyTimeoutMs), qPrintable(socket.errorString()));
    QVERIFY(socket.sslHandshakeErrors().isEmpty());
}

Answer TestStandin::send(const QByteArray &verb, const QString &url, const QByteArray &body,
    const QString &contentType, const QString &token, const QSslConfiguration &ssl)
{
    QNetworkRequest request {QUrl(url)};
    request.setSslConfiguration(ssl);
    if (!contentType.isEmpty())
        request.setHeader(QNetworkRequest::ContentTypeHeader, contentType);
    if (!token.isEmpty())
        request.setRawHeader("Authorization", "Bearer " + token.toLatin1());
    const std::unique_ptr<QNetworkReply> reply(m_network.sendCustomRequest(request, verb, body));
    QSignalSpy finished(reply.get(), &QNetworkReply::finished);
    if (!finished.wait(ReplyTimeoutMs)) {
        reply->abort();
        return {0, QNetworkReply::TimeoutError, {}, {}};
    }
    Answer answer;
    answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    answer.error = reply->error();
    answer.body = reply->readAll();
    answer.location = reply->rawHeader("Location");
    return answer;
}

QString TestStandin::service(const QString &pathAndQuery) const
{
    return QStringLiteral("https://") + m_standin.httpsHost() + pathAndQuery;
}

QString TestStandin::signIn()
{
    const Answer answer = send("POST", service(QStringLiteral("/oauth/token")),
        form({{QStringLiteral("grant_type"), QStringLiteral("password")},
            {QStringLiteral("username"), Email}, {QStringLiteral("password"), Password}}),
        QStringLiteral("application/x-www-form-urlencoded"));
    return answer.json().value(QLatin1String("access_token")).toString();
}

// As a second scripts/run starts a fresh stand-in while the program keeps its token.
void TestStandin::stateFileKeepsTheSessionAcrossRestarts()
{
    QTemporaryDir folder;
    const QString stateFile = folder.filePath(QStringLiteral("standin-state.json"));
    const auto at = [](const StandinService &standin, const QString &path) {
        return QStringLiteral("https://") + standin.httpsHost() + path;
    };
    QString token;
    QString link;
    {
        StandinService first;
        QVERIFY(first.start({QStringLiteral("--state-file"), stateFile}));
        token = first.issueToken();
        QVERIFY(!token.isEmpty());
        const Answer created = send("POST", at(first, QStringLiteral("/drive/v1/files")),
            R"({"title": "kept.png"})", QStringLiteral("application/json"), token);
        QCOMPARE(created.status, 200);
        link = created.json()[QStringLiteral("alternateLink")].toString();
    }
    StandinService second;
    QVERIFY(second.start({QStringLiteral("--state-file"), stateFile}));
    const Answer info = send("GET", at(second, QStringLiteral("/api/user/info")), {}, {}, token);
    QCOMPARE(info.status, 200);
    QCOMPARE(info.json()[QStringLiteral("email")].toString(), Email);
    // The shared page of a file from before the restart opens, under the new port.
    QCOMPARE(send("GET", at(second, QUrl(link).path())).status, 200);
    QCOMPARE(send("GET", at(second, QStringLiteral("/api/user/info")), {}, {},
                 QStringLiteral("never-issued"))
                 .status,
        401);

    // A damaged file costs the old sessions, not the start.
    QFile damaged(stateFile);
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write("{not json");
    damaged.close();
    StandinService third;
    QVERIFY(third.start({QStringLiteral("--state-file"), stateFile}));
    QCOMPARE(send("GET", at(third, QStringLiteral("/api/user/info")), {}, {}, token).status, 401);
    QVERIFY(!third.issueToken().isEmpty());
}

QTEST_GUILESS_MAIN(TestStandin)
#include "tst_standin.moc"
