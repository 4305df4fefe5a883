#include "autorizationwidget.h"

AutorizationWidget::AutorizationWidget(QWindow *parent)
    : BasicWindow(parent)
{
    setupUi();
    setPosCenter(true);
    setMoviable(true);
}

void AutorizationWidget::init()
{
    setObjectName(QStringLiteral("AutorizationWidget"));
    loadPage(QStringLiteral("RegistrationPage.qml"));
    setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
}
