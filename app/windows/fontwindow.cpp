#include "fontwindow.h"

FontWindow::FontWindow(QWindow *parent)
    : BasicWindow(parent)
{
    setupUi();
}

void FontWindow::init()
{
    setObjectName(QStringLiteral("FontWindow"));
    setTitle(tr("Font"));
    setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    loadPage(QStringLiteral("FontWindow.qml"));
    setPosCenter(true);
    setMoviable(true);
}
