#ifndef SETTINGWIDGET_H
#define SETTINGWIDGET_H

#include "basicwindow.h"

// The settings window. It opens a little above the middle of the screen, and once the user has
// dragged it, it stays where it was put.
class SettingWidget : public BasicWindow
{
    Q_OBJECT

public:
    // How far the window's top edge opens above the middle of the available area.
    static constexpr int kTopAboveMiddle = 315;

    explicit SettingWidget(QWindow *parent = nullptr);

    void show() override;
    void setHeight(int height) override;

protected:
    void init() override;
};

#endif // SETTINGWIDGET_H
