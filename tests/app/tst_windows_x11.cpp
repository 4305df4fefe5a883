#include "core.h"
#include "coretestsupport.h"
#include "editponoramwidget.h"
#include "messagedialog.h"
#include "uploadwidget.h"
#include "windowtestsupport.h"

#include <QProcess>
#include <QScreen>
#include <QX11Info>

namespace {

bool isBlack(const QColor &colour)
{
    return colour.red() < 16 && colour.green() < 16 && colour.blue() < 16;
}

// Black pixels on the screen along the window's left and top edges, where a margin that
// nothing composes would show.
int blackOnTheEdges(const QRect &frame)
{
    const QImage shown = QGuiApplication::primaryScreen()
                             ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
                             .toImage();
    int black = 0;
    for (int y = 10; y < shown.height() - 10; ++y) {
        for (int x = 0; x < 8; ++x)
            black += isBlack(shown.pixelColor(x, y));
    }
    for (int x = 10; x < shown.width() - 10; ++x)
        black += isBlack(shown.pixelColor(x, 3));
    return black;
}

} // namespace

// The windows as a desktop draws them, with a compositing manager and without one (openbox
// alone, as many X11 desktops are).
class TestWindowsX11 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void noShadowWithoutACompositor();
    void uploadWindowStaysOnTheScreen();
    void shadowWithACompositor();

private:
    std::unique_ptr<MessageDialog> showMessage();

    StandinService m_service;
    QProcess m_compositor;
};

void TestWindowsX11::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    QVERIFY(!QX11Info::isCompositingManagerRunning());
    QVERIFY(startSignedIn(m_service));
    QVERIFY(Core::instance());
}

void TestWindowsX11::cleanupTestCase()
{
    if (m_compositor.state() != QProcess::NotRunning) {
        m_compositor.terminate();
        m_compositor.waitForFinished(5000);
    }
}

std::unique_ptr<MessageDialog> TestWindowsX11::showMessage()
{
    auto message = std::make_unique<MessageDialog>();
    message->information(QStringLiteral("Look"), QStringLiteral("A message on the desktop"));
    message->show();
    if (!QTest::qWaitForWindowExposed(message.get(), 5000))
        return nullptr;
    return message;
}

// The window's whole rectangle on the screen: its left and top edges are the panel's frame,
// not the black of a translucent margin that nothing composes.
void TestWindowsX11::noShadowWithoutACompositor()
{
    std::unique_ptr<MessageDialog> message = showMessage();
    QVERIFY(message);
    // Its first frame may reach the screen after the window is exposed: it is waited for, and
    // a margin that stays black fails.
    QTRY_COMPARE_WITH_TIMEOUT(blackOnTheEdges(message->geometry()), 0, 5000);
    QVERIFY(!message->isTransparentSupport());
    QCOMPARE(message->rootObject()->property("shadowSize").toInt(), 0);
    QCOMPARE(message->width(), message->rootObject()->property("windowWidth").toInt());
    // The picture editor window likewise.
    EditPonoramWidget editor(QPixmap(600, 400));
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor, 5000));
    QTRY_COMPARE_WITH_TIMEOUT(blackOnTheEdges(editor.geometry()), 0, 5000);
}

void TestWindowsX11::uploadWindowStaysOnTheScreen()
{
    UploadWidget *upload = Core::instance()->uploadWidget();
    upload->show();
    QVERIFY(QTest::qWaitForWindowExposed(upload, 5000));
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QTRY_VERIFY2_WITH_TIMEOUT(available.contains(upload->frameGeometry()),
        qPrintable(QStringLiteral("%1,%2 %3x%4")
                       .arg(upload->frameGeometry().x())
                       .arg(upload->frameGeometry().y())
                       .arg(upload->frameGeometry().width())
                       .arg(upload->frameGeometry().height())),
        5000);
    upload->hide();
}

// A compositor started while the program runs: the next window shows the shadow again.
void TestWindowsX11::shadowWithACompositor()
{
    m_compositor.setProcessChannelMode(QProcess::ForwardedChannels);
    m_compositor.start(QStringLiteral("xcompmgr"), QStringList());
    QVERIFY2(m_compositor.waitForStarted(5000), qPrintable(m_compositor.errorString()));
    QTRY_VERIFY_WITH_TIMEOUT(QX11Info::isCompositingManagerRunning(), 10000);
    std::unique_ptr<MessageDialog> message = showMessage();
    QVERIFY(message);
    QVERIFY(message->isTransparentSupport());
    QCOMPARE(message->rootObject()->property("shadowSize").toInt(), 10);
    QCOMPARE(message->width(), message->rootObject()->property("windowWidth").toInt() + 20);
    EditPonoramWidget editor(QPixmap(600, 400));
    editor.show();
    QVERIFY(editor.isTransparentSupport());
    QCOMPARE(editor.rootObject()->property("margin").toInt(), 12);
}

QTEST_MAIN(TestWindowsX11)
#include "tst_windows_x11.moc"
