// Twenty fragment captures in a row (or as many as the first argument says), each selected,
// saved and closed, on the X server of DISPLAY (run it through tests/support/xvfb.sh
// 3840x2160): the resident memory before the first and after the last, and the time one
// capture takes. Every capture builds its view anew, so a view, picture or engine left behind
// shows here as growth.

#include "benchcapturesupport.h"
#include "benchsupport.h"
#include "core.h"
#include "setting.h"
#include "surfaceselector.h"
#include "surfacewidget.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

#include <malloc.h>

namespace {

const int kDefaultCaptures = 20;

// What the process still holds: freed heap is handed back to the system first, so that
// memory the allocator merely keeps for later does not count as left behind.
double residentMegabytes()
{
    malloc_trim(0);
    return statusMegabytes("VmRSS");
}

// What a user's system monitor shows, with nothing handed back beforehand.
double untrimmedMegabytes()
{
    return statusMegabytes("VmRSS");
}

} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir home;
    useTemporaryHome(home);
    QApplication app(argc, argv);
    if (!prepareOfflineCapture())
        return 1;
    Setting::instance()->setValue(SettingKeys::qualityImage, 2);

    Core *core = Core::instance();
    int saved = 0;
    core->setSaveFileAsker([&](const QString &, const QString &) {
        return home.filePath(QStringLiteral("shot-%1.png").arg(++saved));
    });
    const int captures = argc > 1 ? QByteArray(argv[1]).toInt() : kDefaultCaptures;
    if (captures < 1) {
        std::fprintf(stderr, "usage: %s [captures]\n", argv[0]);
        return 1;
    }
    QTest::qWait(500);
    const double untrimmedBefore = untrimmedMegabytes();
    const double before = residentMegabytes();

    double afterFirst = 0;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < captures; ++i) {
        core->fragmentScreen();
        SurfaceWidget *view = core->surfaceWidget();
        if (!view || !QTest::qWaitForWindowExposed(view, 10000)) {
            std::fprintf(stderr, "capture %d showed no view\n", i + 1);
            return 1;
        }
        view->selector()->setRubberRect(QRectF(100 + i, 100, 640, 480));
        core->screenSaveToDisk();
        if (!QTest::qWaitFor([&] { return !core->surfaceWidget(); }, 10000)) {
            std::fprintf(stderr, "capture %d did not close\n", i + 1);
            return 1;
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (i == 0)
            afterFirst = residentMegabytes();
    }
    const double perCapture = timer.nsecsElapsed() / 1e6 / captures;
    QTest::qWait(500);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const double untrimmedAfter = untrimmedMegabytes();
    const double after = residentMegabytes();

    std::printf("captures saved: %d of %d\n", saved, captures);
    std::printf("resident memory before the first capture: %.1f MB\n", before);
    std::printf("resident memory after the first capture: %.1f MB\n", afterFirst);
    std::printf("resident memory after %d captures: %.1f MB\n", captures, after);
    std::printf("growth from the first to the last capture: %.1f MB\n", after - afterFirst);
    std::printf("growth over %d captures: %.1f MB\n", captures, after - before);
    std::printf("growth over %d captures, heap not trimmed: %.1f MB\n", captures,
        untrimmedAfter - untrimmedBefore);
    std::printf("one capture (show, select, save, close): %.1f ms\n", perCapture);
    std::printf("top-level windows left: %d\n", int(QGuiApplication::topLevelWindows().size()));
    return saved == captures ? 0 : 1;
}
