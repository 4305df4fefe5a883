#include "settingwidget.h"

SettingWidget::SettingWidget(QWindow *parent)
    : BasicWindow(parent)
{
    setupUi();
    setPosCenter(false);
}

void SettingWidget::init()
{
    setTitleWithUser(tr("Settings"));
    setFlags(Qt::Window | Qt::FramelessWindowHint);
    setObjectName(QStringLiteral("SettingWidget"));
    loadPage(QStringLiteral("SettingPage.qml"));
    setMoviable(true);
}

void SettingWidget::show()
{
    if (!isMoved()) {
        const QRect area = availableArea();
        const int x = area.x() + area.width() / 2 - width() / 2;
        const int y = area.y() + area.height() / 2 - kTopAboveMiddle;
        move(qMax(x, area.x()), qMax(y, area.y()));
    }
    emit showed();
    QQuickView::show();
}

// The window keeps its place when its page grows or shrinks: only the base window moves to
// its corner then.
void SettingWidget::setHeight(int height)
{
    if (height == this->height())
        return;
    setMinimumHeight(height);
    setMaximumHeight(height);
    resize(width(), height);
    update();
}
