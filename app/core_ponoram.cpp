// Panorama routes, run by the window part.

#include "core.h"

SurfacePonoramScreen *Core::surfacePonoramScreen()
{
    return windows()->surfacePonoramScreen();
}

void Core::ponoramScreen()
{
    windows()->ponoramScreen();
}

void Core::ponoramUpload()
{
    windows()->ponoramUpload();
}

EditPonoramWidget *Core::editPonoramWidget() const
{
    return m_windows ? m_windows->editPonoramWidget() : nullptr;
}

void Core::ponoramEdit(const QPixmap &picture)
{
    windows()->ponoramEdit(picture);
}

void Core::deleteEditPonoram()
{
    windows()->deleteEditPonoram();
}
