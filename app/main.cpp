#include "commandline.h"
#include "programentry.h"
#include "singleapplication.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <climits>
#include <clocale>
#include <dlfcn.h>
#include <unistd.h>

namespace {

using CommandLine::print;

const int kUsageError = 2;
// What the dynamic loader itself ends with when a library a program needs is missing.
const int kProgramMissing = 127;

QByteArray workingFolder()
{
    QByteArray folder(PATH_MAX, '\0');
    return ::getcwd(folder.data(), size_t(folder.size())) ? QByteArray(folder.constData())
                                                          : QByteArray();
}

// The arguments as the system handed them over, the program path first.
QList<QByteArray> rawArguments(int argc, char **argv)
{
    QList<QByteArray> raw;
    for (int i = 0; i < argc; ++i)
        raw << QByteArray(argv[i]);
    return raw;
}

// Nothing that names no file may reach an upload, in this copy or the first one; nor a name
// that text cannot hold, which would come back as another name.
bool reportUnknownArguments(const QStringList &arguments, const QList<QByteArray> &raw)
{
    const QStringList unreadable = CommandLine::unreadableArguments(raw, workingFolder());
    const QStringList unknown = unreadable.isEmpty()
        ? CommandLine::unknownArguments(arguments, QDir::currentPath())
        : QStringList();
    if (unknown.isEmpty() && unreadable.isEmpty())
        return false;
    print(CommandLine::unreadableArgumentsText(unreadable)
            + CommandLine::unknownArgumentsText(unknown),
        stderr);
    print(CommandLine::helpText());
    return true;
}

// A second copy hands its command line to the first and ends.
int forwardToFirstCopy(
    SingleApplication &single, const QStringList &arguments, const QList<QByteArray> &raw)
{
    if (arguments.size() >= 2 && CommandLine::wantsHelp(arguments)) {
        print(CommandLine::helpText());
        return 0;
    }
    if (reportUnknownArguments(arguments, raw))
        return kUsageError;
    single.writeMessage(CommandLine::messageForFirstCopy(arguments, QDir::currentPath()));
    return 0;
}

// The first copy's help texts and refused arguments: answered, the program ends.
bool answeredFromArguments(
    const QStringList &arguments, const QList<QByteArray> &raw, int *exitCode)
{
    const CommandLine::LaunchPlan plan = CommandLine::planFirstCopy(arguments);
    switch (plan.action) {
    case CommandLine::LaunchPlan::Action::PrintHelp:
        print(CommandLine::helpText());
        *exitCode = 0;
        return true;
    case CommandLine::LaunchPlan::Action::PrintBetaHelp:
        print(CommandLine::betaHelpText());
        *exitCode = 0;
        return true;
    case CommandLine::LaunchPlan::Action::Run:
        break;
    }
    if (!reportUnknownArguments(arguments, raw))
        return false;
    *exitCode = kUsageError;
    return true;
}

// What the command line alone answers is answered before the program proper is loaded and
// connects to the desktop, which is most of a start and needs a display: a second copy only
// hands its command line on (a capture asked for from a key binding or a script waits for it),
// and the help texts and refused arguments are printed where there is no display too.
bool answeredBeforeGui(int &argc, char **argv, int *exitCode, QString *programFolder)
{
    QCoreApplication probe(argc, argv);
    CommandLine::nameApplication();
    *programFolder = QCoreApplication::applicationDirPath();
    const QStringList arguments = QCoreApplication::arguments();
    // Taken after the application object, which may have removed its own switches.
    const QList<QByteArray> raw = rawArguments(argc, argv);
    SingleApplication single;
    if (!single.isRunning())
        return answeredFromArguments(arguments, raw, exitCode);
    *exitCode = forwardToFirstCopy(single, arguments, raw);
    return true;
}

// By its full path in the launcher's own folder only: a library found through the environment
// or the working folder could be anybody's. Symbols are bound as they are first called, most of
// them never. It stays loaded until the process ends.
int runProgram(const QString &folder, int &argc, char **argv)
{
    const QByteArray file = QFile::encodeName(folder + QStringLiteral("/" KUVO_PROGRAM_LIBRARY));
    void *program = ::dlopen(file.constData(), RTLD_LAZY | RTLD_LOCAL);
    const auto entry
        = program ? reinterpret_cast<ProgramEntry>(::dlsym(program, kProgramEntryName)) : nullptr;
    if (!entry) {
        print(QStringLiteral("kuvo: the program could not be loaded: %1\n")
                  .arg(QString::fromLocal8Bit(::dlerror())),
            stderr);
        return kProgramMissing;
    }
    return entry(&argc, argv);
}

} // namespace

int main(int argc, char *argv[])
{
    std::setlocale(LC_ALL, "");
    int exitCode = 0;
    QString programFolder;
    if (answeredBeforeGui(argc, argv, &exitCode, &programFolder))
        return exitCode;
    return runProgram(programFolder, argc, argv);
}
