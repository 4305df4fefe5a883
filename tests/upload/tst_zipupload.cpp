#include "handlerupload.h"
#include "networkexchange.h"
#include "serviceaddress.h"
#include "setting.h"
#include "standinservice.h"
#include "uploadmodel.h"
#include "zippacker.h"

#include <QDesktopServices>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QtTest>

#include <quazip/JlCompress.h>

// Files packed into one archive before they go, and the page that follows an upload.
class TestZipUpload : public QObject
{
    Q_OBJECT

public slots:
    void opened(const QUrl &url) { m_opened << url; }

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void entryNames_data();
    void entryNames();
    void packedFilesArriveWhole();
    void badFilesStopThePacking_data();
    void badFilesStopThePacking();
    void cancelWhilePacking();
    void afterActionAddresses_data();
    void afterActionAddresses();
    void afterActionOpensWithTheLink();

private:
    QString write(const QString &name, const QByteArray &bytes);
    QString temporaryArchives() const;

    StandinService m_service;
    QTemporaryDir m_files;
    QTemporaryDir m_uploads;
    NetworkExchange *m_exchange = nullptr;
    UploadModel *m_model = nullptr;
    QList<QUrl> m_opened;
};

void TestZipUpload::initTestCase()
{
    QVERIFY(m_service.start({"--upload-dir", m_uploads.path()}));
    ServiceAddress::setApiHost(m_service.httpsHost());
    ServiceAddress::setWebHost(m_service.httpsHost());
    Setting::instance()->setValue(QStringLiteral("token"), m_service.issueToken());
    Setting::instance()->setValue(QStringLiteral("type_upload"), QStringLiteral("kuvo"));
    QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "opened");
    QDesktopServices::setUrlHandler(QStringLiteral("mailto"), this, "opened");
}

void TestZipUpload::init()
{
    m_service.reset();
    m_opened.clear();
    m_model = new UploadModel(this);
    m_exchange = new NetworkExchange(this);
    m_exchange->setUploadModel(m_model);
}

void TestZipUpload::cleanup()
{
    delete m_exchange;
    delete m_model;
}

QString TestZipUpload::write(const QString &name, const QByteArray &bytes)
{
    const QString path = m_files.filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}

QString TestZipUpload::temporaryArchives() const
{
    return QDir(QDir::homePath() + QStringLiteral("/.kuvo/tmp"))
        .entryList({QStringLiteral("*.zip")}, QDir::Files)
        .join(QLatin1Char(','));
}

void TestZipUpload::entryNames_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("distinct") << QStringList {"/a/x.png", "/b/y.png"}
                              << QStringList {"x.png", "y.png"};
    QTest::newRow("same name twice") << QStringList {"/a/x.png", "/b/x.png", "/c/X.PNG"}
                                     << QStringList {"x.png", "x (2).png", "X (3).PNG"};
    QTest::newRow("no extension") << QStringList {"/a/notes", "/b/notes"}
                                  << QStringList {"notes", "notes (2)"};
}

void TestZipUpload::entryNames()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, names);
    QCOMPARE(ZipPacker::entryNames(files), names);
}

void TestZipUpload::packedFilesArriveWhole()
{
    QByteArray big(3 << 20, Qt::Uninitialized);
    QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(big.data()), big.size() / 4);
    const QList<QPair<QString, QByteArray>> contents = {
        {QStringLiteral("screen shot 1.png"), big},
        {QStringLiteral("отчёт за май.txt"), QByteArray("строка\n").repeated(1000)},
        {QStringLiteral("empty.txt"), QByteArray()},
        {QStringLiteral("other/screen shot 1.png"), QByteArray("second file of the same name")},
    };
    QStringList paths;
    for (const auto &[name, bytes] : contents)
        paths << write(name, bytes);

    QList<bool> archiveStates;
    connect(m_model, &QAbstractItemModel::dataChanged, this,
        [&](const QModelIndex &index) { archiveStates << index.data(3).toBool(); });
    QSignalSpy link(m_exchange, &NetworkExchange::readyLink);
    QSignalSpy complete(m_model, &UploadModel::uploadComplete);
    m_exchange->uploadDataZip(paths);
    QCOMPARE(m_model->rowCount(), 1);
    QVERIFY(m_model->index(0).data(3).toBool());
    QVERIFY(complete.wait(20000));
    QCOMPARE(link.count(), 1);
    QVERIFY(archiveStates.contains(false));

    // One archive reached the service; unpacked, it holds every file byte for byte.
    const QJsonArray puts = m_service.requests();
    QString id;
    for (const QJsonValue &request : puts) {
        if (request["method"].toString() == QLatin1String("PUT"))
            id = request["path"].toString().section(QLatin1Char('/'), -1);
    }
    QVERIFY(!id.isEmpty());
    QTemporaryDir unpacked;
    const QStringList extracted = JlCompress::extractDir(m_uploads.filePath(id), unpacked.path());
    QCOMPARE(extracted.size(), contents.size());
    const QStringList names = ZipPacker::entryNames(paths);
    for (int i = 0; i < contents.size(); ++i) {
        QFile file(unpacked.filePath(names[i]));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(names[i]));
        QCOMPARE(file.readAll(), contents[i].second);
    }
    QCOMPARE(temporaryArchives(), QString());
}

void TestZipUpload::badFilesStopThePacking_data()
{
    QTest::addColumn<QString>("bad");
    QTest::newRow("vanished") << m_files.filePath(QStringLiteral("gone.png"));
    QTest::newRow("folder") << m_files.path();
}

void TestZipUpload::badFilesStopThePacking()
{
    QFETCH(QString, bad);
    const QString good = write(QStringLiteral("good.png"), "picture");
    QSignalSpy error(m_exchange, &NetworkExchange::error);
    QSignalSpy complete(m_model, &UploadModel::uploadComplete);
    m_exchange->uploadDataZip({good, bad});
    QVERIFY(complete.wait(10000));
    QCOMPARE(error.count(), 1);
    QVERIFY2(error[0][0].toString().contains(bad), qPrintable(error[0][0].toString()));
    QCOMPARE(m_service.arrivals().size(), 0);
    QCOMPARE(temporaryArchives(), QString());
}

void TestZipUpload::cancelWhilePacking()
{
    QByteArray bytes(64 << 20, Qt::Uninitialized);
    QRandomGenerator::global()->fillRange(
        reinterpret_cast<quint32 *>(bytes.data()), bytes.size() / 4);
    const QString big = write(QStringLiteral("big.bin"), bytes);
    bytes.clear();

    QSignalSpy complete(m_model, &UploadModel::uploadComplete);
    m_exchange->uploadDataZip({big, big, big});
    QVERIFY(m_model->index(0).data(3).toBool());
    QTest::qWait(50);
    m_exchange->cancelUpload();
    QCOMPARE(complete.count(), 1);
    QCOMPARE(m_model->rowCount(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(temporaryArchives(), QString(), 10000);
    QTest::qWait(200);
    QCOMPARE(m_service.arrivals().size(), 0);
}

void TestZipUpload::afterActionAddresses_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("address");
    const QString link = QStringLiteral("https%3A%2F%2Fkuvo.test%2Fs%2Fa%3Fb%3D1%26c");
    QTest::newRow("facebook") << int(HandlerUpload::PostFacebook)
                              << "https://www.facebook.com/sharer/sharer.php?u=" + link;
    QTest::newRow("odnoklassniki")
        << int(HandlerUpload::PostOdnoklassniki) << "https://connect.ok.ru/offer?url=" + link;
    QTest::newRow("vk") << int(HandlerUpload::PostVK) << "https://vk.com/share.php?url=" + link;
    QTest::newRow("twitter") << int(HandlerUpload::PostTwitter)
                             << "https://twitter.com/intent/tweet?url=" + link;
    QTest::newRow("mail") << int(HandlerUpload::PostMail) << "mailto:?body=" + link;
    QTest::newRow("none") << int(HandlerUpload::PostNone) << QString();
}

void TestZipUpload::afterActionAddresses()
{
    QFETCH(int, action);
    QFETCH(QString, address);
    const QUrl url = HandlerUpload::afterActionUrl(
        HandlerUpload::TypeAfterAction(action), QStringLiteral("https://kuvo.test/s/a?b=1&c"));
    QCOMPARE(url.toString(QUrl::FullyEncoded), address);
}

void TestZipUpload::afterActionOpensWithTheLink()
{
    const QString capture = write(QStringLiteral("capture.png"), "a picture");
    QSignalSpy link(m_exchange, &NetworkExchange::readyLink);
    QSignalSpy complete(m_model, &UploadModel::uploadComplete);
    m_exchange->uploadScreen(capture, QStringLiteral("look"), HandlerUpload::PostMail);
    QVERIFY(complete.wait(10000));
    QCOMPARE(m_opened.size(), 1);
    QCOMPARE(m_opened.first(),
        HandlerUpload::afterActionUrl(HandlerUpload::PostMail, link.first().first().toString()));

    // A failed upload opens nothing.
    m_opened.clear();
    m_service.failNext(QStringLiteral("/upload/"), 500);
    m_exchange->uploadScreen(capture, QString(), HandlerUpload::PostTwitter);
    QVERIFY(complete.wait(10000));
    QVERIFY(m_opened.isEmpty());
}

QTEST_MAIN(TestZipUpload)
#include "tst_zipupload.moc"
