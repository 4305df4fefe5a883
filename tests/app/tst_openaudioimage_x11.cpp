#include "audiofiles.h"
#include "audioimagefile.h"
#include "kailibrary.h"
#include "otheruser.h"

#include <QImage>
#include <QProcess>
#include <QtTest>

#include <functional>
#include <memory>

#include <sys/stat.h>
#include <unistd.h>

// Makes a file under the name given; false when it could not.
using FileMaker = std::function<bool(const QString &)>;
Q_DECLARE_METATYPE(FileMaker)

// The real program opens a ".kia" file named with "-o", as the first copy and when a second
// copy forwards it, in a window of its own on a real X server.
class TestOpenAudioImage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void firstCopyOpensThePlayer();
    void secondCopyHandsTheFileOver();
    void refusedFilesSayWhy_data();
    void refusedFilesSayWhy();

private:
    QProcessEnvironment environment() const;
    void startFirstCopy(const QStringList &arguments, bool otherUser = false);
    // The names of the program's windows on the X server.
    QStringList windowNames() const;
    bool waitForWindow(const QString &name) const;

    QTemporaryDir m_root;
    QString m_kia;
    // The program as the other user runs it: a copy where that user can reach it.
    QString m_sharedProgram;
    std::unique_ptr<QProcess> m_first;
};

void TestOpenAudioImage::initTestCase()
{
    QVERIFY(m_root.isValid());
    KaiLibrary::setPath(QStringLiteral(KAI_LIBRARY_FILE));
    QImage picture(200, 120, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    const QByteArray png = pngBytes(picture);
    AudioImageFile file(m_root.filePath(QStringLiteral("comment.kia")));
    QVERIFY(file.write(png, wavTone(22050, 1, 0.5, 440)));
    m_kia = file.fileName();
    // Root reads every file: the program then runs as another user, and the folders on the
    // way to its home are opened to it.
    const QString top = QFileInfo(QDir::tempPath()).path();
    for (QDir folder(m_root.path()); OtherUser::available(); folder.cdUp()) {
        QFile::setPermissions(folder.path(), QFile::permissions(folder.path()) | QFile::ExeOther);
        if (folder.path() == top)
            break;
    }
    // The build may lie in a folder closed to others, such as root's home: the launcher and
    // the libraries it loads from its own folder are copied next to the files.
    const QFileInfo launcher(QStringLiteral(KUVO_PROGRAM));
    const QDir shared(m_root.filePath(QStringLiteral("program")));
    QVERIFY(shared.mkpath(QStringLiteral(".")));
    const auto everyone = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
        | QFile::ExeOther;
    QVERIFY(QFile::setPermissions(shared.path(), everyone));
    const QStringList parts
        = launcher.dir().entryList({launcher.fileName(), QStringLiteral("*.so")}, QDir::Files);
    for (const QString &name : parts) {
        QVERIFY(QFile::copy(launcher.dir().filePath(name), shared.filePath(name)));
        QVERIFY(QFile::setPermissions(shared.filePath(name), everyone));
    }
    m_sharedProgram = shared.filePath(launcher.fileName());
}

void TestOpenAudioImage::init()
{
    // A home and a runtime folder (and so a single-instance socket) of each test's own.
    for (const char *folder : {"home", "runtime"})
        QVERIFY(QDir(m_root.path()).mkpath(QString::fromLatin1(folder)));
    QFile::setPermissions(m_root.filePath(QStringLiteral("runtime")),
        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestOpenAudioImage::cleanup()
{
    if (m_first) {
        m_first->kill();
        m_first->waitForFinished(5000);
        m_first.reset();
    }
    for (const char *folder : {"home", "runtime"})
        QDir(m_root.filePath(QString::fromLatin1(folder))).removeRecursively();
}

QProcessEnvironment TestOpenAudioImage::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), m_root.filePath(QStringLiteral("home")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_root.filePath(QStringLiteral("home/.config")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_root.filePath(QStringLiteral("runtime")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return env;
}

void TestOpenAudioImage::startFirstCopy(const QStringList &arguments, bool otherUser)
{
    m_first = std::make_unique<QProcess>();
    m_first->setProcessEnvironment(environment());
    m_first->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (otherUser) {
        for (const char *folder : {"home", "runtime"})
            QVERIFY(
                ::chown(QFile::encodeName(m_root.filePath(QString::fromLatin1(folder))).constData(),
                    65534, 65534)
                == 0);
        OtherUser::start(*m_first, m_sharedProgram, arguments);
    } else {
        m_first->start(QStringLiteral(KUVO_PROGRAM), arguments);
    }
    QVERIFY(m_first->waitForStarted(5000));
}

QStringList TestOpenAudioImage::windowNames() const
{
    QProcess tree;
    tree.start(QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-tree")});
    if (!tree.waitForFinished(5000))
        return {};
    QStringList names;
    const QRegularExpression quoted(QStringLiteral("0x[0-9a-f]+ \"([^\"]*)\""));
    auto found = quoted.globalMatch(QString::fromUtf8(tree.readAllStandardOutput()));
    while (found.hasNext())
        names << found.next().captured(1);
    return names;
}

bool TestOpenAudioImage::waitForWindow(const QString &name) const
{
    QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired()) {
        if (windowNames().contains(name))
            return true;
        QTest::qWait(200);
    }
    return false;
}

void TestOpenAudioImage::firstCopyOpensThePlayer()
{
    startFirstCopy({QStringLiteral("-o"), m_kia});
    QVERIFY2(waitForWindow(QStringLiteral("Kuvo - Audio comment")),
        qPrintable(windowNames().join(QLatin1Char(','))));
}

void TestOpenAudioImage::secondCopyHandsTheFileOver()
{
    startFirstCopy({});
    const QString socket = m_root.filePath(QStringLiteral("runtime/KuvoApp"));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(socket), 20000);
    QVERIFY(!windowNames().contains(QStringLiteral("Kuvo - Audio comment")));

    // Named relative to the second copy's own folder.
    QProcess second;
    second.setProcessEnvironment(environment());
    second.setWorkingDirectory(QFileInfo(m_kia).absolutePath());
    second.start(QStringLiteral(KUVO_PROGRAM), {QStringLiteral("-o"), QFileInfo(m_kia).fileName()});
    QVERIFY(second.waitForFinished(30000));
    QCOMPARE(second.exitCode(), 0);
    QVERIFY(waitForWindow(QStringLiteral("Kuvo - Audio comment")));
    QCOMPARE(m_first->state(), QProcess::Running);
}

// Files a user may hand to "-o" that must be refused, quickly and with the reason.
void TestOpenAudioImage::refusedFilesSayWhy_data()
{
    QTest::addColumn<FileMaker>("make");
    QTest::addColumn<QString>("reason");
    QTest::newRow("fifo") << FileMaker([](const QString &name) {
        return ::mkfifo(QFile::encodeName(name).constData(), 0644) == 0;
    }) << "is not a file: a pipe";
    QTest::newRow("picture of 30000 x 30000 grey pixels") << FileMaker([](const QString &name) {
        return AudioImageFile(name).write(pngBomb(30000), wavTone(8000, 1, 0.1, 440));
    }) << "is too large: 30000 x 30000 pixels";
    // Lengths that add up, over a file with holes: 2.1 GB that take no disk.
    QTest::newRow("sparse file of 2.1 GB") << FileMaker([](const QString &name) {
        QFile sparse(name);
        const QByteArray lengths("\x89KIA\r\n\x1a\n\x01\0\0\0\0\0\0\x40\0\0\x80\x40", 20);
        return sparse.open(QIODevice::WriteOnly) && sparse.write(lengths) == 20
            && sparse.resize(20 + 0x40000000LL + 0x40800000LL);
    }) << "is too large: 2057 MB";
    QTest::newRow("folder") << FileMaker([](const QString &name) { return QDir().mkdir(name); })
                            << "is a folder, not a file";
    // Lengths that add up, with the parts' boundary in the wrong place.
    const QByteArray png = pngBytes(QImage(40, 30, QImage::Format_RGB32));
    const QByteArray wav = wavTone(8000, 1, 0.1, 440);
    QTest::newRow("empty picture")
        << FileMaker([=](const QString &name) { return AudioImageFile(name).write({}, png + wav); })
        << "is missing or damaged";
    QTest::newRow("boundary inside the sound") << FileMaker([=](const QString &name) {
        return AudioImageFile(name).write(png + wav.left(12), wav.mid(12));
    }) << "is not a WAV recording";
    // Closed to the other user the program runs as, or to this one where that cannot be.
    QTest::newRow("file of another user") << FileMaker([this](const QString &name) {
        return QFile::copy(m_kia, name)
            && QFile::setPermissions(
                name, OtherUser::available() ? QFile::ReadOwner : QFile::Permissions());
    }) << "permission denied";
}

// The program stays responsive, says in its error log what is wrong, and never holds more
// than a program of its own size.
void TestOpenAudioImage::refusedFilesSayWhy()
{
    QFETCH(FileMaker, make);
    QFETCH(QString, reason);
    const QString file = m_root.filePath(QStringLiteral("home/refused.kia"));
    QVERIFY(make(file));
    startFirstCopy({QStringLiteral("-o"), file}, OtherUser::available());
    const auto logged = [this] {
        QFile log(m_root.filePath(QStringLiteral("home/.kuvo/error.log")));
        return log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
    };
    QTRY_VERIFY2_WITH_TIMEOUT(logged().contains(reason.toUtf8()), logged().constData(), 20000);
    QCOMPARE(m_first->state(), QProcess::Running);
    QVERIFY(!windowNames().contains(QStringLiteral("Kuvo - Audio comment")));
    QFile status(QStringLiteral("/proc/%1/status").arg(m_first->processId()));
    QVERIFY(status.open(QIODevice::ReadOnly));
    const QRegularExpression peak(QStringLiteral("VmHWM:\\s+(\\d+) kB"));
    const qint64 peakMb
        = peak.match(QString::fromLatin1(status.readAll())).captured(1).toLongLong() >> 10;
    QVERIFY2(peakMb > 0 && peakMb < 200, qPrintable(QString::number(peakMb)));
}

QTEST_GUILESS_MAIN(TestOpenAudioImage)
#include "tst_openaudioimage_x11.moc"
