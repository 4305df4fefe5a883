#include "magnifieritem.h"
#include "pictureitem.h"
#include "quicktestsupport.h"
#include "surfaceselector.h"

#include <QPainter>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickView>
#include <QScreen>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

QColor pixelColor(int x, int y)
{
    return QColor(x & 0xff, y & 0xff, (x >> 8) * 0x40 + (y >> 8) * 0x10 + 0x08);
}

// A frozen screen whose pixels all differ, so any shift between picture, shade and loupe shows.
QPixmap uniquePixmap(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixelColor(x, y, pixelColor(x, y));
    return QPixmap::fromImage(image);
}

} // namespace

// A capture page with the picture, the selection and the loupe, used as a user uses it.
class TestCapturePage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void loupeFollowsThePointerWhileSelecting();
    void selectResizeAndMove();

private:
    void press(QPoint p) { QTest::mousePress(m_view.get(), Qt::LeftButton, Qt::NoModifier, p); }
    void move(QPoint p) { QTest::mouseMove(m_view.get(), p); }
    void release(QPoint p) { QTest::mouseRelease(m_view.get(), Qt::LeftButton, Qt::NoModifier, p); }
    void checkShownMatchesPicture(const QRect &selection);

    QPixmap m_picture;
    std::unique_ptr<QQuickView> m_view;
    SurfaceSelector *m_selector = nullptr;
    MagnifierItem *m_loupe = nullptr;
    QtMessageHandler m_previousHandler = nullptr;
};

void TestCapturePage::initTestCase()
{
    SurfaceSelector::registerQmlType();
    MagnifierItem::registerQmlType();
    PictureItem::registerQmlType();
    m_picture = uniquePixmap(QSize(400, 300));
}

void TestCapturePage::init()
{
    pageWarnings().clear();
    m_previousHandler = qInstallMessageHandler(&keepWarnings);
    m_view = std::make_unique<QQuickView>();
    m_view->rootContext()->setContextProperty(QStringLiteral("screenPicture"), m_picture);
    m_view->setSource(QUrl(QStringLiteral("qrc:/test/capturepage.qml")));
    QCOMPARE(m_view->status(), QQuickView::Ready);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get(), 5000));
    m_selector
        = m_view->rootObject()->findChild<SurfaceSelector *>(QStringLiteral("SurfaceSelector"));
    QVERIFY(m_selector);
    m_loupe = m_selector->findChild<MagnifierItem *>(QStringLiteral("MagnifierItem"));
    QVERIFY(m_loupe);
}

void TestCapturePage::cleanup()
{
    m_view.reset();
    qInstallMessageHandler(m_previousHandler);
    QCOMPARE(pageWarnings(), QStringList());
}

void TestCapturePage::loupeFollowsThePointerWhileSelecting()
{
    const QList<QPoint> path {{30, 40}, {250, 120}, {399, 299}, {0, 150}};
    for (const QPoint &p : path) {
        move(p);
        QCOMPARE(QPoint(m_selector->gx(), m_selector->gy()), p);
        QTRY_COMPARE_WITH_TIMEOUT(m_loupe->currentColor(), pixelColor(p.x(), p.y()).name(), 2000);
    }
    press(QPoint(100, 80));
    move(QPoint(180, 150));
    QTRY_COMPARE_WITH_TIMEOUT(m_loupe->currentColor(), pixelColor(180, 150).name(), 2000);
    release(QPoint(180, 150));
    QTRY_VERIFY_WITH_TIMEOUT(!m_loupe->parentItem()->isVisible(), 2000);
}

void TestCapturePage::checkShownMatchesPicture(const QRect &selection)
{
    QTest::qWait(50); // let the scene render the last change before the screen is read
    const QImage shown = shownPicture(m_view.get());
    QCOMPARE(shown.size(), m_picture.size());
    const QImage picture = m_picture.toImage();
    // The start guides run along the first column and row of the selection, so the check
    // starts one pixel inside it.
    for (int y = selection.top() + 1; y <= selection.bottom(); y += 3)
        for (int x = selection.left() + 1; x <= selection.right(); x += 3)
            QCOMPARE(shown.pixelColor(x, y), picture.pixelColor(x, y));
    // Outside, the picture under the shade, as Qt's own painter lays one colour over another.
    const QList<QPoint> outside {selection.topLeft() - QPoint(3, 3),
        selection.bottomRight() + QPoint(3, 3), QPoint(0, 0), QPoint(399, 299)};
    for (const QPoint &p : outside) {
        QImage shaded = picture.copy(QRect(p, QSize(1, 1)));
        QPainter(&shaded).fillRect(shaded.rect(), SurfaceSelector::shadeColor());
        QCOMPARE(shown.pixelColor(p), shaded.pixelColor(0, 0));
    }
}

void TestCapturePage::selectResizeAndMove()
{
    QSignalSpy complete(m_selector, &SurfaceSelector::selectComplete);
    move(QPoint(60, 50));
    press(QPoint(60, 50));
    move(QPoint(120, 90));
    move(QPoint(200, 170));
    release(QPoint(200, 170));
    QCOMPARE(complete.count(), 1);
    QCOMPARE(m_selector->selectRect(), QRect(60, 50, 140, 120));
    checkShownMatchesPicture(m_selector->selectRect());

    // Resize by the right edge: grab it just outside and pull it out.
    move(QPoint(150, 120));
    move(QPoint(210, 120));
    QTRY_COMPARE_WITH_TIMEOUT(m_view->cursor().shape(), Qt::SizeHorCursor, 2000);
    press(QPoint(210, 120));
    move(QPoint(240, 125));
    move(QPoint(260, 130));
    release(QPoint(260, 130));
    QCOMPARE(complete.count(), 2);
    QCOMPARE(m_selector->selectRect(), QRect(60, 50, 190, 120));

    // Moving the whole selection is the view's job; the item follows and the page shows it.
    m_selector->moveRubber(150, 120);
    QCOMPARE(m_selector->selectRect(), QRect(150, 120, 190, 120));
    checkShownMatchesPicture(m_selector->selectRect());
}

QTEST_MAIN(TestCapturePage)
#include "tst_capturepage.moc"
