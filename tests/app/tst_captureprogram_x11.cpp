#include "quicktestsupport.h"
#include "screenwatch.h"
#include "setting.h"
#include "standinservice.h"
#include "surfaceselector.h"

#include <QLocalSocket>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include <memory>

// The real program as a user starts it, in its default configuration (no settings of the test
// harness reach it), on an X server with a window manager: what the screen shows is read back
// from the server, as a user's eyes would see it.
class TestCaptureProgram : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void captureShowsTheScreenOfTheCommand();

private:
    QProcessEnvironment programEnvironment() const;
    bool startProgram();
    QStringList windowLibrariesMapped() const;
    QImage shaded(const QImage &picture) const;
    bool shows(const QRect &rect, const QImage &expected);
    void drag(const QPoint &from, const QPoint &to);

    StandinService m_service;
    ScreenWatch m_watch;
    std::unique_ptr<QProcess> m_kuvo;
};

void TestCaptureProgram::initTestCase()
{
    if (!m_watch.isOpen())
        QSKIP("needs an X server (run through tests/support/xvfb.sh)");
    QVERIFY(m_service.start());
    // The program shares this home: the account is signed in before it starts, and Escape
    // closes a capture with a selection without asking.
    Setting::instance()->setValue(QStringLiteral("token"), m_service.issueToken());
    Setting::instance()->setValue(
        QStringLiteral("showCloseSurfaceWindow"), QStringLiteral("false"));
    Setting::instance()->getValueDB(QStringLiteral("token"));
    QVERIFY(startProgram());
}

void TestCaptureProgram::cleanupTestCase()
{
    if (!m_kuvo)
        return;
    m_kuvo->terminate();
    if (!m_kuvo->waitForFinished(5000))
        m_kuvo->kill();
    m_kuvo->waitForFinished(5000);
}

// The harness picks the scene graph for its own unit tests; the program must choose alone.
QProcessEnvironment TestCaptureProgram::programEnvironment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QUICK_BACKEND"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return env;
}

bool TestCaptureProgram::startProgram()
{
    m_kuvo = std::make_unique<QProcess>();
    m_kuvo->setProcessEnvironment(programEnvironment());
    m_kuvo->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_kuvo->setStandardOutputFile(QProcess::nullDevice());
    m_kuvo->start(QStringLiteral(KUVO_PROGRAM),
        {QStringLiteral("-beta"), m_service.httpsHost(), m_service.httpsHost()});
    const QString socket = qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/KuvoApp");
    return QTest::qWaitFor(
        [&] {
            QLocalSocket probe;
            probe.connectToServer(socket);
            return probe.waitForConnected(100);
        },
        15000);
}

// Of the libraries only windows use, those the program has mapped.
QStringList TestCaptureProgram::windowLibrariesMapped() const
{
    QFile maps(QStringLiteral("/proc/%1/maps").arg(m_kuvo->processId()));
    if (!maps.open(QIODevice::ReadOnly))
        return {maps.errorString()};
    const QRegularExpression library(
        QStringLiteral("/lib(Qt5Quick|Qt5Qml|Qt5Multimedia|curl|kuvo_windows)\\.so"));
    QStringList mapped;
    for (const QByteArray &line : maps.readAll().split('\n')) {
        const QRegularExpressionMatch found = library.match(QString::fromUtf8(line));
        if (found.hasMatch() && !mapped.contains(found.captured(1)))
            mapped << found.captured(1);
    }
    return mapped;
}

QImage TestCaptureProgram::shaded(const QImage &picture) const
{
    QImage out = picture.convertToFormat(QImage::Format_RGB32);
    QPainter(&out).fillRect(out.rect(), SurfaceSelector::shadeColor());
    return out;
}

bool TestCaptureProgram::shows(const QRect &rect, const QImage &expected)
{
    return QTest::qWaitFor([&] { return m_watch.grab(rect) == expected; }, 10000);
}

void TestCaptureProgram::drag(const QPoint &from, const QPoint &to)
{
    m_watch.moveTo(from);
    QTest::qWait(50);
    m_watch.button(true);
    for (int step = 1; step <= 4; ++step) {
        m_watch.moveTo(from + (to - from) * step / 4);
        QTest::qWait(30);
    }
    m_watch.button(false);
}

void TestCaptureProgram::captureShowsTheScreenOfTheCommand()
{
    const QSize size = m_watch.screenSize();
    const QImage before = uniquePicture(size);
    QImage later = before;
    later.invertPixels();
    QVERIFY(m_watch.setRootPicture(before));
    m_watch.moveTo(QPoint(size.width() - 5, size.height() - 5));
    QTRY_VERIFY(!m_watch.fullWindowMapped());
    // Waiting in the tray, the program holds nothing only windows need; a capture brings it in.
    QCOMPARE(windowLibrariesMapped(), QStringList());

    QCOMPARE(QProcess::execute(QStringLiteral(KUVO_PROGRAM), {QStringLiteral("-screen")}), 0);
    const QRect probe(size.width() / 2, size.height() / 3, 120, 60);
    QVERIFY2(shows(probe, shaded(before.copy(probe))), "the capture view did not show the screen");
    QVERIFY(m_watch.fullWindowMapped());
    QVERIFY(windowLibrariesMapped().contains(QStringLiteral("kuvo_windows")));
    QVERIFY(windowLibrariesMapped().contains(QStringLiteral("Qt5Quick")));

    // Frozen: the desktop changing behind the view changes nothing on it.
    QVERIFY(m_watch.setRootPicture(later));
    QTest::qWait(200);
    QCOMPARE(m_watch.grab(probe), shaded(before.copy(probe)));

    // The selection shows the picture itself; the rest stays shaded.
    drag(QPoint(200, 150), QPoint(600, 450));
    const QRect inside(260, 210, 280, 180);
    QVERIFY2(shows(inside, before.copy(inside)), "the selection is not clear");
    QCOMPARE(m_watch.grab(probe), shaded(before.copy(probe)));
    const QRect above(220, 40, 360, 60);
    QCOMPARE(m_watch.grab(above), shaded(before.copy(above)));

    m_watch.key("Escape");
    QTRY_VERIFY_WITH_TIMEOUT(!m_watch.fullWindowMapped(), 5000);
    QVERIFY(shows(probe, later.copy(probe)));
    QVERIFY(m_kuvo->state() == QProcess::Running);
}

QTEST_GUILESS_MAIN(TestCaptureProgram)
#include "tst_captureprogram_x11.moc"
