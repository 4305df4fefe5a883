#ifndef FONTWINDOW_H
#define FONTWINDOW_H

#include "basicwindow.h"

// A sample of the interface font, drawn by Qt and by the platform, for checking how the
// bundled font looks on a desktop.
class FontWindow : public BasicWindow
{
    Q_OBJECT

public:
    explicit FontWindow(QWindow *parent = nullptr);

protected:
    void init() override;
};

#endif // FONTWINDOW_H
