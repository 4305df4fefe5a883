#include "magnifieritem.h"
#include "pictureformat.h"
#include "quicktestsupport.h"
#include "setting.h"
#include "surfacewidget.h"
#include "textitem.h"

#include <QBuffer>
#include <QClipboard>
#include <QImageReader>
#include <QQuickItem>
#include <QScreen>
#include <QTemporaryDir>
#include <QUndoCommand>
#include <QUndoStack>
#include <QtTest>

#include <memory>

// The capture view over a known grab: what it selects and renders, the mouse rules, and that
// no output leaves it without a selection.
class TestSurfaceWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void formatFollowsQualitySetting_data();
    void formatFollowsQualitySetting();
    void failedWriteKeepsTheOldFile();
    void screensOfDifferentHeightsComposeOnBlack();
    void selectRectRoundsToWholePixels();
    void backgroundReachesThePageAndTheCanvas();
    void laterBackgroundReplacesTheShownOne();
    void aCaptureOverAnOpenOneStartsAfresh();
    void aClosedCaptureLetsGoOfItsPicture();
    void outputNeedsASelection_data();
    void outputNeedsASelection();
    void clipboardCopyWaitsOnceAndDiesWithTheView();
    void keysReachTheirActions_data();
    void keysReachTheirActions();
    void ctrlCCopiesTheSelectedTextOfABox();
    void colourCopyTakesThePixelUnderThePointer_data();
    void colourCopyTakesThePixelUnderThePointer();
    void escapeAsksBeforeClosing();
    void toolBarFollowsAFinishedSelection();
    void toolbarScreenIsInViewCoordinates();
    void rightButtonUploadsOnlyASelection();
    void doubleClickTogglesTheWholeView();
    void dragMovesAFinishedSelection();
    void openingOnOneScreenLogsAndPresetsTheSelection();

private:
    void select(QPoint from, QPoint to);

    QImage m_picture;
    std::unique_ptr<SurfaceWidget> m_view;
    QtMessageHandler m_previousHandler = nullptr;
};

void TestSurfaceWidget::initTestCase()
{
    const QRect desktop = QGuiApplication::primaryScreen()->geometry();
    m_picture = uniquePicture(desktop.size());
    SurfaceWidget::setGrabber(
        [this](const QRect &rect) { return QPixmap::fromImage(m_picture.copy(rect)); });
}

void TestSurfaceWidget::init()
{
    pageWarnings().clear();
    m_previousHandler = qInstallMessageHandler(&keepWarnings);
    m_view = std::make_unique<SurfaceWidget>();
    QVERIFY(m_view->isLoaded());
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get(), 5000));
}

void TestSurfaceWidget::cleanup()
{
    m_view.reset();
    SurfaceWidget::setModifierSource({});
    qInstallMessageHandler(m_previousHandler);
    QVERIFY2(pageWarnings().isEmpty(), qPrintable(pageWarnings().join(QLatin1Char('\n'))));
}

void TestSurfaceWidget::select(QPoint from, QPoint to)
{
    QTest::mouseMove(m_view.get(), from);
    QTest::mousePress(m_view.get(), Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(m_view.get(), (from + to) / 2);
    QTest::mouseMove(m_view.get(), to);
    QTest::mouseRelease(m_view.get(), Qt::LeftButton, Qt::NoModifier, to);
}

void TestSurfaceWidget::formatFollowsQualitySetting_data()
{
    QTest::addColumn<QVariant>("setting");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<int>("jpegQuality");

    QTest::newRow("0") << QVariant(0) << QByteArray("jpeg") << ".jpg" << 90;
    QTest::newRow("1 as text") << QVariant("1") << QByteArray("jpeg") << ".jpg" << 100;
    QTest::newRow("1.7 truncated") << QVariant(1.7) << QByteArray("jpeg") << ".jpg" << 100;
    QTest::newRow("2") << QVariant(2) << QByteArray("png") << ".png" << -1;
    QTest::newRow("negative") << QVariant(-1) << QByteArray("png") << ".png" << -1;
    QTest::newRow("junk") << QVariant("junk") << QByteArray("png") << ".png" << -1;
    QTest::newRow("unset") << QVariant() << QByteArray("png") << ".png" << -1;
}

// Written and read back: the bytes on disk are what the name promises.
void TestSurfaceWidget::formatFollowsQualitySetting()
{
    QFETCH(QVariant, setting);
    QFETCH(QByteArray, format);
    QFETCH(QString, extension);
    QFETCH(int, jpegQuality);

    const PictureFormat chosen = PictureFormat::fromSetting(setting);
    QCOMPARE(chosen.extension(), extension);
    QCOMPARE(chosen.withExtension("shot"), "shot" + extension);
    QCOMPARE(chosen.withExtension("shot" + extension.toUpper()), "shot" + extension.toUpper());
    if (jpegQuality >= 0)
        QCOMPARE(chosen.quality(), jpegQuality);

    QTemporaryDir dir;
    const QString file = dir.filePath("shot" + extension);
    QString problem;
    const QImage picture = m_picture.copy(0, 0, 64, 48);
    QVERIFY2(chosen.write(picture, file, &problem), qPrintable(problem));
    QImageReader reader(file);
    QCOMPARE(reader.format(), format);
    const QImage back = reader.read();
    QCOMPARE(back.size(), picture.size());
    if (format == "png")
        QCOMPARE(back.convertToFormat(QImage::Format_RGB32), picture);
}

void TestSurfaceWidget::failedWriteKeepsTheOldFile()
{
    QTemporaryDir dir;
    const PictureFormat png = PictureFormat::fromSetting(2);
    QString problem;
    QVERIFY(!png.write(m_picture, dir.path() + "/missing/shot.png", &problem));
    QVERIFY(!problem.isEmpty());
    QVERIFY(!QFile::exists(dir.path() + "/missing/shot.png"));

    const QString existing = dir.filePath("old.png");
    QVERIFY(png.write(m_picture.copy(0, 0, 8, 8), existing, &problem));
    problem.clear();
    QVERIFY(!png.write(QImage(), existing, &problem));
    QVERIFY(!problem.isEmpty());
    QCOMPARE(QImage(existing).size(), QSize(8, 8));
}

void TestSurfaceWidget::screensOfDifferentHeightsComposeOnBlack()
{
    // A tall screen on the left, a lower one right of it, as 1920x1080 beside 1280x720.
    const QList<QRect> screens {QRect(0, 0, 192, 108), QRect(192, 0, 128, 72)};
    QList<QRect> grabbed;
    const QPixmap picture = SurfaceWidget::composeScreens(screens, [&](const QRect &rect) {
        grabbed << rect;
        QPixmap part(rect.size());
        part.fill(rect.x() == 0 ? Qt::red : Qt::green);
        return part;
    });
    QCOMPARE(grabbed, screens);
    const QImage image = picture.toImage();
    QCOMPARE(image.size(), QSize(320, 108));
    QCOMPARE(image.pixelColor(0, 107), QColor(Qt::red));
    QCOMPARE(image.pixelColor(191, 0), QColor(Qt::red));
    QCOMPARE(image.pixelColor(192, 0), QColor(Qt::green));
    QCOMPARE(image.pixelColor(319, 71), QColor(Qt::green));
    QCOMPARE(image.pixelColor(192, 72), QColor(Qt::black));
    QCOMPARE(image.pixelColor(319, 107), QColor(Qt::black));

    // A screen left of and above the origin still lands inside the picture.
    const QImage shifted = SurfaceWidget::composeScreens(
        {QRect(-50, -20, 50, 20), QRect(0, 0, 30, 30)}, [](const QRect &rect) {
            QPixmap part(rect.size());
            part.fill(Qt::blue);
            return part;
        }).toImage();
    QCOMPARE(shifted.size(), QSize(80, 50));
    QCOMPARE(shifted.pixelColor(0, 0), QColor(Qt::blue));
    QCOMPARE(shifted.pixelColor(79, 49), QColor(Qt::blue));
    QCOMPARE(shifted.pixelColor(0, 49), QColor(Qt::black));
}

void TestSurfaceWidget::selectRectRoundsToWholePixels()
{
    m_view->selector()->setRubberRect(QRectF(10.4, 20.6, 99.2, 49.9));
    QCOMPARE(m_view->selectRect(), QRect(QPoint(10, 21), QPoint(109, 70)));
    QVERIFY(m_view->hasSelection());
    m_view->selector()->setRubberRect(QRectF(10, 10, 0.4, 30));
    QVERIFY(!m_view->hasSelection());
    QVERIFY(m_view->renderRubberRect().isNull());
}

void TestSurfaceWidget::backgroundReachesThePageAndTheCanvas()
{
    QCOMPARE(m_view->background().toImage().convertToFormat(QImage::Format_RGB32), m_picture);
    QCOMPARE(m_view->paintArea()->background().convertToFormat(QImage::Format_RGB32), m_picture);
    const QString prefix = "data:image/png;base64,";
    const QString url = m_view->requestBackground();
    QVERIFY(url.startsWith(prefix));
    const QImage decoded
        = QImage::fromData(QByteArray::fromBase64(url.mid(prefix.size()).toLatin1()), "PNG");
    QCOMPARE(decoded.convertToFormat(QImage::Format_RGB32), m_picture);

    select(QPoint(30, 40), QPoint(130, 90));
    const QRect rect = m_view->selectRect();
    QCOMPARE(rect, QRect(30, 40, 100, 50));
    QCOMPARE(m_view->renderRubberRect().toImage().convertToFormat(QImage::Format_RGB32),
        m_picture.copy(rect));

    m_view->setBackground(QPixmap());
    QCOMPARE(m_view->requestBackground(), prefix);
}

// A picture handed over later (a selection finished on another monitor) replaces the frozen
// one on the screen too, not only in the view's state.
void TestSurfaceWidget::laterBackgroundReplacesTheShownOne()
{
    m_view->selector()->setRubberRect(QRectF(20, 20, 200, 100));
    const QPoint inside(60, 50);
    const auto shown = [this, inside] {
        return m_view->screen()->grabWindow(m_view->winId()).toImage().pixelColor(inside);
    };
    QTRY_COMPARE_WITH_TIMEOUT(shown(), m_picture.pixelColor(inside), 3000);
    const QImage other = m_picture.mirrored(true, true);
    m_view->setBackground(QPixmap::fromImage(other));
    QTRY_COMPARE_WITH_TIMEOUT(shown(), other.pixelColor(inside), 3000);
}

// Every capture's page comes from one engine: a capture made while the last is open shows its
// own picture, starts without the last one's selection or tool bar, and leaves the last intact.
void TestSurfaceWidget::aCaptureOverAnOpenOneStartsAfresh()
{
    select(QPoint(30, 40), QPoint(130, 90));
    const QImage first = m_picture;
    m_picture = first.mirrored(true, true);
    SurfaceWidget second;
    m_picture = first;
    QVERIFY(second.isLoaded());
    second.show();
    QVERIFY(QTest::qWaitForWindowExposed(&second, 5000));
    QVERIFY(!second.hasSelection());
    QVERIFY(!second.rootObject()->findChild<QQuickItem *>("toolBar")->isVisible());
    second.selector()->setRubberRect(QRectF(200, 100, 50, 40));
    const QPoint inside(220, 120);
    QTRY_COMPARE_WITH_TIMEOUT(
        second.screen()->grabWindow(second.winId()).toImage().pixelColor(inside),
        first.mirrored(true, true).pixelColor(inside), 3000);
    QCOMPARE(m_view->selectRect(), QRect(30, 40, 100, 50));
    QTRY_COMPARE_WITH_TIMEOUT(
        m_view->screen()->grabWindow(m_view->winId()).toImage().pixelColor(60, 60),
        first.pixelColor(60, 60), 3000);
    QCOMPARE(m_view->renderRubberRect().toImage().convertToFormat(QImage::Format_RGB32),
        first.copy(m_view->selectRect()));
}

// The engine of the pages lives on after a capture; the capture's picture must not.
void TestSurfaceWidget::aClosedCaptureLetsGoOfItsPicture()
{
    const QPixmap picture = m_view->background();
    m_view.reset();
    QTRY_VERIFY_WITH_TIMEOUT(picture.isDetached(), 2000);
}

void TestSurfaceWidget::outputNeedsASelection_data()
{
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<int>("postAction");
    QTest::addColumn<bool>("selected");
    const QList<QPair<QByteArray, int>> actions {{"uploadScreen", 0}, {"saveScreen", 0},
        {"screenSaveToClipboard", 0}, {"screenPostVK", SurfaceWidget::PostVK},
        {"screenPostOdnoklassniki", SurfaceWidget::PostOdnoklassniki},
        {"screenPostFacebook", SurfaceWidget::PostFacebook},
        {"screenPostTwitter", SurfaceWidget::PostTwitter},
        {"screenPostMail", SurfaceWidget::PostMail}};
    for (const auto &action : actions) {
        QTest::newRow(QByteArray(action.first + " without selection").constData())
            << action.first << action.second << false;
        QTest::newRow(QByteArray(action.first + " with selection").constData())
            << action.first << action.second << true;
    }
}

void TestSurfaceWidget::outputNeedsASelection()
{
    QFETCH(QByteArray, method);
    QFETCH(int, postAction);
    QFETCH(bool, selected);
    // One pixel wide is a selection; less is none, however tall.
    m_view->selector()->setRubberRect(selected ? QRectF(5, 5, 1, 30) : QRectF(5, 5, 0.4, 300));
    QSignalSpy upload(m_view.get(), &SurfaceWidget::uploadedScreen);
    QSignalSpy save(m_view.get(), &SurfaceWidget::saveScreenRequested);
    QSignalSpy clipboard(m_view.get(), &SurfaceWidget::clipboardRequested);
    QSignalSpy post(m_view.get(), &SurfaceWidget::postRequested);
    QVERIFY(QMetaObject::invokeMethod(m_view.get(), method.constData()));
    if (method == "screenSaveToClipboard")
        clipboard.wait(1000);
    const int expected = selected ? 1 : 0;
    QCOMPARE(upload.count(), method == "uploadScreen" ? expected : 0);
    QCOMPARE(save.count(), method == "saveScreen" ? expected : 0);
    QCOMPARE(clipboard.count(), method == "screenSaveToClipboard" ? expected : 0);
    QCOMPARE(post.count(), postAction ? expected : 0);
    if (postAction && selected)
        QCOMPARE(post.first().first().toInt(), postAction);
}

void TestSurfaceWidget::clipboardCopyWaitsOnceAndDiesWithTheView()
{
    m_view->selector()->setRubberRect(QRectF(10, 10, 50, 50));
    QSignalSpy hide(m_view.get(), &SurfaceWidget::hideToolBar);
    QSignalSpy clipboard(m_view.get(), &SurfaceWidget::clipboardRequested);
    m_view->screenSaveToClipboard();
    m_view->screenSaveToClipboard();
    QCOMPARE(hide.count(), 1);
    QCOMPARE(clipboard.count(), 0);
    QVERIFY(clipboard.wait(2000));
    QTest::qWait(300);
    QCOMPARE(clipboard.count(), 1);

    // A view gone while it waits takes the pending copy with it.
    int fired = 0;
    connect(m_view.get(), &SurfaceWidget::clipboardRequested, this, [&fired] { ++fired; });
    m_view->screenSaveToClipboard();
    m_view.reset();
    QTest::qWait(400);
    QCOMPARE(fired, 0);
}

void TestSurfaceWidget::keysReachTheirActions_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("held");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<QString>("effect");

    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    const Qt::KeyboardModifiers ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    QTest::newRow("Ctrl+Enter uploads") << int(Qt::Key_Return) << ctrl << true << "upload";
    QTest::newRow("Ctrl+keypad Enter uploads") << int(Qt::Key_Enter) << ctrl << true << "upload";
    QTest::newRow("Enter alone does nothing")
        << int(Qt::Key_Return) << Qt::KeyboardModifiers() << true << "";
    QTest::newRow("Ctrl+S saves") << int(Qt::Key_S) << ctrl << true << "save";
    QTest::newRow("Ctrl+C copies") << int(Qt::Key_C) << ctrl << true << "clipboard";
    QTest::newRow("Ctrl+Shift+F posts") << int(Qt::Key_F) << ctrlShift << true << "post";
    QTest::newRow("Ctrl+Z undoes") << int(Qt::Key_Z) << ctrl << true << "undo";
    QTest::newRow("Ctrl+Shift+Z redoes") << int(Qt::Key_Z) << ctrlShift << true << "redo";
    QTest::newRow("Ctrl+Enter without selection") << int(Qt::Key_Return) << ctrl << false << "";
    QTest::newRow("Ctrl+S without selection") << int(Qt::Key_S) << ctrl << false << "";
    QTest::newRow("Ctrl+C without selection takes the colour")
        << int(Qt::Key_C) << ctrl << false << "colour";
    QTest::newRow("Ctrl+Shift+F without selection") << int(Qt::Key_F) << ctrlShift << false << "";
}

// The modifiers come from the keyboard's live state, not from the event, which carries none.
void TestSurfaceWidget::keysReachTheirActions()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, held);
    QFETCH(bool, selected);
    QFETCH(QString, effect);

    m_view->selector()->setRubberRect(selected ? QRectF(5, 5, 40, 30) : QRectF(5, 5, 0.4, 300));
    QUndoStack *history = m_view->paintArea()->undoStack();
    history->push(new QUndoCommand);
    if (effect == "redo")
        history->undo();
    const int historyBefore = history->index();
    QSignalSpy upload(m_view.get(), &SurfaceWidget::uploadedScreen);
    QSignalSpy save(m_view.get(), &SurfaceWidget::saveScreenRequested);
    QSignalSpy clipboard(m_view.get(), &SurfaceWidget::clipboardRequested);
    QSignalSpy post(m_view.get(), &SurfaceWidget::postRequested);
    QSignalSpy closed(m_view.get(), &SurfaceWidget::closed);
    SurfaceWidget::setModifierSource([held] { return held; });

    QTest::keyClick(m_view.get(), Qt::Key(key), Qt::NoModifier);
    if (key == Qt::Key_C)
        clipboard.wait(selected ? 1000 : 400);

    QCOMPARE(upload.count(), effect == "upload" ? 1 : 0);
    QCOMPARE(save.count(), effect == "save" ? 1 : 0);
    QCOMPARE(clipboard.count(), effect == "clipboard" ? 1 : 0);
    QCOMPARE(post.count(), effect == "post" ? 1 : 0);
    if (effect == "post")
        QCOMPARE(post.first().first().toInt(), int(SurfaceWidget::PostFacebook));
    const int historyMove = effect == "undo" ? -1 : effect == "redo" ? 1 : 0;
    QCOMPARE(history->index(), historyBefore + historyMove);
    QCOMPARE(closed.count(), effect == "colour" ? 1 : 0);
}

// A box with selected text keeps Ctrl+C for that text: the view stays open and copies no
// picture. Without a selection in the box the picture goes as usual.
void TestSurfaceWidget::ctrlCCopiesTheSelectedTextOfABox()
{
    select(QPoint(100, 100), QPoint(500, 300));
    m_view->paintArea()->setCurrentModule(QStringLiteral("Text"));
    QTest::mouseClick(m_view.get(), Qt::LeftButton, Qt::NoModifier, QPoint(200, 200));
    auto *text = qobject_cast<TextItem *>(m_view->paintArea()->currentItem());
    QVERIFY(text);
    for (const char c : {'h', 'e', 'l', 'l', 'o'})
        QTest::keyClick(m_view.get(), c);
    QCOMPARE(text->text(), QStringLiteral("hello"));
    SurfaceWidget::setModifierSource([] { return Qt::KeyboardModifiers(Qt::ShiftModifier); });
    QTest::keyClick(m_view.get(), Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(m_view.get(), Qt::Key_Left, Qt::ShiftModifier);

    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    QSignalSpy picture(m_view.get(), &SurfaceWidget::clipboardRequested);
    QSignalSpy closed(m_view.get(), &SurfaceWidget::closed);
    SurfaceWidget::setModifierSource([] { return Qt::KeyboardModifiers(Qt::ControlModifier); });
    QTest::keyClick(m_view.get(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("lo"));
    QVERIFY(!picture.wait(400));
    QCOMPARE(closed.count(), 0);
    QVERIFY(m_view->isVisible());

    QTest::keyClick(m_view.get(), Qt::Key_End);
    QTest::keyClick(m_view.get(), Qt::Key_C, Qt::ControlModifier);
    QVERIFY(picture.wait(1000));
}

void TestSurfaceWidget::colourCopyTakesThePixelUnderThePointer_data()
{
    QTest::addColumn<QPoint>("pointer");
    const QSize size = QGuiApplication::primaryScreen()->geometry().size();
    QTest::newRow("middle") << QPoint(123, 45);
    // There the loupe stands to the left of the pointer and above it.
    QTest::newRow("lower right corner") << QPoint(size.width() - 3, size.height() - 2);
    QTest::newRow("left edge") << QPoint(1, 300);
}

// Ctrl+C with nothing selected copies the loupe's colour as bare hex digits and ends the
// capture.
void TestSurfaceWidget::colourCopyTakesThePixelUnderThePointer()
{
    QFETCH(QPoint, pointer);
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    MagnifierItem *loupe = m_view->magnifier();
    QVERIFY(loupe);
    QTest::mouseMove(m_view.get(), pointer);
    const QString shown = m_picture.pixelColor(pointer).name();
    QTRY_COMPARE_WITH_TIMEOUT(loupe->currentColor(), shown, 3000);

    QSignalSpy closed(m_view.get(), &SurfaceWidget::closed);
    SurfaceWidget::setModifierSource([] { return Qt::KeyboardModifiers(Qt::ControlModifier); });
    QTest::keyClick(m_view.get(), Qt::Key_C);
    QCOMPARE(QGuiApplication::clipboard()->text(), shown.mid(1));
    QCOMPARE(closed.count(), 1);
}

void TestSurfaceWidget::escapeAsksBeforeClosing()
{
    QSignalSpy closed(m_view.get(), &SurfaceWidget::closed);
    Setting::instance()->setValue("showCloseSurfaceWindow", true);
    m_view->selector()->setRubberRect(QRectF(10, 10, 50, 50));
    QQuickItem *panel = m_view->rootObject()->findChild<QQuickItem *>("closeWindow");
    QVERIFY(panel);

    // With the question on, Escape asks; Escape again takes the question back; Enter answers it.
    QTest::keyClick(m_view.get(), Qt::Key_Escape);
    QVERIFY(m_view->visibleCloseWindow());
    QVERIFY(panel->isVisible());
    QTest::keyClick(m_view.get(), Qt::Key_Escape);
    QVERIFY(!m_view->visibleCloseWindow());
    QCOMPARE(closed.count(), 0);
    QTest::keyClick(m_view.get(), Qt::Key_Escape);
    QVERIFY(m_view->visibleCloseWindow());
    QTest::keyClick(m_view.get(), Qt::Key_Return);
    QCOMPARE(closed.count(), 1);

    // With the question off, as the panel's box writes it, Escape closes at once.
    m_view = std::make_unique<SurfaceWidget>();
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get(), 5000));
    QSignalSpy closedAtOnce(m_view.get(), &SurfaceWidget::closed);
    Setting::instance()->setValue("showCloseSurfaceWindow", "false");
    m_view->selector()->setRubberRect(QRectF(10, 10, 50, 50));
    QTest::keyClick(m_view.get(), Qt::Key_Escape);
    QVERIFY(!m_view->visibleCloseWindow());
    QCOMPARE(closedAtOnce.count(), 1);
    Setting::instance()->setValue("showCloseSurfaceWindow", true);
}

void TestSurfaceWidget::toolBarFollowsAFinishedSelection()
{
    auto *loader = m_view->rootObject()->findChild<QQuickItem *>("toolBar");
    QVERIFY(loader);
    QVERIFY(!loader->isVisible());
    // Far enough right that the whole bar fits left of the selection's right edge.
    const int right = m_view->width() - 20;
    select(QPoint(right - 300, 100), QPoint(right, 300));
    QTRY_VERIFY_WITH_TIMEOUT(loader->isVisible(), 2000);
    auto *bar = loader->property("item").value<QQuickItem *>();
    QVERIFY(bar);
    QCOMPARE(bar->property("canvas").value<QObject *>(), m_view->paintArea());
    QCOMPARE(bar->property("view").value<QObject *>(), m_view.get());

    // Under the selection, its right edge on the selection's, wholly on the screen.
    const QRectF under = loader->mapRectToScene(QRectF(0, 0, bar->width(), bar->height()));
    QVERIFY2(under.top() > 300 && under.right() <= right && under.right() > right - 100,
        qPrintable(QString("bar at %1,%2").arg(under.x()).arg(under.y())));
    const QRectF screen(QPointF(0, 0), QSizeF(m_view->size()));
    QVERIFY(screen.contains(under));

    // The accept button publishes; the accept menu's entries reach the view's other outputs.
    QSignalSpy upload(m_view.get(), &SurfaceWidget::uploadedScreen);
    QSignalSpy save(m_view.get(), &SurfaceWidget::saveScreenRequested);
    for (const char *name : {"btnAccept", "btnMenu", "save", "btnMenu"}) {
        QQuickItem *target = findSceneItem(bar, name);
        QVERIFY2(target && target->isVisible(), name);
        const QPoint at
            = target->mapToScene(QPointF(target->width() / 2, target->height() / 2)).toPoint();
        QTest::mouseMove(m_view.get(), at);
        QTest::mouseClick(m_view.get(), Qt::LeftButton, Qt::NoModifier, at);
    }
    QCOMPARE(upload.count(), 1);
    QCOMPARE(save.count(), 1);
    // Escape closes the open menu, and only the menu.
    QTest::keyClick(m_view.get(), Qt::Key_Escape);
    QVERIFY(!findSceneItem(bar, "menu")->isVisible() && !m_view->visibleCloseWindow());

    // A selection down to the bottom of the screen puts the bar above it, still on the screen.
    m_view->selector()->setRubberRect(QRectF(300, 200, 200, m_view->height() - 200));
    QTRY_VERIFY_WITH_TIMEOUT(
        loader->mapRectToScene(QRectF(0, 0, bar->width(), bar->height())).bottom() < 200, 2000);
    QVERIFY(screen.contains(loader->mapRectToScene(QRectF(0, 0, bar->width(), bar->height()))));
}

// The screen comes back where the view sees it, wherever the view stands on the desktop.
void TestSurfaceWidget::toolbarScreenIsInViewCoordinates()
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    // A view covering the screen cannot move, so this one is not shown.
    m_view = std::make_unique<SurfaceWidget>();
    m_view->setPosition(screen.topLeft() + QPoint(30, 20));
    QCOMPARE(m_view->position(), screen.topLeft() + QPoint(30, 20));
    QCOMPARE(m_view->toolbarScreen(10, 10, 40, 40), screen.translated(-m_view->position()));
    // An area off every screen still gets a screen to stay on.
    QCOMPARE(m_view->toolbarScreen(-5000, -5000, 10, 10), screen.translated(-m_view->position()));
}

void TestSurfaceWidget::rightButtonUploadsOnlyASelection()
{
    QSignalSpy upload(m_view.get(), &SurfaceWidget::uploadedScreen);
    QTest::mouseClick(m_view.get(), Qt::RightButton, Qt::NoModifier, QPoint(50, 50));
    QCOMPARE(upload.count(), 0);
    select(QPoint(20, 20), QPoint(90, 80));
    QTest::mouseClick(m_view.get(), Qt::RightButton, Qt::NoModifier, QPoint(50, 50));
    QCOMPARE(upload.count(), 1);
}

void TestSurfaceWidget::doubleClickTogglesTheWholeView()
{
    const QRectF whole(0, 0, m_view->width(), m_view->height());
    QTest::mouseDClick(m_view.get(), Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
    QCOMPARE(m_view->selector()->rubberRect(), whole);
    QTest::mouseDClick(m_view.get(), Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
    QVERIFY(m_view->selector()->rubberRect() != whole);
    QVERIFY(!m_view->hasSelection());

    m_view->selector()->setRubberRect(QRectF(10, 10, 40, 40));
    QTest::mouseDClick(m_view.get(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    QCOMPARE(m_view->selector()->rubberRect(), QRectF(10, 10, 40, 40));
}

void TestSurfaceWidget::dragMovesAFinishedSelection()
{
    select(QPoint(20, 20), QPoint(120, 80));
    QCOMPARE(m_view->selectRect(), QRect(20, 20, 100, 60));
    QTest::mousePress(m_view.get(), Qt::LeftButton, Qt::NoModifier, QPoint(60, 50));
    QCOMPARE(m_view->cursor().shape(), Qt::ClosedHandCursor);
    QTest::mouseMove(m_view.get(), QPoint(75, 45));
    QTest::mouseMove(m_view.get(), QPoint(90, 70));
    QTest::mouseRelease(m_view.get(), Qt::LeftButton, Qt::NoModifier, QPoint(90, 70));
    QCOMPARE(m_view->selectRect(), QRect(50, 40, 100, 60));
    QCOMPARE(m_view->renderRubberRect().toImage().convertToFormat(QImage::Format_RGB32),
        m_picture.copy(QRect(50, 40, 100, 60)));
}

void TestSurfaceWidget::openingOnOneScreenLogsAndPresetsTheSelection()
{
    const QImage other = uniquePicture(QSize(200, 100)).mirrored();
    m_view->showOnWindow(0, QRect(12, 34, 56, 78), QPixmap::fromImage(other));
    QFile log(QDir::homePath() + "/.kuvo/screen_info.log");
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(log.readAll(), QByteArray("index = 0\nrect = 12:34 56x78"));
    QCOMPARE(m_view->selectRect(), QRect(12, 34, 56, 78));
    QCOMPARE(m_view->desktopSelectRect(), QRect(12, 34, 56, 78).translated(m_view->position()));
    QCOMPARE(m_view->paintArea()->background().convertToFormat(QImage::Format_RGB32), other);

    QSignalSpy closed(m_view.get(), &SurfaceWidget::closed);
    m_view->close();
    QCOMPARE(closed.count(), 1);
}

QTEST_MAIN(TestSurfaceWidget)
#include "tst_surfacewidget.moc"
