#ifndef PROXYWIDGET_H
#define PROXYWIDGET_H

#include "basicwindow.h"

// The proxy settings: host, port, login and password.
class ProxyWidget : public BasicWindow
{
    Q_OBJECT

public:
    explicit ProxyWidget(QWindow *parent = nullptr);

protected:
    void init() override;
};

#endif // PROXYWIDGET_H
