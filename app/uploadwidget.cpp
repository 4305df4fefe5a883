#include "uploadwidget.h"
#include "setting.h"

UploadWidget::UploadWidget(QWindow *parent)
    : BasicWindow(parent)
{
    setupUi();
}

void UploadWidget::init()
{
    setObjectName(QStringLiteral("UploadWidget"));
    setTitle(tr("Upload") + QStringLiteral(" - ")
        + Setting::instance()->getValue(QStringLiteral("username")).toString());
    setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    loadPage(QStringLiteral("UploadPage.qml"));
}
