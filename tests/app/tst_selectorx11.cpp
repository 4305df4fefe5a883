#include "core.h"
#include "coretestsupport.h"
#include "editponoramwidget.h"
#include "quicktestsupport.h"
#include "selectorwidgetmac.h"
#include "setting.h"
#include "surfaceselector.h"
#include "surfacewidget.h"

#include <QGuiApplication>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

// Captures over the monitors of a real X server (run with XVFB_MONITORS for several, without
// for one): a selector window a monitor, a selection inside one monitor or across them, the
// full shot of all of them in the editor window, and the editor's picture leaving through the
// file, the clipboard and the upload. The desktop shows a known picture through the grab hook,
// so every output pixel is checked, black wherever no monitor is.
class TestSelectorX11 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void oneWindowPerMonitorMirrorsThePointer();
    void selectionInsideEachMonitorOpensTheCaptureView();
    void selectionAcrossMonitorsOpensTheEditor();
    void emptySelectionOpensNothing();
    void fullScreenOverAllMonitorsOpensTheEditor_data();
    void fullScreenOverAllMonitorsOpensTheEditor();

private:
    QList<SelectorWidgetMac *> startSelectors();
    void drag(QWindow *window, const QPoint &from, const QPoint &to);
    QImage desktopPart(const QRect &rect) const;
    bool severalMonitors() const { return QGuiApplication::screens().size() > 1; }

    StandinService m_service;
    Core *m_core = nullptr;
    QRect m_desktop;
    QImage m_picture;
    QString m_answer;
};

void TestSelectorX11::initTestCase()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X server (run through tests/support/xvfb.sh)");
    QVERIFY(startSignedIn(m_service));
    const QStringList monitors
        = qEnvironmentVariable("XVFB_MONITORS").split(' ', Qt::SkipEmptyParts);
    QCOMPARE(QGuiApplication::screens().size(), qMax(1, monitors.size()));
    for (const QScreen *screen : QGuiApplication::screens())
        m_desktop |= screen->geometry();
    m_picture = uniquePicture(m_desktop.size());
    SurfaceWidget::setGrabber([this](const QRect &rect) {
        QImage part(rect.size(), QImage::Format_RGB32);
        part.fill(Qt::black);
        QPainter(&part).drawImage(m_desktop.topLeft() - rect.topLeft(), m_picture);
        return QPixmap::fromImage(part);
    });
    m_core = Core::instance();
    m_core->setSaveFileAsker([this](const QString &, const QString &) { return m_answer; });
    Setting::instance()->setValue(QStringLiteral("qualityImage"), 2);
}

void TestSelectorX11::cleanup()
{
    for (SelectorWidgetMac *window : m_core->selectorWidgets())
        window->close();
    if (m_core->surfaceWidget())
        m_core->surfaceWidget()->close();
    if (m_core->editPonoramWidget())
        m_core->editPonoramWidget()->close();
    QTRY_VERIFY_WITH_TIMEOUT(m_core->selectorWidgets().isEmpty(), 2000);
    QTRY_VERIFY_WITH_TIMEOUT(!m_core->editPonoramWidget() && !m_core->surfaceWidget(), 2000);
}

// What a monitor shows there, black where no monitor is.
QImage TestSelectorX11::desktopPart(const QRect &rect) const
{
    QImage part(rect.size(), QImage::Format_RGB32);
    part.fill(Qt::black);
    QPainter painter(&part);
    for (const QScreen *screen : QGuiApplication::screens()) {
        const QRect shown = screen->geometry() & rect;
        painter.drawImage(shown.topLeft() - rect.topLeft(), m_picture.copy(shown));
    }
    return part;
}

QList<SelectorWidgetMac *> TestSelectorX11::startSelectors()
{
    m_core->fragmentScreen();
    const QList<SelectorWidgetMac *> windows = m_core->selectorWidgets();
    for (SelectorWidgetMac *window : windows) {
        if (!QTest::qWaitForWindowExposed(window, 10000))
            return {};
    }
    return windows;
}

void TestSelectorX11::drag(QWindow *window, const QPoint &from, const QPoint &to)
{
    QTest::mouseMove(window, from);
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(window, (from + to) / 2);
    QTest::mouseMove(window, to);
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, to);
}

void TestSelectorX11::oneWindowPerMonitorMirrorsThePointer()
{
    const QList<SelectorWidgetMac *> windows = startSelectors();
    if (!severalMonitors()) {
        QVERIFY(windows.isEmpty());
        QVERIFY(m_core->surfaceWidget());
        return;
    }
    QCOMPARE(windows.size(), QGuiApplication::screens().size());
    for (int i = 0; i < windows.size(); ++i) {
        const QRect geometry = QGuiApplication::screens().at(i)->geometry();
        QTRY_COMPARE_WITH_TIMEOUT(windows.at(i)->geometry(), geometry, 5000);
        QCOMPARE(windows.at(i)->background().toImage().convertToFormat(QImage::Format_RGB32),
            desktopPart(geometry));
    }
    // Global x 2000 lies beyond the first monitor: its cross is put just off its picture.
    QTest::mouseMove(windows.at(1), QPoint(80, 50));
    QTRY_COMPARE(windows.at(0)->selector()->gx(), -5);
    QCOMPARE(windows.at(0)->selector()->gy(), 50);
    QVERIFY(!windows.at(0)->selector()->isShowMagnified());
    QVERIFY(windows.at(1)->selector()->isShowMagnified());

    // Escape in any window closes and releases every window of the capture.
    QList<QPointer<SelectorWidgetMac>> kept(windows.begin(), windows.end());
    // The press alone: the release would go to a window already deleted.
    QTest::keyPress(windows.at(1), Qt::Key_Escape);
    QTRY_VERIFY_WITH_TIMEOUT(!kept.at(0) && !kept.at(1), 2000);
    QVERIFY(!m_core->surfaceWidget() && !m_core->editPonoramWidget());
}

void TestSelectorX11::selectionInsideEachMonitorOpensTheCaptureView()
{
    for (int index = 0; index < QGuiApplication::screens().size(); ++index) {
        const QList<SelectorWidgetMac *> windows = startSelectors();
        if (!severalMonitors())
            QSKIP("one monitor: the capture view opens at once");
        QList<QPointer<SelectorWidgetMac>> kept(windows.begin(), windows.end());
        drag(windows.at(index), QPoint(100, 100), QPoint(400, 300));
        QTRY_VERIFY_WITH_TIMEOUT(!kept.at(0) && !kept.at(1), 2000);
        QPointer<SurfaceWidget> view = m_core->surfaceWidget();
        QVERIFY(view);
        const QRect geometry = QGuiApplication::screens().at(index)->geometry();
        QTRY_COMPARE_WITH_TIMEOUT(view->geometry(), geometry, 5000);
        QCOMPARE(view->selectRect(), QRect(100, 100, 300, 200));
        QCOMPARE(view->renderRubberRect().toImage().convertToFormat(QImage::Format_RGB32),
            desktopPart(QRect(100, 100, 300, 200).translated(geometry.topLeft())));
        view->close();
        QTRY_VERIFY_WITH_TIMEOUT(!m_core->surfaceWidget(), 2000);
    }
}

void TestSelectorX11::selectionAcrossMonitorsOpensTheEditor()
{
    const QList<SelectorWidgetMac *> windows = startSelectors();
    if (!severalMonitors())
        QSKIP("one monitor: nothing to cross");
    const QRect second = QGuiApplication::screens().at(1)->geometry();
    // From the first monitor over the second one's lower edge, where no monitor is.
    const QRect across(second.left() - 120, second.bottom() - 100, 300, 150);
    QTest::mouseMove(windows.at(0), across.topLeft());
    QTest::mousePress(windows.at(0), Qt::LeftButton, Qt::NoModifier, across.topLeft());
    QTest::mouseMove(windows.at(0), across.center());
    QTest::mouseMove(windows.at(0), across.bottomRight() + QPoint(1, 1));
    // The second window shows its own part of the selection.
    QTRY_COMPARE(windows.at(1)->selector()->rubberRect(),
        QRectF(QRect(0, across.top(), 180, second.bottom() + 1 - across.top())));
    QTest::mouseRelease(
        windows.at(0), Qt::LeftButton, Qt::NoModifier, across.bottomRight() + QPoint(1, 1));

    QTRY_VERIFY_WITH_TIMEOUT(m_core->editPonoramWidget(), 2000);
    QTRY_VERIFY_WITH_TIMEOUT(m_core->selectorWidgets().isEmpty(), 2000);
    EditPonoramWidget *editor = m_core->editPonoramWidget();
    const QImage expected = desktopPart(across);
    QCOMPARE(expected.pixelColor(299, 149), QColor(Qt::black));
    QCOMPARE(editor->renderPicture().toImage().convertToFormat(QImage::Format_RGB32), expected);
}

void TestSelectorX11::emptySelectionOpensNothing()
{
    const QList<SelectorWidgetMac *> windows = startSelectors();
    if (!severalMonitors())
        QSKIP("one monitor: no selector windows");
    drag(windows.at(0), QPoint(300, 200), QPoint(300, 400));
    QTest::mouseClick(windows.at(1), Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    // The rectangle of no area never reaches the windows' decision.
    windows.at(0)->changeSelectorRect(QRectF(300, 200, 0, 0));
    windows.at(0)->selectComplete();
    QTest::qWait(100);
    QCOMPARE(m_core->selectorWidgets().size(), windows.size());
    QVERIFY(!m_core->surfaceWidget());
    QVERIFY(!m_core->editPonoramWidget());
}

void TestSelectorX11::fullScreenOverAllMonitorsOpensTheEditor_data()
{
    QTest::addColumn<QString>("route");
    QTest::newRow("file") << "file";
    QTest::newRow("clipboard") << "clipboard";
    QTest::newRow("upload") << "upload";
}

// The full shot, zoomed out and marked up, leaves at its own size with the mark on it.
void TestSelectorX11::fullScreenOverAllMonitorsOpensTheEditor()
{
    QFETCH(QString, route);
    m_service.reset();
    m_core->fullScreen();
    if (!severalMonitors()) {
        QVERIFY(m_core->surfaceWidget());
        QVERIFY(!m_core->editPonoramWidget());
        return;
    }
    QPointer<EditPonoramWidget> editor = m_core->editPonoramWidget();
    QVERIFY(editor);
    QVERIFY(QTest::qWaitForWindowExposed(editor, 10000));
    QCOMPARE(editor->pictureSize(), m_desktop.size());
    findSceneItem(editor->rootObject(), "zoom_slider")->setProperty("value", 25);
    KPainterArea *canvas = editor->paintArea();
    canvas->setCurrentModule("Rect");
    QTest::qWait(50);
    const QPoint a = canvas->mapToScene(QPointF(400, 200)).toPoint();
    const QPoint b = canvas->mapToScene(QPointF(800, 600)).toPoint();
    QTest::mousePress(editor, Qt::LeftButton, Qt::NoModifier, a);
    QTest::mouseMove(editor, (a + b) / 2);
    QTest::mouseMove(editor, b);
    QTest::mouseRelease(editor, Qt::LeftButton, Qt::NoModifier, b);

    QTemporaryDir folder;
    m_answer = folder.filePath(QStringLiteral("desktop"));
    QSignalSpy link(m_core, &Core::lastLinkChanged);
    if (route == "file")
        editor->saveScreen();
    else if (route == "clipboard")
        editor->screenSaveToClipboard();
    else
        editor->uploadScreen();
    QTRY_VERIFY_WITH_TIMEOUT(!editor, 5000);

    QImage result;
    if (route == "file") {
        result = QImage(m_answer + QStringLiteral(".png"));
    } else if (route == "clipboard") {
        QProcess xclip;
        xclip.start(QStringLiteral("xclip"),
            {QStringLiteral("-o"), QStringLiteral("-selection"), QStringLiteral("clipboard"),
                QStringLiteral("-t"), QStringLiteral("image/png")});
        // The clipboard lives in this process: keep the event loop turning while xclip reads.
        QTRY_VERIFY_WITH_TIMEOUT(xclip.state() == QProcess::NotRunning, 10000);
        QCOMPARE(xclip.exitCode(), 0);
        result = QImage::fromData(xclip.readAllStandardOutput(), "PNG");
    } else {
        QVERIFY(link.wait(10000));
        const QJsonArray creates = m_service.requests(QStringLiteral("/drive/v1/files"));
        QCOMPARE(creates.size(), 1);
        const QString title = creates.first().toObject()["json"].toObject()["title"].toString();
        result = QImage(QDir(QDir::homePath() + "/.kuvo/tmp").filePath(title));
    }
    result = result.convertToFormat(QImage::Format_RGB32);
    const QImage desktop = desktopPart(m_desktop);
    QCOMPARE(result.size(), desktop.size());
    QVERIFY(result.pixel(400, 400) != desktop.pixel(400, 400));
    QCOMPARE(result.pixel(600, 400), desktop.pixel(600, 400));
    QCOMPARE(result.pixel(2500, 300), desktop.pixel(2500, 300));
    QCOMPARE(result.pixelColor(m_desktop.width() - 1, m_desktop.height() - 1),
        desktop.pixelColor(m_desktop.width() - 1, m_desktop.height() - 1));
}

QTEST_MAIN(TestSelectorX11)
#include "tst_selectorx11.moc"
