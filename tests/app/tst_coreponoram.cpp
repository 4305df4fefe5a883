#include "core.h"
#include "coretestsupport.h"
#include "editponoramwidget.h"
#include "ponoram.h"
#include "ponoramsession.h"
#include "quicktestsupport.h"
#include "scrollingdocument.h"
#include "setting.h"
#include "surfaceponoramscreen.h"
#include "surfacewidget.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QJsonObject>
#include <QScreen>
#include <QTemporaryDir>

#include <memory>

// The panorama routes of the controller: a scrolled document, captured in the panorama window
// or in the capture view, reaching the stand-in service, a file and the clipboard as the
// panorama, and nothing leaving before a panorama exists.
class TestCorePonoram : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void panoramaWindowUploadsOnlyAFinishedPanorama();
    void panoramaWindowSavesAndCopies_data();
    void panoramaWindowSavesAndCopies();
    void captureViewPanoramaGoesThroughTheCaptureRoutes();
    void editorOpensOnceAndIsReleasedOnEveryClose();
    void editorOutputRoutes_data();
    void editorOutputRoutes();

private:
    // Selects the document's rectangle in the panorama window and scrolls it to the end.
    SurfacePonoramScreen *capturePanorama();
    void scroll(Ponoram *engine);

    StandinService m_service;
    Core *m_core = nullptr;
    QImage m_picture;
    const QRect m_documentRect = QRect(100, 80, 320, 260);
    std::unique_ptr<ScrollingDocument> m_document;
    QString m_answer;
};

void TestCorePonoram::initTestCase()
{
    QVERIFY(startSignedIn(m_service));
    m_picture = uniquePicture(QGuiApplication::primaryScreen()->geometry().size());
    SurfaceWidget::setGrabber([this](const QRect &rect) {
        if (m_document && rect == m_documentRect)
            return QPixmap::fromImage(m_document->window());
        return QPixmap::fromImage(m_picture.copy(rect));
    });
    m_core = Core::instance();
    m_core->setSaveFileAsker([this](const QString &, const QString &) { return m_answer; });
}

void TestCorePonoram::init()
{
    m_service.reset();
    Setting::instance()->setValue(QStringLiteral("qualityImage"), 2);
    ScrollingDocument::Options options;
    options.width = m_documentRect.width();
    options.windowRows = m_documentRect.height();
    options.documentRows = 900;
    options.scrollBarWidth = 10;
    m_document = std::make_unique<ScrollingDocument>(options);
}

void TestCorePonoram::cleanup()
{
    if (m_core->editPonoramWidget())
        m_core->editPonoramWidget()->close();
    if (m_core->surfaceWidget())
        m_core->surfaceWidget()->close();
    QTest::qWait(20);
    m_document.reset();
}

void TestCorePonoram::scroll(Ponoram *engine)
{
    QVERIFY(engine);
    QTRY_VERIFY(engine->isRunning());
    engine->setPointerSource([this] { return m_documentRect.center(); });
    while (m_document->scroll() < m_document->lastScroll()) {
        m_document->scrollBy(70);
        engine->shotTimer();
    }
}

SurfacePonoramScreen *TestCorePonoram::capturePanorama()
{
    m_core->ponoramScreen();
    SurfacePonoramScreen *view = m_core->surfacePonoramScreen();
    if (!view || !view->selector() || !QTest::qWaitForWindowExposed(view, 5000))
        return nullptr;
    view->selector()->setRubberRect(QRectF(m_documentRect.translated(-view->position())));
    if (!view->session()->isPonoramWork())
        return nullptr;
    scroll(view->session()->engine());
    return view;
}

void TestCorePonoram::panoramaWindowUploadsOnlyAFinishedPanorama()
{
    m_core->ponoramScreen();
    QPointer<SurfacePonoramScreen> first = m_core->surfacePonoramScreen();
    QVERIFY(first);
    m_core->ponoramScreen();
    QVERIFY2(!first, "a second panorama window did not replace the first");

    QPointer<SurfacePonoramScreen> view = capturePanorama();
    QVERIFY(view);
    view->uploadScreen();
    QVERIFY(view);
    QVERIFY(view->renderRubberRect().isNull());
    QCOMPARE(m_service.arrivals(QStringLiteral("/drive/v1/files")).size(), 0);

    view->stopPonoram();
    QVERIFY(view->session()->ponoramDone());
    QSignalSpy link(m_core, &Core::lastLinkChanged);
    view->uploadScreen();
    QTRY_VERIFY_WITH_TIMEOUT(!view, 2000);
    QVERIFY(link.wait(10000));
    const QJsonArray creates = m_service.requests(QStringLiteral("/drive/v1/files"));
    QCOMPARE(creates.size(), 1);
    const QString title = creates.first().toObject()["json"].toObject()["title"].toString();
    const QImage sent = QImage(QDir(QDir::homePath() + "/.kuvo/tmp").filePath(title));
    QCOMPARE(sent.copy(0, 0, m_document->contentWidth(), sent.height())
                 .convertToFormat(QImage::Format_RGB32),
        m_document->expected());
}

void TestCorePonoram::panoramaWindowSavesAndCopies_data()
{
    QTest::addColumn<bool>("save");
    QTest::newRow("save") << true;
    QTest::newRow("copy") << false;
}

void TestCorePonoram::panoramaWindowSavesAndCopies()
{
    QFETCH(bool, save);

    QTemporaryDir folder;
    m_answer = folder.filePath(QStringLiteral("panorama"));
    QPointer<SurfacePonoramScreen> view = capturePanorama();
    QVERIFY(view);
    view->stopPonoram();
    if (save)
        view->saveScreen();
    else
        view->screenSaveToClipboard();
    QTRY_VERIFY_WITH_TIMEOUT(!view, 2000);
    const QImage result
        = save ? QImage(m_answer + QStringLiteral(".png")) : QGuiApplication::clipboard()->image();
    QCOMPARE(result.copy(0, 0, m_document->contentWidth(), result.height())
                 .convertToFormat(QImage::Format_RGB32),
        m_document->expected());
}

// The capture view's own scrolling capture: the panorama becomes what the ordinary routes
// take from the view.
void TestCorePonoram::captureViewPanoramaGoesThroughTheCaptureRoutes()
{
    m_core->screen(false, false);
    QPointer<SurfaceWidget> view = m_core->surfaceWidget();
    QVERIFY(view);
    view->selector()->setRubberRect(QRectF(m_documentRect.translated(-view->position())));
    view->startPonoram();
    QVERIFY(view->isPonoramWork());
    scroll(view->ponoram());
    view->stopPonoram();
    QVERIFY(view->ponoramDone());

    QGuiApplication::clipboard()->clear();
    view->screenSaveToClipboard();
    QTRY_VERIFY_WITH_TIMEOUT(!view, 2000);
    const QImage copied = QGuiApplication::clipboard()->image();
    QCOMPARE(copied.copy(0, 0, m_document->contentWidth(), copied.height())
                 .convertToFormat(QImage::Format_RGB32),
        m_document->expected());
}

// A window the window manager closes is released too, or no later picture would open.
void TestCorePonoram::editorOpensOnceAndIsReleasedOnEveryClose()
{
    m_core->ponoramEdit(QPixmap::fromImage(m_picture.copy(0, 0, 400, 300)));
    QPointer<EditPonoramWidget> editor = m_core->editPonoramWidget();
    QVERIFY(editor);
    QVERIFY(editor->isVisible());
    m_core->ponoramEdit(QPixmap::fromImage(m_picture.copy(0, 0, 200, 100)));
    QCOMPARE(m_core->editPonoramWidget(), editor.data());
    QCOMPARE(editor->pictureSize(), QSize(400, 300));

    QCloseEvent event;
    QCoreApplication::sendEvent(editor.data(), &event);
    QTRY_VERIFY_WITH_TIMEOUT(!editor, 2000);
    QVERIFY(!m_core->editPonoramWidget());
    m_core->ponoramEdit(QPixmap::fromImage(m_picture.copy(0, 0, 200, 100)));
    QVERIFY(m_core->editPonoramWidget());
    QCOMPARE(m_core->editPonoramWidget()->pictureSize(), QSize(200, 100));
}

void TestCorePonoram::editorOutputRoutes_data()
{
    QTest::addColumn<QString>("route");
    QTest::newRow("upload") << "upload";
    QTest::newRow("save") << "save";
    QTest::newRow("copy") << "copy";
}

// The marked-up picture, at its own size, reaches the service, a file or the clipboard.
void TestCorePonoram::editorOutputRoutes()
{
    QFETCH(QString, route);

    const QImage picture = m_picture.copy(30, 20, 500, 300);
    m_core->ponoramEdit(QPixmap::fromImage(picture));
    QPointer<EditPonoramWidget> editor = m_core->editPonoramWidget();
    QVERIFY(editor);
    QQuickItem *slider = findSceneItem(editor->rootObject(), "zoom_slider");
    QVERIFY(slider);
    slider->setProperty("value", 50);
    QImage expected = picture;
    expected.setPixel(10, 10, qRgb(1, 2, 3));
    editor->paintArea()->setBackground(expected);

    QTemporaryDir folder;
    m_answer = folder.filePath(QStringLiteral("picture"));
    QSignalSpy link(m_core, &Core::lastLinkChanged);
    QGuiApplication::clipboard()->clear();
    if (route == "upload")
        editor->uploadScreen();
    else if (route == "save")
        editor->saveScreen();
    else
        editor->screenSaveToClipboard();
    QTRY_VERIFY_WITH_TIMEOUT(!editor, 2000);

    QImage result;
    if (route == "upload") {
        QVERIFY(link.wait(10000));
        const QJsonArray creates = m_service.requests(QStringLiteral("/drive/v1/files"));
        QCOMPARE(creates.size(), 1);
        const QString title = creates.first().toObject()["json"].toObject()["title"].toString();
        result = QImage(QDir(QDir::homePath() + "/.kuvo/tmp").filePath(title));
    } else {
        result = route == "save" ? QImage(m_answer + QStringLiteral(".png"))
                                 : QGuiApplication::clipboard()->image();
    }
    QCOMPARE(result.convertToFormat(QImage::Format_RGB32), expected);
}

QTEST_MAIN(TestCorePonoram)
#include "tst_coreponoram.moc"
