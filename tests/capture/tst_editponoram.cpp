#include "editponoramwidget.h"
#include "kpainterarea.h"
#include "quicktestsupport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QProcess>
#include <QQuickItem>
#include <QScreen>
#include <QtTest>

#include <memory>

// The picture editor window over a known picture: zoom, markup drawn with the pointer through
// the zoomed and scrolled canvas, the rendered output, its keys and how it reports closing.
class TestEditPonoram : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void markupLandsUnderThePointerAtEveryZoom_data();
    void markupLandsUnderThePointerAtEveryZoom();
    void outputHasNoHandles();
    void escapeFirstUnchecksThenCloses();
    void keysUndoRedoShareAndCopy();
    void everyCloseIsReportedOnce();
    void windowIsPlacedOverThePicture();
    void zoomButtonsStayUnderThePointer();

private:
    KPainterArea *canvas() const { return m_editor->paintArea(); }
    void setZoom(int percent);
    // A rectangle drawn with the pointer between two points of the picture.
    void drawRect(const QPoint &from, const QPoint &to);
    // How many pixels of one row, between two columns, differ from the picture.
    int changedColumns(const QImage &image, int row, int from, int to) const;
    QImage onScreen() const { return m_editor->screen()->grabWindow(m_editor->winId()).toImage(); }
    QImage output()
    {
        return m_editor->renderPicture().toImage().convertToFormat(QImage::Format_RGB32);
    }

    QImage m_picture;
    std::unique_ptr<EditPonoramWidget> m_editor;
    QtMessageHandler m_previousHandler = nullptr;
};

void TestEditPonoram::init()
{
    pageWarnings().clear();
    m_previousHandler = qInstallMessageHandler(&keepWarnings);
    m_picture = uniquePicture(QSize(900, 600));
    m_editor = std::make_unique<EditPonoramWidget>(QPixmap::fromImage(m_picture));
    QVERIFY(canvas());
    m_editor->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_editor.get(), 10000));
}

void TestEditPonoram::cleanup()
{
    m_editor.reset();
    qInstallMessageHandler(m_previousHandler);
    QVERIFY2(pageWarnings().isEmpty(), qPrintable(pageWarnings().join(QLatin1Char('\n'))));
}

void TestEditPonoram::setZoom(int percent)
{
    QQuickItem *slider = findSceneItem(m_editor->rootObject(), "zoom_slider");
    QVERIFY(slider);
    slider->setProperty("value", percent);
    QTest::qWait(20);
}

void TestEditPonoram::drawRect(const QPoint &from, const QPoint &to)
{
    if (canvas()->currentModule() != "Rect")
        canvas()->setCurrentModule("Rect");
    const QPoint a = canvas()->mapToScene(from).toPoint();
    const QPoint b = canvas()->mapToScene(to).toPoint();
    QTest::mousePress(m_editor.get(), Qt::LeftButton, Qt::NoModifier, a);
    // QTest moves a widget's pointer through the X server, whose motion may come back only
    // after the release on a loaded machine; sent like the press, the moves come in order.
    for (const QPoint &p : {(a + b) / 2, b}) {
        QMouseEvent move(QEvent::MouseMove, p, m_editor->mapToGlobal(p), Qt::NoButton,
            Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_editor.get(), &move);
    }
    QTest::mouseRelease(m_editor.get(), Qt::LeftButton, Qt::NoModifier, b);
}

int TestEditPonoram::changedColumns(const QImage &image, int row, int from, int to) const
{
    int changed = 0;
    for (int x = from; x <= to; ++x)
        changed += image.pixel(x, row) != m_picture.pixel(x, row);
    return changed;
}

void TestEditPonoram::markupLandsUnderThePointerAtEveryZoom_data()
{
    QTest::addColumn<int>("zoom");
    QTest::addColumn<int>("scrollY");
    QTest::newRow("25 %") << 25 << 0;
    QTest::newRow("33 %") << 33 << 0;
    QTest::newRow("100 %, scrolled") << 100 << 150;
    QTest::newRow("163 %, scrolled") << 163 << 300;
}

void TestEditPonoram::markupLandsUnderThePointerAtEveryZoom()
{
    QFETCH(int, zoom);
    QFETCH(int, scrollY);

    setZoom(zoom);
    QQuickItem *flick = findSceneItem(m_editor->rootObject(), "edit_flick");
    QVERIFY(flick);
    QCOMPARE(flick->property("contentWidth").toReal(), 900.0 * zoom / 100);
    flick->setProperty("contentY", scrollY);
    // A rectangle in the part of the picture the window shows.
    const int top = qMax(0, int(canvas()->mapFromItem(flick, QPointF(0, 0)).y())) + 40;
    const QImage before = onScreen();
    drawRect(QPoint(300, top), QPoint(420, top + 60));
    canvas()->uncheckAllItem();
    // The screen shows each side of it, as the output does.
    const auto sidesShown = [&] {
        const QImage after = onScreen();
        int shown = 0;
        for (const QPoint &side : {QPoint(300, top + 30), QPoint(420, top + 30), QPoint(360, top),
                 QPoint(360, top + 60)}) {
            const QRect near(canvas()->mapToScene(side).toPoint() - QPoint(2, 2), QSize(5, 5));
            shown += after.copy(near) != before.copy(near);
        }
        return shown;
    };
    QTRY_COMPARE(sidesShown(), 4);

    const QImage marked = output();
    QCOMPARE(marked.size(), m_picture.size());
    // One screen pixel covers four picture pixels at 25 %.
    const int near = zoom < 100 ? 4 : 1;
    const int row = top + 30;
    QVERIFY(changedColumns(marked, row, 300 - near, 300 + near) > 0);
    QVERIFY(changedColumns(marked, row, 420 - near, 420 + near) > 0);
    QCOMPARE(changedColumns(marked, row, 300 + 3 * near + 4, 420 - 3 * near - 4), 0);
    QCOMPARE(changedColumns(marked, row, 0, 300 - 3 * near - 4), 0);
    QCOMPARE(changedColumns(marked, row, 420 + 3 * near + 4, 899), 0);
}

void TestEditPonoram::outputHasNoHandles()
{
    drawRect(QPoint(100, 100), QPoint(300, 250));
    canvas()->setCurrentModule("Move");
    QVERIFY2(canvas()->checkItem(), "the shape is checked, with its handles");
    const QRect whole(QPoint(0, 0), m_picture.size());
    const QImage withHandles
        = canvas()->renderRect(whole, 10000, false).convertToFormat(QImage::Format_RGB32);
    const QImage marked = output();
    QVERIFY(!canvas()->checkItem());
    QVERIFY(withHandles != marked);
    // Only the outline differs from the picture: nothing beyond two pixels off its edges.
    for (const QPoint &p : {QPoint(95, 95), QPoint(305, 255), QPoint(200, 95), QPoint(305, 175)})
        QCOMPARE(marked.pixel(p), m_picture.pixel(p));
}

void TestEditPonoram::escapeFirstUnchecksThenCloses()
{
    QSignalSpy closed(m_editor.get(), &EditPonoramWidget::closed);
    drawRect(QPoint(100, 100), QPoint(300, 250));
    canvas()->setCurrentModule("Move");
    QVERIFY(canvas()->checkItem());
    QQuickItem *menuButton = findSceneItem(m_editor->rootObject(), "btnMenu");
    QVERIFY(menuButton);
    QTest::mouseClick(m_editor.get(), Qt::LeftButton, Qt::NoModifier,
        menuButton->mapToScene(menuButton->boundingRect().center()).toPoint());
    QQuickItem *menu = findSceneItem(m_editor->rootObject(), "menu");
    QTRY_VERIFY(menu->isVisible());
    // The open menu takes the first Escape, and only the menu goes.
    QTest::keyClick(m_editor.get(), Qt::Key_Escape);
    QVERIFY(!menu->isVisible());
    QVERIFY(canvas()->checkItem());
    QTest::keyClick(m_editor.get(), Qt::Key_Escape);
    QVERIFY(!canvas()->checkItem());
    QCOMPARE(closed.count(), 0);
    QVERIFY(output().pixel(100, 175) != m_picture.pixel(100, 175));
    QTest::keyClick(m_editor.get(), Qt::Key_Escape);
    QCOMPARE(closed.count(), 1);
}

void TestEditPonoram::keysUndoRedoShareAndCopy()
{
    QSignalSpy closed(m_editor.get(), &EditPonoramWidget::closed);
    QSignalSpy posts(m_editor.get(), &EditPonoramWidget::postRequested);
    drawRect(QPoint(100, 100), QPoint(300, 250));
    const QImage marked = output();

    QTest::keyClick(m_editor.get(), Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
    QCOMPARE(output(), m_picture);
    QTest::keyClick(m_editor.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(output(), marked);

    // The share keys hold Alt here; with Shift they are the capture view's and do nothing. The
    // accept menu names the ones that work.
    QTest::keyClick(m_editor.get(), Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(posts.count(), 0);
    const QKeySequence mail = QKeySequence::fromString(
        findSceneItem(m_editor->rootObject(), "postMail")->property("shortcut").toString());
    QTest::keyClick(m_editor.get(), Qt::Key(mail[0] & ~Qt::KeyboardModifierMask),
        Qt::KeyboardModifiers(mail[0] & Qt::KeyboardModifierMask));
    QCOMPARE(posts.count(), 1);
    QCOMPARE(posts.first().at(0).toInt(), 5);
    QCOMPARE(posts.first().at(1).value<QPixmap>().toImage().convertToFormat(QImage::Format_RGB32),
        marked);
    QCOMPARE(closed.count(), 0);

    QGuiApplication::clipboard()->clear();
    QTest::keyClick(m_editor.get(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), marked);
    QCOMPARE(closed.count(), 1);
}

void TestEditPonoram::everyCloseIsReportedOnce()
{
    QSignalSpy closed(m_editor.get(), &EditPonoramWidget::closed);
    QSignalSpy uploads(m_editor.get(), &EditPonoramWidget::uploadRequested);
    // As the window manager closes it.
    QCloseEvent event;
    QCoreApplication::sendEvent(m_editor.get(), &event);
    QCOMPARE(closed.count(), 1);
    m_editor->uploadScreen();
    QCOMPARE(uploads.count(), 1);
    QCOMPARE(
        uploads.first().first().value<QPixmap>().toImage().convertToFormat(QImage::Format_RGB32),
        m_picture);
    QCOMPARE(closed.count(), 1);
}

void TestEditPonoram::windowIsPlacedOverThePicture()
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    m_editor->setBackground(QPixmap(3000, 900));
    QCOMPARE(m_editor->position(),
        area.topLeft() + QPoint(area.width() / 2 - 1500, area.height() / 2 - 450 - 50));
    m_editor->show();
    QCOMPARE(m_editor->position(),
        area.topLeft()
            + QPoint(area.width() / 2 - m_editor->width() / 2,
                area.height() / 2 - m_editor->height() / 2));
    QVERIFY(m_editor->width() <= m_editor->maxWidth());
    // Too wide for the screen, the picture opens zoomed out until all of its width shows.
    QQuickItem *flick = findSceneItem(m_editor->rootObject(), "edit_flick");
    QTRY_VERIFY(flick->property("contentWidth").toReal() <= flick->width());
    QVERIFY(findSceneItem(m_editor->rootObject(), "zoom_slider")->property("value").toInt() < 100);
}

// As a user clicks it on an X server with a window manager: the window opens centred on the
// primary screen, wherever that stands, at the size its page grows to, and keeps size and place
// while it zooms, so that each click of "-" and the keys after them reach it.
void TestEditPonoram::zoomButtonsStayUnderThePointer()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X server (run through tests/support/xvfb.sh)");
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QQuickItem *page = m_editor->rootObject();
    QTRY_COMPARE(m_editor->size(), QSize(int(page->width()), int(page->height())));
    const QRect opened = m_editor->geometry();
    QVERIFY(area.contains(opened));
    QVERIFY((opened.center() - area.center()).manhattanLength() <= 2);
    drawRect(QPoint(100, 100), QPoint(300, 250));
    QQuickItem *button = findSceneItem(page, "zoomOut");
    const QPoint at = m_editor->mapToGlobal(button->mapToScene(QPointF(8, 8)).toPoint());
    const QString x = QString::number(at.x()), y = QString::number(at.y());
    for (int zoom : {75, 50}) {
        QCOMPARE(QProcess::execute("xdotool", {"mousemove", x, y, "click", "1"}), 0);
        QTRY_COMPARE(findSceneItem(page, "zoom_slider")->property("value"), zoom);
    }
    QCOMPARE(m_editor->geometry(), opened);
    QCOMPARE(QProcess::execute("xdotool", {"key", "ctrl+z"}), 0);
    QTRY_COMPARE(output(), m_picture);
}

QTEST_MAIN(TestEditPonoram)
#include "tst_editponoram.moc"
