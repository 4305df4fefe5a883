#include "commandline.h"

#include <QtTest>

using namespace CommandLine;
using Files = LaunchPlan::Files;
using Action = LaunchPlan::Action;
using Kind = ForwardedCommand::Kind;

Q_DECLARE_METATYPE(Files)
Q_DECLARE_METATYPE(Action)
Q_DECLARE_METATYPE(Kind)

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void firstCopy_data();
    void firstCopy();
    void betaHosts();
    void unknownArguments();
    void messageForFirstCopy_data();
    void messageForFirstCopy();
    void forwardedMessage_data();
    void forwardedMessage();
    void texts();
};

void TestCommandLine::firstCopy_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Action>("action");
    QTest::addColumn<Files>("files");
    QTest::addColumn<QStringList>("fileList");
    QTest::addColumn<QString>("audio");

    const QString kuvo = QStringLiteral("/usr/bin/kuvo");
    QTest::newRow("no arguments") << QStringList {kuvo} << Action::Run << Files::None
                                  << QStringList() << QString();
    QTest::newRow("help anywhere") << QStringList {kuvo, "a.png", "-help"} << Action::PrintHelp
                                   << Files::None << QStringList() << QString();
    QTest::newRow("files") << QStringList {kuvo, "a.png", "b c.jpg"} << Action::Run << Files::Upload
                           << QStringList {"a.png", "b c.jpg"} << QString();
    QTest::newRow("zip drops every -z")
        << QStringList {kuvo, "a.png", "-z", "b.png", "-z"} << Action::Run << Files::UploadZip
        << QStringList {"a.png", "b.png"} << QString();
    QTest::newRow("-o opens what follows it")
        << QStringList {kuvo, "other.png", "-o", "pic.kia"} << Action::Run << Files::OpenAudioImage
        << QStringList() << QString("pic.kia");
    QTest::newRow("-o with nothing after it") << QStringList {kuvo, "pic.kia", "-o"} << Action::Run
                                              << Files::None << QStringList() << QString();
    QTest::newRow("-updcomp skips the files")
        << QStringList {kuvo, "a.png", "-updcomp"} << Action::Run << Files::None << QStringList()
        << QString();
    QTest::newRow("beta hosts are no files")
        << QStringList {kuvo, "-beta", "web.test", "api.test", "a.png"} << Action::Run
        << Files::Upload << QStringList {"a.png"} << QString();
    QTest::newRow("beta alone uploads nothing")
        << QStringList {kuvo, "-beta", "w", "a"} << Action::Run << Files::None << QStringList()
        << QString();
    QTest::newRow("beta without hosts")
        << QStringList {kuvo, "-beta", "web.test"} << Action::PrintBetaHelp << Files::None
        << QStringList() << QString();
    QTest::newRow("capture switches are no files")
        << QStringList {kuvo, "-screen", "-full-screen", "-quick-screen"} << Action::Run
        << Files::None << QStringList() << QString();
}

void TestCommandLine::firstCopy()
{
    QFETCH(QStringList, arguments);
    QFETCH(Action, action);
    QFETCH(Files, files);
    QFETCH(QStringList, fileList);
    QFETCH(QString, audio);
    const LaunchPlan plan = planFirstCopy(arguments);
    QCOMPARE(plan.action, action);
    QCOMPARE(plan.files, files);
    QCOMPARE(plan.fileList, fileList);
    QCOMPARE(plan.audioImageFile, audio);
}

void TestCommandLine::betaHosts()
{
    const LaunchPlan plan = planFirstCopy({"kuvo", "x.png", "-beta", "web.test:8443", "api.test"});
    QCOMPARE(plan.betaWebHost, QStringLiteral("web.test:8443"));
    QCOMPARE(plan.betaApiHost, QStringLiteral("api.test"));
    QCOMPARE(plan.fileList, QStringList {"x.png"});
}

void TestCommandLine::unknownArguments()
{
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("a b.png")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("sub")));
    const QStringList arguments = {"/usr/bin/kuvo", "a b.png", "--help", "-screen", "missing.png",
        "-z", "-beta", "web.test", "api.test", "sub", file.fileName(), "-o", "pic.kia"};
    QCOMPARE(CommandLine::unknownArguments(arguments, folder.path()),
        QStringList({"--help", "missing.png", "sub"}));
    QCOMPARE(
        CommandLine::unknownArguments({"/usr/bin/kuvo", "a b.png"}, folder.path()), QStringList());
}

void TestCommandLine::messageForFirstCopy_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("no arguments") << QStringList {"kuvo"} << QByteArray("running_again");
    QTest::newRow("relative paths become absolute, as they are")
        << QStringList {"kuvo", "a.png", "../up/b.png", "/abs/c.png"}
        << QByteArrayLiteral("\0kuvo-arguments\0/home/u/work/a.png\0/home/u/work/../up/b.png\0"
                             "/abs/c.png\0");
    QTest::newRow("switches stay as they are") << QStringList {
        "kuvo", "-screen", "-z"} << QByteArrayLiteral("\0kuvo-arguments\0-screen\0-z\0");
    QTest::newRow("opened file") << QStringList {"kuvo", "-o",
        "pic.kia"} << QByteArrayLiteral("\0kuvo-arguments\0-o\0/home/u/work/pic.kia\0");
}

void TestCommandLine::messageForFirstCopy()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, message);
    QCOMPARE(CommandLine::messageForFirstCopy(arguments, QStringLiteral("/home/u/work")), message);
}

void TestCommandLine::forwardedMessage_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("file");

    QTest::newRow("running again")
        << QByteArray("running_again") << Kind::RunningAgain << QStringList() << QString();
    QTest::newRow("running again and more is a list")
        << QByteArray("running_again;/x.png") << Kind::Upload << QStringList {"/x.png"}
        << QString();
    QTest::newRow("upload") << QByteArray("/bin/kuvo;/a.png;/b.png") << Kind::Upload
                            << QStringList {"/a.png", "/b.png"} << QString();
    QTest::newRow("an older copy's split name is refused")
        << QByteArray("/bin/kuvo;/a;b.png") << Kind::Refused << QStringList() << QString();
    QTest::newRow("an older copy's relative name is refused")
        << QByteArray("/bin/kuvo;-o;pic.kia") << Kind::Refused << QStringList() << QString();
    QTest::newRow("a name that is not UTF-8 is refused")
        << QByteArrayLiteral("\0kuvo-arguments\0/x\xff.png\0") << Kind::Refused << QStringList()
        << QString();
    QTest::newRow("zip wins over screen, which is no file")
        << QByteArray("/bin/kuvo;-screen;/a.png;-z") << Kind::UploadZip << QStringList {"/a.png"}
        << QString();
    QTest::newRow("-o opens what follows it")
        << QByteArray("/bin/kuvo;/x.png;-o;/pic.kia") << Kind::OpenAudioImage << QStringList()
        << QString("/pic.kia");
    QTest::newRow("lone -o is ignored")
        << QByteArray("-o") << Kind::Nothing << QStringList() << QString();
    QTest::newRow("-o at the end is ignored")
        << QByteArray("/bin/kuvo;/x.png;-o") << Kind::Nothing << QStringList() << QString();
    QTest::newRow("full screen") << QByteArray("/bin/kuvo;-full-screen") << Kind::FullScreen
                                 << QStringList() << QString();
    QTest::newRow("quick screen") << QByteArray("/bin/kuvo;-quick-screen") << Kind::QuickScreen
                                  << QStringList() << QString();
    QTest::newRow("screen") << QByteArray("/bin/kuvo;-screen") << Kind::Screen << QStringList()
                            << QString();
    QTest::newRow("text ends at a zero byte")
        << QByteArray("/bin/kuvo;/a.png\0;/b.png", 24) << Kind::Upload << QStringList {"/a.png"}
        << QString();
    QTest::newRow("beta hosts are not uploaded")
        << QByteArray("/bin/kuvo;-beta;w;a") << Kind::Nothing << QStringList() << QString();
    QTest::newRow("empty entries are not uploaded")
        << QByteArray("/bin/kuvo;;") << Kind::Nothing << QStringList() << QString();
}

void TestCommandLine::forwardedMessage()
{
    QFETCH(QByteArray, message);
    QFETCH(Kind, kind);
    QFETCH(QStringList, files);
    QFETCH(QString, file);
    const ForwardedCommand command = parseMessage(message);
    QCOMPARE(command.kind, kind);
    QCOMPARE(command.files, files);
    QCOMPARE(command.file, file);
}

void TestCommandLine::texts()
{
    QCOMPARE(helpText(),
        QStringLiteral("Kuvo help -----------------------------\n"
                       "-full-screen - capture full screen\n"
                       "-quick-screen - capture screen and send to kuvo\n"
                       "-screen - capture fragment screen\n"
                       "<filename> - send file to kuvo\n"
                       "<filename> -z - send file to kuvo in zip\n"
                       "-o <filename> - open a picture with sound (.kia)\n"
                       "-beta <auth url> <api url> - for use beta server\n"
                       "-updcomp - started after an update: no file is sent or opened\n"
                       "-help - show this help\n"));
    QCOMPARE(betaBanner("w.test", "a.test"),
        QStringLiteral(
            "!!!!!!! ------------------- START BETA MODE --------------------- !!!!!!\n"
            "!!!!!!! ------------------- w.test a.test  --------------------- !!!!!!\n"));
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
