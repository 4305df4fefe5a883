#include "autorizationwidget.h"
#include "core.h"
#include "coretestsupport.h"
#include "dropboxstandin.h"
#include "errorwidget.h"
#include "handlerupload.h"
#include "lastuploadwidget.h"
#include "maintoolwidget.h"
#include "messagedialog.h"
#include "networkexchange.h"
#include "proxywidget.h"
#include "qdropbox.h"
#include "setting.h"
#include "settingwidget.h"
#include "uploadmodel.h"
#include "uploadwidget.h"
#include "windowtestsupport.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileDialog>
#include <QImageReader>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

// The controller's windows and the upload routes that show them, for a signed-in user.
class TestCoreWindows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void keptWindowsAreMadeOnce();
    void settingsWindowIsReleasedWhenClosed_data();
    void settingsWindowIsReleasedWhenClosed();
    void closingTheProxyWindowIsAnnounced();
    void uploadWindowsFollowTheSettings_data();
    void uploadWindowsFollowTheSettings();
    void cancelHidesTheUploadWindow();
    void cancelWithNothingRunningSpoilsNoLaterUpload();
    void uploadErrorIsShown();
    void failedCaptureUploadShowsItsErrorAndKeepsThePicture();
    void failedTargetFallsBackToTheService_data();
    void failedTargetFallsBackToTheService();
    void refusedTokenKeepsThePictureAndOffersASignIn_data();
    void refusedTokenKeepsThePictureAndOffersASignIn();
    void offlineCaptureIsOfferedForSaving();
    void saveDialogFilterDecidesTheFormat();
    void offlineSaveReplacesAFileTheUserConfirmed();
    void offlineSaveThatFailsIsReported();
    void declinedOfflineSaveLeavesTheFile();
    void offlineFilesOfTheUserAreNotMoved();
    void helpOpensTheSupportPage();

private:
    QString capture(const QString &name, const QByteArray &content);
    HandlerUpload *startCapture(const QString &file);
    MessageDialog *waitForQuestion();
    QFileDialog *answerQuestion(int button);
    QFileDialog *saveDialog();
    void chooseFile(QFileDialog *dialog, const QString &file, const QString &filter = QString());
    ErrorWidget *waitForError();

    StandinService m_service;
    DropboxStandin m_dropbox;
    Core *m_core = nullptr;
    NetworkExchange *m_exchange = nullptr;
    QTemporaryDir m_folder;
    OpenedUrls m_opened;
};

void TestCoreWindows::initTestCase()
{
    QVERIFY(m_service.start());
    pointAt(m_service);
    Autorization account;
    QVERIFY(signInDemo(account));
    QVERIFY(m_dropbox.start());
    QDropbox::setHosts(m_dropbox.host(), m_dropbox.host(), m_dropbox.host());
    m_core = Core::instance();
    // The upload front comes with the window part, made on the first upload.
    m_core->uploadModel();
    m_exchange = m_core->findChild<NetworkExchange *>();
    QVERIFY(m_exchange);
}

void TestCoreWindows::init()
{
    m_service.reset();
    Setting::instance()->setValue(QStringLiteral("show_upload"), 1);
    Setting::instance()->setValue(QStringLiteral("show_last_upload"), 1);
}

// Whatever a test left open goes, so that the next one counts only its own windows.
void TestCoreWindows::cleanup()
{
    m_exchange->cancelUpload();
    m_service.delay(QStringLiteral("/upload/"), 0);
    for (QWidget *widget : QApplication::topLevelWidgets())
        widget->close();
    for (BasicWindow *window : windowsOf<BasicWindow>())
        window->hide();
    for (ErrorWidget *window : windowsOf<ErrorWidget>())
        window->close();
    for (MessageDialog *window : windowsOf<MessageDialog>())
        window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QTRY_VERIFY_WITH_TIMEOUT(m_core->uploadModel()->rowCount() == 0, 5000);
}

QString TestCoreWindows::capture(const QString &name, const QByteArray &content)
{
    QFile file(QDir::homePath() + QStringLiteral("/.kuvo/tmp/") + name);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        return QString();
    return file.fileName();
}

// A capture on its way; the service holds its bytes back so that the job stays.
HandlerUpload *TestCoreWindows::startCapture(const QString &file)
{
    m_core->uploadModel();
    m_exchange->uploadScreen(file, QString(), HandlerUpload::PostNone);
    UploadModel *model = m_core->uploadModel();
    return qobject_cast<HandlerUpload *>(
        model->index(model->rowCount() - 1).data(UploadModel::UploaderRole).value<QObject *>());
}

MessageDialog *TestCoreWindows::waitForQuestion()
{
    if (!QTest::qWaitFor([] { return !windowsOf<MessageDialog>().isEmpty(); }, 5000))
        return nullptr;
    const QList<MessageDialog *> shown = windowsOf<MessageDialog>();
    return shown.size() == 1 ? shown.first() : nullptr;
}

QFileDialog *TestCoreWindows::answerQuestion(int button)
{
    MessageDialog *question = waitForQuestion();
    if (!question || !QTest::qWaitForWindowExposed(question, 5000))
        return nullptr;
    clickItem(question,
        findItem(question,
            button == MessageDialog::Ok ? QStringLiteral("pbOk") : QStringLiteral("pbCancel")));
    return saveDialog();
}

// What the user picks in the dialog's type list, if anything, and types into its name field.
void TestCoreWindows::chooseFile(QFileDialog *dialog, const QString &file, const QString &filter)
{
    if (!filter.isEmpty())
        QTest::keyClicks(dialog->findChild<QWidget *>(QStringLiteral("fileTypeCombo")), filter);
    auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    QVERIFY(name);
    name->setText(file);
}

QFileDialog *TestCoreWindows::saveDialog()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *dialog = qobject_cast<QFileDialog *>(widget);
        if (dialog && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

ErrorWidget *TestCoreWindows::waitForError()
{
    if (!QTest::qWaitFor([] { return !windowsOf<ErrorWidget>().isEmpty(); }, 10000))
        return nullptr;
    const QList<ErrorWidget *> shown = windowsOf<ErrorWidget>();
    return shown.size() == 1 ? shown.first() : nullptr;
}

void TestCoreWindows::keptWindowsAreMadeOnce()
{
    QCOMPARE(m_core->mainToolWidget(), m_core->mainToolWidget());
    QCOMPARE(m_core->uploadWidget(), m_core->uploadWidget());
    QCOMPARE(m_core->lastUploadWidget(), m_core->lastUploadWidget());
    QCOMPARE(m_core->proxyWidget(), m_core->proxyWidget());
    QPointer<MainToolWidget> main = m_core->mainToolWidget();
    main->show();
    main->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(main);
    QCOMPARE(m_core->mainToolWidget(), main.data());
}

void TestCoreWindows::settingsWindowIsReleasedWhenClosed_data()
{
    QTest::addColumn<bool>("byWindowManager");
    QTest::newRow("closed by its page") << false;
    QTest::newRow("closed by the window manager") << true;
}

void TestCoreWindows::settingsWindowIsReleasedWhenClosed()
{
    QFETCH(bool, byWindowManager);

    m_core->showSetting();
    QPointer<SettingWidget> window = m_core->settingWidget();
    QVERIFY(window->isVisible());
    if (byWindowManager) {
        QCloseEvent event;
        QCoreApplication::sendEvent(window.data(), &event);
    } else {
        clickItem(window, findItem(window, QStringLiteral("closeButton")));
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window.isNull());
    SettingWidget *next = m_core->settingWidget();
    QVERIFY(next);
    QVERIFY(!next->isVisible());
}

void TestCoreWindows::closingTheProxyWindowIsAnnounced()
{
    QSignalSpy closed(m_core, &Core::closeProxyWindow);
    m_core->showProxyWidget();
    QVERIFY(m_core->proxyWidget()->isVisible());
    QCloseEvent event;
    QCoreApplication::sendEvent(m_core->proxyWidget(), &event);
    QCOMPARE(closed.count(), 1);
}

void TestCoreWindows::uploadWindowsFollowTheSettings_data()
{
    QTest::addColumn<bool>("showUpload");
    QTest::addColumn<bool>("showLastUpload");
    QTest::newRow("both shown") << true << true;
    QTest::newRow("upload window switched off") << false << true;
    QTest::newRow("last-upload window switched off") << true << false;
}

void TestCoreWindows::uploadWindowsFollowTheSettings()
{
    QFETCH(bool, showUpload);
    QFETCH(bool, showLastUpload);
    Setting::instance()->setValue(QStringLiteral("show_upload"), showUpload ? 1 : 0);
    Setting::instance()->setValue(QStringLiteral("show_last_upload"), showLastUpload ? 1 : 0);
    m_core->mainToolWidget()->show();

    const QString file = capture(QStringLiteral("1.png"), QByteArray(4096, 'a'));
    m_service.delay(QStringLiteral("/upload/"), 0.5);
    QSignalSpy linked(m_exchange, &NetworkExchange::readyLink);
    startCapture(file);
    QVERIFY(linked.wait(10000));
    QVERIFY(!m_core->mainToolWidget()->isVisible());
    QCOMPARE(m_core->uploadWidget()->isVisible(), showUpload);
    QCOMPARE(m_core->lastUploadWidget()->isVisible(), false);

    QTRY_VERIFY_WITH_TIMEOUT(m_core->uploadModel()->rowCount() == 0, 10000);
    QVERIFY(!m_core->uploadWidget()->isVisible());
    QCOMPARE(m_core->lastUploadWidget()->isVisible(), showLastUpload);
    if (showLastUpload) {
        QQuickItem *link = findItem(m_core->lastUploadWidget(), QStringLiteral("lastLink"));
        QCOMPARE(link->property("text").toString(), linked.first().first().toString());
    }
}

void TestCoreWindows::cancelHidesTheUploadWindow()
{
    const QString file = capture(QStringLiteral("2.png"), QByteArray(4096, 'b'));
    m_service.delay(QStringLiteral("/upload/"), 2);
    QSignalSpy linked(m_exchange, &NetworkExchange::readyLink);
    startCapture(file);
    QVERIFY(linked.wait(10000));
    QVERIFY(m_core->uploadWidget()->isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(m_core->uploadModel()->index(0).data().toInt(), 4096, 5000);

    clickItem(
        m_core->uploadWidget(), findItem(m_core->uploadWidget(), QStringLiteral("cancelButton")));
    QVERIFY(!m_core->uploadWidget()->isVisible());
    QCOMPARE(m_core->uploadModel()->rowCount(), 0);
    QVERIFY(
        QGuiApplication::clipboard()->text() != linked[0][0] && m_core->lastLink() != linked[0][0]);
}

void TestCoreWindows::cancelWithNothingRunningSpoilsNoLaterUpload()
{
    QCOMPARE(m_core->uploadModel()->rowCount(), 0);
    m_core->cancelUpload();
    m_core->uploadData({capture(QStringLiteral("4.png"), QByteArray(4096, 'd'))});
    QTRY_VERIFY_WITH_TIMEOUT(m_core->lastUploadWidget()->isVisible(), 10000);
}

void TestCoreWindows::uploadErrorIsShown()
{
    const QString file = capture(QStringLiteral("3.png"), QByteArray(4096, 'c'));
    m_service.failNext(QStringLiteral("/drive/"), 500);
    m_core->uploadData({file});
    ErrorWidget *window = waitForError();
    QVERIFY(window);
    QCOMPARE(window->error(), QStringLiteral("Planned failure"));
    QVERIFY(window->isVisible());
    QCOMPARE(findItem(window, QStringLiteral("errorText"))->property("text").toString(),
        QStringLiteral("Planned failure"));

    // The window goes when the user closes it.
    QPointer<ErrorWidget> shown = window;
    clickItem(window, findItem(window, QStringLiteral("pbOk")));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(shown.isNull());
}

// FTP pointed at a port where nothing listens, as a user may mistype it.
void TestCoreWindows::failedCaptureUploadShowsItsErrorAndKeepsThePicture()
{
    Setting *settings = Setting::instance();
    settings->setValue(QStringLiteral("type_upload"), QStringLiteral("ftp"));
    settings->setValue(QStringLiteral("is_sftp"), 0);
    settings->setValue(QStringLiteral("ftp_host"), QStringLiteral("127.0.0.1"));
    settings->setValue(QStringLiteral("ftp_port"), closedPort());
    settings->setValue(QStringLiteral("ftp_user"), QStringLiteral("someone"));
    settings->setValue(QStringLiteral("ftp_password"), QStringLiteral("secret"));
    settings->setValue(QStringLiteral("qualityImage"), 2);
    m_core->setLastLink(QStringLiteral("https://kuvo.test/s/an-older-upload"));
    QGuiApplication::clipboard()->setText(QStringLiteral("copied before"));

    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(QColor(10, 120, 200));
    m_core->screenUpload(HandlerUpload::PostNone, false, QPixmap::fromImage(picture));
    MessageDialog *question = waitForQuestion();
    settings->setValue(QStringLiteral("type_upload"), QStringLiteral("kuvo"));
    QVERIFY(question);
    const QString message = question->data(QStringLiteral("message")).toString();
    QVERIFY2(message.contains(QStringLiteral("refused")), qPrintable(message));
    QVERIFY2(message.endsWith(QStringLiteral("Save file to disk ?")), qPrintable(message));
    QTRY_COMPARE_WITH_TIMEOUT(m_core->uploadModel()->rowCount(), 0, 5000);
    QCoreApplication::processEvents();
    QVERIFY(!m_core->uploadWidget()->isVisible());
    for (LastUploadWidget *window : windowsOf<LastUploadWidget>())
        QVERIFY(!window->isVisible());
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("copied before"));
    QCOMPARE(windowsOf<ErrorWidget>().size(), 0);

    QFileDialog *dialog = answerQuestion(MessageDialog::Ok);
    QVERIFY(dialog);
    const QString target = m_folder.filePath(QStringLiteral("not uploaded.png"));
    chooseFile(dialog, target);
    QMetaObject::invokeMethod(dialog, "accept");
    QCOMPARE(QImage(target).convertToFormat(QImage::Format_RGB32), picture);
}

void TestCoreWindows::failedTargetFallsBackToTheService_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("ticked");
    QTest::newRow("ftp") << "ftp" << true;
    QTest::newRow("sftp") << "sftp" << true;
    QTest::newRow("dropbox") << "dropbox" << true;
    QTest::newRow("dropbox, not ticked") << "dropbox" << false;
}

// Nothing listens at the FTP and SFTP ports; Dropbox refuses the file.
void TestCoreWindows::failedTargetFallsBackToTheService()
{
    QFETCH(QString, target);
    QFETCH(bool, ticked);
    Setting *settings = Setting::instance();
    settings->setValue("type_upload", target == "dropbox" ? target : "ftp");
    settings->setValue("is_sftp", target == "sftp");
    settings->setValue(target + "_host", "127.0.0.1");
    settings->setValue(target + "_port", closedPort());
    for (const char *key : {"is_ftp_error_upload_kuvo", "is_dropbox_error_upload_kuvo"})
        settings->setValue(key, int(ticked));
    QVERIFY(QDropbox::storeTokens(m_dropbox.issueToken()));
    m_dropbox.failNext("/2/files/", 500, 5);
    QGuiApplication::clipboard()->clear();
    m_core->screenUpload(HandlerUpload::PostNone, false, QPixmap(20, 20));
    MessageDialog *told = waitForQuestion();
    settings->setValue("type_upload", "kuvo");
    QVERIFY(told
        && told->data("message").toString().endsWith(
            ticked ? "the file went to Kuvo instead." : "Save file to disk ?"));
    const QString link = QGuiApplication::clipboard()->text();
    QCOMPARE(link.startsWith("https://" + m_service.httpsHost() + "/s/"), ticked);
}

void TestCoreWindows::refusedTokenKeepsThePictureAndOffersASignIn_data()
{
    QTest::addColumn<int>("save");
    QTest::addColumn<int>("captures");
    QTest::newRow("not saved") << int(MessageDialog::Cancel) << 1;
    QTest::newRow("saved under a name typed") << int(MessageDialog::Ok) << 1;
    QTest::newRow("two refused at once, both saved") << int(MessageDialog::Ok) << 2;
}

// The service has forgotten the session the program still keeps.
void TestCoreWindows::refusedTokenKeepsThePictureAndOffersASignIn()
{
    QFETCH(int, save);
    QFETCH(int, captures);
    const QString token = Autorization::token();
    Setting::instance()->setValue(QStringLiteral("token"), QStringLiteral("forgotten-token"));
    Setting::instance()->setValue(QStringLiteral("sftp_user"), QStringLiteral("keeper"));
    Setting::instance()->setValue(QStringLiteral("qualityImage"), 1);
    MessageWatch questions;
    QSignalSpy refused(m_exchange, &NetworkExchange::error);
    for (int i = 0; i < captures; ++i) {
        QImage picture(24, 16, QImage::Format_RGB32);
        picture.fill(i ? Qt::blue : Qt::darkGreen);
        m_core->screenUpload(HandlerUpload::PostNone, false, QPixmap::fromImage(picture));
    }
    QTRY_COMPARE_WITH_TIMEOUT(refused.count(), captures, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(m_core->uploadModel()->rowCount(), 0, 5000);
    QCoreApplication::processEvents();
    for (LastUploadWidget *window : windowsOf<LastUploadWidget>())
        QVERIFY(!window->isVisible());

    // Each picture is offered in the order the refusals came, one question at a time; the
    // sign-in once they are dealt with, never beside a save dialog.
    const QString saveText = QStringLiteral("The access token is not valid\nSave file to disk ?");
    for (int i = 0; i < captures; ++i) {
        const QImage picture(refused[i][1].toString());
        QVERIFY(!picture.isNull());
        answerQuestion(save);
        QCOMPARE(questions.shown.value(i), saveText);
        if (save != MessageDialog::Ok)
            continue;
        QTRY_VERIFY_WITH_TIMEOUT(saveDialog() && saveDialog()->isActiveWindow(), 5000);
        QCOMPARE(visibleMessageWindows(), 0);
        const QString typed
            = m_folder.filePath(QStringLiteral("typed %1 of %2.png").arg(i).arg(captures));
        chooseFile(saveDialog(), typed);
        QTest::keyClick(saveDialog()->focusWidget(), Qt::Key_Return);
        QCOMPARE(QImageReader(typed).format(), "png");
        QCOMPARE(QImage(typed).convertToFormat(QImage::Format_RGB32),
            picture.convertToFormat(QImage::Format_RGB32));
    }
    QTRY_COMPARE_WITH_TIMEOUT(questions.shown.size(), captures + 1, 5000);
    QCOMPARE(
        questions.shown.last(), QStringLiteral("The access token is not valid\nSign in again ?"));
    QSignalSpy signedOut(m_core->account(), &Autorization::authChanged);
    QVERIFY(!answerQuestion(MessageDialog::Ok));
    QCOMPARE(signedOut.count(), 1);
    QVERIFY(!Autorization::isAuth());
    QVERIFY(m_core->autorizationWidget()->isVisible());
    QCOMPARE(Setting::instance()->getValue(QStringLiteral("sftp_user")).toString(), "keeper");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCOMPARE(questions.shown.size(), captures + 1);
    QCOMPARE(questions.mostOpen, 1);

    m_core->registrationWidgetDestroy();
    Setting::instance()->setValue(QStringLiteral("token"), token);
}

// Two captures on their way; the first finds no network. The one offered is the first, in
// the folder of the last save, and the next save starts where this one went.
void TestCoreWindows::offlineCaptureIsOfferedForSaving()
{
    QTemporaryDir last;
    Setting::instance()->setValue(QStringLiteral("lastSavePath"), last.path());
    const QString first = capture(QStringLiteral("10.png"), QByteArray("first capture"));
    const QString second = capture(QStringLiteral("11.png"), QByteArray("second capture"));
    m_service.delay(QStringLiteral("/upload/"), 3);
    HandlerUpload *failing = startCapture(first);
    QVERIFY(failing);
    QVERIFY(startCapture(second));
    QVERIFY(QMetaObject::invokeMethod(failing, "internetNotAvailable"));

    MessageDialog *question = waitForQuestion();
    QVERIFY(question);
    QCOMPARE(question->data(QStringLiteral("type")).toString(), QStringLiteral("questions"));
    QCOMPARE(question->data(QStringLiteral("message")).toString(),
        QStringLiteral("Internet is not available. Save file to disk ?"));
    QFileDialog *dialog = answerQuestion(MessageDialog::Ok);
    QVERIFY(dialog);
    QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
    QCOMPARE(dialog->directory().absolutePath(), last.path());

    const QString target = m_folder.filePath(QStringLiteral("kept.png"));
    chooseFile(dialog, target);
    QMetaObject::invokeMethod(dialog, "accept");
    QCOMPARE(
        Setting::instance()->getValue(QStringLiteral("lastSavePath")).toString(), m_folder.path());
    QFile kept(target);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("first capture"));
    QVERIFY(!QFileInfo::exists(first));
    QVERIFY(QFileInfo::exists(second));
    QCOMPARE(windowsOf<ErrorWidget>().size(), 0);
}

void TestCoreWindows::saveDialogFilterDecidesTheFormat()
{
    Setting::instance()->setValue(QStringLiteral("qualityImage"), 1);
    QTimer::singleShot(0, this, [this] {
        chooseFile(saveDialog(), m_folder.filePath("shot7"), QStringLiteral("PNG"));
        QMetaObject::invokeMethod(saveDialog(), "accept", Qt::QueuedConnection);
    });
    m_core->screenSaveToDisk(QPixmap(30, 20));
    QCOMPARE(QImageReader(m_folder.filePath("shot7.png")).format(), "png");
}

void TestCoreWindows::offlineSaveReplacesAFileTheUserConfirmed()
{
    const QString file = capture(QStringLiteral("12.png"), QByteArray("new capture"));
    const QString target = m_folder.filePath(QStringLiteral("existing.png"));
    QFile existing(target);
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write("an older picture");
    existing.close();

    emit m_exchange->internetNotAvailable(file);
    QFileDialog *dialog = answerQuestion(MessageDialog::Ok);
    QVERIFY(dialog);
    chooseFile(dialog, target);
    // The dialog asks before it picks a file that exists; the user says yes.
    bool asked = false;
    QTimer answer;
    connect(&answer, &QTimer::timeout, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        asked = true;
        box->button(QMessageBox::Yes)->click();
    });
    answer.start(20);
    QMetaObject::invokeMethod(dialog, "accept");
    answer.stop();
    QVERIFY(asked);

    QVERIFY(existing.open(QIODevice::ReadOnly));
    QCOMPARE(existing.readAll(), QByteArray("new capture"));
    QVERIFY(!QFileInfo::exists(file));
}

void TestCoreWindows::offlineSaveThatFailsIsReported()
{
    const QString file = capture(QStringLiteral("13.png"), QByteArray("gone"));
    emit m_exchange->internetNotAvailable(file);
    QFileDialog *dialog = answerQuestion(MessageDialog::Ok);
    QVERIFY(dialog);
    // The temporary folder was emptied meanwhile.
    QVERIFY(QFile::remove(file));
    const QString target = m_folder.filePath(QStringLiteral("never.png"));
    chooseFile(dialog, target);
    QMetaObject::invokeMethod(dialog, "accept");

    ErrorWidget *error = waitForError();
    QVERIFY(error);
    QVERIFY2(error->error().contains(target), qPrintable(error->error()));
    QVERIFY(!QFileInfo::exists(target));
}

void TestCoreWindows::declinedOfflineSaveLeavesTheFile()
{
    const QString file = capture(QStringLiteral("14.png"), QByteArray("stays"));
    emit m_exchange->internetNotAvailable(file);
    QVERIFY(!answerQuestion(MessageDialog::Cancel));
    QTest::qWait(100);
    QVERIFY(!saveDialog());
    QVERIFY(QFileInfo::exists(file));
}

// Files the user picked are on disk already: the failure is shown, nothing is moved.
void TestCoreWindows::offlineFilesOfTheUserAreNotMoved()
{
    const QString file = m_folder.filePath(QStringLiteral("own.png"));
    QFile own(file);
    QVERIFY(own.open(QIODevice::WriteOnly));
    own.write("the user's own picture");
    own.close();
    m_service.delay(QStringLiteral("/upload/"), 3);
    m_core->uploadData({file});
    auto *job = qobject_cast<HandlerUpload *>(
        m_core->uploadModel()->index(0).data(UploadModel::UploaderRole).value<QObject *>());
    QVERIFY(job);
    QVERIFY(QMetaObject::invokeMethod(job, "internetNotAvailable"));

    ErrorWidget *error = waitForError();
    QVERIFY(error);
    QVERIFY(error->error().startsWith(QStringLiteral("Internet is not available")));
    QCOMPARE(windowsOf<MessageDialog>().size(), 0);
    QVERIFY(QFileInfo::exists(file));
}

void TestCoreWindows::helpOpensTheSupportPage()
{
    m_opened.clear();
    m_core->openHelp();
    QCOMPARE(m_opened.urls(),
        QList<QUrl> {
            QUrl(QStringLiteral("https://") + m_service.httpsHost() + QStringLiteral("/support"))});
}

QTEST_MAIN(TestCoreWindows)
#include "tst_corewindows.moc"
