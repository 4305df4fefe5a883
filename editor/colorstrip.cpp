#include "colorstrip.h"

#include <QImage>

namespace ColorStrip {

QColor colorFromX(int x)
{
    // Loaded once: the colour of every shape change is read from it.
    static const QImage strip(QStringLiteral(":/component/image/component/color_line_big.png"));
    if (strip.isNull())
        return QColor();
    // The strip's drawn colours start 7 pixels in, behind its rounded end.
    const int column = qBound(0, x + 7, strip.width() - 1);
    return strip.pixelColor(column, qMin(5, strip.height() - 1));
}

} // namespace ColorStrip
