#ifndef LASTUPLOADWIDGET_H
#define LASTUPLOADWIDGET_H

#include "basicwindow.h"

#include <QTimer>

// The window that follows a finished upload, with the link. It hides itself 10 s after it was
// last shown.
class LastUploadWidget : public BasicWindow
{
    Q_OBJECT

public:
    static constexpr int kShownMs = 10000;

    explicit LastUploadWidget(QWindow *parent = nullptr);

    void show() override;

protected:
    void init() override;

private:
    QTimer m_hideTimer {this};
};

#endif // LASTUPLOADWIDGET_H
