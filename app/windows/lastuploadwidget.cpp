#include "lastuploadwidget.h"

LastUploadWidget::LastUploadWidget(QWindow *parent)
    : BasicWindow(parent)
{
    m_hideTimer.setObjectName(QStringLiteral("hideTimer"));
    m_hideTimer.setSingleShot(true);
    // A coarse timer may round a restart half a second after the first start to the same
    // moment, and the window would not get its time back.
    m_hideTimer.setTimerType(Qt::PreciseTimer);
    setupUi();
}

void LastUploadWidget::init()
{
    setTitleWithUser(tr("Upload"));
    setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setObjectName(QStringLiteral("LastUploadWidget"));
    loadPage(QStringLiteral("LastUploadPage.qml"));
    connect(&m_hideTimer, &QTimer::timeout, this, &BasicWindow::hide);
}

// Every new link gets its full ten seconds.
void LastUploadWidget::show()
{
    m_hideTimer.stop();
    m_hideTimer.start(kShownMs);
    BasicWindow::show();
}
