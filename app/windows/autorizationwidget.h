#ifndef AUTORIZATIONWIDGET_H
#define AUTORIZATIONWIDGET_H

#include "basicwindow.h"

// The sign-in window. Its page releases it through the controller once the account is in.
class AutorizationWidget : public BasicWindow
{
    Q_OBJECT

public:
    explicit AutorizationWidget(QWindow *parent = nullptr);

protected:
    void init() override;
};

#endif // AUTORIZATIONWIDGET_H
