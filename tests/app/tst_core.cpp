#include "core.h"
#include "coretestsupport.h"
#include "localftpserver.h"
#include "localsftpserver.h"
#include "messagedialog.h"
#include "setting.h"
#include "uploadmodel.h"

#include <QClipboard>
#include <QCryptographicHash>
#include <QGuiApplication>
#include <QJsonObject>

// The controller of a program started with an account signed in.
class TestCore : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void oneController();
    void updateIsCheckedAtStart();
    void userInfoIsRefreshedWhenSignedInAtStart();
    void addressesFollowTheHosts();
    void lastLinkAndClipboard();
    void uploadedFileLinkBecomesTheLastLink();
    void historyAddressSignsTheToken();
    void colourStrip();
    void termsOfUseFollowTheLanguage();
    void accessors();
    void analyticsFromPages();
    void clearTempPathRemovesFilesOnly();
    void connectionTestsReportTheirOutcome();

private:
    StandinService m_service;
    Core *m_core = nullptr;
    OpenedUrls m_opened;
};

void TestCore::initTestCase()
{
    QVERIFY(startSignedIn(m_service));
    m_core = Core::instance();
    QVERIFY(m_core);
}

void TestCore::oneController()
{
    QCOMPARE(Core::instance(), m_core);
    QCOMPARE(m_core->property("account").value<Autorization *>(), m_core->account());
    QVERIFY(m_core->account()->listenPort() > 0);
}

void TestCore::userInfoIsRefreshedWhenSignedInAtStart()
{
    auto *hourly = m_core->findChild<QTimer *>(QStringLiteral("userInfoTimer"));
    QVERIFY(hourly);
    QVERIFY(hourly->isActive());
    QCOMPARE(hourly->interval(), 3600000);
    auto *first = m_core->findChild<QTimer *>(QStringLiteral("firstUserInfoTimer"));
    QVERIFY(first);
    QVERIFY(first->isActive());
    QVERIFY(first->isSingleShot());
    QCOMPARE(first->interval(), 30000);

    // What the timer starts is the account's real refresh.
    m_service.reset();
    hourly->start(10);
    QTRY_VERIFY_WITH_TIMEOUT(
        !m_service.requests(QStringLiteral("/api/user/info")).isEmpty(), 10000);
    hourly->start(3600000);
}

void TestCore::updateIsCheckedAtStart()
{
    QTRY_VERIFY_WITH_TIMEOUT(!m_service.requests(QStringLiteral("/update/check")).isEmpty(), 10000);
    const QJsonObject check
        = m_service.requests(QStringLiteral("/update/check")).first().toObject();
    QCOMPARE(check["query"].toObject()["platform"].toString(), QStringLiteral("linux"));
    QCOMPARE(check["query"].toObject()["version"].toString(), QStringLiteral("3.0.15"));
}

void TestCore::addressesFollowTheHosts()
{
    const QString web = m_core->hostUrlAuth();
    const QString api = m_core->hostUrl();
    m_core->setHostUrlAuth(QStringLiteral("web.test"));
    m_core->setHostUrl(QStringLiteral("api.test:8443"));
    QCOMPARE(m_core->serverInit(),
        QStringLiteral("https://api.test:8443/drive/v1/files?fields=id,alternateLink,selfLink"));
    QCOMPARE(
        m_core->serverUploadUrl(), QStringLiteral("https://api.test:8443/upload/drive/v1/files"));
    QCOMPARE(m_core->serverDel(), QStringLiteral("https://api.test:8443/api/url/"));
    QCOMPARE(m_core->serverAuth(), QStringLiteral("https://api.test:8443/oauth/token"));
    QCOMPARE(m_core->serverHelp(), QStringLiteral("http://api.test:8443/help"));
    QCOMPARE(m_core->serverHistory(), QStringLiteral("https://web.test/login/"));
    QCOMPARE(
        Setting::instance()->property("currentHostUrl").toString(), QStringLiteral("web.test"));
    // The fixed endpoints do not move with the two hosts.
    QVERIFY(m_core->serverAnalitics().endsWith(QStringLiteral("/collect")));
    QVERIFY(!m_core->serverAnalitics().contains(QStringLiteral("api.test")));
    QVERIFY(m_core->pingUrl().endsWith(QStringLiteral("/ping?q=")));
    QVERIFY(m_core->feedbackUrl().endsWith(QStringLiteral("/support/tickets/")));
    m_core->setHostUrlAuth(web);
    m_core->setHostUrl(api);
    QCOMPARE(
        m_core->serverAuth(), QStringLiteral("https://") + api + QStringLiteral("/oauth/token"));
}

void TestCore::lastLinkAndClipboard()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    QSignalSpy changed(m_core, &Core::lastLinkChanged);
    m_core->setLastLink(QStringLiteral("https://kuvo.test/s/1"));
    QCOMPARE(changed.count(), 2);
    QCOMPARE(clipboard->text(), QStringLiteral("https://kuvo.test/s/1"));
    QCOMPARE(m_core->lastLink(), QStringLiteral("https://kuvo.test/s/1"));

    clipboard->setText(QStringLiteral("something the user copied"));
    m_core->setLastLink(QStringLiteral("https://kuvo.test/s/1"));
    QCOMPARE(changed.count(), 3);
    QCOMPARE(clipboard->text(), QStringLiteral("something the user copied"));

    m_core->copyLastLink();
    QCOMPARE(clipboard->text(), QStringLiteral("https://kuvo.test/s/1"));
}

void TestCore::uploadedFileLinkBecomesTheLastLink()
{
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/capture-XXXXXX.png"));
    QVERIFY(file.open());
    const QByteArray bytes(300000, 'k');
    file.write(bytes);
    file.close();

    m_service.reset();
    QSignalSpy changed(m_core, &Core::lastLinkChanged);
    m_core->uploadData({file.fileName()});
    QVERIFY(changed.wait(10000));
    const QString link = m_core->lastLink();
    QVERIFY2(
        link.startsWith(QStringLiteral("https://") + m_service.httpsHost() + QStringLiteral("/s/")),
        qPrintable(link));
    QCOMPARE(QGuiApplication::clipboard()->text(), link);

    QTRY_VERIFY_WITH_TIMEOUT(m_core->uploadModel()->rowCount() == 0, 10000);
    const QJsonArray puts = m_service.requests();
    QJsonObject put;
    for (const QJsonValue &request : puts) {
        if (request.toObject()["method"].toString() == QLatin1String("PUT"))
            put = request.toObject();
    }
    QCOMPARE(put["size"].toInt(), bytes.size());
    QCOMPARE(put["md5"].toString(),
        QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex()));
    QVERIFY(link.endsWith(put["path"].toString().section(QLatin1Char('/'), -1)));
}

void TestCore::historyAddressSignsTheToken()
{
    m_opened.clear();
    m_core->openHistory();
    QCOMPARE(m_opened.urls().size(), 1);
    const QString url = m_opened.urls().first().toString();
    const QString prefix = QStringLiteral("https://") + m_service.httpsHost()
        + QStringLiteral("/login/") + Autorization::token() + QLatin1Char('/');
    QVERIFY2(url.startsWith(prefix), qPrintable(url));
    const QStringList tail = url.mid(prefix.size()).split(QLatin1Char('/'));
    QCOMPARE(tail.size(), 2);
    const QString seconds = tail[1];
    QVERIFY(qAbs(seconds.toLongLong() - QDateTime::currentSecsSinceEpoch()) < 5);
    QCOMPARE(tail[0],
        QString::fromLatin1(QCryptographicHash::hash(
            (Autorization::token() + seconds).toUtf8(), QCryptographicHash::Md5)
                                .toHex()));
}

void TestCore::colourStrip()
{
    const QImage strip(QStringLiteral(":/component/image/component/color_line_big.png"));
    QVERIFY(!strip.isNull());
    QCOMPARE(m_core->getColorFromX(0), strip.pixelColor(7, 5));
    QCOMPARE(m_core->getColorFromX(100), strip.pixelColor(107, 5));
    QCOMPARE(m_core->getColorFromX(-50), strip.pixelColor(0, 5));
    QCOMPARE(m_core->getColorFromX(100000), strip.pixelColor(strip.width() - 1, 5));
}

void TestCore::termsOfUseFollowTheLanguage()
{
    Setting::instance()->setValue(QStringLiteral("language"), QStringLiteral("en"));
    QVERIFY(m_core->licenseText().startsWith(QStringLiteral("Kuvo terms of use")));
    Setting::instance()->setValue(QStringLiteral("language"), QStringLiteral("ru"));
    QVERIFY(m_core->licenseText().startsWith(QStringLiteral("Условия использования Kuvo")));
}

void TestCore::accessors()
{
    QCOMPARE(m_core->userAgent(), QStringLiteral("Kuvo 3.0.15"));
    QCOMPARE(m_core->appVersion(), QStringLiteral("3.0.15"));
    QCOMPARE(m_core->getPlatform(), QStringLiteral("Linux"));
    QCOMPARE(m_core->property("emptyString").toString(), QStringLiteral(""));
    qputenv("XDG_CURRENT_DESKTOP", "XFCE");
    QCOMPARE(m_core->getWindowsManager(), QStringLiteral("xfce"));
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
    QCOMPARE(m_core->clipboardText(), QStringLiteral("pasted"));
}

void TestCore::analyticsFromPages()
{
    m_service.reset();
    m_core->addAnalyticsEvent(5, 1, true, QStringLiteral("Arrow"));
    QTRY_VERIFY_WITH_TIMEOUT(!m_service.requests(QStringLiteral("/collect")).isEmpty(), 10000);
    const QJsonObject form
        = m_service.requests(QStringLiteral("/collect")).first()["form"].toObject();
    QCOMPARE(form["ec"].toString(), QStringLiteral("tool"));
    QCOMPARE(form["ea"].toString(), QStringLiteral("click"));
    QCOMPARE(form["el"].toString(), QStringLiteral("Arrow"));
}

void TestCore::clearTempPathRemovesFilesOnly()
{
    const QString temp = QDir::homePath() + QStringLiteral("/.kuvo/tmp/");
    QVERIFY(QDir().mkpath(temp + QStringLiteral("audio")));
    for (const char *name : {"1.png", "2.jpg", ".hidden"}) {
        QFile file(temp + QLatin1String(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    m_core->clearTempPath();
    QCOMPARE(QDir(temp).entryList(QDir::Files | QDir::Hidden), QStringList());
    QVERIFY(QFileInfo(temp + QStringLiteral("audio")).isDir());
}

namespace {

// The message windows open at the moment, as (title, message).
QList<QPair<QString, QString>> messages()
{
    QList<QPair<QString, QString>> shown;
    for (QWindow *window : QGuiApplication::topLevelWindows()) {
        if (auto *message = qobject_cast<MessageDialog *>(window)) {
            if (message->isVisible())
                shown << qMakePair(message->data(QStringLiteral("title")).toString(),
                    message->data(QStringLiteral("message")).toString());
        }
    }
    return shown;
}

} // namespace

void TestCore::connectionTestsReportTheirOutcome()
{
    LocalFtpServer ftp;
    LocalSftpServer sftp;
    QVERIFY(ftp.start());
    QVERIFY(sftp.start());
    QSignalSpy finished(m_core, &Core::checkConnectionFinished);

    m_core->checkFtpConnecrion(LocalLoginServer::user(), QStringLiteral("wrong"),
        QStringLiteral("127.0.0.1"), QString(), ftp.port());
    QVERIFY(finished.wait(30000));
    QTRY_COMPARE_WITH_TIMEOUT(messages().size(), 1, 5000);
    QCOMPARE(messages().first().first, QStringLiteral("Error"));
    QVERIFY(!messages().first().second.contains(QStringLiteral("wrong")));

    m_core->checkSFTPConnecrion(LocalLoginServer::user(), LocalLoginServer::password(),
        QStringLiteral("127.0.0.1"), QString(), sftp.port());
    QVERIFY(finished.wait(30000));
    QTRY_COMPARE_WITH_TIMEOUT(messages().size(), 2, 5000);
    QVERIFY(messages().contains(
        qMakePair(QStringLiteral("Well done"), QStringLiteral("SFTP connection is avaliable"))));
}

QTEST_MAIN(TestCore)
#include "tst_core.moc"
