// A program that links the window part in takes it straight from the entry.

#include "windows.h"
#include "windowset.h"

Windows *openWindows(Core *core)
{
    return kuvoWindows(core);
}
