#include "audiofiles.h"
#include "audioimagefile.h"
#include "kailibrary.h"

#include <QImage>
#include <QProcess>
#include <QtTest>

#include <memory>

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

private:
    QProcessEnvironment environment() const;
    void startFirstCopy(const QStringList &arguments);
    // The names of the program's windows on the X server.
    QStringList windowNames() const;
    bool waitForWindow(const QString &name) const;

    QTemporaryDir m_root;
    QString m_kia;
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

void TestOpenAudioImage::startFirstCopy(const QStringList &arguments)
{
    m_first = std::make_unique<QProcess>();
    m_first->setProcessEnvironment(environment());
    m_first->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_first->start(QStringLiteral(KUVO_PROGRAM), arguments);
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

QTEST_GUILESS_MAIN(TestOpenAudioImage)
#include "tst_openaudioimage_x11.moc"
