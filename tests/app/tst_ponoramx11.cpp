#include "core.h"
#include "coretestsupport.h"
#include "ponoram.h"
#include "ponorampreview.h"
#include "ponoramsession.h"
#include "quicktestsupport.h"
#include "scrollingdocument.h"
#include "setting.h"
#include "surfaceponoramscreen.h"
#include "surfacewidget.h"

#include <QClipboard>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QJsonObject>
#include <QProcess>
#include <QQuickItem>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QThread>

// A real scroll on a real X server: a window of known rows scrolled by wheel clicks from
// xdotool under the panorama window, whose panorama must hold exactly those rows, and leave
// through the upload, save and copy routes.
class TestPonoramX11 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void scrolledWindowBecomesThePanorama_data();
    void scrolledWindowBecomesThePanorama();
    void captureViewTakesTheScrolledPanorama();

private:
    bool xdotool(const QStringList &arguments);
    // Points into the window, turns the wheel there while the capture runs, and waits for the
    // capture to end by itself, short or not.
    void scrollToTheEnd(PonoramSession *session, int notches, bool endsShort);
    QImage expected(int scroll) const;

    StandinService m_service;
    Core *m_core = nullptr;
    QProcess m_window;
    QRect m_windowRect;
    QString m_answer;
};

namespace {

constexpr int kWidth = 360;
constexpr int kRows = 300;
constexpr int kDocumentRows = 1400;
constexpr int kNotches = 14;

ScrollingDocument::Options documentOptions()
{
    ScrollingDocument::Options options;
    options.width = kWidth;
    options.windowRows = kRows;
    options.documentRows = kDocumentRows;
    // On the user's road the selection also takes in columns that never scroll beside the
    // document, which has a blank stretch taller than the strip.
    const bool road
        = QByteArray(QTest::currentTestFunction()) == "captureViewTakesTheScrolledPanorama";
    options.fixedColumns = road ? 30 : 0;
    // Or a blank stretch taller than the window, in which the document comes to rest.
    const bool rests = QByteArray(QTest::currentDataTag()).contains("rests");
    options.blankStretches = {{420, road ? 170 : rests ? 400 : 0}};
    return options;
}

QImage contentColumns(const QImage &picture)
{
    const ScrollingDocument document(documentOptions());
    return picture.convertToFormat(QImage::Format_RGB32)
        .copy(document.contentLeft(), 0, document.contentWidth(), picture.height());
}

} // namespace

void TestPonoramX11::initTestCase()
{
    QVERIFY(startSignedIn(m_service));
    m_core = Core::instance();
    m_core->setSaveFileAsker([this](const QString &, const QString &) { return m_answer; });
}

// A fresh window for every capture: its document starts at the top.
void TestPonoramX11::init()
{
    m_service.reset();
    Setting::instance()->setValue(QStringLiteral("qualityImage"), 2);
    const ScrollingDocument::Options options = documentOptions();
    m_window.start(QStringLiteral(KUVO_TALLPICTURE),
        {"200", "150", QString::number(kWidth), QString::number(kRows),
            QString::number(kDocumentRows), QString::number(options.fixedColumns), "420",
            QString::number(options.blankStretches.first().second)});
    QVERIFY(m_window.waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(m_window.canReadLine(), 10000);
    const QList<QByteArray> ready = m_window.readLine().trimmed().split(' ');
    QCOMPARE(ready.size(), 5);
    m_windowRect = QRect(ready[1].toInt(), ready[2].toInt(), ready[3].toInt(), ready[4].toInt());
    QCOMPARE(m_windowRect.size(), QSize(kWidth, kRows));
}

void TestPonoramX11::cleanup()
{
    m_window.kill();
    m_window.waitForFinished(5000);
}

// The event loop runs meanwhile: the capture grabs while the wheel turns.
bool TestPonoramX11::xdotool(const QStringList &arguments)
{
    QProcess tool;
    QSignalSpy finished(&tool, qOverload<int, QProcess::ExitStatus>(&QProcess::finished));
    tool.start(QStringLiteral("xdotool"), arguments);
    return finished.wait(20000) && tool.exitCode() == 0;
}

void TestPonoramX11::scrolledWindowBecomesThePanorama_data()
{
    QTest::addColumn<QString>("route");
    QTest::addColumn<int>("notches");
    QTest::addColumn<int>("shownScroll");
    QTest::newRow("upload") << "upload" << kNotches << kNotches * 40;
    QTest::newRow("save") << "save" << kNotches << kNotches * 40;
    QTest::newRow("copy") << "copy" << kNotches << kNotches * 40;
    // Resting at 440 all the window shows is blank: the panorama ends with the grab at 400.
    QTest::newRow("copy, rests in a blank stretch") << "copy" << 11 << 400;
}

void TestPonoramX11::scrolledWindowBecomesThePanorama()
{
    QFETCH(QString, route);
    QFETCH(int, notches);
    QFETCH(int, shownScroll);
    const bool endsShort = shownScroll < notches * 40;

    m_core->ponoramScreen();
    QPointer<SurfacePonoramScreen> view = m_core->surfacePonoramScreen();
    QVERIFY(view);
    QVERIFY(QTest::qWaitForWindowExposed(view, 5000));
    view->selector()->setRubberRect(QRectF(m_windowRect.translated(-view->position())));
    scrollToTheEnd(view->session(), notches, endsShort);
    if (QTest::currentTestFailed())
        return;
    auto *preview
        = view->rootObject()->findChild<PonoramPreview *>(QStringLiteral("ponoramPreview"));
    QVERIFY(preview && !preview->shownImage().isNull());
    QTRY_COMPARE(findSceneItem(view->rootObject(), "ponoramNotice")->isVisible(), endsShort);

    QCOMPARE(view->session()->ponoramSize(), expected(shownScroll).size());
    QCOMPARE(view->renderRubberRect().toImage().convertToFormat(QImage::Format_RGB32),
        expected(shownScroll));

    QTemporaryDir folder;
    m_answer = folder.filePath(QStringLiteral("panorama"));
    QSignalSpy link(m_core, &Core::lastLinkChanged);
    QImage delivered;
    if (route == "upload") {
        view->uploadScreen();
        QVERIFY(link.wait(10000));
        const QJsonArray creates = m_service.requests(QStringLiteral("/drive/v1/files"));
        QCOMPARE(creates.size(), 1);
        const QString title = creates.first().toObject()["json"].toObject()["title"].toString();
        delivered = QImage(QDir(QDir::homePath() + "/.kuvo/tmp").filePath(title));
    } else if (route == "save") {
        view->saveScreen();
        delivered = QImage(m_answer + QStringLiteral(".png"));
    } else {
        view->screenSaveToClipboard();
        delivered = QGuiApplication::clipboard()->image();
    }
    QTRY_VERIFY_WITH_TIMEOUT(!view, 2000);
    QCOMPARE(delivered.convertToFormat(QImage::Format_RGB32), expected(shownScroll));
}

// The road a user takes: the capture view's play button, the wheel over the document, and the
// copy of the finished panorama.
void TestPonoramX11::captureViewTakesTheScrolledPanorama()
{
    m_core->screen(false, false);
    QPointer<SurfaceWidget> view = m_core->surfaceWidget();
    QVERIFY(view);
    QVERIFY(QTest::qWaitForWindowExposed(view, 5000));
    view->selector()->setRubberRect(QRectF(m_windowRect.translated(-view->position())));
    QQuickItem *play = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT(
        (play = findSceneItem(view->rootObject(), QStringLiteral("ponoramStart"))), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(play->isVisible() && play->width() > 0, 5000);
    const QPoint at = view->mapToGlobal(
        play->mapToScene(QPointF(play->width() / 2, play->height() / 2)).toPoint());
    QVERIFY(xdotool({"mousemove", QString::number(at.x()), QString::number(at.y())}));
    QVERIFY(xdotool({"click", "1"}));
    QTRY_VERIFY_WITH_TIMEOUT(view->isPonoramWork(), 2000);
    scrollToTheEnd(view->ponoramSession(), kNotches, false);
    if (QTest::currentTestFailed())
        return;

    QGuiApplication::clipboard()->clear();
    view->screenSaveToClipboard();
    QTRY_VERIFY_WITH_TIMEOUT(!view, 2000);
    QCOMPARE(contentColumns(QGuiApplication::clipboard()->image()), expected(kNotches * 40));
}

void TestPonoramX11::scrollToTheEnd(PonoramSession *session, int notches, bool endsShort)
{
    QVERIFY(session->isPonoramWork());
    QTRY_VERIFY_WITH_TIMEOUT(session->engine() && session->engine()->isRunning(), 2000);
    const QPointer<Ponoram> engine = session->engine();
    const QPoint centre = m_windowRect.center();
    QVERIFY(xdotool({"mousemove", QString::number(centre.x()), QString::number(centre.y())}));

    // A person takes a moment to reach the wheel: more grabs of the still document than end a
    // capture once it has moved. Then the wheel turns one notch before each grab, and the grab
    // waits until the window shows it: however slow the machine, the document stands still
    // only after the last notch. Nothing here turns the event loop, which would let the engine
    // grab inside a grab.
    const auto screen = [](const QRect &rect) {
        return QGuiApplication::primaryScreen()
            ->grabWindow(0, rect.x(), rect.y(), rect.width(), rect.height())
            .toImage();
    };
    const auto turnWheel = []() -> QString {
        QProcess tool;
        tool.start(QStringLiteral("xdotool"), {"click", "5"});
        if (!tool.waitForFinished(10000) || tool.exitCode() != 0)
            return QStringLiteral("xdotool click failed: ") + tool.errorString() + ' '
                + QString::fromLocal8Bit(tool.readAllStandardError());
        return {};
    };
    int grabs = 0;
    int turned = 0;
    QString trouble;
    engine->setGrabber([&](const QRect &rect) {
        if (++grabs > Ponoram::kRepeatsToStop + 1 && turned < notches && trouble.isEmpty()) {
            const QImage before = screen(rect);
            ++turned;
            trouble = turnWheel();
            const QDeadlineTimer deadline(10000);
            while (trouble.isEmpty() && screen(rect) == before) {
                if (deadline.hasExpired())
                    trouble = QStringLiteral("notch %1 did not show in 10 s").arg(turned);
                QThread::msleep(10);
            }
        }
        return screen(rect);
    });
    // The engine must not call into this function's variables once it has returned.
    const auto restore = qScopeGuard([engine = QPointer<Ponoram>(engine)] {
        if (engine)
            engine->setGrabber({});
    });
    QTRY_VERIFY_WITH_TIMEOUT(session->ponoramDone() || !trouble.isEmpty(), 30000);
    QVERIFY2(trouble.isEmpty(), qPrintable(trouble));
    QCOMPARE(turned, notches);
    // Ending short, the page says so.
    QCOMPARE(session->isPonoramError(), endsShort);
    QCOMPARE(session->isPonoramBlank(), endsShort);
}

QImage TestPonoramX11::expected(int scroll) const
{
    ScrollingDocument document(documentOptions());
    document.scrollTo(scroll);
    return document.expected();
}

QTEST_MAIN(TestPonoramX11)
#include "tst_ponoramx11.moc"
