#include "licensewindow.h"

LicenseWindow::LicenseWindow(QWindow *parent)
    : BasicWindow(parent)
{
    setupUi();
    setPosCenter(true);
}

void LicenseWindow::init()
{
    setObjectName(QStringLiteral("LicenseWidget"));
    loadPage(QStringLiteral("LicenseDialog.qml"));
}
