#pragma once

#include <QColor>
#include <QImage>
#include <QQuickItem>
#include <QStringList>
#include <QtGlobal>

// Small helpers of the tests that show QML pages.

// A picture whose pixels all differ, so any shift between a grab, the canvas and the output
// shows in a compared pixel.
inline QImage uniquePicture(QSize size)
{
    // The high bits of both coordinates go into blue, so pictures up to 4K wide and tall keep
    // every channel in range and no two nearby blocks of 256 pixels look alike.
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = qRgb(x & 0xff, y & 0xff, ((x >> 8) * 0x20 + (y >> 8) * 0x08) & 0xff);
    }
    return image;
}

// Items made by a Repeater hang from their parent item only, so the search walks the scene.
inline QQuickItem *findSceneItem(QQuickItem *from, const QString &name)
{
    for (QQuickItem *child : from->childItems()) {
        if (child->objectName() == name)
            return child;
        if (QQuickItem *found = findSceneItem(child, name))
            return found;
    }
    return nullptr;
}

// Every warning Qt and QML printed while keepWarnings was the message handler; a page under
// test must cause none.
inline QStringList &pageWarnings()
{
    static QStringList warnings;
    return warnings;
}

inline void keepWarnings(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    // The offscreen platform says so when a window asks for what it cannot do (raise, masks).
    const bool platformNotice = text.startsWith(QLatin1String("This plugin does not support"));
    if (type != QtDebugMsg && type != QtInfoMsg && !platformNotice)
        pageWarnings() << text;
}
