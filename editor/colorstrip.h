#ifndef COLORSTRIP_H
#define COLORSTRIP_H

#include <QColor>

// The colour strip of the tool bar: a colour is remembered by its x on the strip, so that the
// tool bar's slider and a shape's colour stay in step across undo and redo.
namespace ColorStrip {
QColor colorFromX(int x);
}

#endif // COLORSTRIP_H
