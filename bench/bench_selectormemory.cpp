// Ten captures over several monitors in a row (or as many as the first argument says), on the
// X server of DISPLAY, run through tests/support/xvfb.sh with XVFB_MONITORS, e.g.
//     export XVFB_MONITORS="1920x1080+0+0 1280x1024+1920+0"
//     tests/support/xvfb.sh 3200x1080 build/bench/bench_selectormemory
// Each capture opens a selector window a monitor, selects across the monitors and closes the
// editor window that opens: the resident memory after the first capture is the baseline of
// the last. A selector window or editor left behind (each holds an engine and a grab) shows
// here as growth.

#include "benchcapturesupport.h"
#include "benchsupport.h"
#include "core.h"
#include "editponoramwidget.h"
#include "selectorwidgetmac.h"

#include <QApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

#include <malloc.h>

namespace {

const int kDefaultCaptures = 10;

double residentMegabytes()
{
    malloc_trim(0);
    return statusMegabytes("VmRSS");
}

// One capture across the first two monitors, through to its editor window closing.
bool captureAcross(Core *core)
{
    core->fragmentScreen();
    const QList<SelectorWidgetMac *> windows = core->selectorWidgets();
    if (windows.size() < 2 || !QTest::qWaitForWindowExposed(windows.first(), 10000))
        return false;
    const QRect first = QGuiApplication::screens().first()->geometry();
    windows.first()->changeSelectorRect(QRectF(first.width() - 200, 100, 400, 300));
    windows.first()->selectComplete();
    EditPonoramWidget *editor = core->editPonoramWidget();
    if (!editor || !QTest::qWaitForWindowExposed(editor, 10000))
        return false;
    editor->close();
    const bool released = QTest::qWaitFor(
        [&] { return !core->editPonoramWidget() && core->selectorWidgets().isEmpty(); }, 10000);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return released;
}

} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir home;
    useTemporaryHome(home);
    QApplication app(argc, argv);
    if (!prepareOfflineCapture())
        return 1;
    if (QGuiApplication::screens().size() < 2) {
        std::fprintf(stderr, "needs two monitors (XVFB_MONITORS)\n");
        return 1;
    }
    const int captures = argc > 1 ? QByteArray(argv[1]).toInt() : kDefaultCaptures;
    if (captures < 1) {
        std::fprintf(stderr, "usage: %s [captures]\n", argv[0]);
        return 1;
    }
    Core *core = Core::instance();
    QTest::qWait(500);
    const double before = residentMegabytes();
    double afterFirst = 0;
    for (int i = 0; i < captures; ++i) {
        if (!captureAcross(core)) {
            std::fprintf(stderr, "capture %d did not complete\n", i + 1);
            return 1;
        }
        if (i == 0)
            afterFirst = residentMegabytes();
    }
    QTest::qWait(500);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const double after = residentMegabytes();
    std::printf("selector_resident_before: %.1f MB\n", before);
    std::printf("selector_resident_after_first: %.1f MB\n", afterFirst);
    std::printf("selector_resident_after_%d: %.1f MB\n", captures, after);
    std::printf("selector_growth_first_to_last: %.1f MB\n", after - afterFirst);
    std::printf(
        "selector_windows_left: %d windows\n", int(QGuiApplication::topLevelWindows().size()));
    return 0;
}
