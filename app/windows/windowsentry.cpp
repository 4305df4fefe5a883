// The entry of the window module, and of programs that link the window part in.

#include "windowset.h"

#include <QQuickWindow>
#include <QSGRendererInterface>

namespace {

// The capture view shows one still picture of the whole desktop and redraws only what the
// pointer changes. Qt Quick's default OpenGL path uploads that picture as textures and redraws
// and sends every full frame, which on machines without a GPU (virtual machines, remote
// desktops, Xvfb) is Mesa's software rasteriser at a tenth of a second or more per 4K frame; the
// raster painter repaints and sends only the changed areas. A backend the user chose wins. Set
// before the first window, which comes after this part is made.
void chooseSceneGraph()
{
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND")
        && qEnvironmentVariableIsEmpty("QMLSCENE_DEVICE"))
        QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
}

} // namespace

Windows *kuvoWindows(Core *core)
{
    chooseSceneGraph();
    return new WindowSet(core);
}
