// The loupe following the pointer over a 3840 x 2160 frozen screen: one update (new centre and
// a repaint of the 100 x 100 loupe) beside, in the same run, a hand-made floor (the 20 x 20
// neighbourhood copied and enlarged with nothing else) and the cost of touching the whole
// picture once, which an update must never pay. Also the shaded copy of the frozen screen,
// made once per capture, beside that plain copy.

#include "benchsupport.h"
#include "magnifieritem.h"
#include "pictureitem.h"
#include "surfaceselector.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <cstdio>

namespace {

const int kUpdates = 2000;
const int kRounds = 3;
const QSize kScreen(3840, 2160);

QPixmap makeScreen()
{
    QImage image(kScreen, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = qRgb(x & 0xff, y & 0xff, (x ^ y) & 0xff);
    }
    return QPixmap::fromImage(image);
}

// The pointer sweeps the screen diagonally, as a user's does while choosing a corner.
QPoint pointerAt(int step)
{
    return QPoint(step * 7 % kScreen.width(), step * 3 % kScreen.height());
}

double loupeUpdate(MagnifierItem &loupe, QImage &target)
{
    QPainter painter(&target);
    QElapsedTimer timer;
    timer.start();
    for (int step = 0; step < kUpdates; ++step) {
        const QPoint p = pointerAt(step);
        loupe.setGx(p.x());
        loupe.setGy(p.y());
        loupe.paint(&painter);
    }
    return timer.nsecsElapsed() / 1e6 / kUpdates;
}

double handMadeFloor(const QPixmap &screen, QImage &target)
{
    QPainter painter(&target);
    QElapsedTimer timer;
    timer.start();
    for (int step = 0; step < kUpdates; ++step) {
        const QPoint p = pointerAt(step);
        const QImage sample = screen.copy(p.x() - 10, p.y() - 10, 20, 20).toImage();
        painter.drawImage(target.rect(), sample.scaled(target.size(), Qt::KeepAspectRatio));
    }
    return timer.nsecsElapsed() / 1e6 / kUpdates;
}

double shadedCopy(const QPixmap &screen)
{
    const QImage picture = screen.toImage();
    QElapsedTimer timer;
    timer.start();
    const QImage shaded = PictureItem::darkened(picture, SurfaceSelector::shadeColor());
    const double elapsed = timer.nsecsElapsed() / 1e6;
    return shaded.isNull() ? -1 : elapsed;
}

double wholePicture(const QPixmap &screen)
{
    QElapsedTimer timer;
    timer.start();
    const QImage copy = screen.toImage().copy();
    const double elapsed = timer.nsecsElapsed() / 1e6;
    return copy.isNull() ? -1 : elapsed;
}

} // namespace

int main(int argc, char *argv[])
{
    preferOffscreen();
    QGuiApplication app(argc, argv);
    const QPixmap screen = makeScreen();
    MagnifierItem loupe;
    loupe.setSize(QSizeF(100, 100));
    loupe.setBackground(screen);
    QImage target(100, 100, QImage::Format_ARGB32_Premultiplied);

    double ours = 1e9;
    double floor = 1e9;
    double whole = 1e9;
    double shaded = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        ours = std::min(ours, loupeUpdate(loupe, target));
        floor = std::min(floor, handMadeFloor(screen, target));
        whole = std::min(whole, wholePicture(screen));
        shaded = std::min(shaded, shadedCopy(screen));
    }
    std::printf("loupe update at 3840x2160: %.4f ms\n", ours);
    std::printf("loupe update, hand-made floor (baseline): %.4f ms\n", floor);
    std::printf("whole 3840x2160 picture touched once: %.3f ms\n", whole);
    std::printf("shaded copy of the whole 3840x2160 picture: %.3f ms\n", shaded);
    return 0;
}
