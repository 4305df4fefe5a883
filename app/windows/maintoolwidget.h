#ifndef MAINTOOLWIDGET_H
#define MAINTOOLWIDGET_H

#include "basicwindow.h"

// The main tool window: capture, history and settings buttons, and the last link.
class MainToolWidget : public BasicWindow
{
    Q_OBJECT

public:
    explicit MainToolWidget(QWindow *parent = nullptr);

protected:
    void init() override;
};

#endif // MAINTOOLWIDGET_H
