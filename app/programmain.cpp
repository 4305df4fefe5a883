#include "commandline.h"
#include "core.h"
#include "programentry.h"
#include "serviceaddress.h"
#include "setting.h"
#include "singleapplication.h"

#include <QApplication>
#include <QDebug>

namespace {

void checkLanguage()
{
    Setting::instance()->checkTranslate();
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

void connectLaterCopies(SingleApplication &single, Core *core)
{
    QObject::connect(&single, &SingleApplication::runnigSecondCopy, core, &Core::showMainWindow);
    QObject::connect(&single, &SingleApplication::uploadFile, core, &Core::uploadData);
    QObject::connect(&single, &SingleApplication::uploadFileInZip, core, &Core::uploadDataZip);
    QObject::connect(&single, &SingleApplication::screen, core, &Core::fragmentScreen);
    QObject::connect(&single, &SingleApplication::fullScreen, core, &Core::fullScreen);
    QObject::connect(&single, &SingleApplication::quickScreen, core, &Core::quickScreen);
    QObject::connect(&single, &SingleApplication::openAudioImageFile, core, &Core::openAudioImage);
    QObject::connect(&single, &SingleApplication::refused, core, &Core::showErrorWidget);
}

} // namespace

int kuvoProgramMain(int *argc, char **argv)
{
    QApplication app(*argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    CommandLine::nameApplication();

    SingleApplication single;
    const CommandLine::LaunchPlan plan = CommandLine::planFirstCopy(QApplication::arguments());
    if (!plan.betaApiHost.isEmpty()) {
        CommandLine::print(CommandLine::betaBanner(plan.betaWebHost, plan.betaApiHost));
        // Before the controller exists: its construction already talks to the service.
        ServiceAddress::setApiHost(plan.betaApiHost);
        ServiceAddress::setWebHost(plan.betaWebHost);
    }

    Core *core = Core::instance();
    core->updateHook();
    startFiles(plan);
    checkLanguage();
    connectLaterCopies(single, core);

    core->checkAutorization();
    single.exec();
    return QApplication::exec();
}
