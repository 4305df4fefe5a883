// A window that shows a tall document of known rows and scrolls it by 40 rows per wheel
// notch: the scrolled document a panorama test captures on a real X server, with columns at
// its left that never scroll and a blank stretch in the document.
//   kuvo_tallpicture <x> <y> <width> <height> <document rows> <fixed columns>
//                    <blank stretch's first row> <its rows>
// Prints "ready <x> <y> <width> <height>" (the drawn area on the desktop) once it is shown.

#include "scrollingdocument.h"

#include <QGuiApplication>
#include <QPainter>
#include <QRasterWindow>
#include <QWheelEvent>

#include <cstdio>

namespace {

class TallPicture : public QRasterWindow
{
public:
    explicit TallPicture(const ScrollingDocument::Options &options)
        : m_document(options)
    {
        setFlags(Qt::Window | Qt::FramelessWindowHint);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.drawImage(0, 0, m_document.window());
    }

    void wheelEvent(QWheelEvent *event) override
    {
        m_document.scrollBy(-40 * event->angleDelta().y() / 120);
        update();
    }

    void exposeEvent(QExposeEvent *event) override
    {
        QRasterWindow::exposeEvent(event);
        if (isExposed() && !m_announced) {
            m_announced = true;
            const QPoint origin = mapToGlobal(QPoint(0, 0));
            std::printf("ready %d %d %d %d\n", origin.x(), origin.y(), width(), height());
            std::fflush(stdout);
        }
    }

private:
    ScrollingDocument m_document;
    bool m_announced = false;
};

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 9)
        return 2;
    ScrollingDocument::Options options;
    options.width = QByteArray(argv[3]).toInt();
    options.windowRows = QByteArray(argv[4]).toInt();
    options.documentRows = QByteArray(argv[5]).toInt();
    options.fixedColumns = QByteArray(argv[6]).toInt();
    options.blankStretches = {{QByteArray(argv[7]).toInt(), QByteArray(argv[8]).toInt()}};
    TallPicture window(options);
    window.setGeometry(QByteArray(argv[1]).toInt(), QByteArray(argv[2]).toInt(), options.width,
        options.windowRows);
    window.show();
    return app.exec();
}
