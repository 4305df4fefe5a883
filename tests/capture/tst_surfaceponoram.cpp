#include "kpainterarea.h"
#include "ponoram.h"
#include "ponorampreview.h"
#include "ponoramsession.h"
#include "quicktestsupport.h"
#include "scrollingdocument.h"
#include "surfacewidget.h"

#include <QPainter>
#include <QQuickItem>
#include <QScreen>
#include <QtTest>

#include <memory>

// The scrolling capture as the capture view runs it: started and finished from the page's
// buttons, the selection left to the document meanwhile, and the panorama, marked up on its
// own canvas, becoming what the view hands on.
class TestSurfacePonoram : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void panoramaReplacesTheSelection();
    void cancelLeavesTheSelection();
    void previewShowsTheNewestRows_data();
    void previewShowsTheNewestRows();
    void noticeKeepsClearOfTheSizeLabel_data();
    void noticeKeepsClearOfTheSizeLabel();

private:
    void click(const QString &name);
    void select(const QRectF &selection, quint32 seed = 11);

    QImage m_picture;
    std::unique_ptr<ScrollingDocument> m_document;
    QRect m_documentRect;
    std::unique_ptr<SurfaceWidget> m_view;
    QtMessageHandler m_previousHandler = nullptr;
};

void TestSurfacePonoram::initTestCase()
{
    m_picture = uniquePicture(QGuiApplication::primaryScreen()->geometry().size());
    SurfaceWidget::setGrabber([this](const QRect &rect) {
        if (m_document && rect == m_documentRect)
            return QPixmap::fromImage(m_document->window());
        return QPixmap::fromImage(m_picture.copy(rect));
    });
}

void TestSurfacePonoram::init()
{
    pageWarnings().clear();
    m_previousHandler = qInstallMessageHandler(&keepWarnings);
    m_view = std::make_unique<SurfaceWidget>();
    QVERIFY(m_view->isLoaded());
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get(), 5000));

    select(QRectF(200, 120, 300, 240));
}

void TestSurfacePonoram::select(const QRectF &selection, quint32 seed)
{
    m_view->selector()->setRubberRect(selection);
    m_documentRect = m_view->desktopSelectRect();
    ScrollingDocument::Options options;
    options.width = m_documentRect.width();
    options.windowRows = m_documentRect.height();
    options.documentRows = 1200;
    options.headerRows = 20;
    options.seed = seed;
    m_document = std::make_unique<ScrollingDocument>(options);
}

void TestSurfacePonoram::cleanup()
{
    m_view.reset();
    m_document.reset();
    qInstallMessageHandler(m_previousHandler);
    QVERIFY2(pageWarnings().isEmpty(), qPrintable(pageWarnings().join(QLatin1Char('\n'))));
}

// Where the user sees the button: after the page has laid itself out again.
void TestSurfacePonoram::click(const QString &name)
{
    QTest::qWait(50);
    QQuickItem *button = findSceneItem(m_view->rootObject(), name);
    QVERIFY2(button && button->isVisible(), qPrintable(name));
    const QPointF centre = button->mapToScene(QPointF(button->width() / 2, button->height() / 2));
    QVERIFY(!m_view->selectRect().contains(centre.toPoint()));
    QTest::mouseClick(m_view.get(), Qt::LeftButton, Qt::NoModifier, centre.toPoint());
}

void TestSurfacePonoram::panoramaReplacesTheSelection()
{
    click("ponoramStart");
    QVERIFY(m_view->isPonoramWork());
    QVERIFY(m_view->ponoram());
    QTRY_VERIFY2(m_view->ponoram()->isRunning(), "the first grab did not follow");
    QVERIFY2(!m_view->mask().contains(m_view->selectRect().center()),
        "the document under the selection cannot be scrolled");
    QVERIFY(!findSceneItem(m_view->rootObject(), "toolBar")->isVisible());
    m_view->ponoram()->setPointerSource([this] { return m_documentRect.center(); });
    for (int i = 0; i < 12; ++i) {
        m_document->scrollBy(35);
        m_view->ponoram()->shotTimer();
    }
    QCOMPARE(m_view->ponoramSize(), m_document->expected().size());
    auto *preview = m_view->rootObject()->findChild<PonoramPreview *>("ponoramPreview");
    QVERIFY(preview);
    QVERIFY(!preview->shownImage().isNull());

    click("ponoramStop");
    QVERIFY(!m_view->isPonoramWork());
    QVERIFY(m_view->ponoramDone());
    QVERIFY(m_view->mask().contains(m_view->selectRect().center()));
    QTRY_VERIFY(findSceneItem(m_view->rootObject(), "ponoramItem")->isVisible());
    QCOMPARE(m_view->renderRubberRect().toImage().convertToFormat(QImage::Format_RGB32),
        m_document->expected());

    // A shape drawn on the panorama's own canvas, scrolled down, lands in the output there.
    KPainterArea *canvas = m_view->ponoramPaintArea();
    QVERIFY(canvas);
    auto *flick = findSceneItem(m_view->rootObject(), "edit_flick");
    flick->setProperty("contentY", 200);
    if (canvas->currentModule() != "Rect")
        canvas->setCurrentModule("Rect");
    const QPoint from = canvas->mapToScene(QPointF(40, 260)).toPoint();
    const QPoint to = canvas->mapToScene(QPointF(120, 330)).toPoint();
    QTest::mousePress(m_view.get(), Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(m_view.get(), (from + to) / 2);
    QTest::mouseMove(m_view.get(), to);
    QTest::mouseRelease(m_view.get(), Qt::LeftButton, Qt::NoModifier, to);
    const QImage marked
        = m_view->renderRubberRect().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage expected = m_document->expected();
    QCOMPARE(marked.size(), expected.size());
    QVERIFY(marked.pixel(40, 290) != expected.pixel(40, 290));
    QCOMPARE(marked.pixel(200, 100), expected.pixel(200, 100));
    QCOMPARE(marked.pixel(80, 10), expected.pixel(80, 10));

    // The keys undo on the canvas the user marks up, the panorama's.
    SurfaceWidget::setModifierSource([] { return Qt::KeyboardModifiers(Qt::ControlModifier); });
    QTest::keyClick(m_view.get(), Qt::Key_Z, Qt::ControlModifier);
    SurfaceWidget::setModifierSource({});
    QCOMPARE(m_view->renderRubberRect().toImage().convertToFormat(QImage::Format_RGB32), expected);

    QSignalSpy uploads(m_view.get(), &SurfaceWidget::uploadedScreen);
    m_view->uploadScreen();
    QCOMPARE(uploads.count(), 1);
}

void TestSurfacePonoram::cancelLeavesTheSelection()
{
    click("ponoramStart");
    QVERIFY(m_view->isPonoramWork());
    click("ponoramCancel");
    QVERIFY(!m_view->isPonoramWork());
    QVERIFY(!m_view->ponoramDone());
    QVERIFY(m_view->mask().contains(m_view->selectRect().center()));
    QCOMPARE(m_view->renderRubberRect().toImage().convertToFormat(QImage::Format_RGB32),
        m_picture.copy(m_view->desktopSelectRect()));
    QVERIFY(findSceneItem(m_view->rootObject(), "toolBar")->isVisible());
}

void TestSurfacePonoram::previewShowsTheNewestRows_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("firstRowShown");
    QTest::addColumn<int>("shownHeight");
    QTest::newRow("taller than the card") << QSize(192, 1000) << 1000 - 468 << 234;
    QTest::newRow("lower than the card") << QSize(192, 300) << 0 << 150;
}

void TestSurfacePonoram::previewShowsTheNewestRows()
{
    QFETCH(QSize, size);
    QFETCH(int, firstRowShown);
    QFETCH(int, shownHeight);

    // One colour per row, so the row behind a thumbnail pixel reads back from it.
    QImage picture(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        std::fill_n(reinterpret_cast<QRgb *>(picture.scanLine(y)), size.width(),
            qRgb(y & 0xff, y >> 8, 77));
    PonoramPreview preview;
    preview.setImage(QImage());
    QVERIFY(preview.shownImage().isNull());
    preview.setImage(picture);
    QCOMPARE(preview.shownImage().size(), QSize(PonoramPreview::kWidth, shownHeight));

    QImage card(112, 253, QImage::Format_ARGB32_Premultiplied);
    card.fill(Qt::transparent);
    QPainter painter(&card);
    preview.paint(&painter);
    painter.end();
    const auto rowOf = [](QRgb pixel) { return qRed(pixel) + (qGreen(pixel) << 8); };
    QCOMPARE(rowOf(card.pixel(9, 9)), firstRowShown);
    // Nearest scaling samples every other row here; the last sample is the newest pair.
    QVERIFY(rowOf(card.pixel(104, 9 + shownHeight - 1)) >= size.height() - 2);
    if (shownHeight < PonoramPreview::kHeight)
        QCOMPARE(card.pixel(50, 242), qRgb(255, 255, 255));

    preview.setImage(QImage());
    QCOMPARE(preview.shownImage().size(), QSize(PonoramPreview::kWidth, shownHeight));
}

void TestSurfacePonoram::noticeKeepsClearOfTheSizeLabel_data()
{
    const int right = QGuiApplication::primaryScreen()->geometry().width();
    QTest::addColumn<QRectF>("selection");
    QTest::newRow("room beside the label") << QRectF(200, 120, 300, 240);
    QTest::newRow("at the screen's right edge") << QRectF(right - 130, 120, 130, 240);
    QTest::newRow("at the screen's top") << QRectF(200, 0, 300, 240);
}

// The notice of a capture that ended early is read beside the selection's size, not over it.
void TestSurfacePonoram::noticeKeepsClearOfTheSizeLabel()
{
    QFETCH(QRectF, selection);
    select(selection);
    click("ponoramStart");
    QTRY_VERIFY(m_view->ponoram() && m_view->ponoram()->isRunning());
    m_view->ponoram()->setPointerSource([this] { return m_documentRect.center(); });
    select(selection, 12); // other content in the same place: found nowhere
    m_view->ponoram()->shotTimer();
    QTRY_VERIFY(m_view->ponoramDone() && m_view->ponoramSession()->isPonoramError());
    QTest::qWait(50);

    // The notice's text is red, the label's white.
    const QImage shown = shownPicture(m_view.get());
    const auto redPixels = [this, &shown](const char *name) {
        QQuickItem *item = findSceneItem(m_view->rootObject(), name);
        const QRect area = item->mapRectToScene(item->boundingRect()).toRect() & shown.rect();
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x)
                count += qRed(shown.pixel(x, y)) > 160 && qGreen(shown.pixel(x, y)) < 120;
        }
        return item->isVisible() ? count : -1;
    };
    QVERIFY(redPixels("ponoramNotice") > 20);
    QCOMPARE(redPixels("textSizeBackground"), 0);
}

QTEST_MAIN(TestSurfacePonoram)
#include "tst_surfaceponoram.moc"
