// Saving a 3840 x 2160 capture of busy content as PNG, from the save call to the file closed,
// through the program's own writer beside QImage::save with Qt's defaults in the same run;
// times and sizes side by side.

#include "pictureformat.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

const int kRounds = 3;

// Text, gradients and photo-like noise over one another, like a desktop full of windows.
QImage busyScreen()
{
    QImage image(3840, 2160, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int noise = x > 1900 && y > 1000 ? int(random.bounded(48)) : 0;
            line[x] = qRgb((x / 7 + noise) & 0xff, (y / 5 + noise) & 0xff, ((x ^ y) / 9) & 0xff);
        }
    }
    QPainter painter(&image);
    painter.setPen(Qt::black);
    for (int row = 0; row < 120; ++row)
        painter.drawText(20, 16 + row * 16,
            QStringLiteral("The quick brown fox jumps over the lazy dog %1 ")
                .arg(row)
                .repeated(12));
    return image;
}

template <typename Save> double bestOf(Save save)
{
    double best = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        save();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QImage picture = busyScreen();
    QTemporaryDir dir;
    const QString ours = dir.filePath(QStringLiteral("ours.png"));
    const QString plain = dir.filePath(QStringLiteral("qimage.png"));
    const PictureFormat png = PictureFormat::fromSetting(2);
    QString problem;
    const double oursMs = bestOf([&] { png.write(picture, ours, &problem); });
    const double plainMs = bestOf([&] { picture.save(plain); });
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "save failed: %s\n", qPrintable(problem));
        return 1;
    }
    const double oursKb = QFileInfo(ours).size() / 1024.0;
    const double plainKb = QFileInfo(plain).size() / 1024.0;
    std::printf("save_png_4k: %.1f ms\n", oursMs);
    std::printf("save_png_4k_qimage_default: %.1f ms\n", plainMs);
    std::printf("save_png_4k_size: %.0f KiB\n", oursKb);
    std::printf("save_png_4k_qimage_default_size: %.0f KiB\n", plainKb);
    std::printf("save_png_4k_size_ratio: %.2f x\n", oursKb / plainKb);
    return 0;
}
