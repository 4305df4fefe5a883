// Figures of the settings store: the first open on a new home folder, the cost of a cached
// read beside QSettings on an INI file holding the same keys, and how long setValue keeps the
// calling thread. Run it with nothing else to do: bench_settings (it makes its own HOME).

#include "benchsupport.h"
#include "setting.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

namespace {

const int kReads = 1000000;
const int kWrites = 20000;

const char *const kKeys[] = {"fragmentScreen", "qualityImage", "widthColorLine", "colorColorLine",
    "keySendScreen", "showActiveWindow", "type_upload", "saveScreenFolder"};
const int kKeyCount = int(sizeof(kKeys) / sizeof(kKeys[0]));

void print(const char *name, double value, const char *unit)
{
    std::printf("%s: %.1f %s\n", name, value, unit);
}

template <typename Read> double nanosecondsPerRead(const QStringList &keys, Read read)
{
    QElapsedTimer timer;
    timer.start();
    int hits = 0;
    for (int i = 0; i < kReads; ++i)
        hits += !read(keys[i % kKeyCount]).isNull();
    const double ns = double(timer.nsecsElapsed()) / kReads;
    if (hits != kReads)
        std::printf("warning: %d of %d reads found nothing\n", kReads - hits, kReads);
    return ns;
}

} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir home;
    useTemporaryHome(home);
    QCoreApplication app(argc, argv);

    QElapsedTimer open;
    open.start();
    Setting *settings = Setting::instance();
    print(
        "open on a new home (folders, database, first-run rows)", open.nsecsElapsed() / 1e6, "ms");

    QStringList keys;
    QSettings ini(home.path() + QStringLiteral("/same-keys.ini"), QSettings::IniFormat);
    for (const char *key : kKeys) {
        keys << QString::fromLatin1(key);
        ini.setValue(keys.last(), settings->getValue(keys.last()));
    }
    ini.sync();

    const double store
        = nanosecondsPerRead(keys, [&](const QString &k) { return settings->getValue(k); });
    const double qsettings
        = nanosecondsPerRead(keys, [&](const QString &k) { return ini.value(k); });
    print("cached getValue", store, "ns/call");
    print("QSettings::value on INI (baseline)", qsettings, "ns/call");

    QElapsedTimer write;
    write.start();
    for (int i = 0; i < kWrites; ++i)
        settings->setValue(QStringLiteral("bench_key_%1").arg(i % 64), i);
    print("setValue on the calling thread", double(write.nsecsElapsed()) / kWrites / 1000.0,
        "us/call");
    return 0;
}
