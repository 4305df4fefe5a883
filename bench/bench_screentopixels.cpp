// What a user sees: the capture view of the real program, in its default configuration, timed
// from the moment `kuvo -screen` is started as a second copy to the moment the pixels on the X
// server change, beside ksnip (`ksnip -r` with a running ksnip) and Flameshot (`flameshot gui`)
// timed the same way in the same run, round by round. Also one move of the selection's corner
// (XTest motion to changed pixels), the pen's move to changed pixels as a stroke grows, and the
// running copy's memory.
//
// Run it through bench/screen-to-pixels, which starts a 3840x2160 X server with openbox and a
// busy root picture (its file, the first argument). The running copy is signed in against the
// stand-in service in a fresh home; the question before closing a selection is turned off so that
// Escape always closes.

#include "benchsupport.h"
#include "screenwatch.h"
#include "setting.h"
#include "standinservice.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

const int kKuvoRounds = qEnvironmentVariableIntValue("KUVO_BENCH_ROUNDS") ?: 20;
const int kPeerRounds = std::min(10, kKuvoRounds);
const int kPenRounds
    = std::min(qEnvironmentVariableIntValue("KUVO_BENCH_PEN_ROUNDS") ?: 3, kKuvoRounds);
const int kAppearTimeoutMs = 10000;
// The pen as the issue of slow strokes measured it: 26 px wide, over a selection of most of a
// 4K screen. A stroke's moves are timed after these many points.
const int kPenWidth = 26;
const QVector<int> kPenMarks = {10, 500, 1500};
const int kMovesPerMark = 5;

struct Figures
{
    QVector<double> map;
    QVector<double> pixels;
    QVector<double> move;
    QVector<double> handedOver;
    QVector<QVector<double>> pen = QVector<QVector<double>>(kPenMarks.size());
};

// How a contender's pen is taken up once a selection is made; none where its pen is not drawn
// over the frozen screen.
using PenChooser = std::function<bool(ScreenWatch &, const QRect &selection)>;

struct Contender
{
    QString name;
    QString program;
    QStringList arguments;
    QProcessEnvironment environment;
    PenChooser choosePen;
    Figures figures;
};

double median(QVector<double> values)
{
    values.removeAll(-1);
    if (values.isEmpty())
        return -1;
    std::sort(values.begin(), values.end());
    const int n = values.size();
    return n % 2 ? values.at(n / 2) : (values.at(n / 2 - 1) + values.at(n / 2)) / 2;
}

void printFigure(const QString &name, const QVector<double> &values, const char *unit)
{
    QVector<double> seen = values;
    seen.removeAll(-1);
    const auto [low, high] = std::minmax_element(seen.begin(), seen.end());
    std::printf("%s, median of %d: %.1f %s (%.1f-%.1f)%s\n", qPrintable(name), int(seen.size()),
        median(seen), unit, seen.isEmpty() ? -1.0 : *low, seen.isEmpty() ? -1.0 : *high,
        seen.size() < values.size()
            ? qPrintable(QStringLiteral(", %1 missed").arg(values.size() - seen.size()))
            : "");
}

// The ratio of paired rounds, so that a machine that slows down for a while slows both.
void printRatio(const QString &name, const QVector<double> &ours, const QVector<double> &theirs)
{
    QVector<double> ratios;
    for (int i = 0; i < std::min(ours.size(), theirs.size()); ++i) {
        if (ours.at(i) > 0 && theirs.at(i) > 0)
            ratios << ours.at(i) / theirs.at(i);
    }
    std::printf("%s: %.2f x\n", qPrintable(name), median(ratios));
}

QProcessEnvironment homeEnvironment(const QString &root)
{
    for (const char *folder : {"home", "config", "runtime", "tmp"})
        QDir().mkpath(root + QLatin1Char('/') + QLatin1String(folder));
    QFile::setPermissions(
        root + QStringLiteral("/runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // The default configuration: whatever the caller's shell chose for tests does not apply.
    for (const char *name : {"QT_QUICK_BACKEND", "QT_QPA_PLATFORM", "QT_LOGGING_RULES",
             "QSG_RENDER_LOOP", "QT_XCB_NO_XRANDR"})
        env.remove(QLatin1String(name));
    env.insert(QStringLiteral("HOME"), root + QStringLiteral("/home"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), root + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root + QStringLiteral("/runtime"));
    env.insert(QStringLiteral("TMPDIR"), root + QStringLiteral("/tmp"));
    env.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("x11"));
    return env;
}

bool writeFile(const QString &path, const QByteArray &text)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

std::unique_ptr<QProcess> startProcess(
    const QString &program, const QStringList &arguments, const QProcessEnvironment &env)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->setStandardOutputFile(QProcess::nullDevice());
    process->start(program, arguments);
    return process;
}

void stop(QProcess *process)
{
    if (!process || process->state() == QProcess::NotRunning)
        return;
    process->terminate();
    if (!process->waitForFinished(3000)) {
        process->kill();
        process->waitForFinished(3000);
    }
}

bool waitForListener(const QString &socketPath, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        QLocalSocket probe;
        probe.connectToServer(socketPath);
        if (probe.waitForConnected(100))
            return true;
        QThread::msleep(50);
    }
    return false;
}

bool nearlyEqual(QRgb a, QRgb b)
{
    const int tolerance = 48;
    return std::abs(qRed(a) - qRed(b)) < tolerance && std::abs(qGreen(a) - qGreen(b)) < tolerance
        && std::abs(qBlue(a) - qBlue(b)) < tolerance;
}

// Where the opaque pixels of picture show in screen (nearly: the screen may draw it between
// pixels), or (-1, -1).
QPoint findPicture(const QImage &screen, const QImage &picture)
{
    QVector<QPoint> opaque;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (qAlpha(picture.pixel(x, y)) == 255)
                opaque << QPoint(x, y);
        }
    }
    for (int y = 0; y + picture.height() <= screen.height(); ++y) {
        for (int x = 0; x + picture.width() <= screen.width(); ++x) {
            int misses = 0;
            for (const QPoint &p : qAsConst(opaque)) {
                if (!nearlyEqual(screen.pixel(x + p.x(), y + p.y()), picture.pixel(p))
                    && ++misses > opaque.size() / 10)
                    break;
            }
            if (!opaque.isEmpty() && misses <= opaque.size() / 10)
                return QPoint(x, y);
        }
    }
    return QPoint(-1, -1);
}

// Until the capture shows, and when the started program ended: a second copy of kuvo ends once
// it has handed its command line to the first.
ScreenWatch::Appearance appear(
    ScreenWatch &watch, QProcess &process, const QElapsedTimer &timer, double *endedMs)
{
    ScreenWatch::Appearance seen;
    *endedMs = -1;
    while (timer.elapsed() < kAppearTimeoutMs && (seen.mapMs < 0 || seen.pixelsMs < 0)) {
        if (*endedMs < 0 && process.waitForFinished(0))
            *endedMs = timer.nsecsElapsed() / 1e6;
        if (seen.mapMs < 0 && watch.fullWindowMapped())
            seen.mapMs = timer.nsecsElapsed() / 1e6;
        if (seen.pixelsMs < 0 && watch.probesChanged())
            seen.pixelsMs = timer.nsecsElapsed() / 1e6;
        QThread::usleep(500);
    }
    return seen;
}

// A capture started with the pointer there; its figures go to record unless that is null.
std::unique_ptr<QProcess> startCapture(
    ScreenWatch &watch, Contender &who, const QPoint &pointer, Figures *record)
{
    watch.moveTo(pointer);
    QThread::msleep(300);
    watch.takeBaseline();
    QElapsedTimer timer;
    timer.start();
    auto process = startProcess(who.program, who.arguments, who.environment);
    double ended = -1;
    const ScreenWatch::Appearance seen = appear(watch, *process, timer, &ended);
    if (record) {
        record->map << seen.mapMs;
        record->pixels << seen.pixelsMs;
        record->handedOver << ended;
    }
    if (seen.pixelsMs < 0)
        return nullptr;
    QThread::msleep(300);
    return process;
}

void drag(ScreenWatch &watch, const QPoint &from, const QPoint &to)
{
    watch.button(true);
    for (int step = 1; step <= 8; ++step)
        watch.moveTo(from + (to - from) * step / 8);
}

void closeCapture(ScreenWatch &watch, Contender &who, QProcess *process)
{
    for (int attempt = 0; attempt < 6 && watch.fullWindowMapped(); ++attempt) {
        QThread::msleep(attempt ? 500 : 300);
        if (watch.fullWindowMapped())
            watch.key("Escape");
    }
    if (!watch.waitForRestore(5000))
        std::fprintf(stderr, "%s: the capture did not close\n", qPrintable(who.name));
    if (process && !process->waitForFinished(5000))
        stop(process);
}

// One capture: started, seen, one corner move timed, closed with Escape.
void captureOnce(ScreenWatch &watch, Contender &who)
{
    const QSize screen = watch.screenSize();
    const QPoint start(screen.width() / 4, screen.height() / 4);
    const QPoint corner(screen.width() / 2, screen.height() / 2);
    const QPoint moved = corner + QPoint(160, 120);
    auto process = startCapture(watch, who, start, &who.figures);
    double move = -1;
    if (process) {
        drag(watch, start, corner);
        QThread::msleep(400);
        // Inside the selection once the corner has moved, shaded before, and away from
        // anything that follows the pointer itself.
        const QRect probe(corner.x() + 64, (start.y() + corner.y()) / 2, 32, 32);
        QElapsedTimer moveTimer;
        moveTimer.start();
        watch.moveTo(moved);
        move = watch.waitForChange(probe, moveTimer, 2000);
        watch.key("Escape");
        watch.button(false);
    }
    who.figures.move << move;
    closeCapture(watch, who, process.get());
}

// A stroke that keeps to fresh ground: rows across the selection, 8 px a move, gently waving,
// each row 64 px below the last, so that every move paints pixels no earlier move painted.
QVector<QPoint> penPath(const QRect &selection, int count)
{
    QVector<QPoint> path;
    const int left = selection.left() + 200;
    const int right = selection.right() - 200;
    QPoint p(left, selection.top() + 100);
    int heading = 8;
    for (int i = 0; path.size() < count; ++i) {
        const bool turning = (heading > 0 && p.x() >= right) || (heading < 0 && p.x() <= left);
        if (turning) {
            for (int down = 8; down <= 64 && path.size() < count; down += 8)
                path << p + QPoint(0, down);
            p += QPoint(0, 64);
            heading = -heading;
        }
        p += QPoint(heading, 0);
        path << p + QPoint(0, int(6 * std::sin(i * 0.2)));
    }
    return path;
}

// Inside the new end's cap and outside the last one's: it changes only once the move is drawn.
QRect penProbe(const QPoint &from, const QPoint &to)
{
    const QPointF d = to - from;
    const double length = std::max(1.0, std::hypot(d.x(), d.y()));
    const QPoint centre = (QPointF(to) + d * ((kPenWidth / 2 - 3) / length)).toPoint();
    return QRect(centre - QPoint(1, 1), QSize(3, 3));
}

// One stroke over a selection of most of the screen, every move waited for on the screen (so
// the program sees every point), the moves after each mark kept.
void penOnce(ScreenWatch &watch, Contender &who)
{
    const QSize screen = watch.screenSize();
    const QRect selection(QPoint(120, 120), screen - QSize(240, 360));
    auto process = startCapture(watch, who, selection.topLeft(), nullptr);
    QVector<QVector<double>> times(kPenMarks.size());
    if (process) {
        drag(watch, selection.topLeft(), selection.bottomRight());
        watch.button(false);
        QThread::msleep(500);
    }
    if (process && who.choosePen(watch, selection)) {
        const QVector<QPoint> path = penPath(selection, kPenMarks.last() + kMovesPerMark + 1);
        watch.moveTo(path.first());
        QThread::msleep(200);
        watch.button(true);
        for (int i = 1; i < path.size(); ++i) {
            QElapsedTimer timer;
            timer.start();
            watch.moveTo(path.at(i));
            const double ms
                = watch.waitForChange(penProbe(path.at(i - 1), path.at(i)), timer, 2000);
            for (int m = 0; m < kPenMarks.size(); ++m) {
                if (i > kPenMarks.at(m) && i <= kPenMarks.at(m) + kMovesPerMark)
                    times[m] << ms;
            }
        }
        watch.button(false);
    }
    for (int m = 0; m < kPenMarks.size(); ++m)
        who.figures.pen[m] << (times.at(m).isEmpty() ? -1 : median(times.at(m)));
    closeCapture(watch, who, process.get());
}

// The pen button of kuvo's tool bar, found on the screen by its picture: the bar lies beside the
// selection, where its layout puts it.
bool clickKuvoPen(ScreenWatch &watch, const QRect &selection)
{
    const QImage icon = QImage(QStringLiteral(":/component/image/component/tool_pen.png"))
                            .convertToFormat(QImage::Format_ARGB32);
    const QRect strip(0, selection.bottom(), watch.screenSize().width(),
        std::min(120, watch.screenSize().height() - selection.bottom()));
    for (int attempt = 0; attempt < 30 && !icon.isNull(); ++attempt) {
        const QPoint found = findPicture(watch.grab(strip), icon);
        if (found.x() >= 0) {
            const QPoint button = strip.topLeft() + found + icon.rect().center();
            watch.moveTo(button);
            QThread::msleep(100);
            watch.button(true);
            watch.button(false);
            QThread::msleep(300);
            return true;
        }
        QThread::msleep(100);
    }
    std::fprintf(stderr, "kuvo: the pen button was not found\n");
    return false;
}

bool pressPenKey(ScreenWatch &watch, const QRect &)
{
    watch.key("p");
    QThread::msleep(300);
    return true;
}

double kuvoMemory(const QProcess &kuvo, const char *field)
{
    return statusMegabytes(field, QString::number(kuvo.processId()));
}

// Resident memory counts the pages of shared libraries the program has touched; the
// anonymous part is the program's own.
void printMemory(const char *when, const QProcess &kuvo)
{
    std::printf("kuvo resident memory %s: %.1f MB\n", when, kuvoMemory(kuvo, "VmRSS"));
    std::printf("kuvo anonymous resident memory %s: %.1f MB\n", when, kuvoMemory(kuvo, "RssAnon"));
    std::printf("kuvo peak resident memory %s: %.1f MB\n", when, kuvoMemory(kuvo, "VmHWM"));
}

} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir root;
    const QString kuvoRoot = root.path() + QStringLiteral("/kuvo");
    const QProcessEnvironment kuvoEnv = homeEnvironment(kuvoRoot);
    // The settings store of this process is the running copy's own: the account is signed in
    // before the program starts.
    qputenv("HOME", kuvoEnv.value(QStringLiteral("HOME")).toUtf8());
    qputenv("QT_LOGGING_RULES", "*.debug=false");
    QCoreApplication app(argc, argv);

    ScreenWatch watch;
    if (!watch.isOpen()) {
        std::fprintf(stderr, "needs an X server (run bench/screen-to-pixels)\n");
        return 1;
    }
    if (argc > 1 && !watch.setRootPicture(QImage(QString::fromLocal8Bit(argv[1]))))
        std::fprintf(stderr, "could not lay %s on the root window\n", argv[1]);
    StandinService standin;
    if (!standin.start()) {
        std::fprintf(stderr, "the stand-in service did not start\n");
        return 1;
    }
    const QString token = standin.issueToken();
    Setting::instance()->setValue(SettingKeys::token, token);
    Setting::instance()->setValue(SettingKeys::showCloseSurfaceWindow, QStringLiteral("false"));
    Setting::instance()->setValue(SettingKeys::widthColorLine, kPenWidth);
    Setting::instance()->getValueDB(SettingKeys::token);

    const QString kuvoProgram
        = QCoreApplication::applicationDirPath() + QStringLiteral("/../app/kuvo");
    const QStringList beta = {QStringLiteral("-beta"), standin.httpsHost(), standin.httpsHost()};
    auto kuvo = startProcess(kuvoProgram, beta, kuvoEnv);
    if (!waitForListener(
            kuvoEnv.value(QStringLiteral("XDG_RUNTIME_DIR")) + QStringLiteral("/KuvoApp"), 15000)) {
        std::fprintf(stderr, "kuvo did not start\n");
        return 1;
    }
    QThread::sleep(3);
    printMemory("idle, signed in, before the first capture", *kuvo);

    QVector<Contender> contenders;
    contenders.append(
        {QStringLiteral("kuvo"), kuvoProgram, {"-screen"}, kuvoEnv, clickKuvoPen, {}});

    std::unique_ptr<QProcess> ksnip;
    const QString ksnipProgram = QStandardPaths::findExecutable(QStringLiteral("ksnip"));
    if (!ksnipProgram.isEmpty()) {
        const QProcessEnvironment env = homeEnvironment(root.path() + QStringLiteral("/ksnip"));
        ksnip = startProcess(ksnipProgram, {}, env);
        QThread::sleep(3);
        // Its pen lies in its editor window, not over the frozen screen: not timed.
        contenders.append({QStringLiteral("ksnip"), ksnipProgram, {"-r"}, env, {}, {}});
    }
    std::unique_ptr<QProcess> bus;
    const QString flameshotProgram = QStandardPaths::findExecutable(QStringLiteral("flameshot"));
    if (!flameshotProgram.isEmpty()) {
        QProcessEnvironment env = homeEnvironment(root.path() + QStringLiteral("/flameshot"));
        writeFile(env.value(QStringLiteral("XDG_CONFIG_HOME"))
                + QStringLiteral("/flameshot/flameshot.ini"),
            "[General]\ncheckForUpdates=false\nshowStartupLaunchMessage=false\n"
            "showHelp=false\nshowDesktopNotification=false\n"
                + QByteArray("drawThickness=") + QByteArray::number(kPenWidth) + "\n");
        bus = std::make_unique<QProcess>();
        bus->setProcessEnvironment(env);
        bus->start(QStringLiteral("dbus-daemon"),
            {"--session", "--nofork", "--nopidfile", "--print-address=1"});
        if (bus->waitForReadyRead(5000)) {
            env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                QString::fromUtf8(bus->readLine().trimmed()));
            contenders.append(
                {QStringLiteral("flameshot"), flameshotProgram, {"gui"}, env, pressPenKey, {}});
        }
    }

    for (int round = 0; round < kKuvoRounds; ++round) {
        for (Contender &who : contenders) {
            if (who.name == QLatin1String("kuvo") || round < kPeerRounds)
                captureOnce(watch, who);
        }
        if (round == 0) {
            QThread::sleep(1);
            printMemory("after the first capture", *kuvo);
        }
    }
    QThread::sleep(1);
    printMemory(qPrintable(QStringLiteral("after %1 captures").arg(kKuvoRounds)), *kuvo);
    for (int round = 0; round < kPenRounds; ++round) {
        for (Contender &who : contenders) {
            if (who.choosePen)
                penOnce(watch, who);
        }
    }
    printMemory("after the pen strokes", *kuvo);

    const Figures &ours = contenders.first().figures;
    const QVector<double> ourPeerRounds = ours.pixels.mid(0, kPeerRounds);
    for (const Contender &who : contenders) {
        const QVector<double> rounds = who.name == QLatin1String("kuvo")
            ? who.figures.pixels.mid(0, kPeerRounds)
            : who.figures.pixels;
        printFigure(who.name + QStringLiteral(" map of a screen-sized window"),
            who.figures.map.mid(0, kPeerRounds), "ms");
        printFigure(who.name + QStringLiteral(" first changed pixels"), rounds, "ms");
        printFigure(who.name + QStringLiteral(" one move of the selection corner to pixels"),
            who.figures.move.mid(0, kPeerRounds), "ms");
        // A second copy that hands its command line over ends before its capture shows.
        if (median(who.figures.handedOver) >= 0) {
            printFigure(who.name + QStringLiteral(" started until it ended"),
                who.figures.handedOver.mid(0, kPeerRounds), "ms");
        }
        for (int m = 0; m < kPenMarks.size() && who.choosePen; ++m) {
            printFigure(who.name
                    + QStringLiteral(" pen move to pixels after %1 points").arg(kPenMarks.at(m)),
                who.figures.pen.at(m), "ms");
        }
    }
    printFigure(QStringLiteral("kuvo first changed pixels over all rounds"), ours.pixels, "ms");
    printFigure(
        QStringLiteral("kuvo map of a screen-sized window over all rounds"), ours.map, "ms");
    printRatio(QStringLiteral("kuvo pen move, after %1 / after %2 points")
                   .arg(kPenMarks.last())
                   .arg(kPenMarks.first()),
        ours.pen.last(), ours.pen.first());
    for (const Contender &who : contenders.mid(1)) {
        printRatio(QStringLiteral("first changed pixels, kuvo / ") + who.name, ourPeerRounds,
            who.figures.pixels);
        printRatio(QStringLiteral("selection corner move, kuvo / ") + who.name,
            ours.move.mid(0, kPeerRounds), who.figures.move);
        for (int m = 0; m < kPenMarks.size() && who.choosePen; ++m) {
            printRatio(
                QStringLiteral("pen move after %1 points, kuvo / ").arg(kPenMarks.at(m)) + who.name,
                ours.pen.at(m), who.figures.pen.at(m));
        }
    }

    if (ksnip) {
        std::printf("ksnip resident memory after its captures: %.1f MB\n",
            statusMegabytes("VmRSS", QString::number(ksnip->processId())));
    }
    stop(ksnip.get());
    stop(bus.get());
    stop(kuvo.get());
    return 0;
}
