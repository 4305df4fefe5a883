// One tick of the scrolling capture as the user pays for it, at 1920 x 900 once the panorama
// is 20,000 rows high: a window on the X server shows a scrolled document, and the tick grabs
// it the way the program does, finds and glues it, and makes the thumbnail. Beside it each
// part on its own over the same frames (the grab, the binarising, finding and gluing a grab
// already made, the thumbnail), the search as first written, and the bytes the engine copies.
//   tests/support/xvfb.sh 1920x1080 build/bench/bench_ponoram

#include "benchsupport.h"
#include "ponoram.h"
#include "ponorampreview.h"
#include "ponoramsession.h"
#include "scrollingdocument.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <X11/Xlib.h>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int kWidth = 1920;
constexpr int kWindowRows = 900;
constexpr int kPanoramaRows = 20000;
constexpr int kStep = 50;
constexpr int kTicks = 40;

ScrollingDocument::Options documentOptions()
{
    ScrollingDocument::Options options;
    options.width = kWidth;
    options.windowRows = kWindowRows;
    options.documentRows = kPanoramaRows + kTicks * kStep + kWindowRows;
    options.scrollBarWidth = 14;
    return options;
}

// The document in a window of its own, drawn through a connection of its own: no event loop
// runs, so the engines' own timers never tick between the measured ones. Each scroll is on the
// server before the next grab.
class DocumentWindow
{
public:
    DocumentWindow()
        : document(documentOptions())
        , m_display(XOpenDisplay(nullptr))
    {
        XSetWindowAttributes attributes {};
        attributes.override_redirect = True;
        m_window = XCreateWindow(m_display, DefaultRootWindow(m_display), 0, 0, kWidth, kWindowRows,
            0, CopyFromParent, InputOutput, CopyFromParent, CWOverrideRedirect, &attributes);
        XMapRaised(m_display, m_window);
        m_gc = XCreateGC(m_display, m_window, 0, nullptr);
        scrollBy(0);
    }
    ~DocumentWindow()
    {
        XFreeGC(m_display, m_gc);
        XDestroyWindow(m_display, m_window);
        XCloseDisplay(m_display);
    }
    DocumentWindow(const DocumentWindow &) = delete;
    DocumentWindow &operator=(const DocumentWindow &) = delete;

    void scrollBy(int rows)
    {
        document.scrollBy(rows);
        QImage shown = document.window();
        XImage image {};
        image.width = kWidth;
        image.height = kWindowRows;
        image.format = ZPixmap;
        image.data = reinterpret_cast<char *>(shown.bits());
        image.byte_order = LSBFirst;
        image.bitmap_unit = image.bitmap_pad = image.bits_per_pixel = 32;
        image.depth = 24;
        image.bytes_per_line = int(shown.bytesPerLine());
        image.red_mask = 0xff0000;
        image.green_mask = 0xff00;
        image.blue_mask = 0xff;
        XInitImage(&image);
        XPutImage(m_display, m_window, m_gc, &image, 0, 0, 0, 0, kWidth, kWindowRows);
        XSync(m_display, False);
    }
    QRect desktopRect() const { return QRect(0, 0, kWidth, kWindowRows); }

    ScrollingDocument document;

private:
    Display *m_display;
    Window m_window;
    GC m_gc;
};

struct Figure
{
    double total = 0;
    double worst = 0;
    int count = 0;

    template <typename Work> void time(Work work)
    {
        QElapsedTimer timer;
        timer.start();
        work();
        const double ms = timer.nsecsElapsed() / 1e6;
        total += ms;
        worst = std::max(worst, ms);
        ++count;
    }
    void print(const char *name) const
    {
        std::printf("%s_mean: %.2f ms\n", name, total / count);
        std::printf("%s_max: %.2f ms\n", name, worst);
    }
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(
            stderr, "run it on an X server: tests/support/xvfb.sh 1920x1080 %s\n", argv[0]);
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QTemporaryDir home;
    useTemporaryHome(home);
    QGuiApplication app(argc, argv);

    DocumentWindow window;
    const QRect rect = window.desktopRect();

    // The user's engine grabs the desktop and feeds the thumbnail; the other one is handed
    // the same grabs, made before its clock runs.
    const std::function<QImage(const QRect &)> grab = PonoramSession::desktopGrabber();
    Ponoram user;
    user.setGrabber(grab);
    user.setPointerSource([rect] { return rect.center(); });
    PonoramPreview preview;
    QObject::connect(&user, &Ponoram::changePreview, &preview, &PonoramPreview::setImage);
    QImage shot;
    Ponoram engine;
    engine.setGrabber([&shot](const QRect &) { return shot; });
    engine.setPointerSource([rect] { return rect.center(); });

    shot = grab(rect);
    if (!user.startPonoram(rect) || !engine.startPonoram(rect)) {
        std::fprintf(
            stderr, "no grab of %d,%d %dx%d\n", rect.x(), rect.y(), rect.width(), rect.height());
        return 1;
    }
    // The measured ticks take the panorama from 19,000 to 21,000 rows.
    while (user.size().height() + kTicks * kStep / 2 < kPanoramaRows && user.isRunning()) {
        window.scrollBy(kWindowRows - Ponoram::kStripRows);
        user.shotTimer();
        shot = grab(rect);
        engine.shotTimer();
    }

    Figure whole, grabbing, binarising, placing, thumbnail;
    const quint64 copiedBefore = engine.copiedBytes();
    for (int i = 0; i < kTicks; ++i) {
        window.scrollBy(kStep);
        whole.time([&] { user.shotTimer(); });
        grabbing.time([&] { shot = grab(rect); });
        binarising.time([&] { PonoramRows::fromImage(shot); });
        placing.time([&] { engine.shotTimer(); });
        thumbnail.time([&] { preview.setImage(user.picture()); });
    }
    const QSize expected(kWidth, window.document.scroll() + kWindowRows);
    if (!user.isRunning() || user.size() != expected || engine.size() != expected) {
        std::fprintf(stderr, "the document did not join: %d and %d rows, %d expected\n",
            user.size().height(), engine.size().height(), expected.height());
        return 1;
    }
    const double copiedPerTick = double(engine.copiedBytes() - copiedBefore) / kTicks;

    // The first search over the same panorama and the last strip: one call.
    const QImage panorama = engine.picture();
    QElapsedTimer timer;
    timer.start();
    const int found = ExhaustiveStripSearch::indexOf(panorama, shot, 0, Ponoram::kStripRows, 0,
        PonoramRows::kScrollBarMargin, PonoramRows::kNarrowFromWidth);
    const double exhaustiveMs = timer.nsecsElapsed() / 1e6;
    if (found < 0) {
        std::fprintf(stderr, "the exhaustive search did not find the strip\n");
        return 1;
    }

    whole.print("ponoram_tick_whole_1920x900_20000_rows");
    grabbing.print("ponoram_grab_1920x900");
    binarising.print("ponoram_binarise_1920x900");
    placing.print("ponoram_find_and_glue_1920x20000");
    thumbnail.print("ponoram_thumbnail");
    std::printf("exhaustive_search_1920x20000: %.2f ms\n", exhaustiveMs);
    std::printf("ponoram_tick_period: %d ms\n", Ponoram::kPeriodMs);
    std::printf("ponoram_bytes_copied_per_tick: %.0f bytes\n", copiedPerTick);
    std::printf("ponoram_glued_bytes_per_tick: %.0f bytes\n", double(kWidth) * 4 * kWindowRows);
    std::printf("ponoram_picture_bytes: %.0f bytes\n", double(panorama.sizeInBytes()));
    return 0;
}
