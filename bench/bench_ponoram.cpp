// One tick of the scrolling capture at 1920 pixels wide once the panorama is 20,000 rows high,
// beside the search as first written (both pictures binarised anew, compared pixel by pixel)
// over the same picture and strip in the same run; and the bytes the engine copies per tick.
// The grab is a scripted document, so the figures are the engine's alone.

#include "benchsupport.h"
#include "ponoram.h"
#include "scrollingdocument.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kWidth = 1920;
constexpr int kWindowRows = 1000;
constexpr int kPanoramaRows = 20000;
constexpr int kStep = 50;
constexpr int kTicks = 40;
const QRect kRect(0, 0, kWidth, kWindowRows);

ScrollingDocument::Options documentOptions()
{
    ScrollingDocument::Options options;
    options.width = kWidth;
    options.windowRows = kWindowRows;
    options.documentRows = kPanoramaRows + kTicks * kStep + kWindowRows;
    options.scrollBarWidth = 14;
    return options;
}

} // namespace

int main(int argc, char **argv)
{
    preferOffscreen();
    QTemporaryDir home;
    useTemporaryHome(home);
    QGuiApplication app(argc, argv);

    ScrollingDocument document(documentOptions());
    Ponoram engine;
    QImage shot;
    engine.setGrabber([&shot](const QRect &) { return shot; });
    engine.setPointerSource([] { return kRect.center(); });

    // The grabs are made before the clock runs: what is measured is finding and gluing.
    shot = document.window();
    engine.startPonoram(kRect);
    // The measured ticks take the panorama from 19,000 to 21,000 rows.
    while (engine.size().height() + kTicks * kStep / 2 < kPanoramaRows) {
        document.scrollBy(kWindowRows - Ponoram::kStripRows);
        shot = document.window();
        engine.shotTimer();
    }
    QVector<QImage> shots;
    for (int i = 0; i < kTicks; ++i) {
        document.scrollBy(kStep);
        shots << document.window();
    }

    const quint64 copiedBefore = engine.copiedBytes();
    double best = 1e18;
    double total = 0;
    for (const QImage &next : qAsConst(shots)) {
        shot = next;
        QElapsedTimer timer;
        timer.start();
        engine.shotTimer();
        const double ms = timer.nsecsElapsed() / 1e6;
        best = std::min(best, ms);
        total += ms;
    }
    if (!engine.isRunning() || engine.size().height() <= kPanoramaRows) {
        std::fprintf(stderr, "the scripted document did not join\n");
        return 1;
    }
    const double copiedPerTick = double(engine.copiedBytes() - copiedBefore) / kTicks;

    // The first search over the same panorama and the last strip: one call.
    const QImage panorama = engine.picture();
    const int strip = std::min(Ponoram::kStripRows, kWindowRows / 2);
    QElapsedTimer timer;
    timer.start();
    const int found = ExhaustiveStripSearch::indexOf(panorama, shots.last(), 0, strip, 0,
        PonoramRows::kScrollBarMargin, PonoramRows::kNarrowFromWidth);
    const double exhaustiveMs = timer.nsecsElapsed() / 1e6;
    if (found < 0) {
        std::fprintf(stderr, "the exhaustive search did not find the strip\n");
        return 1;
    }

    std::printf("ponoram_tick_1920x20000_mean: %.2f ms\n", total / kTicks);
    std::printf("ponoram_tick_1920x20000_best: %.2f ms\n", best);
    std::printf("exhaustive_search_1920x20000: %.2f ms\n", exhaustiveMs);
    std::printf("ponoram_bytes_copied_per_tick: %.0f bytes\n", copiedPerTick);
    std::printf("ponoram_glued_bytes_per_tick: %.0f bytes\n", double(kWidth) * 4 * kWindowRows);
    std::printf("ponoram_picture_bytes: %.0f bytes\n", double(panorama.sizeInBytes()));
    return 0;
}
