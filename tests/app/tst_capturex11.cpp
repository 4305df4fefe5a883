#include "colorstrip.h"
#include "core.h"
#include "coretestsupport.h"
#include "editponoramwidget.h"
#include "quicktestsupport.h"
#include "selectorwidgetmac.h"
#include "setting.h"
#include "sharedmemorygrab.h"
#include "surfacewidget.h"
#include "textitem.h"

#include <QApplication>
#include <QBackingStore>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImageReader>
#include <QJsonObject>
#include <QLineEdit>
#include <QPainter>
#include <QProcess>
#include <QRasterWindow>
#include <QScopeGuard>
#include <QScreen>
#include <QTemporaryDir>

namespace {

// What the user sees before the capture: a full-screen window showing a known picture.
class PictureWindow : public QRasterWindow
{
public:
    explicit PictureWindow(const QImage &picture)
        : m_picture(picture)
    {
        setFlags(Qt::Window | Qt::FramelessWindowHint);
    }
    void setPicture(const QImage &picture)
    {
        m_picture = picture;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.drawImage(0, 0, m_picture);
    }

private:
    QImage m_picture;
};

void setValue(const char *key, const QVariant &value)
{
    Setting::instance()->setValue(QLatin1String(key), value);
}

// What the user sees of a pixel outside the selection: the selection's shade over it.
QColor shaded(const QColor &pixel)
{
    QImage dot(1, 1, QImage::Format_RGB32);
    dot.fill(pixel);
    QPainter painter(&dot);
    painter.fillRect(dot.rect(), QColor(QStringLiteral("#6c141517")));
    painter.end();
    return dot.pixelColor(0, 0);
}

bool nearlyEqual(const QColor &a, const QColor &b)
{
    return qAbs(a.red() - b.red()) <= 2 && qAbs(a.green() - b.green()) <= 2
        && qAbs(a.blue() - b.blue()) <= 2;
}

// The real keyboard and pointer; the centre of an item, or a point of it, on the desktop.
bool xdotool(const QStringList &arguments)
{
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

QPoint onScreen(const QQuickItem *item, QPointF at = {-1, -1})
{
    at = at.x() < 0 ? QPointF(item->width() / 2, item->height() / 2) : at;
    return item->window()->mapToGlobal(item->mapToScene(at).toPoint());
}

QStringList moveTo(QPoint p, const QStringList &then = {})
{
    return QStringList {"mousemove", QString::number(p.x()), QString::number(p.y())} + then;
}

// A mark shows on a page where one of its pixels lies a quarter of the grey scale from it.
bool markShows(const QImage &picture, const QColor &page)
{
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (qAbs(qGray(picture.pixel(x, y)) - qGray(page.rgb())) >= 64)
                return true;
        }
    }
    return false;
}

QColor shownAt(QPoint p)
{
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, p.x(), p.y(), 1, 1)
        .toImage()
        .pixelColor(0, 0);
}

} // namespace

// The road from the capture to a file, the clipboard and the service on a real X server,
// with the real grab of the screen.
class TestCaptureX11 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void viewCoversTheScreenWithAFreshGrab();
    void everyCaptureShowsTheScreenOfItsMoment();
    void captureOverAnOpenOneKeepsTheDesktop();
    void sharedMemoryGrabReadsTheRoot_data();
    void sharedMemoryGrabReadsTheRoot();
    void clipboardIsReadableByAnotherClient();
    void savedFileHoldsTheSelection_data();
    void savedFileHoldsTheSelection();
    void uploadSendsTheSelection();
    void saveDialogTakesTheTypedFormat();
    void fullScreenCaptureSelectsTheWholeScreen();
    void toolTipsNameTheTools_data();
    void toolTipsNameTheTools();
    void closingAsksWithItsPanel();
    void markingUpWithTheKeysAndThePickedColour();
    void menusTipsAndButtonsStayOnTheScreen_data();
    void menusTipsAndButtonsStayOnTheScreen();
    void firstMarkReadsOnThePage_data();
    void firstMarkReadsOnThePage();
    void textNearTheBottomStaysInTheOutput_data();
    void textNearTheBottomStaysInTheOutput();

private:
    bool screenShowsPicture() const;
    void showPicture(const QImage &picture);
    SurfaceWidget *capture(const QRect &selection);
    void select(QWindow *view, const QRect &selection);

    StandinService m_service;
    Core *m_core = nullptr;
    QImage m_picture;
    std::unique_ptr<PictureWindow> m_window;
    QString m_answer;
};

void TestCaptureX11::initTestCase()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X server (run through tests/support/xvfb.sh)");
    QVERIFY(startSignedIn(m_service));

    // A run over several monitors must really see them, or it tests one screen twice.
    const QStringList monitors
        = qEnvironmentVariable("XVFB_MONITORS").split(' ', Qt::SkipEmptyParts);
    if (!monitors.isEmpty())
        QCOMPARE(QGuiApplication::screens().size(), monitors.size());
    QScreen *screen = QGuiApplication::primaryScreen();
    m_picture = uniquePicture(screen->geometry().size());
    m_window = std::make_unique<PictureWindow>(m_picture);
    m_window->setGeometry(screen->geometry());
    m_window->showFullScreen();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get(), 10000));
    QTRY_VERIFY_WITH_TIMEOUT(screenShowsPicture(), 10000);
    m_core = Core::instance();
    m_core->setSaveFileAsker([this](const QString &, const QString &) { return m_answer; });
}

// A case that failed mid-selection leaves its selectors open; closed here, they cannot cover
// the next case's capture.
void TestCaptureX11::cleanup()
{
    if (!m_core)
        return;
    for (SelectorWidgetMac *selector : m_core->selectorWidgets())
        selector->close();
    if (m_core->surfaceWidget())
        m_core->surfaceWidget()->close();
    QTRY_VERIFY_WITH_TIMEOUT(!m_core->surfaceWidget() && m_core->selectorWidgets().isEmpty(), 2000);
}

void TestCaptureX11::select(QWindow *view, const QRect &selection)
{
    // (0, 0) would be read by QTest as "the centre of the window".
    const QPoint from = selection.topLeft();
    const QPoint to = selection.bottomRight() + QPoint(1, 1);
    QTest::mouseMove(view, from);
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(view, (from + to) / 2);
    QTest::mouseMove(view, to);
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, to);
}

// The window manager takes the last capture view off the screen a moment after it closed;
// a user starts the next capture only on what the screen shows.
bool TestCaptureX11::screenShowsPicture() const
{
    const QImage shown = QGuiApplication::primaryScreen()->grabWindow(0, 0, 0, 256, 256).toImage();
    return shown.convertToFormat(QImage::Format_RGB32) == m_picture.copy(0, 0, 256, 256);
}

void TestCaptureX11::showPicture(const QImage &picture)
{
    m_picture = picture;
    m_window->setPicture(picture);
}

SurfaceWidget *TestCaptureX11::capture(const QRect &selection)
{
    if (!QTest::qWaitFor([this] { return screenShowsPicture(); }, 10000))
        return nullptr;
    m_core->fragmentScreen();
    // Over several monitors the selection is made in the first one's selector window and
    // opens the capture view on that monitor.
    if (!m_core->selectorWidgets().isEmpty()) {
        QWindow *first = m_core->selectorWidgets().first();
        if (!QTest::qWaitForWindowExposed(first, 10000))
            return nullptr;
        // Dragged with the real pointer: the X server's own events for a window mapped under
        // the pointer come in among synthetic ones and can cut their drag short.
        const QPoint from = first->mapToGlobal(selection.topLeft());
        const QPoint to = first->mapToGlobal(selection.bottomRight() + QPoint(1, 1));
        if (!xdotool(moveTo(from, {"mousedown", "1"}) + moveTo((from + to) / 2)
                + moveTo(to, {"mouseup", "1"}))
            || !QTest::qWaitFor([this] { return m_core->surfaceWidget(); }, 10000))
            return nullptr;
    }
    SurfaceWidget *view = m_core->surfaceWidget();
    if (!view || !QTest::qWaitForWindowExposed(view, 10000))
        return nullptr;
    if (QGuiApplication::screens().size() == 1)
        select(view, selection);
    return view;
}

// Over several monitors the view covers the first one, where the selection was made.
void TestCaptureX11::viewCoversTheScreenWithAFreshGrab()
{
    const QRect covered = QGuiApplication::primaryScreen()->geometry();
    SurfaceWidget *view = capture(QRect(100, 80, 300, 200));
    QVERIFY(view);
    QTRY_COMPARE_WITH_TIMEOUT(view->geometry(), covered, 5000);
    const QImage grab = view->background().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(grab.size(), covered.size());
    QCOMPARE(grab, m_picture);
    QCOMPARE(view->selectRect(), QRect(100, 80, 300, 200));
    QCOMPARE(view->desktopSelectRect(), QRect(100, 80, 300, 200));
    QCOMPARE(view->renderRubberRect().toImage().convertToFormat(QImage::Format_RGB32),
        m_picture.copy(100, 80, 300, 200));
}

// The screen changes between two captures: each view holds and shows its own moment, shaded
// outside the selection and as it was inside it.
void TestCaptureX11::everyCaptureShowsTheScreenOfItsMoment()
{
    const QImage original = m_picture;
    const QRect selection(100, 80, 300, 200);
    const QPoint inside(150, 120);
    const QPoint outside(50, 40);
    for (const QImage &picture : {original.mirrored(true, true), original}) {
        showPicture(picture);
        QPointer<SurfaceWidget> view = capture(selection);
        QVERIFY(view);
        QCOMPARE(view->background()
                     .toImage()
                     .convertToFormat(QImage::Format_RGB32)
                     .copy(QGuiApplication::primaryScreen()->geometry()),
            picture);
        QTRY_COMPARE_WITH_TIMEOUT(shownAt(inside), picture.pixelColor(inside), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(
            nearlyEqual(shownAt(outside), shaded(picture.pixelColor(outside))), 5000);
        view->close();
        QTRY_VERIFY_WITH_TIMEOUT(!view, 2000);
    }
}

// A capture asked for while another is open (the hot key pressed twice) starts from the
// desktop, not from a grab of the first view on its way off the screen.
void TestCaptureX11::captureOverAnOpenOneKeepsTheDesktop()
{
    const QPoint outside(50, 40);
    QPointer<SurfaceWidget> first = capture(QRect(100, 80, 300, 200));
    QVERIFY(first);
    QTRY_VERIFY_WITH_TIMEOUT(
        nearlyEqual(shownAt(outside), shaded(m_picture.pixelColor(outside))), 5000);
    m_core->fragmentScreen();
    // Over several monitors the selector window of the first one starts from the desktop.
    if (!m_core->selectorWidgets().isEmpty()) {
        SelectorWidgetMac *selector = m_core->selectorWidgets().first();
        QCOMPARE(selector->background().toImage().convertToFormat(QImage::Format_RGB32), m_picture);
        QVERIFY(QTest::qWaitForWindowExposed(selector, 10000));
        select(selector, QRect(100, 80, 300, 200));
    }
    SurfaceWidget *second = m_core->surfaceWidget();
    QVERIFY(second && second != first);
    QCOMPARE(second->background()
                 .toImage()
                 .convertToFormat(QImage::Format_RGB32)
                 .copy(QGuiApplication::primaryScreen()->geometry()),
        m_picture);
    QVERIFY(QTest::qWaitForWindowExposed(second, 10000));
    QTRY_VERIFY_WITH_TIMEOUT(!first, 2000);
}

void TestCaptureX11::sharedMemoryGrabReadsTheRoot_data()
{
    QTest::addColumn<QRect>("area");
    QTest::addColumn<bool>("served");
    const QRect primary = QGuiApplication::primaryScreen()->geometry();
    QTest::newRow("whole primary screen") << primary << true;
    QTest::newRow("odd area") << QRect(3, 5, 257, 129) << true;
    QTest::newRow("one pixel") << QRect(primary.right(), primary.bottom(), 1, 1) << true;
    QTest::newRow("beyond the root") << QRect(primary.right() - 9, 0, 5000, 10) << false;
    QTest::newRow("empty") << QRect(10, 10, 0, 10) << false;
}

// The pixels as the screen shows them; an area the root does not hold is left to the ordinary
// grab.
void TestCaptureX11::sharedMemoryGrabReadsTheRoot()
{
    QFETCH(QRect, area);
    QFETCH(bool, served);
    QVERIFY(QTest::qWaitFor([this] { return screenShowsPicture(); }, 10000));
    const QImage grab = SharedMemoryGrab::grab(area, SharedMemoryGrab::displayName());
    QCOMPARE(!grab.isNull(), served);
    if (!served)
        return;
    QCOMPARE(grab.size(), area.size());
    QCOMPARE(grab, m_picture.copy(area));
}

void TestCaptureX11::clipboardIsReadableByAnotherClient()
{
    QPointer<SurfaceWidget> view = capture(QRect(10, 20, 400, 300));
    QVERIFY(view);
    QCOMPARE(view->selectRect(), QRect(10, 20, 400, 300));
    view->screenSaveToClipboard();
    QTRY_VERIFY_WITH_TIMEOUT(!view, 5000);

    QProcess xclip;
    xclip.start(QStringLiteral("xclip"),
        {QStringLiteral("-o"), QStringLiteral("-selection"), QStringLiteral("clipboard"),
            QStringLiteral("-t"), QStringLiteral("image/png")});
    // The clipboard lives in this process: keep the event loop turning while xclip reads.
    QTRY_VERIFY_WITH_TIMEOUT(xclip.state() == QProcess::NotRunning, 10000);
    QCOMPARE(xclip.exitCode(), 0);
    const QImage pasted = QImage::fromData(xclip.readAllStandardOutput(), "PNG");
    QCOMPARE(pasted.convertToFormat(QImage::Format_RGB32), m_picture.copy(10, 20, 400, 300));
}

void TestCaptureX11::savedFileHoldsTheSelection_data()
{
    QTest::addColumn<int>("quality");
    QTest::addColumn<QString>("name");
    QTest::newRow("png") << 2 << "shot.png";
    QTest::newRow("jpeg") << 1 << "shot.jpg";
}

void TestCaptureX11::savedFileHoldsTheSelection()
{
    QFETCH(int, quality);
    QFETCH(QString, name);
    setValue("qualityImage", quality);
    QTemporaryDir dir;
    m_answer = dir.filePath(QStringLiteral("shot"));
    QPointer<SurfaceWidget> view = capture(QRect(200, 100, 640, 360));
    QVERIFY(view);
    view->saveScreen();
    QTRY_VERIFY_WITH_TIMEOUT(!view, 5000);
    const QImage saved = QImage(dir.filePath(name)).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(saved.size(), QSize(640, 360));
    if (quality == 2)
        QCOMPARE(saved, m_picture.copy(200, 100, 640, 360));
}

void TestCaptureX11::uploadSendsTheSelection()
{
    setValue("qualityImage", 2);
    m_service.reset();
    QSignalSpy link(m_core, &Core::lastLinkChanged);
    QPointer<SurfaceWidget> view = capture(QRect(1, 1, 256, 128));
    QVERIFY(view);
    QCOMPARE(view->selectRect(), QRect(1, 1, 256, 128));
    QTest::mouseClick(view, Qt::RightButton, Qt::NoModifier, QPoint(50, 50));
    QTRY_VERIFY_WITH_TIMEOUT(!view, 5000);
    QVERIFY(link.wait(10000));
    const QJsonArray creates = m_service.requests(QStringLiteral("/drive/v1/files"));
    QCOMPARE(creates.size(), 1);
    const QString title = creates.first().toObject()["json"].toObject()["title"].toString();
    const QImage sent(QDir::homePath() + QStringLiteral("/.kuvo/tmp/") + title);
    QCOMPARE(sent.convertToFormat(QImage::Format_RGB32), m_picture.copy(1, 1, 256, 128));
}

// The real dialog: it opens in the folder of the last save, and "x.png" typed there while
// the setting says JPEG writes a PNG under exactly that name.
void TestCaptureX11::saveDialogTakesTheTypedFormat()
{
    setValue("qualityImage", 1);
    QTemporaryDir dir;
    setValue("lastSavePath", dir.path());
    QPointer<SurfaceWidget> view = capture(QRect(30, 40, 120, 90));
    QVERIFY(view);
    // The drag is not what this test is about: on a busy machine its last move may come late.
    view->selector()->setRubberRect(QRectF(30, 40, 120, 90));
    QCOMPARE(view->selectRect(), QRect(30, 40, 120, 90));
    // The dialog runs a loop of its own: the typing happens in it, from a timer.
    QString startedIn;
    QTimer typist;
    connect(&typist, &QTimer::timeout, this, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        typist.stop();
        startedIn = dialog->directory().absolutePath();
        if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
            name->setText(QStringLiteral("x.png"));
        QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    });
    typist.start(50);
    m_core->setSaveFileAsker({});
    view->saveScreen();
    m_core->setSaveFileAsker([this](const QString &, const QString &) { return m_answer; });
    QCOMPARE(startedIn, dir.path());
    QImageReader saved(dir.filePath(QStringLiteral("x.png")));
    QCOMPARE(saved.format(), QByteArray("png"));
    QCOMPARE(saved.read().convertToFormat(QImage::Format_RGB32), m_picture.copy(30, 40, 120, 90));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList {QStringLiteral("x.png")});
}

// As from the tray or Ctrl+Shift+Print, then Ctrl+C typed on the keyboard.
void TestCaptureX11::fullScreenCaptureSelectsTheWholeScreen()
{
    // Windows of earlier tests may take a moment to leave the screen.
    QScreen *screen = QGuiApplication::primaryScreen();
    QVERIFY(QTest::qWaitFor(
        [&] {
            return screen->grabWindow(0, 0, 0, m_picture.width(), m_picture.height())
                       .toImage()
                       .convertToFormat(QImage::Format_RGB32)
                == m_picture;
        },
        20000));
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    m_core->fullScreen();
    // Over several monitors the whole of them opens in the editor window instead.
    QPointer<QQuickView> view = QGuiApplication::screens().size() > 1
        ? static_cast<QQuickView *>(m_core->editPonoramWidget())
        : m_core->surfaceWidget();
    QVERIFY(view);
    QVERIFY(QTest::qWaitForWindowExposed(view, 10000));
    QRect desktop;
    for (const QScreen *screen : QGuiApplication::screens())
        desktop |= screen->geometry();
    if (auto *capture = qobject_cast<SurfaceWidget *>(view.data())) {
        QCOMPARE(capture->selectRect(), QRect(QPoint(0, 0), desktop.size()));
        QVERIFY(capture->selector()->property("showToolBar").toBool());
        QVERIFY(!capture->selector()->property("firstDraw").toBool());
    }

    QTRY_VERIFY_WITH_TIMEOUT(view->isActive(), 5000);
    // Ctrl is held until the view has seen the key: it reads the live keyboard state.
    QVERIFY(xdotool({"keydown", "ctrl", "key", "c"}));
    const bool closed = QTest::qWaitFor([&] { return !view; }, 5000);
    xdotool({"keyup", "ctrl"});
    QVERIFY2(closed, "Ctrl+C left the capture view open");
    const QImage copied = QGuiApplication::clipboard()->image();
    QCOMPARE(copied.size(), desktop.size());
    const QRect primary = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(
        copied.copy(primary.translated(-desktop.topLeft())).convertToFormat(QImage::Format_RGB32),
        m_picture);
}

void TestCaptureX11::toolTipsNameTheTools_data()
{
    QTest::addColumn<bool>("editor");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("text");
    const QStringList tools {"Move\tTool Move and transform\tSpace - Switching to tool \"Move\"",
        "Pen\tTool Pen\t+ Shift - Drawing a straight line",
        "Marker\tTool Marker\t+ Shift - Drawing a straight line",
        "Line\tTool Line\t+ Shift - drawing a straight line at angles of 45°.",
        "Arrow\tTool Arrow\t+ Shift - drawing arrows at angles of 45°.",
        "Text\tTool Text\tWhen you move the mouse while pressing the pre-draws an arrow "
        "pointing to the location.",
        "Ellipse\tTool Ellipse\t+ Shift - draw circle.<br>+ Ctrl - draws a filled.",
        "Rect\tTool Rectangle\t+ Shift - draw square.<br>+ Ctrl - draws a filled.",
        "Counter\tTool Counter", "Blur\tTool Blur", "Blackout\tTool Blackout",
        "\tPublic\tCtrl+Enter"};
    for (const bool editor : {false, true}) {
        for (const QString &tool : tools) {
            const QStringList row = (tool + "\t").split('\t');
            QTest::addRow("%s %s", editor ? "editor" : "capture", qPrintable(row[1]))
                << editor << (row[0].isEmpty() ? "btnAccept" : "tool" + row[0])
                << "<b>" + row[1] + "</b>" + (row[2].isEmpty() ? "" : "<br>" + row[2]);
        }
    }
}

// Hovered, a button shows its tip near the pointer, inside the screen or the editor window, over
// the bar and its panels: the screen shows the tip's plate and its text.
void TestCaptureX11::toolTipsNameTheTools()
{
    QFETCH(bool, editor);
    QFETCH(QString, button);
    QFETCH(QString, text);
    EditPonoramWidget picture(QPixmap::fromImage(m_picture.copy(0, 0, 900, 500)), m_core);
    if (editor)
        picture.show();
    QQuickView *window
        = editor ? static_cast<QQuickView *>(&picture) : capture(QRect(300, 300, 600, 300));
    QVERIFY(window && QTest::qWaitForWindowExposed(window, 10000));
    QQuickItem *target = findSceneItem(window->rootObject(), button);
    QQuickItem *tip = findSceneItem(window->rootObject(), "surfaceToolTip");
    QTRY_VERIFY(target && target->isVisible());
    // Pointed at again while waiting: the window manager may still be moving a new window.
    QTRY_VERIFY_WITH_TIMEOUT(xdotool(moveTo(onScreen(target))) && tip->isVisible(), 3000);
    QCOMPARE(tip->childItems().first()->property("text").toString(), text);
    const QRect shown(onScreen(tip, {0, 0}), tip->size().toSize());
    QVERIFY((editor ? window->geometry() : window->screen()->geometry()).contains(shown));
    QVERIFY(shown.adjusted(-40, -40, 40, 40).contains(onScreen(target)));
    QTRY_COMPARE(shownAt(onScreen(tip, {tip->width() - 4, 4})), QColor("#2b2e30"));
}

// Escape asks, "No" takes the question back; the ticked box stops the next question, "Yes"
// closes. The screen shows the panel's plate and the box's two pictures.
void TestCaptureX11::closingAsksWithItsPanel()
{
    QPointer<SurfaceWidget> view = capture(QRect(100, 80, 300, 200));
    QTRY_VERIFY(view && view->isActive());
    QPointer<QQuickItem> panel = findSceneItem(view->rootObject(), "closeWindow");
    QQuickItem *box = findSceneItem(panel, "CheckBowCloseWindow");
    const QImage plate(":/component/image/component/close_window_background.png");
    for (const QString answer : {"No", "Yes"}) {
        QVERIFY(xdotool({"key", "Escape"}));
        QTRY_COMPARE(shownAt(onScreen(panel, {10, 140})), plate.pixelColor(10, 140));
        QVERIFY(answer == "No" || xdotool(moveTo(onScreen(box, {7, 10}), {"click", "1"})));
        const QImage mark(":/component/image/component/close_window_checkbox_"
            + QString(answer == "Yes" ? "check" : "uncheck") + ".png");
        QTRY_VERIFY(nearlyEqual(shownAt(onScreen(box, {7, 10})), mark.pixelColor(7, 10)));
        QCOMPARE(Setting::instance()->getValue(SettingKeys::showCloseSurfaceWindow).toBool(),
            answer == "No");
        QVERIFY(xdotool(moveTo(onScreen(findSceneItem(panel, "close" + answer)), {"click", "1"})));
        // "Yes" takes the panel away with the view.
        QTRY_VERIFY(!panel || !panel->isVisible());
    }
    QTRY_VERIFY(!view);
}

// The colour picked on the strip is the one the next capture draws with; Space right after the
// shape is drawn switches to moving it, and its handles show. Ctrl+C takes the bar off the
// screen for the copy; a view that stays open shows it again.
void TestCaptureX11::markingUpWithTheKeysAndThePickedColour()
{
    QPointer<SurfaceWidget> view = capture(QRect(100, 80, 600, 300));
    QTRY_VERIFY(view && findSceneItem(view->rootObject(), "color_line"));
    QVERIFY(xdotool(moveTo(
        onScreen(findSceneItem(view->rootObject(), "color_line"), {150, 6}), {"click", "1"})));
    QTRY_COMPARE(Setting::instance()->getValue(SettingKeys::colorColorLine).toInt(), 150);
    view->close();
    QTRY_VERIFY(!view);
    view = capture(QRect(100, 80, 600, 300));
    QTRY_VERIFY(view && view->isActive() && findSceneItem(view->rootObject(), "toolRect"));
    const QPoint bar = onScreen(findSceneItem(view->rootObject(), "toolRect"), {1, 1});
    QVERIFY(xdotool(moveTo(bar, {"click", "1"})));
    QTRY_COMPARE(view->paintArea()->currentModule(), QStringLiteral("Rect"));
    QVERIFY(xdotool(moveTo({200, 120}, {"mousedown", "1"}) + moveTo({300, 170})
        + moveTo({400, 220}, {"mouseup", "1"})));
    QTRY_VERIFY(nearlyEqual(shownAt(QPoint(300, 120)), ColorStrip::colorFromX(150)));
    const QImage before = view->screen()->grabWindow(0, 190, 110, 20, 20).toImage();
    QVERIFY(xdotool({"key", "space"}));
    QTRY_COMPARE(view->paintArea()->currentModule(), QStringLiteral("Move"));
    QTRY_VERIFY(view->screen()->grabWindow(0, 190, 110, 20, 20).toImage() != before);
    disconnect(view, &SurfaceWidget::clipboardRequested, nullptr, nullptr);
    const QColor shownBar = shownAt(bar);
    QVERIFY(xdotool({"keydown", "ctrl", "key", "c"}));
    QTRY_VERIFY(nearlyEqual(shownAt(bar), shaded(m_picture.pixelColor(bar))));
    QVERIFY(xdotool({"keyup", "ctrl"}));
    QTRY_COMPARE(shownAt(bar), shownBar);
}

void TestCaptureX11::menusTipsAndButtonsStayOnTheScreen_data()
{
    QTest::addColumn<QRect>("selection");
    QTest::addColumn<QStringList>("row"); // pointed at, clicked, shown, clear of, its plate
    const auto row = [](const char *name, QRect selection, const char *parts) {
        QTest::newRow(name) << selection << QString(parts).split(' ');
    };
    const int right = QGuiApplication::primaryScreen()->geometry().width();
    row("accept menu at the right edge", {right - 520, 2, 515, 12},
        "btnMenu click menu ponoramStart #2b2e30");
    row("scrolling capture tip at the left edge", {0, 300, 500, 200},
        "ponoramStart - surfaceToolTip - #2b2e30");
    row("scrolling capture button beside the handle", {0, 300, 500, 200},
        "ponoramStart - ponoramStart moveHandle -");
}

// Wherever the selection lies, what the bar opens or shows under the pointer is whole on the
// screen and clear of the bar's other controls.
void TestCaptureX11::menusTipsAndButtonsStayOnTheScreen()
{
    QFETCH(QRect, selection);
    QFETCH(QStringList, row);
    const QString pointAt = row[0], shown = row[2], clearOf = row[3], plate = row[4];
    QPointer<SurfaceWidget> view = capture(selection);
    QTRY_VERIFY(view && view->isActive() && findSceneItem(view->rootObject(), pointAt));
    QQuickItem *item = findSceneItem(view->rootObject(), shown);
    QVERIFY(item
        && xdotool(moveTo(onScreen(findSceneItem(view->rootObject(), pointAt)),
            row[1] == "click" ? QStringList {"click", "1"} : QStringList())));
    QTRY_VERIFY(item->isVisible());
    const QRect rect(onScreen(item, {0, 0}), item->size().toSize());
    QCOMPARE(rect.intersected(view->screen()->geometry()), rect);
    if (QQuickItem *other = clearOf == "-" ? nullptr : findSceneItem(view->rootObject(), clearOf))
        QVERIFY(!rect.intersects(QRect(onScreen(other, {0, 0}), other->size().toSize())));
    if (plate != "-")
        QTRY_COMPARE(shownAt(onScreen(item, {item->width() - 4, 4})), QColor(plate));
}

void TestCaptureX11::firstMarkReadsOnThePage_data()
{
    QTest::addColumn<QColor>("page");
    QTest::newRow("white page") << QColor(Qt::white);
    QTest::newRow("black page") << QColor(Qt::black);
}

// A new user's first arrow stands out from a plain page, light or dark, on the screen.
void TestCaptureX11::firstMarkReadsOnThePage()
{
    QFETCH(QColor, page);
    const QImage desktop = m_picture;
    const auto restore = qScopeGuard([this, desktop] { showPicture(desktop); });
    QImage plain(desktop.size(), QImage::Format_RGB32);
    plain.fill(page);
    showPicture(plain);
    Setting::instance()->setValue(
        SettingKeys::colorColorLine, SettingKeys::find(SettingKeys::colorColorLine)->initial);
    QPointer<SurfaceWidget> view = capture(QRect(100, 80, 600, 300));
    QTRY_VERIFY(view && view->isActive() && findSceneItem(view->rootObject(), "toolArrow"));
    QVERIFY(xdotool(moveTo(onScreen(findSceneItem(view->rootObject(), "toolArrow")), {"click", "1"})
        + moveTo({200, 120}, {"mousedown", "1"}) + moveTo({300, 170})
        + moveTo({400, 220}, {"mouseup", "1"})));
    // Where the screen shows the arrow, and in the picture the view hands on once the arrow is
    // drawn (the release taken).
    QTRY_VERIFY(markShows(view->screen()->grabWindow(0, 190, 110, 220, 120).toImage(), page));
    QTRY_VERIFY(view->paintArea()->canUndo());
    QVERIFY(markShows(view->renderRubberRect().toImage(), page));
}

void TestCaptureX11::textNearTheBottomStaysInTheOutput_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("text");
    QTest::newRow("lines typed down past the bottom") << "o n e Return t w o Return s i x"
                                                      << "one\ntwo\nsix";
    QTest::newRow("a paste taller than the selection")
        << "ctrl+v" << QStringLiteral("A line of the pasted text\n").repeated(40);
}

// A text box started 30 px above the selection's bottom, grown down and then dragged down past
// it: the screen shows the box only where the output has it, and the line typed on is in both.
void TestCaptureX11::textNearTheBottomStaysInTheOutput()
{
    QFETCH(QString, keys);
    QFETCH(QString, text);
    const QRect selection(400, 200, 1000, 700);
    QPointer<SurfaceWidget> view = capture(selection);
    QTRY_VERIFY(view && view->isActive() && findSceneItem(view->rootObject(), "toolText"));
    QGuiApplication::clipboard()->setText(text);
    QVERIFY(xdotool(moveTo(onScreen(findSceneItem(view->rootObject(), "toolText")), {"click", "1"})
        + moveTo({600, selection.bottom() - 30}, {"click", "1", "key"}) + keys.split(' ')));
    QTRY_VERIFY(view->paintArea()->currentItem());
    auto *box = qobject_cast<TextItem *>(view->paintArea()->currentItem());
    QTRY_COMPARE(box->text(), text);
    // Below the selection, left of the bar, the shaded desktop alone; inside it the output,
    // whenever the caret blinks off.
    const QRect below(selection.left() + 3, selection.bottom() + 3, 400, 150);
    const QRect in = selection.adjusted(2, 2, -2, -2);
    QImage desktop = m_picture.copy(below);
    QPainter(&desktop).fillRect(desktop.rect(), QColor(QStringLiteral("#6c141517")));
    const auto shownAsOutput = [&] {
        const QImage output = view->renderRubberRect().toImage();
        const QImage shown = view->screen()->grabWindow(0).toImage();
        return samePicture(shown.copy(below), desktop, 2)
            && samePicture(shown.copy(in), output.copy(in.translated(-selection.topLeft())), 2);
    };
    QTRY_VERIFY(shownAsOutput());
    const QImage output = view->renderRubberRect().toImage();
    QVERIFY(xdotool({"type", "W"}));
    QTRY_COMPARE(box->text(), text + QLatin1Char('W'));
    QVERIFY(view->renderRubberRect().toImage() != output);
    QTRY_VERIFY(shownAsOutput());

    const QPoint grip = onScreen(box, QPointF(30, box->height() - 30));
    QVERIFY(xdotool(moveTo(onScreen(findSceneItem(view->rootObject(), "toolMove")), {"click", "1"})
        + moveTo(grip, {"mousedown", "1"}) + moveTo(grip + QPoint(0, 100))
        + moveTo(grip + QPoint(0, 200), {"mouseup", "1"})));
    QTRY_VERIFY(box->geometry().bottom() > selection.bottom() + 100);
    QTRY_VERIFY(shownAsOutput());
}

QTEST_MAIN(TestCaptureX11)
#include "tst_capturex11.moc"
