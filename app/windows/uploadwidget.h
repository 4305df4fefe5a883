#ifndef UPLOADWIDGET_H
#define UPLOADWIDGET_H

#include "basicwindow.h"

// The running uploads with their progress, in the bottom-right corner. Its page grows upwards
// with the list.
class UploadWidget : public BasicWindow
{
    Q_OBJECT

public:
    explicit UploadWidget(QWindow *parent = nullptr);

protected:
    void init() override;
};

#endif // UPLOADWIDGET_H
