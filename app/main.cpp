#include "commandline.h"
#include "core.h"
#include "serviceaddress.h"
#include "setting.h"
#include "singleapplication.h"

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QQuickWindow>
#include <QSGRendererInterface>

#include <clocale>
#include <cstdio>

namespace {

void checkLanguage()
{
    Setting::instance()->checkTranslate();
}

void print(const QString &text, std::FILE *stream = stdout)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

const int kUsageError = 2;

// Nothing that names no file may reach an upload, in this copy or the first one.
bool reportUnknownArguments(const QStringList &arguments)
{
    const QStringList unknown = CommandLine::unknownArguments(arguments, QDir::currentPath());
    if (unknown.isEmpty())
        return false;
    print(CommandLine::unknownArgumentsText(unknown), stderr);
    print(CommandLine::helpText());
    return true;
}

// A second copy hands its command line to the first and ends.
int forwardToFirstCopy(SingleApplication &single, const QStringList &arguments)
{
    qDebug() << Q_FUNC_INFO << "arguments count" << arguments.size();
    if (arguments.size() >= 2 && CommandLine::wantsHelp(arguments)) {
        print(CommandLine::helpText());
        return 0;
    }
    if (reportUnknownArguments(arguments))
        return kUsageError;
    single.writeMessage(CommandLine::messageForFirstCopy(arguments, QDir::currentPath()));
    return 0;
}

void startFiles(const CommandLine::LaunchPlan &plan)
{
    using Files = CommandLine::LaunchPlan::Files;
    switch (plan.files) {
    case Files::None:
        break;
    case Files::Upload:
        qDebug() << Q_FUNC_INFO << plan.fileList;
        Core::instance()->uploadData(plan.fileList);
        break;
    case Files::UploadZip:
        Core::instance()->uploadDataZip(plan.fileList);
        break;
    case Files::OpenAudioImage:
        Core::instance()->openAudioImage(plan.audioImageFile);
        break;
    }
}

// The capture view shows one still picture of the whole desktop and redraws only what the
// pointer changes. Qt Quick's default OpenGL path uploads that picture as textures and redraws
// and sends every full frame, which on machines without a GPU (virtual machines, remote
// desktops, Xvfb) is Mesa's software rasteriser at a tenth of a second or more per 4K frame; the
// raster painter repaints and sends only the changed areas. A backend the user chose wins.
void chooseSceneGraph()
{
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND")
        && qEnvironmentVariableIsEmpty("QMLSCENE_DEVICE"))
        QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
}

void nameApplication()
{
    QCoreApplication::setApplicationVersion(QStringLiteral("3.0.15"));
    QCoreApplication::setApplicationName(QStringLiteral("Kuvo"));
}

// The first copy's help texts and refused arguments: answered, the program ends.
bool answeredFromArguments(const QStringList &arguments, int *exitCode)
{
    const CommandLine::LaunchPlan plan = CommandLine::planFirstCopy(arguments);
    qDebug() << Q_FUNC_INFO << "indexOf help" << arguments.indexOf(QStringLiteral("-help"));
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
    if (!reportUnknownArguments(arguments))
        return false;
    *exitCode = kUsageError;
    return true;
}

// What the command line alone answers is answered before the GUI application connects to the
// desktop, which is most of a start and needs a display: a second copy only hands its command
// line on (a capture asked for from a key binding or a script waits for it), and the help
// texts and refused arguments are printed where there is no display too.
bool answeredBeforeGui(int &argc, char **argv, int *exitCode)
{
    QCoreApplication probe(argc, argv);
    nameApplication();
    const QStringList arguments = QCoreApplication::arguments();
    SingleApplication single;
    if (!single.isRunning())
        return answeredFromArguments(arguments, exitCode);
    *exitCode = forwardToFirstCopy(single, arguments);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    std::setlocale(LC_ALL, "");
    int exitCode = 0;
    if (answeredBeforeGui(argc, argv, &exitCode))
        return exitCode;
    chooseSceneGraph();
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    nameApplication();

    SingleApplication single;
    const CommandLine::LaunchPlan plan = CommandLine::planFirstCopy(QApplication::arguments());
    if (!plan.betaApiHost.isEmpty()) {
        print(CommandLine::betaBanner(plan.betaWebHost, plan.betaApiHost));
        // Before the controller exists: its construction already talks to the service.
        ServiceAddress::setApiHost(plan.betaApiHost);
        ServiceAddress::setWebHost(plan.betaWebHost);
    }

    Core *core = Core::instance();
    core->updateHook();
    startFiles(plan);
    checkLanguage();

    QObject::connect(&single, &SingleApplication::runnigSecondCopy, core, &Core::showMainWindow);
    QObject::connect(&single, &SingleApplication::uploadFile, core, &Core::uploadData);
    QObject::connect(&single, &SingleApplication::uploadFileInZip, core, &Core::uploadDataZip);
    QObject::connect(&single, &SingleApplication::screen, core, &Core::fragmentScreen);
    QObject::connect(&single, &SingleApplication::fullScreen, core, &Core::fullScreen);
    QObject::connect(&single, &SingleApplication::quickScreen, core, &Core::quickScreen);
    QObject::connect(&single, &SingleApplication::openAudioImageFile, core, &Core::openAudioImage);

    core->checkAutorization();
    single.exec();
    return QApplication::exec();
}
