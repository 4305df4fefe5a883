#pragma once

#include <QColor>
#include <QImage>
#include <QQuickItem>
#include <QQuickWindow>
#include <QScreen>
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

// Whether two pictures of one size differ by at most tolerance in any channel of any pixel:
// what a window shows on screen and what it was asked to draw go through different rounding.
inline bool samePicture(const QImage &a, const QImage &b, int tolerance)
{
    if (a.size() != b.size())
        return false;
    const QImage left = a.convertToFormat(QImage::Format_ARGB32);
    const QImage right = b.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < left.height(); ++y) {
        const auto *p = reinterpret_cast<const QRgb *>(left.constScanLine(y));
        const auto *q = reinterpret_cast<const QRgb *>(right.constScanLine(y));
        for (int x = 0; x < left.width(); ++x) {
            if (qAbs(qRed(p[x]) - qRed(q[x])) > tolerance
                || qAbs(qGreen(p[x]) - qGreen(q[x])) > tolerance
                || qAbs(qBlue(p[x]) - qBlue(q[x])) > tolerance
                || qAbs(qAlpha(p[x]) - qAlpha(q[x])) > tolerance)
                return false;
        }
    }
    return true;
}

// What a window shows: the software scene draws into the window's backing store, which the
// screen hands out where the window cannot render itself again.
inline QImage shownPicture(QQuickWindow *window)
{
    const QImage shown = window->grabWindow();
    return shown.isNull() ? window->screen()->grabWindow(window->winId()).toImage() : shown;
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
