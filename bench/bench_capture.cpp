// The capture view's first painted frame on the X server of DISPLAY (run it through
// tests/support/xvfb.sh 3840x2160 for a 4K screen): from the start of a capture (grab, page,
// show) to the first frame swapped, beside a floor measured in the same run: the screen
// grabbed and shown in a bare full-screen QQuickView.

#include "surfacewidget.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QQmlEngine>
#include <QQuickImageProvider>
#include <QQuickItem>
#include <QQuickView>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

const int kRounds = 5;
const int kFrameTimeoutMs = 10000;

class PixmapProvider : public QQuickImageProvider
{
public:
    explicit PixmapProvider(const QPixmap &picture)
        : QQuickImageProvider(QQuickImageProvider::Pixmap)
        , m_picture(picture)
    {
    }
    QPixmap requestPixmap(const QString &, QSize *size, const QSize &) override
    {
        *size = m_picture.size();
        return m_picture;
    }

private:
    QPixmap m_picture;
};

// Milliseconds from timer's start to the first frame of view; -1 when none came.
double untilFirstFrame(QQuickWindow *view, const QElapsedTimer &timer)
{
    double shown = -1;
    QEventLoop loop;
    QObject::connect(view, &QQuickWindow::frameSwapped, &loop, [&] {
        shown = timer.nsecsElapsed() / 1e6;
        loop.quit();
    });
    QTimer::singleShot(kFrameTimeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return shown;
}

double floorRound(const QUrl &page)
{
    QElapsedTimer timer;
    timer.start();
    QScreen *screen = QGuiApplication::primaryScreen();
    const QRect geometry = screen->geometry();
    const QPixmap grab = screen->grabWindow(0, 0, 0, geometry.width(), geometry.height());
    QQuickView view;
    view.engine()->addImageProvider(QStringLiteral("grab"), new PixmapProvider(grab));
    view.setResizeMode(QQuickView::SizeRootObjectToView);
    view.setSource(page);
    view.setGeometry(geometry);
    view.showFullScreen();
    return untilFirstFrame(&view, timer);
}

double captureRound()
{
    QElapsedTimer timer;
    timer.start();
    SurfaceWidget view;
    view.show();
    return untilFirstFrame(&view, timer);
}

template <typename Round> double bestOf(Round round)
{
    double best = 1e9;
    for (int i = 0; i < kRounds; ++i) {
        const double ms = round();
        if (ms < 0)
            return -1;
        best = std::min(best, ms);
    }
    return best;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        std::fprintf(stderr, "needs an X server\n");
        return 1;
    }
    QTemporaryDir dir;
    QFile page(dir.filePath(QStringLiteral("floor.qml")));
    if (!page.open(QIODevice::WriteOnly))
        return 1;
    page.write("import QtQuick 2.12\nImage { source: \"image://grab/screen\"; cache: false }\n");
    page.close();
    const QUrl pageUrl = QUrl::fromLocalFile(page.fileName());
    const double floor = bestOf([&] { return floorRound(pageUrl); });
    const double capture = bestOf(captureRound);
    const QSize size = QGuiApplication::primaryScreen()->geometry().size();
    std::printf("screen: %dx%d px\n", size.width(), size.height());
    std::printf("capture_first_frame_floor: %.1f ms\n", floor);
    std::printf("capture_first_frame: %.1f ms\n", capture);
    std::printf("capture_first_frame_ratio: %.2f x\n", floor > 0 ? capture / floor : -1.0);
    return floor > 0 && capture > 0 ? 0 : 1;
}
