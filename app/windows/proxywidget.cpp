#include "proxywidget.h"

ProxyWidget::ProxyWidget(QWindow *parent)
    : BasicWindow(parent)
{
    setupUi();
}

void ProxyWidget::init()
{
    setFlags(Qt::Window | Qt::FramelessWindowHint);
    setPosCenter(true);
    loadPage(QStringLiteral("ProxyPage.qml"));
}
