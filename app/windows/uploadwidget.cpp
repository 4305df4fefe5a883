#include "uploadwidget.h"

UploadWidget::UploadWidget(QWindow *parent)
    : BasicWindow(parent)
{
    setupUi();
}

void UploadWidget::init()
{
    setObjectName(QStringLiteral("UploadWidget"));
    setTitleWithUser(tr("Upload"));
    setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    loadPage(QStringLiteral("UploadPage.qml"));
}
