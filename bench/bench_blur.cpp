// Painting a blur shape of 1000 x 1000 and one over the whole 3840 x 2160 picture, each beside
// two baselines over the same pixels in the same run: a plain copy of them, and the cheap blur
// of scaling them down eight times and back up. Best of three rounds.

#include "benchsupport.h"
#include "bluritem.h"
#include "kpainterarea.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

const QSize kPicture(3840, 2160);
const int kRounds = 3;

// Milliseconds per call of work, the best round of runs calls; work returns a pixel so that
// nothing is optimised away.
template <typename Work> double bestMs(int runs, Work work)
{
    double best = 1e18;
    QRgb sink = 0;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < runs; ++i)
            sink ^= work();
        best = std::min(best, timer.nsecsElapsed() / 1e6 / runs);
    }
    std::fprintf(stderr, "%08x\r", sink);
    return best;
}

void measure(
    KPainterArea *area, const QImage &picture, const QRect &rect, const char *name, int runs)
{
    auto *blur = new BlurItem(area);
    blur->setZ(area->z() + 1);
    blur->setLineWidth(9);
    blur->setRectangle(QRectF(rect));
    QImage target(blur->size().toSize(), QImage::Format_ARGB32_Premultiplied);
    const double painted = bestMs(runs, [&] {
        QPainter painter(&target);
        blur->paint(&painter);
        painter.end();
        return target.pixel(target.width() / 2, target.height() / 2);
    });
    const double copied = bestMs(runs, [&] {
        const QImage copy = picture.copy(rect);
        return copy.pixel(copy.width() / 2, copy.height() / 2);
    });
    const double scaled = bestMs(runs, [&] {
        const QImage copy
            = picture.copy(rect)
                  .scaled(rect.size() / 8, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                  .scaled(rect.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        return copy.pixel(copy.width() / 2, copy.height() / 2);
    });
    const QImage source = picture.copy(rect).convertToFormat(QImage::Format_ARGB32);
    const double filtered = bestMs(runs, [&] {
        QImage image = source;
        BlurItem::blurImage(image, 9);
        return image.pixel(image.width() / 2, image.height() / 2);
    });
    std::printf("blur_paint_%s: %.2f ms\n", name, painted);
    std::printf("blur_filter_only_%s: %.2f ms\n", name, filtered);
    std::printf("plain_copy_%s: %.2f ms\n", name, copied);
    std::printf("scaled_down_up_%s: %.2f ms\n", name, scaled);
    std::printf("blur_paint_over_scaled_%s: %.2f x\n", name, painted / scaled);
    delete blur;
}

} // namespace

int main(int argc, char *argv[])
{
    preferOffscreen();
    QTemporaryDir home;
    useTemporaryHome(home);
    QGuiApplication app(argc, argv);
    const QImage picture = noisePicture(kPicture);
    KPainterArea area;
    area.setSize(QSizeF(kPicture));
    area.setBackground(picture);

    measure(&area, picture, QRect(1400, 500, 1000, 1000), "1000px", 20);
    measure(&area, picture, QRect(QPoint(), kPicture), "4k", 5);
    return 0;
}
