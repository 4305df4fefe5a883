#include "colorstrip.h"
#include "graphmodule.h"
#include "kpainterarea.h"
#include "magnifieritem.h"
#include "quicktestsupport.h"
#include "serviceaddress.h"
#include "standinservice.h"
#include "surfaceselector.h"
#include "testshape.h"

#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickImageProvider>
#include <QQuickView>
#include <QScreen>
#include <QtTest>

namespace {

class ScreenProvider : public QQuickImageProvider
{
public:
    explicit ScreenProvider(const QImage &picture)
        : QQuickImageProvider(QQuickImageProvider::Image)
        , m_picture(picture)
    {
    }
    QImage requestImage(const QString &, QSize *size, const QSize &) override
    {
        *size = m_picture.size();
        return m_picture;
    }

private:
    QImage m_picture;
};

} // namespace

// The canvas over a picture with the selection item above it, used as a user uses them:
// select, resize, draw and restyle a shape, undo and redo, and render what was shown.
class TestCanvasPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void selectDrawUndoAndRender();

private:
    void press(QPoint p) { QTest::mousePress(m_view.get(), Qt::LeftButton, Qt::NoModifier, p); }
    void move(QPoint p) { QTest::mouseMove(m_view.get(), p); }
    void release(QPoint p) { QTest::mouseRelease(m_view.get(), Qt::LeftButton, Qt::NoModifier, p); }
    void drag(QPoint from, QPoint to);
    QImage shown() const;

    StandinService m_service;
    QImage m_picture;
    std::unique_ptr<QQuickView> m_view;
    QtMessageHandler m_previousHandler = nullptr;
};

void TestCanvasPage::initTestCase()
{
    QVERIFY(m_service.start());
    ServiceAddress::setFixedHost(m_service.httpHost());
    KPainterArea::registerModule(&TestShapeModule::create);
    KPainterArea::registerQmlTypes();
    SurfaceSelector::registerQmlType();
    MagnifierItem::registerQmlType();
    m_picture = uniquePicture(QSize(400, 300));

    m_previousHandler = qInstallMessageHandler(&keepWarnings);
    m_view = std::make_unique<QQuickView>();
    m_view->engine()->addImageProvider(QStringLiteral("screen"), new ScreenProvider(m_picture));
    m_view->rootContext()->setContextProperty(
        QStringLiteral("picture"), QPixmap::fromImage(m_picture));
    m_view->setSource(QUrl(QStringLiteral("qrc:/test/canvaspage.qml")));
    QCOMPARE(m_view->status(), QQuickView::Ready);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get(), 5000));
}

void TestCanvasPage::cleanupTestCase()
{
    m_view.reset();
    qInstallMessageHandler(m_previousHandler);
    QCOMPARE(pageWarnings(), QStringList());
}

void TestCanvasPage::drag(QPoint from, QPoint to)
{
    move(from);
    press(from);
    move((from + to) / 2);
    move(to);
    release(to);
}

QImage TestCanvasPage::shown() const
{
    QTest::qWait(50); // let the scene render the last change before the screen is read
    QImage image = m_view->grabWindow();
    if (image.isNull())
        image = m_view->screen()->grabWindow(m_view->winId()).toImage();
    return image;
}

void TestCanvasPage::selectDrawUndoAndRender()
{
    QQuickItem *root = m_view->rootObject();
    auto *selector = root->findChild<SurfaceSelector *>(QStringLiteral("SurfaceSelector"));
    auto *area = root->findChild<KPainterArea *>(QStringLiteral("KPainterArea"));
    auto *loupe = root->findChild<MagnifierItem *>(QStringLiteral("MagnifierItem"));
    QVERIFY(selector && area && loupe);
    area->setBackground(m_picture);

    // Select, with the loupe reading the picture under the pointer, then widen by the edge.
    move(QPoint(123, 45));
    QTRY_COMPARE_WITH_TIMEOUT(loupe->currentColor(), m_picture.pixelColor(123, 45).name(), 2000);
    drag(QPoint(60, 50), QPoint(200, 170));
    QCOMPARE(selector->selectRect(), QRect(60, 50, 140, 120));
    move(QPoint(150, 120));
    drag(QPoint(210, 120), QPoint(260, 130));
    QCOMPARE(selector->selectRect(), QRect(60, 50, 190, 120));

    // Draw a shape inside the selection: the press goes through the selection to the canvas.
    area->setCurrentModule(QStringLiteral("TestRect"));
    area->setCurrentColor(ColorStrip::colorFromX(20));
    drag(QPoint(100, 80), QPoint(160, 140));
    auto *module = static_cast<GraphModule *>(area->moduleFromName(QStringLiteral("TestRect")));
    QCOMPARE(module->storage().size(), 1);
    AbstractGraphItem *shape = module->storage().first();
    QVERIFY(shape->isVisible());
    QCOMPARE(area->currentItem(), shape);

    // Restyle it, then undo and redo the restyle and the shape itself.
    const QColor before = shape->color();
    area->pushColorChange(150, 20);
    QCOMPARE(shape->color(), ColorStrip::colorFromX(150));
    area->checkUndo();
    QCOMPARE(shape->color(), before);
    area->checkRedo();
    QCOMPARE(shape->color(), ColorStrip::colorFromX(150));
    area->checkUndo();
    area->checkUndo();
    QVERIFY(!shape->isVisible());
    area->checkRedo();
    area->checkRedo();
    QVERIFY(shape->isVisible());
    QCOMPARE(shape->color(), ColorStrip::colorFromX(150));

    // Move it by dragging, one undo step.
    area->setCurrentModule(QStringLiteral("Move"));
    const QPointF placed = shape->position();
    drag(QPoint(130, 110), QPoint(150, 120));
    QCOMPARE(shape->position(), placed + QPointF(20, 10));
    area->checkUndo();
    QCOMPARE(shape->position(), placed);
    area->checkRedo();
    QCOMPARE(shape->position(), placed + QPointF(20, 10));

    // What is rendered is what the page shows inside the selection, handles left out.
    area->uncheckAllItem();
    const QRect selection = selector->selectRect();
    const QImage output = area->renderRect(selection, 50000, false);
    QCOMPARE(output.size(), selection.size());
    const QImage screen = shown();
    for (int y = 1; y < selection.height(); y += 2)
        for (int x = 1; x < selection.width(); x += 2)
            QCOMPARE(
                output.pixelColor(x, y), screen.pixelColor(selection.topLeft() + QPoint(x, y)));
    QCOMPARE(output.pixelColor(150 - 60, 120 - 50), ColorStrip::colorFromX(150));
}

QTEST_MAIN(TestCanvasPage)
#include "tst_canvaspage.moc"
