#include "commandline.h"
#include "core.h"
#include "programentry.h"
#include "serviceaddress.h"
#include "setting.h"
#include "singleapplication.h"

#include <QApplication>
#include <QDebug>
#include <QQuickWindow>
#include <QSGRendererInterface>

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

void connectLaterCopies(SingleApplication &single, Core *core)
{
    QObject::connect(&single, &SingleApplication::runnigSecondCopy, core, &Core::showMainWindow);
    QObject::connect(&single, &SingleApplication::uploadFile, core, &Core::uploadData);
    QObject::connect(&single, &SingleApplication::uploadFileInZip, core, &Core::uploadDataZip);
    QObject::connect(&single, &SingleApplication::screen, core, &Core::fragmentScreen);
    QObject::connect(&single, &SingleApplication::fullScreen, core, &Core::fullScreen);
    QObject::connect(&single, &SingleApplication::quickScreen, core, &Core::quickScreen);
    QObject::connect(&single, &SingleApplication::openAudioImageFile, core, &Core::openAudioImage);
}

} // namespace

int kuvoProgramMain(int *argc, char **argv)
{
    chooseSceneGraph();
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
