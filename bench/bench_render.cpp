// Rendering a 300 x 300 area of the canvas over a 3840 x 2160 picture with 50 shapes, beside
// painting that area of the picture and the same shapes by hand, in the same run, best of five
// rounds of 200 renders each.

#include "abstractgraphitem.h"
#include "benchsupport.h"
#include "kpainterarea.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

const QSize kPicture(3840, 2160);
const QRect kArea(1700, 900, 300, 300);
const int kShapes = 50;
const int kRenders = 200;
const int kRounds = 5;

// A shape that strokes and fills its box, as the rectangle tool's shapes do.
class BenchShape : public AbstractGraphItem
{
public:
    using AbstractGraphItem::AbstractGraphItem;
    void paint(QPainter *painter) override
    {
        setupPainter(painter);
        painter->drawRect(QRectF(5, 5, width() - 10, height() - 10));
    }
};

QList<BenchShape *> addShapes(KPainterArea *area)
{
    QList<BenchShape *> shapes;
    QRandomGenerator random(11);
    for (int i = 0; i < kShapes; ++i) {
        auto *shape = new BenchShape(area);
        // Half the shapes lie over the rendered area, half elsewhere on the picture.
        const QRect around
            = i % 2 ? kArea.adjusted(-200, -200, 200, 200) : QRect(QPoint(), kPicture);
        shape->setPosition(QPointF(around.x() + random.bounded(around.width() - 200),
            around.y() + random.bounded(around.height() - 200)));
        shape->setSize(QSizeF(40 + random.bounded(160), 40 + random.bounded(160)));
        shape->setColor(QColor::fromHsv(random.bounded(360), 200, 220));
        shape->setLineWidth(1 + random.bounded(8));
        shape->setFill(i % 3 == 0);
        shape->setZ(area->getLastZ());
        shapes.append(shape);
    }
    return shapes;
}

QImage byHand(const QImage &picture, const QList<BenchShape *> &shapes)
{
    QImage out = picture.copy(kArea).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&out);
    for (BenchShape *shape : shapes) {
        const QRect bounds(
            int(shape->x()), int(shape->y()), int(shape->width()), int(shape->height()));
        if (!bounds.intersects(kArea))
            continue;
        painter.save();
        painter.translate(shape->x() - kArea.x(), shape->y() - kArea.y());
        painter.setClipRect(QRectF(0, 0, shape->width(), shape->height()));
        shape->paint(&painter);
        painter.restore();
    }
    return out;
}

template <typename Work> double bestMsPerRender(Work work)
{
    double best = 1e18;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        qint64 sink = 0;
        for (int i = 0; i < kRenders; ++i)
            sink += work().width();
        best = std::min(best, timer.nsecsElapsed() / 1e6 / kRenders);
        if (sink != qint64(kRenders) * kArea.width())
            return -1;
    }
    return best;
}

} // namespace

int main(int argc, char *argv[])
{
    preferOffscreen();
    // The canvas reads its colour and width from the settings store: give it a home of its
    // own, so a benchmark run leaves the user's settings alone.
    QTemporaryDir home;
    useTemporaryHome(home);
    QGuiApplication app(argc, argv);
    const QImage picture = noisePicture(kPicture);
    KPainterArea area;
    area.setSize(QSizeF(kPicture));
    area.setBackground(picture);
    const QList<BenchShape *> shapes = addShapes(&area);

    const double canvas = bestMsPerRender([&] { return area.renderRect(kArea, 50000, true); });
    const double hand = bestMsPerRender([&] { return byHand(picture, shapes); });
    std::printf("render_rect_300px_4k_50_shapes: %.3f ms\n", canvas);
    std::printf("render_by_hand_300px_4k_50_shapes: %.3f ms\n", hand);
    std::printf("render_rect_over_by_hand: %.2f x\n", canvas / hand);
    return canvas < 0 || hand < 0 ? 1 : 0;
}
