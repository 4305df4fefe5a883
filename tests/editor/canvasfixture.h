#ifndef CANVASFIXTURE_H
#define CANVASFIXTURE_H

#include "graphmodule.h"
#include "kpainterarea.h"
#include "serviceaddress.h"
#include "standinservice.h"

#include <QImage>
#include <QQuickWindow>
#include <QtTest>
#include <memory>

inline QImage plainPicture(const QSize &size, const QColor &color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

// A canvas in a window of its own, driven with the mouse like a user does. The canvas sits
// away from the window's origin, so a tool that mixes up window and canvas points shows.
class CanvasFixture
{
public:
    // The tools report their use; those reports must reach the local stand-in, never an
    // outside host. Once per test program.
    bool startService()
    {
        if (!m_service.start())
            return false;
        ServiceAddress::setFixedHost(m_service.httpHost());
        return true;
    }
    StandinService &service() { return m_service; }

    // An invalid colour or a width of 0 keeps what the canvas chose itself.
    bool open(const QImage &background, const QColor &color = QColor(), int lineWidth = 0,
        const QPointF &position = QPointF(30, 20))
    {
        close();
        m_window = std::make_unique<QQuickWindow>();
        m_window->resize(640, 480);
        m_area = new KPainterArea(m_window->contentItem());
        m_area->setPosition(position);
        m_area->setSize(background.size());
        m_area->setBackground(background);
        m_pictureSize = background.size();
        if (color.isValid())
            m_area->setCurrentColor(color);
        if (lineWidth > 0)
            m_area->setCurrentLineWidth(lineWidth);
        m_window->show();
        return QTest::qWaitForWindowExposed(m_window.get(), 5000);
    }

    void close()
    {
        m_area = nullptr;
        m_window.reset();
    }

    QQuickWindow *window() const { return m_window.get(); }
    KPainterArea *area() const { return m_area; }

    QPoint onWindow(const QPointF &canvasPoint) const
    {
        return m_area->mapToScene(canvasPoint).toPoint();
    }

    // Choosing the current tool again puts it down, so a tool that is already current is
    // left alone.
    void choose(const QString &tool) const
    {
        if (m_area->currentModule() != tool)
            m_area->setCurrentModule(tool);
    }

    // Presses at the first point, moves through the others and releases at the last, with
    // the same keys held all along.
    void drag(const QList<QPoint> &path, Qt::KeyboardModifiers keys = Qt::NoModifier) const
    {
        QQuickWindow *target = window();
        QTest::mousePress(target, Qt::LeftButton, keys, onWindow(path.first()));
        for (int i = 1; i < path.size(); ++i)
            QTest::mouseEvent(QTest::MouseMove, target, Qt::NoButton, keys, onWindow(path.at(i)));
        QTest::mouseRelease(target, Qt::LeftButton, keys, onWindow(path.last()));
    }

    // The shape that the tool stored last, or null.
    template <typename T> T *lastStored(const QString &tool) const
    {
        const auto stored = m_area->moduleFromName(tool)->storage();
        return stored.isEmpty() ? nullptr : qobject_cast<T *>(stored.last());
    }

    // The whole picture with the shapes as the output gets it.
    QImage output() const
    {
        return m_area->renderRect(QRect(QPoint(), m_pictureSize), 50000, false);
    }

private:
    StandinService m_service;
    std::unique_ptr<QQuickWindow> m_window;
    KPainterArea *m_area = nullptr;
    QSize m_pictureSize;
};

#endif // CANVASFIXTURE_H
