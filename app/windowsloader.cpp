// The program loads its window part from the module beside it, from its own folder only.

#include "logging.h"
#include "setting.h"
#include "windows.h"

#include <QCoreApplication>
#include <QLibrary>

#include <cstdio>
#include <cstdlib>

namespace {

// What the dynamic loader itself ends with when a library a program needs is missing.
const int kModuleMissing = 127;

// Without its window part the program can show nothing, not even why; the log and the
// terminal say which file is missing or broken.
[[noreturn]] void failToLoad(const QString &reason)
{
    const QString text = QStringLiteral("The window part of Kuvo could not be loaded: ") + reason;
    Logging::instance()->writeMessage(text);
    std::fputs(qPrintable(text + QLatin1Char('\n')), stderr);
    Setting::drain();
    std::exit(kModuleMissing);
}

} // namespace

Windows *openWindows(Core *core)
{
    // Never unloaded: QLibrary leaves a library in when it goes.
    QLibrary module(
        QCoreApplication::applicationDirPath() + QStringLiteral("/" KUVO_WINDOWS_MODULE));
    using Entry = Windows *(*)(Core *);
    const auto entry = reinterpret_cast<Entry>(module.resolve("kuvoWindows"));
    if (!entry)
        failToLoad(module.errorString());
    return entry(core);
}
