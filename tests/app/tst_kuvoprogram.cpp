#include "standinprocess.h"
#include "standinservice.h"
#include "testfiles.h"

#include <JlCompress.h>
#include <QLocalServer>
#include <QLocalSocket>
#include <QtTest>

#include <memory>

// Runs of the real program: its help texts, what a second copy sends to the first, and the
// hand-over to a downloaded update. Each run gets a home and a runtime folder of its own.
class TestKuvoProgram : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void helpTexts_data();
    void helpTexts();
    void unknownArgumentsAreReportedNotUploaded_data();
    void unknownArgumentsAreReportedNotUploaded();
    void secondCopyForwards_data();
    void secondCopyForwards();
    void secondCopyUploadsTheFileItNames_data();
    void secondCopyUploadsTheFileItNames();
    void pendingUpdateIsStartedInsteadOfThisCopy();
    void pendingUpdateThatCannotStartIsKept();
    void launcherWithoutItsProgram_data();
    void launcherWithoutItsProgram();

private:
    struct Run
    {
        bool finished = false;
        int exitCode = -1;
        QByteArray out;
        QByteArray err;
    };
    // Without a screen the program finds no display, as on a console or over plain ssh.
    QProcessEnvironment environment(bool screen = false) const;
    Run run(const QStringList &arguments, int waitMs, bool screen = false);
    QString home() const { return m_root->path() + QStringLiteral("/home"); }
    QString runtime() const { return m_root->path() + QStringLiteral("/runtime"); }
    QString updateFolder() const { return home() + QStringLiteral("/.kuvo/update/"); }
    void writeUpdate(const QByteArray &content);

    std::unique_ptr<QTemporaryDir> m_root;
};

void TestKuvoProgram::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir().mkpath(home()));
    QVERIFY(QDir().mkpath(runtime()));
    QFile::setPermissions(runtime(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QProcessEnvironment TestKuvoProgram::environment(bool screen) const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home() + QStringLiteral("/.config"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"),
        screen ? QStringLiteral("offscreen") : QStringLiteral("xcb"));
    env.remove(QStringLiteral("DISPLAY"));
    return env;
}

TestKuvoProgram::Run TestKuvoProgram::run(const QStringList &arguments, int waitMs, bool screen)
{
    QProcess process;
    process.setProcessEnvironment(environment(screen));
    process.setWorkingDirectory(home());
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(QStringLiteral(KUVO_PROGRAM), arguments);
    Run result;
    result.finished = process.waitForFinished(waitMs);
    if (!result.finished) {
        process.kill();
        process.waitForFinished(5000);
    } else {
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

void TestKuvoProgram::helpTexts_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("text");
    const QByteArray help = "Kuvo help -----------------------------\n"
                            "-full-screen - capture full screen\n"
                            "-quick-screen - capture screen and send to kuvo\n"
                            "-screen - capture fragment screen\n"
                            "<filename> - send file to kuvo\n"
                            "<filename> -z - send file to kuvo in zip\n"
                            "-o <filename> - open a picture with sound (.kia)\n"
                            "-beta <auth url> <api url> - for use beta server\n"
                            "-updcomp - started after an update: no file is sent or opened\n"
                            "-help - show this help\n";
    QTest::newRow("help") << QStringList {"-help"} << help;
    QTest::newRow("help among files") << QStringList {"a.png", "-help"} << help;
    QTest::newRow("beta without hosts")
        << QStringList {"-beta", "web.test"}
        << QByteArray("Kuvo beta help -----------------------------\n"
                      "-beta <auth url> <api url> - for use beta server\n");
}

void TestKuvoProgram::helpTexts()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, text);
    const Run result = run(arguments, 20000);
    QVERIFY(result.finished);
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, text);
    QVERIFY(!QFileInfo::exists(home() + QStringLiteral("/.kuvo")));
}

void TestKuvoProgram::unknownArgumentsAreReportedNotUploaded_data()
{
    QTest::addColumn<bool>("secondCopy");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("report");
    QTest::newRow("--help") << false << QStringList {"--help"}
                            << QByteArray("Unknown switch or no such file: --help\n");
    QTest::newRow("missing file beside a real one")
        << false << QStringList {"real.png", "missing.png"}
        << QByteArray("Unknown switch or no such file: missing.png\n");
    QTest::newRow("second copy") << true << QStringList {"real.png", "-x"}
                                 << QByteArray("Unknown switch or no such file: -x\n");
}

// The copy that was started says so and ends; no settings folder means nothing was built
// that could upload, and the first copy hears nothing.
void TestKuvoProgram::unknownArgumentsAreReportedNotUploaded()
{
    QFETCH(bool, secondCopy);
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, report);
    QFile real(home() + QStringLiteral("/real.png"));
    QVERIFY(real.open(QIODevice::WriteOnly));
    real.close();
    QLocalServer first;
    QByteArray received;
    if (secondCopy) {
        QVERIFY(first.listen(runtime() + QStringLiteral("/KuvoApp")));
        connect(&first, &QLocalServer::newConnection, this, [&] {
            QLocalSocket *peer = first.nextPendingConnection();
            connect(
                peer, &QLocalSocket::readyRead, this, [&, peer] { received += peer->readAll(); });
        });
    }
    QProcess process;
    process.setProcessEnvironment(environment());
    process.setWorkingDirectory(home());
    process.start(QStringLiteral(KUVO_PROGRAM), arguments);
    QTRY_VERIFY_WITH_TIMEOUT(process.state() == QProcess::NotRunning, 20000);
    QCOMPARE(process.exitCode(), 2);
    const QByteArray errors = process.readAllStandardError();
    QVERIFY2(errors.endsWith(report), errors.constData());
    QVERIFY(process.readAllStandardOutput().startsWith("Kuvo help"));
    QTest::qWait(100);
    QCOMPARE(received, QByteArray());
    QVERIFY(!QFileInfo::exists(home() + QStringLiteral("/.kuvo")));
}

void TestKuvoProgram::secondCopyForwards_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("no arguments") << QStringList() << QByteArray("running_again");
    QTest::newRow("files made absolute") << QStringList {
        "a.png", "-z", "sub/b;c.png"} << QByteArrayLiteral("/work/a.png\0-z\0/work/sub/b;c.png\0");
    QTest::newRow("help sends nothing") << QStringList {"-help"} << QByteArray();
}

void TestKuvoProgram::secondCopyForwards()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, message);
    const QString work = m_root->path() + QStringLiteral("/work");
    QVERIFY(QDir().mkpath(work));
    message.replace("/work/", (work + QLatin1Char('/')).toUtf8());
    QVERIFY(QDir().mkpath(work + QStringLiteral("/sub")));
    for (const char *name : {"a.png", "sub/b;c.png"}) {
        QFile file(work + QLatin1Char('/') + QLatin1String(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    // A fake first copy: it only listens and keeps what arrives.
    QLocalServer first;
    QVERIFY(first.listen(runtime() + QStringLiteral("/KuvoApp")));
    QByteArray received;
    connect(&first, &QLocalServer::newConnection, this, [&] {
        QLocalSocket *peer = first.nextPendingConnection();
        connect(peer, &QLocalSocket::readyRead, this, [&, peer] { received += peer->readAll(); });
    });

    QProcess second;
    second.setProcessEnvironment(environment());
    second.setWorkingDirectory(work);
    second.start(QStringLiteral(KUVO_PROGRAM), arguments);
    QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 20000);
    QCOMPARE(second.exitCode(), 0);
    QTest::qWait(100);

    if (message.isEmpty()) {
        QCOMPARE(received, QByteArray());
        QVERIFY(second.readAllStandardOutput().startsWith("Kuvo help"));
    } else if (message == "running_again") {
        QCOMPARE(received, message);
    } else {
        QCOMPARE(received, QByteArrayLiteral("\0kuvo-arguments\0") + message);
    }
    QVERIFY(!QFileInfo::exists(home() + QStringLiteral("/.kuvo")));
}

void TestKuvoProgram::secondCopyUploadsTheFileItNames_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("decoy"); // beside it: what a misread name would send
    QTest::newRow("semicolon") << QByteArray("a;b.png") << "a";
    QTest::newRow("quotes") << QByteArray("q \"it's\".png") << "q";
    QTest::newRow("newline") << QByteArray("l1\nl2.png") << "l2.png";
    QTest::newRow("not UTF-8") << QByteArray("x\xff.png") << QString::fromUtf8("x\uFFFD.png");
}

// The real program signed in to the stand-in, and a real second copy in another folder that
// names a file: exactly that file goes, or (a name text cannot hold) the second copy refuses.
void TestKuvoProgram::secondCopyUploadsTheFileItNames()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, decoy);
    const QString work = m_root->path() + QStringLiteral("/work");
    const QString uploads = m_root->path() + QStringLiteral("/uploads");
    StandinService service;
    QVERIFY(QDir().mkpath(work) && QDir().mkpath(uploads) && QDir().mkpath(home() + "/.kuvo"));
    QVERIFY(service.start({"--upload-dir", uploads}));
    QVERIFY(changeSqliteFile(home() + QStringLiteral("/.kuvo/setting"),
        "c.execute('CREATE TABLE Settings (name VARCHAR PRIMARY KEY NOT NULL, value TEXT)'); "
        "c.execute('INSERT INTO Settings VALUES (?, ?)', ('token', a[0]))",
        {service.issueToken()}));
    QProcess first;
    first.setProcessEnvironment(environment(true));
    first.setWorkingDirectory(home());
    first.start(QStringLiteral(KUVO_PROGRAM), {"-beta", service.httpsHost(), service.httpsHost()});
    QVERIFY(QTest::qWaitFor(
        [&] {
            QLocalSocket probe;
            probe.connectToServer(runtime() + QStringLiteral("/KuvoApp"));
            return probe.waitForConnected(100);
        },
        15000));

    QVERIFY(writeFile(work + QStringLiteral("/typed"), name));
    // The name passes through the shell byte for byte, as a user's shell passes it on; the same
    // name in the first copy's working folder must not be taken either.
    QProcess second;
    second.setProcessEnvironment(environment());
    second.setWorkingDirectory(work);
    second.start(QStringLiteral("/bin/sh"),
        {"-c",
            "n=$(cat typed; echo .); n=${n%.}; printf decoy > \"$1\"; printf first > "
            "\"$HOME/$n\"; printf %s \"$n\" > \"$n\"; exec \"$0\" \"$n\"",
            KUVO_PROGRAM, decoy});
    QVERIFY(second.waitForFinished(20000));
    if (QString::fromUtf8(name).toUtf8() != name) {
        QCOMPARE(second.exitCode(), 2);
        QVERIFY(second.readAllStandardError().contains(QFile::encodeName(QFile::decodeName(name))));
    } else {
        QCOMPARE(second.exitCode(), 0);
        const auto stored = [&] { // what the stand-in keeps of each upload, written as it comes
            QByteArrayList all;
            for (const QFileInfo &file : QDir(uploads).entryInfoList(QDir::Files))
                all << contents(file.filePath());
            return all;
        };
        QTRY_COMPARE_WITH_TIMEOUT(stored(), QByteArrayList {name}, 20000);
    }
    first.terminate();
    QVERIFY(first.waitForFinished(10000));
}

// As the updater leaves it: the program, and the signed package it came in.
void TestKuvoProgram::writeUpdate(const QByteArray &content)
{
    const QString folder = home() + QStringLiteral("/.kuvo/update/");
    QVERIFY(QDir().mkpath(folder));
    QFile update(folder + QStringLiteral("Kuvo.exe"));
    QVERIFY(update.open(QIODevice::WriteOnly));
    update.write(content);
    update.close();
    update.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString package = folder + QStringLiteral("package.zip");
    QVERIFY(JlCompress::compressFile(package, update.fileName()));
    QCOMPARE(
        QProcess::execute(QStringLiteral("openssl"),
            {"pkeyutl", "-sign", "-rawin", "-inkey", StandinProcess::certificateFile("update.key"),
                "-in", package, "-out", folder + QStringLiteral("package.sig")}),
        0);
}

void TestKuvoProgram::pendingUpdateIsStartedInsteadOfThisCopy()
{
    writeUpdate("#!/bin/sh\necho \"$0 $*\" > \"$HOME/update-started\"\n");
    // The service hosts point at a closed loopback port: nothing leaves the machine.
    const Run result = run({"-beta", "127.0.0.1:9", "127.0.0.1:9"}, 20000, true);
    QVERIFY(result.finished);
    QCOMPARE(result.exitCode, 0);

    const QString marker = home() + QStringLiteral("/update-started");
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(marker).size() > 0, 10000);
    QFile started(marker);
    QVERIFY(started.open(QIODevice::ReadOnly));
    const QString launch = home() + QStringLiteral("/.kuvo/launch");
    QCOMPARE(started.readAll().trimmed(),
        (launch + QStringLiteral("/Kuvo.exe -beta 127.0.0.1:9 127.0.0.1:9")).toUtf8());
    QCOMPARE(int(QFileInfo(launch).permissions() & 0x0077), 0); // nothing for group or others
    QVERIFY(!QFileInfo::exists(updateFolder()));
}

void TestKuvoProgram::pendingUpdateThatCannotStartIsKept()
{
    const QByteArray garbage(4096, '\x7f');
    writeUpdate(garbage);
    const Run result = run({"-beta", "127.0.0.1:9", "127.0.0.1:9"}, 3000, true);
    QVERIFY2(!result.finished, "the program should have started as usual and kept running");

    QFile kept(home() + QStringLiteral("/.kuvo/update/Kuvo.exe"));
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), garbage);
    QFile log(home() + QStringLiteral("/.kuvo/error.log"));
    QVERIFY(log.open(QIODevice::ReadOnly));
    QVERIFY(log.readAll().contains("could not be started"));

    // Unsigned, as an older version left it or a hand put it there, it is never run but goes.
    QVERIFY(QFile::remove(updateFolder() + QStringLiteral("package.sig")));
    QVERIFY(!run({"-beta", "127.0.0.1:9", "127.0.0.1:9"}, 3000, true).finished);
    QVERIFY(!QFileInfo::exists(updateFolder()));
    QVERIFY(log.readAll().contains("signature"));
}

void TestKuvoProgram::launcherWithoutItsProgram_data()
{
    QTest::addColumn<QByteArray>("library"); // what lies beside the launcher; null for nothing
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("reason");
    QTest::newRow("missing") << QByteArray() << QStringList()
                             << QByteArray("cannot open shared object file");
    QTest::newRow("not a library")
        << QByteArray(4096, 'x') << QStringList {"-screen"} << QByteArray("invalid ELF header");
    QTest::newRow("help needs none") << QByteArray() << QStringList {"-help"} << QByteArray();
}

// A copy of the launcher alone in a folder, while the real program lies in the working folder
// and on the library path: it must not be taken from there.
void TestKuvoProgram::launcherWithoutItsProgram()
{
    QFETCH(QByteArray, library);
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, reason);
    const QString folder = m_root->path() + QStringLiteral("/alone/");
    const QString name = QStringLiteral(KUVO_PROGRAM_LIBRARY);
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(QFile::copy(QStringLiteral(KUVO_PROGRAM), folder + QStringLiteral("kuvo")));
    QVERIFY(QFile::copy(QFileInfo(QStringLiteral(KUVO_PROGRAM)).path() + QLatin1Char('/') + name,
        home() + QLatin1Char('/') + name));
    QFile planted(folder + name);
    QVERIFY(library.isNull() || (planted.open(QIODevice::WriteOnly) && planted.write(library)));
    planted.close();

    QProcessEnvironment env = environment();
    env.insert(QStringLiteral("LD_LIBRARY_PATH"), home());
    QProcess launcher;
    launcher.setProcessEnvironment(env);
    launcher.setWorkingDirectory(home());
    launcher.start(folder + QStringLiteral("kuvo"), arguments);
    QVERIFY(launcher.waitForFinished(20000));
    const QByteArray errors = launcher.readAllStandardError();
    if (reason.isNull()) {
        QCOMPARE(launcher.exitCode(), 0);
        QVERIFY(launcher.readAllStandardOutput().startsWith("Kuvo help"));
        return;
    }
    QCOMPARE(launcher.exitCode(), 127);
    QVERIFY2(errors.contains("kuvo: the program could not be loaded: "
                 + QFile::encodeName(planted.fileName()) + ": " + reason),
        errors.constData());
    QVERIFY(!QFileInfo::exists(home() + QStringLiteral("/.kuvo")));
}

QTEST_GUILESS_MAIN(TestKuvoProgram)
#include "tst_kuvoprogram.moc"
