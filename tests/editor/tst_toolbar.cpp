#include "colorstrip.h"
#include "cursorshapearea.h"
#include "graphmodule.h"
#include "kpainterarea.h"
#include "quicktestsupport.h"
#include "serviceaddress.h"
#include "setting.h"
#include "standinservice.h"
#include "testshape.h"
#include "toolbar.h"

#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QScreen>
#include <QtQml>
#include <QtTest>

// What the bar asks of the capture view: it records which output was asked for.
class OutputRecorder : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool isCommandModified MEMBER isCommandModified NOTIFY isCommandModifiedChanged)
    Q_PROPERTY(bool isPonoramWork MEMBER isPonoramWork CONSTANT)

public:
    Q_INVOKABLE void uploadScreen() { called << QStringLiteral("uploadScreen"); }
    Q_INVOKABLE void saveScreen() { called << QStringLiteral("saveScreen"); }
    Q_INVOKABLE void screenSaveToClipboard() { called << QStringLiteral("screenSaveToClipboard"); }
    Q_INVOKABLE void screenPostVK() { called << QStringLiteral("screenPostVK"); }
    Q_INVOKABLE void screenPostOdnoklassniki()
    {
        called << QStringLiteral("screenPostOdnoklassniki");
    }
    Q_INVOKABLE void screenPostFacebook() { called << QStringLiteral("screenPostFacebook"); }
    Q_INVOKABLE void screenPostTwitter() { called << QStringLiteral("screenPostTwitter"); }
    Q_INVOKABLE void screenPostMail() { called << QStringLiteral("screenPostMail"); }

    QStringList called;
    bool isCommandModified = false;
    bool isPonoramWork = false;

signals:
    void isCommandModifiedChanged();
};

// The controller's colour lookup, the one part of it the bar uses.
class ColourLookup : public QObject
{
    Q_OBJECT

public:
    Q_INVOKABLE QColor getColorFromX(int x) const { return ColorStrip::colorFromX(x); }
    Q_INVOKABLE bool is_mac() const { return false; }
};

// The tool bar over a canvas, clicked like a user: tools, outputs, colour, width, undo, redo.
class TestToolBar : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void toolButtons();
    void menuOutputs_data();
    void menuOutputs();
    void accept();
    void restyleUndoRedo();
    void ownWindow();

private:
    QQuickItem *item(const char *name) const;
    QPoint centre(QQuickItem *item) const;
    void click(QQuickItem *item, QPoint offset = {});
    void drag(QPoint from, QPoint to);

    StandinService m_service;
    OutputRecorder m_surface;
    ColourLookup m_core;
    std::unique_ptr<QQuickView> m_view;
    KPainterArea *m_area = nullptr;
    QQuickItem *m_bar = nullptr;
    QtMessageHandler m_previousHandler = nullptr;
};

void TestToolBar::initTestCase()
{
    QVERIFY(m_service.start());
    ServiceAddress::setFixedHost(m_service.httpHost());
    KPainterArea::registerModule(&TestShapeModule::create);
    KPainterArea::registerQmlTypes();
    qmlRegisterType<CursorShapeArea>("KuvoComponent", 1, 0, "CursorShapeArea");

    m_previousHandler = qInstallMessageHandler(&keepWarnings);
    m_view = std::make_unique<QQuickView>();
    m_view->setSource(QUrl(QStringLiteral("qrc:/test/toolbarpage.qml")));
    QCOMPARE(m_view->status(), QQuickView::Ready);
    m_area = m_view->rootObject()->findChild<KPainterArea *>(QStringLiteral("KPainterArea"));
    auto *loader = m_view->rootObject()->findChild<QQuickItem *>(QStringLiteral("barLoader"));
    QVERIFY(m_area && loader);
    QImage picture(640, 480, QImage::Format_RGB32);
    picture.fill(QColor("#d8dde2"));
    m_area->setBackground(picture);

    QQmlContext *context = m_view->rootContext();
    context->setContextProperty(QStringLiteral("paintArea"), m_area);
    context->setContextProperty(QStringLiteral("surface"), &m_surface);
    context->setContextProperty(QStringLiteral("settings"), Setting::instance());
    context->setContextProperty(QStringLiteral("core"), &m_core);
    loader->setProperty("active", true);
    m_bar = loader->property("item").value<QQuickItem *>();
    QVERIFY(m_bar);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get(), 5000));
}

void TestToolBar::cleanupTestCase()
{
    // A picture of the bar with its panel open, for a person to look at.
    if (qEnvironmentVariableIsSet("KUVO_TOOLBAR_SHOT")) {
        m_bar->setProperty("showMenu", true);
        QTest::qWait(300); // the panel fades in
        QImage shot = m_view->grabWindow();
        if (shot.isNull())
            shot = m_view->screen()->grabWindow(m_view->winId()).toImage();
        QVERIFY(shot.save(qEnvironmentVariable("KUVO_TOOLBAR_SHOT")));
    }
    m_view.reset();
    qInstallMessageHandler(m_previousHandler);
    QCOMPARE(pageWarnings().join('\n'), QString());
}

QQuickItem *TestToolBar::item(const char *name) const
{
    return findSceneItem(m_bar, QLatin1String(name));
}

QPoint TestToolBar::centre(QQuickItem *item) const
{
    return item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint();
}

void TestToolBar::click(QQuickItem *item, QPoint offset)
{
    QVERIFY(item);
    QVERIFY(item->isVisible());
    const QPoint at = offset.isNull() ? centre(item) : item->mapToScene(QPointF(offset)).toPoint();
    QTest::mouseMove(m_view.get(), at);
    QTest::mouseClick(m_view.get(), Qt::LeftButton, Qt::NoModifier, at);
}

void TestToolBar::drag(QPoint from, QPoint to)
{
    QTest::mouseMove(m_view.get(), from);
    QTest::mousePress(m_view.get(), Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(m_view.get(), (from + to) / 2);
    QTest::mouseMove(m_view.get(), to);
    QTest::mouseRelease(m_view.get(), Qt::LeftButton, Qt::NoModifier, to);
}

void TestToolBar::toolButtons()
{
    QSignalSpy toolClick(m_bar, SIGNAL(toolClick(QString, bool)));
    m_area->setCurrentModule(QStringLiteral("TestRect"));
    QCOMPARE(m_bar->property("selectItem").toString(), QStringLiteral("TestRect"));

    // Choosing a tool switches the canvas; clicking the checked tool again changes nothing.
    click(item("toolMove"));
    QCOMPARE(m_area->currentModule(), QStringLiteral("Move"));
    QCOMPARE(toolClick.count(), 1);
    QCOMPARE(toolClick.last(), (QVariantList {QStringLiteral("Move"), true}));
    click(item("toolMove"));
    QCOMPARE(toolClick.count(), 2);
    QCOMPARE(toolClick.last(), (QVariantList {QStringLiteral("Move"), false}));
    QCOMPARE(m_area->currentModule(), QStringLiteral("Move"));
    QCOMPARE(m_bar->property("selectItem").toString(), QStringLiteral("Move"));

    // The shape tools; while Control is held they show the filled shape that Control draws.
    click(item("toolEllipse"));
    QCOMPARE(m_area->currentModule(), QStringLiteral("Ellipse"));
    click(item("toolRect"));
    QCOMPARE(m_area->currentModule(), QStringLiteral("Rect"));
    QCOMPARE(item("toolRect")->property("icon").toString(), QStringLiteral("tool_rect"));
    m_surface.setProperty("isCommandModified", true);
    QCOMPARE(item("toolRect")->property("icon").toString(), QStringLiteral("tool_rect_command"));
    QCOMPARE(
        item("toolEllipse")->property("icon").toString(), QStringLiteral("tool_circle_command"));
    QCOMPARE(item("toolMove")->property("icon").toString(), QStringLiteral("tool_move"));
    m_surface.setProperty("isCommandModified", false);
    QCOMPARE(item("toolEllipse")->property("icon").toString(), QStringLiteral("tool_circle"));
}

void TestToolBar::menuOutputs_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("output");

    QTest::newRow("public") << "accept"
                            << "uploadScreen";
    QTest::newRow("save") << "save"
                          << "saveScreen";
    QTest::newRow("copy") << "copy"
                          << "screenSaveToClipboard";
    QTest::newRow("vkontakte") << "postVk"
                               << "screenPostVK";
    QTest::newRow("odnoklassniki") << "postOd"
                                   << "screenPostOdnoklassniki";
    QTest::newRow("facebook") << "postFb"
                              << "screenPostFacebook";
    QTest::newRow("twitter") << "postTw"
                             << "screenPostTwitter";
}

void TestToolBar::menuOutputs()
{
    QFETCH(QString, entry);
    QFETCH(QString, output);

    m_surface.called.clear();
    QQuickItem *menu = item("menu");
    QVERIFY(menu);
    QVERIFY(!menu->isVisible());
    click(item("btnMenu"));
    QVERIFY(menu->isVisible());
    // Without a mail client there is no mail entry.
    QVERIFY(!item("postMail")->isVisible());

    click(item(qPrintable(entry)));
    QCOMPARE(m_surface.called, QStringList {output});
    QVERIFY(!menu->isVisible());
}

void TestToolBar::accept()
{
    QSignalSpy clickAccept(m_bar, SIGNAL(clickAccept()));
    click(item("btnMenu"));
    QVERIFY(item("menu")->isVisible());
    click(item("btnAccept"));
    QCOMPARE(clickAccept.count(), 1);
    QVERIFY(!item("menu")->isVisible());
}

void TestToolBar::restyleUndoRedo()
{
    // A shape to restyle, drawn away from the bar in the colour at x 20 of the strip.
    m_area->setCurrentModule(QStringLiteral("TestRect"));
    m_area->setCurrentColorX(20);
    m_area->setCurrentColor(ColorStrip::colorFromX(20));
    drag(QPoint(300, 300), QPoint(400, 380));
    auto *module = static_cast<GraphModule *>(m_area->moduleFromName(QStringLiteral("TestRect")));
    QCOMPARE(module->storage().size(), 1);
    AbstractGraphItem *shape = module->storage().first();
    QCOMPARE(m_area->currentItem(), shape);

    // The panel opens as the settings last left it, and remembers being closed and opened.
    QQuickItem *panel = item("dropPanel");
    QVERIFY(panel->isVisible());
    click(item("button_drop_menu"));
    QVERIFY(!panel->isVisible());
    QCOMPARE(Setting::instance()->getValue(QStringLiteral("visibleColorPanel")).toInt(), 0);
    click(item("button_drop_menu"));
    QVERIFY(panel->isVisible());
    QCOMPARE(Setting::instance()->getValue(QStringLiteral("visibleColorPanel")).toInt(), 1);

    // A click on the strip colours the shape with the colour at that point, as one undo step.
    QQuickItem *strip = item("color_line");
    const int x = 150;
    const QColor before = ColorStrip::colorFromX(20);
    QCOMPARE(shape->color(), before);
    QVERIFY(before != ColorStrip::colorFromX(x));
    click(item("colorMouse"), QPoint(x, int(strip->height() / 2)));
    QCOMPARE(m_area->currentColorX(), x);
    QCOMPARE(m_area->currentColor(), ColorStrip::colorFromX(x));
    QCOMPARE(shape->color(), ColorStrip::colorFromX(x));
    QTRY_COMPARE_WITH_TIMEOUT(
        item("selected_color")->x() + item("selected_color")->width() / 2, strip->x() + x, 2000);

    // Dragging the width slider to its right end gives the widest line, as one undo step.
    QQuickItem *slider = item("sliderLineWidth");
    const int widthBefore = m_area->currentLineWidth();
    QVERIFY(widthBefore < 26);
    const QPoint left = slider->mapToScene(QPointF(1, slider->height() / 2)).toPoint();
    const QPoint right
        = slider->mapToScene(QPointF(slider->width() - 1, slider->height() / 2)).toPoint();
    drag(left, right);
    QCOMPARE(m_area->currentLineWidth(), 26);
    QCOMPARE(shape->lineWidth(), 26);

    // Undo the width, then the colour; redo both; the buttons follow what can be done.
    click(item("undo_buttom"));
    QCOMPARE(shape->lineWidth(), widthBefore);
    QCOMPARE(shape->color(), ColorStrip::colorFromX(x));
    click(item("undo_buttom"));
    QCOMPARE(shape->color(), before);
    click(item("redo_buttom"));
    click(item("redo_buttom"));
    QCOMPARE(shape->color(), ColorStrip::colorFromX(x));
    QCOMPARE(shape->lineWidth(), 26);
    QVERIFY(!m_area->canRedo());
    const int undoSteps = 3; // the shape, its colour, its width
    for (int i = 0; i < undoSteps; ++i)
        click(item("undo_buttom"));
    QVERIFY(!m_area->canUndo());
    QVERIFY(!shape->isVisible());
    m_surface.called.clear();
    click(item("undo_buttom")); // disabled: nothing happens, nothing breaks
    QVERIFY(!m_area->canUndo());
    QVERIFY(m_area->canRedo());
}

// The bar in its own window relays the tool chosen and the accept click to its creator.
void TestToolBar::ownWindow()
{
    ToolBar window;
    QVERIFY(window.flags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(window.flags().testFlag(Qt::WindowStaysOnTopHint));
    QQmlContext *context = window.rootContext();
    context->setContextProperty(QStringLiteral("paintArea"), m_area);
    context->setContextProperty(QStringLiteral("surface"), &m_surface);
    context->setContextProperty(QStringLiteral("settings"), Setting::instance());
    context->setContextProperty(QStringLiteral("core"), &m_core);
    QVERIFY(window.init());
    QQuickItem *bar = window.rootObject();
    QCOMPARE(bar->property("selectItem").toString(), QStringLiteral("Ponoram"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window, 5000));

    QSignalSpy toolChange(&window, &ToolBar::currentToolChange);
    QSignalSpy accepted(&window, &ToolBar::clickAccept);
    QQuickItem *move = findSceneItem(bar, QStringLiteral("toolMove"));
    QVERIFY(move);
    const QPoint at = centre(move);
    QTest::mouseClick(&window, Qt::LeftButton, Qt::NoModifier, at);
    QCOMPARE(toolChange.count(), 1);
    QCOMPARE(toolChange.last().first().toString(), QStringLiteral("Move"));
    QCOMPARE(m_area->currentModule(), QStringLiteral("Move"));
    // Unchecking the tool tells nobody and leaves the canvas as it was.
    QTest::mouseClick(&window, Qt::LeftButton, Qt::NoModifier, at);
    QCOMPARE(toolChange.count(), 1);
    QCOMPARE(m_area->currentModule(), QStringLiteral("Move"));

    QTest::mouseClick(&window, Qt::LeftButton, Qt::NoModifier,
        centre(findSceneItem(bar, QStringLiteral("btnAccept"))));
    QCOMPARE(accepted.count(), 1);
}

QTEST_MAIN(TestToolBar)
#include "tst_toolbar.moc"
