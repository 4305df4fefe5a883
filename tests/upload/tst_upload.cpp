#include "handlerupload.h"
#include "networkaccessmanager.h"
#include "networkexchange.h"
#include "networkreadreply.h"
#include "randomfile.h"
#include "serviceaddress.h"
#include "setting.h"
#include "standinservice.h"
#include "uploadmodel.h"

#include <QDir>
#include <QFile>
#include <QNetworkRequest>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QUrlQuery>
#include <QtTest>

#include <sys/stat.h>

namespace {

const int kUploadTimeout = 20000;

QJsonArray requestsBy(const QJsonArray &requests, const QString &method)
{
    QJsonArray matching;
    for (const QJsonValue &request : requests) {
        if (request[QLatin1String("method")].toString() == method)
            matching.append(request);
    }
    return matching;
}

QString header(const QJsonValue &request, const char *name)
{
    return request[QLatin1String("headers")][QLatin1String(name)].toString();
}

// The id is the last segment of both the shared link and the upload address.
QString lastSegment(const QString &address)
{
    return address.section(QLatin1Char('/'), -1);
}

} // namespace

class TestUpload : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void captureLinkComesBeforeItsData();
    void filesGoInOrderWithOneLinkEach();
    void jobsRunSideBySide();
    void maxPostSize_data();
    void maxPostSize();
    void serviceFailure_data();
    void serviceFailure();
    void unreadableFilesAreSkipped();
    void cancelInTheMiddle();
    void shrinkingFileIsNoMissingNetwork();
    void exchangeGoneInTheMiddle();
    void refusedConnectionIsNoMissingNetwork();
    void silentServiceTimesOut();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }

    StandinService m_service;
    QTemporaryDir m_dir;
    QString m_token;
    NetworkExchange *m_exchange = nullptr;
    UploadModel *m_model = nullptr;
};

void TestUpload::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(m_service.start());
    ServiceAddress::setApiHost(m_service.httpsHost());
    ServiceAddress::setWebHost(m_service.httpsHost());
    ServiceAddress::setFixedHost(m_service.httpHost());
    m_token = m_service.issueToken();
    QVERIFY(!m_token.isEmpty());
    Setting::instance()->setValue(QStringLiteral("token"), m_token);
}

void TestUpload::init()
{
    m_service.reset();
    Setting::instance()->setValue(QStringLiteral("type_upload"), QStringLiteral("kuvo"));
    Setting::instance()->setValue(QStringLiteral("max_post_size"), 0);
    m_model = new UploadModel(this);
    m_exchange = new NetworkExchange(this);
    m_exchange->setUploadModel(m_model);
}

void TestUpload::cleanup()
{
    delete m_exchange;
    delete m_model;
    ServiceAddress::setApiHost(m_service.httpsHost());
    HandlerUpload::setTransferTimeout(60000);
}

void TestUpload::captureLinkComesBeforeItsData()
{
    const RandomFile shot = makeRandomFile(path(QStringLiteral("shot.png")), 3 << 20);
    QVERIFY(shot.size > 0);
    m_service.delay(QStringLiteral("/upload/"), 1.0);

    QString link;
    int postsAtLink = -1;
    int putsAtLink = -1;
    int rowsAtLink = -1;
    QPointer<QObject> job;
    connect(m_exchange, &NetworkExchange::readyLink, this, [&](const QString &text) {
        link = text;
        const QJsonArray all = m_service.arrivals();
        postsAtLink = requestsBy(all, QStringLiteral("POST")).size();
        putsAtLink = requestsBy(all, QStringLiteral("PUT")).size();
        rowsAtLink = m_model->rowCount();
        job = m_model->index(0).data(UploadModel::UploaderRole).value<QObject *>();
    });
    QSignalSpy started(m_exchange, &NetworkExchange::startUpload);
    QSignalSpy stored(m_exchange, &NetworkExchange::readyLinkAfterUpload);
    QSignalSpy errors(m_exchange, &NetworkExchange::error);
    QSignalSpy complete(m_model, &UploadModel::uploadComplete);
    qint64 progressTotal = 0;
    qint64 lastDownload = -1;
    connect(m_model, &UploadModel::dataChanged, this, [&](const QModelIndex &index) {
        lastDownload = index.data(UploadModel::DownloadRole).toLongLong();
        progressTotal = index.data(UploadModel::TotalRole).toLongLong();
    });

    m_exchange->uploadScreen(shot.path, QStringLiteral("the whole desk"), HandlerUpload::PostNone);
    QCOMPARE(m_model->countItem(), 1);
    QVERIFY(complete.wait(kUploadTimeout));

    QVERIFY2(errors.isEmpty(), qPrintable(errors.value(0).value(0).toString()));
    QCOMPARE(postsAtLink, 1);
    QCOMPARE(putsAtLink, 0);
    QCOMPARE(rowsAtLink, 1);
    QCOMPARE(started.count(), 1);
    QCOMPARE(stored.count(), 1);
    QCOMPARE(stored.at(0).at(0).toString(), link);
    QCOMPARE(progressTotal, shot.size);
    QCOMPARE(lastDownload, shot.size);
    QCOMPARE(m_model->rowCount(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(job.isNull(), 2000);

    QVERIFY(link.startsWith(QStringLiteral("https://%1/").arg(m_service.httpsHost())));
    const QJsonArray posts = m_service.requests(QStringLiteral("/drive/v1/files"));
    QCOMPARE(posts.size(), 1);
    const QJsonValue meta = posts.at(0)[QLatin1String("json")];
    QCOMPARE(meta[QLatin1String("title")].toString(), QStringLiteral("shot.png"));
    QCOMPARE(meta[QLatin1String("description")].toString(), QStringLiteral("the whole desk"));
    QCOMPARE(meta[QLatin1String("mimeType")].toString(), QStringLiteral("image/png"));
    QCOMPARE(meta[QLatin1String("fileSize")].toDouble(), double(shot.size));
    QCOMPARE(header(posts.at(0), "authorization"), QStringLiteral("Bearer ") + m_token);

    const QJsonArray puts = requestsBy(m_service.requests(), QStringLiteral("PUT"));
    QCOMPARE(puts.size(), 1);
    const QJsonValue put = puts.at(0);
    QCOMPARE(lastSegment(put[QLatin1String("path")].toString()), lastSegment(link));
    QCOMPARE(put[QLatin1String("size")].toDouble(), double(shot.size));
    QCOMPARE(put[QLatin1String("md5")].toString(), shot.md5);
    QCOMPARE(header(put, "authorization"), QStringLiteral("Bearer ") + m_token);
    QCOMPARE(header(put, "content-type"), QStringLiteral("image/png"));
}

void TestUpload::filesGoInOrderWithOneLinkEach()
{
    const QList<RandomFile> files = {makeRandomFile(path(QStringLiteral("notes.txt")), 1000),
        makeRandomFile(path(QStringLiteral("photo.jpg")), 700 * 1024),
        makeRandomFile(path(QStringLiteral("table.csv")), 40 * 1024)};
    QStringList paths;
    for (const RandomFile &file : files)
        paths << file.path;
    QSignalSpy links(m_exchange, &NetworkExchange::readyLink);
    QSignalSpy errors(m_exchange, &NetworkExchange::error);
    QSignalSpy complete(m_model, &UploadModel::uploadComplete);
    qint64 total = 0;
    connect(m_model, &UploadModel::dataChanged, this,
        [&](const QModelIndex &index) { total = index.data(UploadModel::TotalRole).toLongLong(); });

    m_exchange->uploadData(paths);
    QVERIFY(complete.wait(kUploadTimeout));

    QVERIFY(errors.isEmpty());
    QCOMPARE(complete.count(), 1);
    QCOMPARE(total, files[0].size + files[1].size + files[2].size);
    QCOMPARE(links.count(), files.size());
    const QJsonArray posts = m_service.requests(QStringLiteral("/drive/v1/files"));
    const QJsonArray puts = requestsBy(m_service.requests(), QStringLiteral("PUT"));
    QCOMPARE(posts.size(), files.size());
    QCOMPARE(puts.size(), files.size());
    for (int i = 0; i < files.size(); ++i) {
        const QJsonValue meta = posts.at(i)[QLatin1String("json")];
        QCOMPARE(meta[QLatin1String("title")].toString(), QFileInfo(files[i].path).fileName());
        QCOMPARE(meta[QLatin1String("description")].toString(), QString());
        QCOMPARE(lastSegment(puts.at(i)[QLatin1String("path")].toString()),
            lastSegment(links.at(i).at(0).toString()));
        QCOMPARE(puts.at(i)[QLatin1String("md5")].toString(), files[i].md5);
    }
}

void TestUpload::jobsRunSideBySide()
{
    const RandomFile first = makeRandomFile(path(QStringLiteral("first.png")), 300 * 1024);
    const RandomFile second = makeRandomFile(path(QStringLiteral("second.png")), 200 * 1024);
    m_service.delay(QStringLiteral("/upload/"), 0.5);
    QSignalSpy complete(m_model, &UploadModel::uploadComplete);
    QSignalSpy counts(m_model, &UploadModel::countItemChanged);
    QSignalSpy stored(m_exchange, &NetworkExchange::readyLinkAfterUpload);

    m_exchange->uploadScreen(first.path, QString(), HandlerUpload::PostNone);
    m_exchange->uploadScreen(second.path, QString(), HandlerUpload::PostTwitter);
    QCOMPARE(m_model->countItem(), 2);
    QVERIFY(complete.wait(kUploadTimeout));

    // The list is empty only once both are through.
    QCOMPARE(stored.count(), 2);
    QCOMPARE(m_model->countItem(), 0);
    QCOMPARE(counts.count(), 4);
    QTest::qWait(100);
    QCOMPARE(complete.count(), 1);
}

void TestUpload::maxPostSize_data()
{
    QTest::addColumn<qint64>("limit");
    QTest::addColumn<QString>("refusal");

    QTest::newRow("over the limit")
        << qint64(1 << 20) << QStringLiteral("Max upload total size 1mb");
    QTest::newRow("exactly the limit") << qint64(1200 * 1024) << QString();
    QTest::newRow("no limit") << qint64(0) << QString();
}

void TestUpload::maxPostSize()
{
    QFETCH(qint64, limit);
    QFETCH(QString, refusal);
    const RandomFile a = makeRandomFile(path(QStringLiteral("a.bin")), 600 * 1024);
    const RandomFile b = makeRandomFile(path(QStringLiteral("b.bin")), 600 * 1024);
    Setting::instance()->setValue(QStringLiteral("max_post_size"), limit);
    QSignalSpy errors(m_exchange, &NetworkExchange::error);
    QSignalSpy complete(m_model, &UploadModel::uploadComplete);

    m_exchange->uploadData({a.path, b.path});

    if (refusal.isEmpty()) {
        QVERIFY(complete.wait(kUploadTimeout));
        QVERIFY(errors.isEmpty());
        QCOMPARE(requestsBy(m_service.requests(), QStringLiteral("PUT")).size(), 2);
        return;
    }
    QCOMPARE(errors.count(), 1);
    QCOMPARE(errors.at(0).at(0).toString(), refusal);
    QCOMPARE(m_model->countItem(), 0);
    QTest::qWait(300);
    QCOMPARE(m_service.arrivals().size(), 0);
}

void TestUpload::serviceFailure_data()
{
    QTest::addColumn<QString>("failing");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("links");

    QTest::newRow("creating the file") << QStringLiteral("/drive/") << 500 << 0;
    QTest::newRow("sending the data") << QStringLiteral("/upload/") << 500 << 1;
    QTest::newRow("token refused") << QStringLiteral("/upload/") << 401 << 1;
}

void TestUpload::serviceFailure()
{
    QFETCH(QString, failing);
    QFETCH(int, status);
    QFETCH(int, links);
    // The second file must not go once the job has failed.
    const RandomFile shot = makeRandomFile(path(QStringLiteral("broken.png")), 64 * 1024);
    const RandomFile more = makeRandomFile(path(QStringLiteral("more.png")), 64 * 1024);
    m_service.failNext(failing, status);
    QSignalSpy errors(m_exchange, &NetworkExchange::error);
    QSignalSpy offline(m_exchange, &NetworkExchange::internetNotAvailable);
    QSignalSpy linked(m_exchange, &NetworkExchange::readyLink);
    QSignalSpy stored(m_exchange, &NetworkExchange::readyLinkAfterUpload);
    QSignalSpy complete(m_model, &UploadModel::uploadComplete);

    m_exchange->uploadData({shot.path, more.path});
    QVERIFY(complete.wait(kUploadTimeout));

    QCOMPARE(errors.count(), 1);
    QCOMPARE(errors.at(0).at(0).toString(), QStringLiteral("Planned failure"));
    QCOMPARE(offline.count(), 0);
    QCOMPARE(linked.count(), links);
    QCOMPARE(stored.count(), 0);
    QCOMPARE(m_model->countItem(), 0);
    QCOMPARE(m_service.requests(QStringLiteral("/drive/v1/files")).size(), 1);

    QFile log(QDir::homePath() + QStringLiteral("/.kuvo/error.log"));
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QString logged = QString::fromUtf8(log.readAll());
    QVERIFY(logged.contains(QStringLiteral("broken.png")));
    QVERIFY(logged.contains(QStringLiteral("Planned failure")));
    QVERIFY(!logged.contains(m_token));
}

void TestUpload::unreadableFilesAreSkipped()
{
    const QString missing = path(QStringLiteral("gone.png"));
    const QString folder = path(QStringLiteral("folder.png"));
    const QString pipe = path(QStringLiteral("pipe.png"));
    QVERIFY(QDir().mkpath(folder));
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const RandomFile good = makeRandomFile(path(QStringLiteral("good.png")), 10 * 1024);
    QSignalSpy errors(m_exchange, &NetworkExchange::error);
    QSignalSpy links(m_exchange, &NetworkExchange::readyLink);
    QSignalSpy complete(m_model, &UploadModel::uploadComplete);

    m_exchange->uploadData({missing, folder, good.path, pipe});
    QVERIFY(complete.wait(kUploadTimeout));

    const QStringList skipped = {missing, folder, pipe};
    QCOMPARE(errors.count(), skipped.size());
    for (int i = 0; i < skipped.size(); ++i)
        QVERIFY2(errors.at(i).at(0).toString().contains(skipped[i]),
            qPrintable(errors.at(i).at(0).toString()));
    QCOMPARE(links.count(), 1);
    const QJsonArray puts = requestsBy(m_service.requests(), QStringLiteral("PUT"));
    QCOMPARE(puts.size(), 1);
    QCOMPARE(puts.at(0)[QLatin1String("md5")].toString(), good.md5);
}

void TestUpload::cancelInTheMiddle()
{
    // Larger than what the sockets can buffer, so the cut is visible on the other end.
    const RandomFile big = makeRandomFile(path(QStringLiteral("big.png")), 32 << 20);
    m_service.delay(QStringLiteral("/upload/"), 1.5);
    QSignalSpy errors(m_exchange, &NetworkExchange::error);
    QSignalSpy offline(m_exchange, &NetworkExchange::internetNotAvailable);
    QSignalSpy stored(m_exchange, &NetworkExchange::readyLinkAfterUpload);
    QSignalSpy started(m_exchange, &NetworkExchange::startUpload);
    QSignalSpy complete(m_model, &UploadModel::uploadComplete);

    m_exchange->uploadScreen(big.path, QString(), HandlerUpload::PostNone);
    QPointer<QObject> job = m_model->index(0).data(UploadModel::UploaderRole).value<QObject *>();
    QVERIFY(job);
    QSignalSpy finished(job.data(), SIGNAL(finished()));
    QVERIFY(started.wait(kUploadTimeout));
    QTRY_COMPARE_WITH_TIMEOUT(
        requestsBy(m_service.arrivals(), QStringLiteral("PUT")).size(), 1, 5000);

    m_exchange->cancelUpload();
    QCOMPARE(finished.count(), 1);
    QCOMPARE(complete.count(), 1);
    QCOMPARE(m_model->countItem(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(job.isNull(), 2000);

    // Past the delay the stand-in reads what arrived: a cut body, and no word from the job.
    QTRY_COMPARE_WITH_TIMEOUT(
        requestsBy(m_service.requests(), QStringLiteral("PUT")).at(0)[QLatin1String("complete")],
        QJsonValue(false), 5000);
    QTest::qWait(300);
    QCOMPARE(errors.count(), 0);
    QCOMPARE(offline.count(), 0);
    QCOMPARE(stored.count(), 0);
    QCOMPARE(complete.count(), 1);
}

void TestUpload::shrinkingFileIsNoMissingNetwork()
{
    const RandomFile big = makeRandomFile(path(QStringLiteral("shrinking.png")), 32 << 20);
    m_service.delay(QStringLiteral("/upload/"), 1.5);
    QSignalSpy errors(m_exchange, &NetworkExchange::error);
    QSignalSpy withdrawn(m_exchange, &NetworkExchange::linkWithdrawn);
    m_exchange->uploadScreen(big.path, QString(), HandlerUpload::PostNone);
    QTRY_COMPARE_WITH_TIMEOUT(m_service.arrivals().size(), 2, 5000);
    QVERIFY(QFile::resize(big.path, 1 << 20));
    QTRY_COMPARE_WITH_TIMEOUT(errors.count(), 1, kUploadTimeout);
    QCOMPARE(errors[0][0].toString(), "The file shrinking.png became shorter while it was sent");
    QCOMPARE(withdrawn.count(), 1);
}

// The controller may go away while a job runs, as on quitting: the list must not keep a row
// for a job that no longer exists.
void TestUpload::exchangeGoneInTheMiddle()
{
    const RandomFile big = makeRandomFile(path(QStringLiteral("big.png")), 32 << 20);
    m_service.delay(QStringLiteral("/upload/"), 1.0);
    QSignalSpy started(m_exchange, &NetworkExchange::startUpload);
    QSignalSpy complete(m_model, &UploadModel::uploadComplete);

    m_exchange->uploadScreen(big.path, QString(), HandlerUpload::PostNone);
    QVERIFY(started.wait(kUploadTimeout));
    delete m_exchange;
    m_exchange = nullptr;

    QCOMPARE(m_model->rowCount(), 0);
    QCOMPARE(complete.count(), 1);
    QTest::qWait(1500);
    QCOMPARE(m_model->rowCount(), 0);
}

void TestUpload::refusedConnectionIsNoMissingNetwork()
{
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const quint16 port = closed.serverPort();
    closed.close();
    ServiceAddress::setApiHost(QStringLiteral("127.0.0.1:%1").arg(port));
    const RandomFile shot = makeRandomFile(path(QStringLiteral("shot.png")), 1024);
    QSignalSpy errors(m_exchange, &NetworkExchange::error);
    QSignalSpy offline(m_exchange, &NetworkExchange::internetNotAvailable);
    QSignalSpy complete(m_model, &UploadModel::uploadComplete);

    m_exchange->uploadScreen(shot.path, QString(), HandlerUpload::PostNone);
    QVERIFY(complete.wait(kUploadTimeout));

    QCOMPARE(offline.count(), 0);
    QCOMPARE(errors.count(), 1);
    QCOMPARE(errors.at(0).at(0).toString(),
        NetworkAccessManager::networkError(QNetworkReply::ConnectionRefusedError));
}

void TestUpload::silentServiceTimesOut()
{
    HandlerUpload::setTransferTimeout(500);
    m_service.delay(QStringLiteral("/drive/"), 3.0);
    const RandomFile shot = makeRandomFile(path(QStringLiteral("shot.png")), 1024);
    QSignalSpy errors(m_exchange, &NetworkExchange::error);
    QSignalSpy complete(m_model, &UploadModel::uploadComplete);

    m_exchange->uploadScreen(shot.path, QString(), HandlerUpload::PostNone);
    QVERIFY(complete.wait(2500));

    QCOMPARE(errors.count(), 1);
    QCOMPARE(errors.at(0).at(0).toString(),
        NetworkAccessManager::networkError(QNetworkReply::TimeoutError));
}

QTEST_MAIN(TestUpload)
#include "tst_upload.moc"
