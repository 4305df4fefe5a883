#include "maintoolwidget.h"

MainToolWidget::MainToolWidget(QWindow *parent)
    : BasicWindow(parent)
{
    setupUi();
}

void MainToolWidget::init()
{
    loadPage(QStringLiteral("MainToolPage.qml"));
    setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setObjectName(QStringLiteral("MainWidget"));
    setMoviable(true);
}
