#include "autorizationwidget.h"
#include "core.h"
#include "coretestsupport.h"
#include "errorwidget.h"
#include "fontwindow.h"
#include "lastuploadwidget.h"
#include "licensewindow.h"
#include "maintoolwidget.h"
#include "messagedialog.h"
#include "networkexchange.h"
#include "proxywidget.h"
#include "setting.h"
#include "settingwidget.h"
#include "uploadmodel.h"
#include "uploadwidget.h"
#include "windowtestsupport.h"

#include <QDirIterator>
#include <QIcon>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QRegularExpression>
#include <QScreen>

#include <memory>

// Every page and every shared component, loaded with the real settings store and the real
// controller: none may print a single warning, and every picture they name must exist.
class TestPages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void pageLoadsWithoutWarnings_data();
    void pageLoadsWithoutWarnings();
    void mainToolPageOfASignedOutUser();
    void uploadPageWithRunningUploads();
    void signInPageShowsTheAccountsErrors();
    void componentLoadsWithoutWarnings_data();
    void componentLoadsWithoutWarnings();
    void hotKeyFieldTakesACombination();
    void proxyPageStoresTheFourValues();
    void picturesNamedByThePagesExist();
    void picturesOfTheWindowBase();
    void hotKeyText_data();
    void hotKeyText();
    void sizeText_data();
    void sizeText();

private:
    std::unique_ptr<BasicWindow> makeWindow(const QString &name);
    void showAndSettle(BasicWindow *window);
    QVariant callScript(const QString &function, const QVariantList &arguments);

    StandinService m_service;
    Core *m_core = nullptr;
};

void TestPages::initTestCase()
{
    QVERIFY(m_service.start());
    pointAt(m_service);
    Autorization account;
    QVERIFY(signInDemo(account));
    m_core = Core::instance();
}

std::unique_ptr<BasicWindow> TestPages::makeWindow(const QString &name)
{
    if (name == QLatin1String("information") || name == QLatin1String("questions")) {
        auto message = std::make_unique<MessageDialog>();
        if (name == QLatin1String("information"))
            message->information(QStringLiteral("Title"), QStringLiteral("Something happened."));
        else
            message->questions(QStringLiteral("Title"), QStringLiteral("Shall we go on?"));
        return message;
    }
    if (name == QLatin1String("ErrorWidget"))
        return std::make_unique<ErrorWidget>(QStringLiteral("The server refused the connection"));
    if (name == QLatin1String("LicenseWindow"))
        return std::make_unique<LicenseWindow>();
    if (name == QLatin1String("ProxyWidget"))
        return std::make_unique<ProxyWidget>();
    if (name == QLatin1String("FontWindow"))
        return std::make_unique<FontWindow>();
    if (name == QLatin1String("MainToolWidget"))
        return std::make_unique<MainToolWidget>();
    if (name == QLatin1String("SettingWidget"))
        return std::make_unique<SettingWidget>();
    if (name == QLatin1String("AutorizationWidget"))
        return std::make_unique<AutorizationWidget>();
    if (name == QLatin1String("UploadWidget"))
        return std::make_unique<UploadWidget>();
    if (name == QLatin1String("LastUploadWidget"))
        return std::make_unique<LastUploadWidget>();
    return nullptr;
}

// Shown, given time for its bindings, animations and timers, and still wholly on the screen.
void TestPages::showAndSettle(BasicWindow *window)
{
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window, 5000));
    QTest::qWait(100);
    QCOMPARE(window->status(), QQuickView::Ready);
    QVERIFY(window->rootObject());
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY2(available.contains(window->geometry()),
        qPrintable(QStringLiteral("%1 lies outside the screen").arg(window->objectName())));
}

void TestPages::pageLoadsWithoutWarnings_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("objectName");

    QTest::newRow("message") << "information"
                             << "MessagePage";
    QTest::newRow("question") << "questions"
                              << "MessagePage";
    QTest::newRow("error") << "ErrorWidget"
                           << "ErrorWidget";
    QTest::newRow("terms of use") << "LicenseWindow"
                                  << "LicenseWidget";
    QTest::newRow("proxy") << "ProxyWidget" << QString();
    QTest::newRow("font") << "FontWindow"
                          << "FontWindow";
    QTest::newRow("main tool") << "MainToolWidget"
                               << "MainWidget";
    QTest::newRow("settings") << "SettingWidget"
                              << "SettingWidget";
    QTest::newRow("sign-in") << "AutorizationWidget"
                             << "AutorizationWidget";
    QTest::newRow("upload") << "UploadWidget"
                            << "UploadWidget";
    QTest::newRow("upload complete") << "LastUploadWidget"
                                     << "LastUploadWidget";
}

void TestPages::pageLoadsWithoutWarnings()
{
    QFETCH(QString, window);
    QFETCH(QString, objectName);

    WarningCatcher catcher;
    std::unique_ptr<BasicWindow> view = makeWindow(window);
    QVERIFY(view);
    showAndSettle(view.get());
    QCOMPARE(view->objectName(), objectName);
    view->close();
    view.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(catcher.warnings(), QStringList());
}

void TestPages::mainToolPageOfASignedOutUser()
{
    const QString token = Autorization::token();
    Setting::instance()->setValue(QStringLiteral("token"), QString());
    WarningCatcher catcher;
    {
        MainToolWidget window;
        showAndSettle(&window);
        QQuickItem *signIn = findItem(&window, QStringLiteral("signInPanel"));
        QVERIFY(signIn);
        QVERIFY(signIn->isVisible());
        QVERIFY(!findItem(&window, QStringLiteral("tools"))->isVisible());
    }
    Setting::instance()->setValue(QStringLiteral("token"), token);
    QCOMPARE(catcher.warnings(), QStringList());
}

// The rows of the list read the jobs themselves; a job that goes while its row is on the
// page must not leave a binding behind that reads a dead object.
void TestPages::uploadPageWithRunningUploads()
{
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/capture-XXXXXX.png"));
    QVERIFY(file.open());
    file.write(QByteArray(200000, 'p'));
    file.close();
    m_service.delay(QStringLiteral("/upload/"), 0.5);

    WarningCatcher catcher;
    UploadWidget window;
    showAndSettle(&window);
    const int emptyHeight = window.height();
    m_core->uploadData({file.fileName(), file.fileName()});
    QCOMPARE(m_core->uploadModel()->rowCount(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(m_core->uploadModel()->rowCount(), 0, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(window.height(), emptyHeight, 2000);
    m_core->uploadData({file.fileName()});
    m_core->uploadData({file.fileName()});
    QCOMPARE(m_core->uploadModel()->rowCount(), 2);
    QTRY_VERIFY_WITH_TIMEOUT(window.height() > emptyHeight, 2000);
    QTRY_COMPARE_WITH_TIMEOUT(m_core->uploadModel()->rowCount(), 0, 10000);
    m_service.delay(QStringLiteral("/upload/"), 0);
    QCOMPARE(catcher.warnings(), QStringList());
}

void TestPages::signInPageShowsTheAccountsErrors()
{
    WarningCatcher catcher;
    AutorizationWidget window;
    showAndSettle(&window);
    QQuickItem *line = findItem(&window, QStringLiteral("emailError"));
    QVERIFY(line);
    QVERIFY(!line->isVisible());
    m_core->account()->signIn(QStringLiteral("not an address"), QStringLiteral("pw"));
    QVERIFY(line->isVisible());
    QCOMPARE(line->property("text").toString(), QStringLiteral("The e-mail is not valid"));
    QCOMPARE(catcher.warnings(), QStringList());
}

void TestPages::componentLoadsWithoutWarnings_data()
{
    QTest::addColumn<QString>("component");
    const QStringList files
        = QDir(QStringLiteral(":/qml/qml/Components")).entryList({QStringLiteral("*.qml")});
    QVERIFY(files.size() >= 19);
    for (const QString &file : files)
        QTest::newRow(qPrintable(file)) << file.chopped(4);
}

void TestPages::componentLoadsWithoutWarnings()
{
    QFETCH(QString, component);

    WarningCatcher catcher;
    ProbeWindow window;
    window.resize(400, 300);
    QQmlComponent maker(window.engine());
    maker.setData(QStringLiteral("import QtQuick 2.12\nimport \"../Components\"\n"
                                 "Item { width: 400; height: 300; %1 { } }")
                      .arg(component)
                      .toUtf8(),
        QUrl(QStringLiteral("qrc:/qml/qml/Window/probe.qml")));
    std::unique_ptr<QObject> item(maker.create(window.rootContext()));
    QVERIFY2(item, qPrintable(maker.errorString()));
    qobject_cast<QQuickItem *>(item.get())->setParentItem(window.contentItem());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window, 5000));
    QTest::qWait(50);
    item.reset();
    QCOMPARE(catcher.warnings(), QStringList());
}

// The field of a hot key takes the next combination pressed; Escape gives up asking, without
// closing the window around it.
void TestPages::hotKeyFieldTakesACombination()
{
    QTemporaryDir folder;
    QFile qml(folder.filePath(QStringLiteral("field.qml")));
    QVERIFY(qml.open(QIODevice::WriteOnly));
    qml.write("import QtQuick 2.12\nimport \"qrc:/qml/qml/Components\"\n"
              "Item { width: 300; height: 60\n"
              "  HootKeyInput { objectName: \"field\"; width: 240; text: \"Ctrl + Print\" } }\n");
    qml.close();

    WarningCatcher catcher;
    ProbeWindow window(QUrl::fromLocalFile(qml.fileName()));
    window.show();
    window.requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(&window, 5000));
    QQuickItem *field = findItem(&window, QStringLiteral("field"));
    QVERIFY(field);
    QSignalSpy closed(&window, &BasicWindow::closed);

    field->setProperty("activeFocusInput", true);
    QTest::keyClick(&window, Qt::Key_A);
    QCOMPARE(field->property("text").toString(), QStringLiteral("Ctrl + Print"));
    QTest::keyClick(&window, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(field->property("text").toString(), QStringLiteral("Shift + Ctrl + A"));
    QVERIFY(!field->property("activeFocusInput").toBool());

    field->setProperty("activeFocusInput", true);
    QTest::keyClick(&window, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(&window, Qt::Key_Escape);
    QCOMPARE(field->property("text").toString(), QStringLiteral("Shift + Ctrl + A"));
    QVERIFY(!field->property("activeFocusInput").toBool());
    QCOMPARE(closed.count(), 0);
    QCOMPARE(catcher.warnings(), QStringList());
}

void TestPages::proxyPageStoresTheFourValues()
{
    Setting *settings = Setting::instance();
    settings->setValue(QStringLiteral("proxy_host"), QStringLiteral("old.lan"));
    settings->setValue(QStringLiteral("proxy_port"), 8080);
    ProxyWidget window;
    window.show();
    window.requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(&window, 5000));
    QCOMPARE(findItem(&window, QStringLiteral("host"))->property("text").toString(),
        QStringLiteral("old.lan"));
    QSignalSpy closed(&window, &BasicWindow::closed);

    findItem(&window, QStringLiteral("host"))->setProperty("text", QStringLiteral("proxy.lan"));
    findItem(&window, QStringLiteral("login"))->setProperty("text", QStringLiteral("me"));
    QQuickItem *port = findItem(&window, QStringLiteral("port"));
    port->setProperty("text", QString());
    clickItem(&window, port);
    // The port takes digits only.
    for (const char key : {'3', 'x', '1', '2', '-', '8'})
        QTest::keyClick(&window, key);
    QCOMPARE(port->property("text").toString(), QStringLiteral("3128"));
    QTest::keyClick(&window, Qt::Key_Return);

    QCOMPARE(closed.count(), 1);
    QCOMPARE(
        settings->getValue(QStringLiteral("proxy_host")).toString(), QStringLiteral("proxy.lan"));
    QCOMPARE(settings->getValue(QStringLiteral("proxy_port")).toString(), QStringLiteral("3128"));
    QCOMPARE(settings->getValue(QStringLiteral("proxy_user")).toString(), QStringLiteral("me"));
}

void TestPages::picturesNamedByThePagesExist()
{
    static const QRegularExpression picture(
        QStringLiteral("qrc(:/[^\"'\\s]+\\.(?:png|ico|jpg|svg))"));
    int named = 0;
    QDirIterator files(QStringLiteral(":/qml/qml"), QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(file.readAll());
        auto matches = picture.globalMatch(text);
        while (matches.hasNext()) {
            const QString path = matches.next().captured(1);
            ++named;
            QVERIFY2(QFile::exists(path),
                qPrintable(QStringLiteral("%1 names %2").arg(file.fileName(), path)));
        }
    }
    QVERIFY(named > 30);
}

void TestPages::picturesOfTheWindowBase()
{
    const QPixmap corner(QStringLiteral(":/image/image/image/rounded_edge.png"));
    QCOMPARE(corner.size(), QSize(231, 463));
    const QIcon icon(QStringLiteral(":/icon/image/icon/icon.ico"));
    QVERIFY(icon.availableSizes().contains(QSize(32, 32)));
    QVERIFY(!icon.pixmap(32, 32).isNull());
}

QVariant TestPages::callScript(const QString &function, const QVariantList &arguments)
{
    QQmlEngine engine;
    QQmlComponent maker(&engine);
    maker.setData("import QtQuick 2.12\nimport \"../useful.js\" as Fn\n"
                  "QtObject {\n"
                  "  function hotKey(key, modifiers) {\n"
                  "    return Fn.getHootKey({ \"key\": key, \"modifiers\": modifiers }) }\n"
                  "  function size(bytes) { return Fn.sizeToString(bytes) }\n"
                  "  function dropboxSize(bytes) { return Fn.sizeToStringDropbox(bytes) }\n"
                  "}",
        QUrl(QStringLiteral("qrc:/qml/qml/Window/probe.qml")));
    std::unique_ptr<QObject> object(maker.create());
    if (!object)
        return QVariant();
    QVariant result;
    if (arguments.size() == 2) {
        QMetaObject::invokeMethod(object.get(), function.toLatin1().constData(),
            Q_RETURN_ARG(QVariant, result), Q_ARG(QVariant, arguments[0]),
            Q_ARG(QVariant, arguments[1]));
    } else {
        QMetaObject::invokeMethod(object.get(), function.toLatin1().constData(),
            Q_RETURN_ARG(QVariant, result), Q_ARG(QVariant, arguments[0]));
    }
    return result;
}

void TestPages::hotKeyText_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");

    const int ctrl = Qt::ControlModifier;
    const int shift = Qt::ShiftModifier;
    const int alt = Qt::AltModifier;
    QTest::newRow("modifiers in their order")
        << int(Qt::Key_A) << (ctrl | shift) << "Shift + Ctrl + A";
    QTest::newRow("all three") << int(Qt::Key_9) << (alt | ctrl | shift)
                               << "Shift + Ctrl + Alt + 9";
    QTest::newRow("function key") << int(Qt::Key_F12) << alt << "Alt + F12";
    QTest::newRow("print") << int(Qt::Key_Print) << ctrl << "Ctrl + Print";
    QTest::newRow("return is enter") << int(Qt::Key_Return) << ctrl << "Ctrl + Enter";
    QTest::newRow("keypad enter") << int(Qt::Key_Enter) << shift << "Shift + Enter";
    QTest::newRow("no modifier") << int(Qt::Key_A) << 0 << "";
    QTest::newRow("key without a name") << int(Qt::Key_Home) << ctrl << "";
}

void TestPages::hotKeyText()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QCOMPARE(callScript(QStringLiteral("hotKey"), {key, modifiers}).toString(), text);
}

void TestPages::sizeText_data()
{
    QTest::addColumn<QString>("function");
    QTest::addColumn<double>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("bytes") << "size" << 300.0 << "0.3 KB";
    QTest::newRow("a few kilobytes") << "size" << 2048.0 << "2.0 KB";
    QTest::newRow("kilobytes") << "size" << 20480.0 << "20 KB";
    QTest::newRow("megabytes") << "size" << 5.5 * 1024 * 1024 << "5.5 MB";
    QTest::newRow("gigabytes") << "size" << 3.0 * 1024 * 1024 * 1024 << "3.00 GB";
    QTest::newRow("decimal megabytes") << "dropboxSize" << 1500000.0 << "1.5 MB";
    QTest::newRow("decimal gigabytes") << "dropboxSize" << 2e9 << "2.00 GB";
}

void TestPages::sizeText()
{
    QFETCH(QString, function);
    QFETCH(double, bytes);
    QFETCH(QString, text);
    QCOMPARE(callScript(function, {bytes}).toString(), text);
}

QTEST_MAIN(TestPages)
#include "tst_pages.moc"
