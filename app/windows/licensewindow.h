#ifndef LICENSEWINDOW_H
#define LICENSEWINDOW_H

#include "basicwindow.h"

// The terms of use, with the box the user ticks to accept them.
class LicenseWindow : public BasicWindow
{
    Q_OBJECT

public:
    explicit LicenseWindow(QWindow *parent = nullptr);

protected:
    void init() override;
};

#endif // LICENSEWINDOW_H
