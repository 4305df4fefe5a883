#include "dropboxstandin.h"
#include "handlerupload.h"
#include "localftpserver.h"
#include "localsftpserver.h"
#include "networkexchange.h"
#include "qdropbox.h"
#include "randomfile.h"
#include "serviceaddress.h"
#include "setting.h"
#include "standinservice.h"
#include "uploadmodel.h"

#include <QtTest>

// The whole road through the upload front to each target the settings can name: a job per
// request, progress in the model, the link at the end, and the bytes on the real server.
class TestTargetUpload : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void targetFollowsTheSettings_data();
    void targetFollowsTheSettings();
    void filesArriveWithTheirLinks_data();
    void filesArriveWithTheirLinks();
    void packedFilesGoToTheTarget();
    void failureEndsTheJobWithTheText();
    void fileCutOnItsWayGoesNowhereElse();

private:
    void chooseTarget(const QString &target);
    QString write(const QString &name, int size);
    QByteArray stored(const QString &target, const QString &name);

    StandinService m_service;
    LocalFtpServer m_ftp;
    LocalSftpServer m_sftp;
    DropboxStandin m_dropbox;
    QTemporaryDir m_files;
    NetworkExchange *m_exchange = nullptr;
    UploadModel *m_model = nullptr;
};

void TestTargetUpload::initTestCase()
{
    // The service takes over from a target that fails, where the settings say so.
    QVERIFY(m_service.start());
    ServiceAddress::setApiHost(m_service.httpsHost());
    Setting *settings = Setting::instance();
    settings->setValue(QStringLiteral("token"), m_service.issueToken());
    // Slow enough that a file of some size is still on its way when a test changes it.
    m_ftp.setMaxRate(4 << 20);
    QVERIFY(m_ftp.start());
    QVERIFY(m_sftp.start());
    QVERIFY(m_dropbox.start());
    QDropbox::setHosts(m_dropbox.host(), m_dropbox.host(), m_dropbox.host());
    QVERIFY(QDropbox::storeTokens(m_dropbox.issueToken()));

    for (const auto &[prefix, port] : {std::pair<QString, int> {"ftp", m_ftp.port()},
             std::pair<QString, int> {"sftp", m_sftp.port()}}) {
        settings->setValue(prefix + QStringLiteral("_host"), QStringLiteral("127.0.0.1"));
        settings->setValue(prefix + QStringLiteral("_port"), port);
        settings->setValue(prefix + QStringLiteral("_path"), QStringLiteral("shots"));
        settings->setValue(
            prefix + QStringLiteral("_base_url"), QStringLiteral("https://files.test/") + prefix);
        settings->setValue(prefix + QStringLiteral("_user"), LocalLoginServer::user());
        settings->setValue(prefix + QStringLiteral("_password"), LocalLoginServer::password());
    }
}

void TestTargetUpload::init()
{
    m_model = new UploadModel(this);
    m_exchange = new NetworkExchange(this);
    m_exchange->setUploadModel(m_model);
}

void TestTargetUpload::cleanup()
{
    delete m_exchange;
    delete m_model;
}

void TestTargetUpload::chooseTarget(const QString &target)
{
    Setting *settings = Setting::instance();
    settings->setValue(QStringLiteral("type_upload"),
        target == QLatin1String("dropbox") ? target : QStringLiteral("ftp"));
    settings->setValue(QStringLiteral("is_sftp"), target == QLatin1String("sftp"));
}

QString TestTargetUpload::write(const QString &name, int size)
{
    const QString path = m_files.filePath(name);
    return writeRandomFile(path, size).isEmpty() ? QString() : path;
}

QByteArray TestTargetUpload::stored(const QString &target, const QString &name)
{
    if (target == QLatin1String("dropbox")) {
        const QJsonObject file
            = m_dropbox.files().value(QStringLiteral("/kuvo/") + name.toLower()).toObject();
        return file.value(QStringLiteral("md5")).toString().toLatin1();
    }
    const QString root = target == QLatin1String("ftp") ? m_ftp.root() : m_sftp.root();
    QFile file(root + QStringLiteral("/shots/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Md5).toHex();
}

void TestTargetUpload::targetFollowsTheSettings_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("sftp");
    QTest::addColumn<int>("target");
    QTest::newRow("kuvo") << "kuvo" << true << int(HandlerUpload::Service);
    QTest::newRow("ftp") << "ftp" << false << int(HandlerUpload::FTP);
    QTest::newRow("sftp") << "ftp" << true << int(HandlerUpload::SFTP);
    QTest::newRow("dropbox") << "dropbox" << true << int(HandlerUpload::Dropbox);
    QTest::newRow("google disk goes to the service")
        << "google" << false << int(HandlerUpload::Service);
}

void TestTargetUpload::targetFollowsTheSettings()
{
    QFETCH(QString, type);
    QFETCH(bool, sftp);
    QFETCH(int, target);
    Setting::instance()->setValue(QStringLiteral("type_upload"), type);
    Setting::instance()->setValue(QStringLiteral("is_sftp"), sftp);
    QCOMPARE(int(HandlerUpload::targetFromSettings()), target);
}

void TestTargetUpload::filesArriveWithTheirLinks_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("linkPrefix");
    QTest::newRow("ftp") << "ftp"
                         << "https://files.test/ftp/";
    QTest::newRow("sftp") << "sftp"
                          << "https://files.test/sftp/";
    QTest::newRow("dropbox") << "dropbox"
                             << "https://";
}

void TestTargetUpload::filesArriveWithTheirLinks()
{
    QFETCH(QString, target);
    QFETCH(QString, linkPrefix);
    chooseTarget(target);
    const QStringList names
        = {target + QStringLiteral(" first.png"), target + QStringLiteral(" second.bin")};
    const QStringList files = {write(names[0], 2 << 20), write(names[1], 300000)};

    QSignalSpy links(m_exchange, &NetworkExchange::readyLinkAfterUpload);
    QSignalSpy errors(m_exchange, &NetworkExchange::error);
    QSignalSpy complete(m_model, &UploadModel::uploadComplete);
    qint64 lastProgress = 0;
    connect(m_model, &QAbstractItemModel::dataChanged, this,
        [&](const QModelIndex &index) { lastProgress = index.data(0).toLongLong(); });
    m_exchange->uploadData(files);
    QCOMPARE(m_model->rowCount(), 1);
    QCOMPARE(m_model->index(0).data(1).toLongLong(), qint64((2 << 20) + 300000));
    QVERIFY(complete.wait(30000));
    QVERIFY2(errors.isEmpty(), errors.isEmpty() ? "" : qPrintable(errors[0][0].toString()));
    QCOMPARE(links.count(), 2);
    QVERIFY(lastProgress >= 2 << 20);
    for (int i = 0; i < files.size(); ++i) {
        QVERIFY2(links[i][0].toString().startsWith(linkPrefix), qPrintable(links[i][0].toString()));
        QFile local(files[i]);
        QVERIFY(local.open(QIODevice::ReadOnly));
        QCOMPARE(stored(target, names[i]),
            QCryptographicHash::hash(local.readAll(), QCryptographicHash::Md5).toHex());
    }
}

void TestTargetUpload::packedFilesGoToTheTarget()
{
    chooseTarget(QStringLiteral("sftp"));
    QSignalSpy links(m_exchange, &NetworkExchange::readyLinkAfterUpload);
    QSignalSpy complete(m_model, &UploadModel::uploadComplete);
    m_exchange->uploadDataZip(
        {write(QStringLiteral("a.png"), 4000), write(QStringLiteral("b.png"), 4000)});
    QVERIFY(complete.wait(30000));
    QCOMPARE(links.count(), 1);
    const QString archive = links[0][0].toString().section(QLatin1Char('/'), -1);
    QVERIFY2(archive.endsWith(QStringLiteral(".zip")), qPrintable(archive));
    QVERIFY(QFileInfo(m_sftp.root() + QStringLiteral("/shots/") + archive).size() > 8000);
}

void TestTargetUpload::failureEndsTheJobWithTheText()
{
    chooseTarget(QStringLiteral("ftp"));
    Setting::instance()->setValue(
        QStringLiteral("ftp_password"), QStringLiteral("not the password"));
    QSignalSpy links(m_exchange, &NetworkExchange::readyLinkAfterUpload);
    QSignalSpy errors(m_exchange, &NetworkExchange::error);
    QSignalSpy complete(m_model, &UploadModel::uploadComplete);
    m_exchange->uploadData({write(QStringLiteral("refused.png"), 1000)});
    QVERIFY(complete.wait(30000));
    QCOMPARE(links.count(), 0);
    QCOMPARE(errors.count(), 1);
    QVERIFY(!errors[0][0].toString().contains(QStringLiteral("not the password")));
    QCOMPARE(m_model->rowCount(), 0);
    Setting::instance()->setValue(QStringLiteral("ftp_password"), LocalLoginServer::password());
}

// Cut as the first bytes are reported sent, long before the slow server could have had them all.
void TestTargetUpload::fileCutOnItsWayGoesNowhereElse()
{
    chooseTarget(QStringLiteral("ftp"));
    Setting::instance()->setValue(QStringLiteral("is_ftp_error_upload_kuvo"), 1);
    const QString file = write(QStringLiteral("cut.png"), 64 << 20);
    m_service.reset();
    QSignalSpy errors(m_exchange, &NetworkExchange::error);
    QSignalSpy complete(m_model, &UploadModel::uploadComplete);
    m_exchange->uploadData({file});
    connect(qobject_cast<HandlerUpload *>(
                m_model->index(0).data(UploadModel::UploaderRole).value<QObject *>()),
        &HandlerUpload::uploadProgress, this, [file](qint64 sent) {
            if (sent > 0 && QFileInfo(file).size() > 5 << 20)
                QFile::resize(file, 5 << 20);
        });
    QVERIFY(complete.wait(30000));
    QCOMPARE(errors.count(), 1);
    QCOMPARE(errors[0][0].toString(),
        "The file cut.png changed while it was being sent to FTP. It was not uploaded.");
    QCOMPARE(m_service.requests().size(), 0);
}

QTEST_MAIN(TestTargetUpload)
#include "tst_targetupload.moc"
