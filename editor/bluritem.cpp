#include "bluritem.h"

#include "kpainterarea.h"

#include <QPainter>
#include <QPainterPathStroker>
#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr int kMargin = 5;

// One step of the running average of a channel; acc holds the channel times 16. The factor is a
// constant of the instance, so the compiler turns the product into shifts it can vectorise.
template <int A> inline int blend(int acc, int channel)
{
    return acc + ((channel * 16 - acc) * A) / 16;
}

// Rows are walked a few at a time, so that the running averages of several rows, which do not
// depend on each other, are computed side by side.
template <int A> void blurRows(QImage &image, bool leftToRight)
{
    constexpr int kBlock = 8;
    const int w = image.width();
    const int first = leftToRight ? 0 : w - 1;
    const int step = leftToRight ? 1 : -1;
    for (int top = 0; top < image.height(); top += kBlock) {
        const int rows = std::min(kBlock, image.height() - top);
        uchar *lines[kBlock];
        int acc[kBlock][4];
        for (int r = 0; r < rows; ++r) {
            lines[r] = image.scanLine(top + r);
            for (int c = 0; c < 4; ++c)
                acc[r][c] = lines[r][first * 4 + c] * 16;
        }
        for (int x = first + step; x >= 0 && x < w; x += step) {
            for (int r = 0; r < rows; ++r) {
                uchar *p = lines[r] + x * 4;
                for (int c = 0; c < 4; ++c) {
                    acc[r][c] = blend<A>(acc[r][c], p[c]);
                    p[c] = uchar(acc[r][c] >> 4);
                }
            }
        }
    }
}

// The columns are walked a whole row at a time, one accumulator per column and channel, so
// that a 4K picture is read along its lines instead of across them.
template <int A> void blurColumns(QImage &image, bool topToBottom)
{
    const int h = image.height();
    const int bytes = image.width() * 4;
    const int first = topToBottom ? 0 : h - 1;
    const int step = topToBottom ? 1 : -1;
    std::vector<int> acc(static_cast<size_t>(bytes));
    const uchar *start = image.constScanLine(first);
    for (int i = 0; i < bytes; ++i)
        acc[static_cast<size_t>(i)] = start[i] * 16;
    for (int y = first + step; y >= 0 && y < h; y += step) {
        uchar *line = image.scanLine(y);
        for (int i = 0; i < bytes; ++i) {
            acc[static_cast<size_t>(i)] = blend<A>(acc[static_cast<size_t>(i)], line[i]);
            line[i] = uchar(acc[static_cast<size_t>(i)] >> 4);
        }
    }
}

template <int A> void blurAll(QImage &image)
{
    blurColumns<A>(image, true);
    blurRows<A>(image, true);
    blurColumns<A>(image, false);
    blurRows<A>(image, false);
}

template <int... A> void blurWith(QImage &image, int a, std::integer_sequence<int, A...>)
{
    using Pass = void (*)(QImage &);
    static const Pass passes[] = {&blurAll<A>...};
    passes[a](image);
}

} // namespace

BlurItem::BlurItem(QQuickItem *parent)
    : RectItem(parent)
{
    setName(QStringLiteral("Blur"));
    // Every blur keeps the one z under the other shapes.
    setUpToZ(false);
    connect(this, &AbstractGraphItem::lineWidthChanged, this, &BlurItem::radiusChange);
}

void BlurItem::radiusChange(int radius)
{
    m_radius = radius;
    update();
}

void BlurItem::setGeometry(const QRectF &r)
{
    setBoxGeometry(r.normalized().adjusted(-kMargin, -kMargin, kMargin, kMargin));
}

// The box is the rectangle and a fixed margin, not the line width that RectItem's rule adds.
void BlurItem::rescale(double f)
{
    const QRectF r = rectangle();
    setRectangle(QRectF(r.topLeft() * f, r.size() * f));
}

int BlurItem::filterFactor(int radius)
{
    static const int table[] = {14, 10, 8, 6, 5, 5, 4, 3, 3, 3, 3, 2, 2, 2, 2, 2, 2};
    if (radius <= 0)
        return 16;
    if (radius >= 18)
        return 1;
    return table[radius - 1];
}

void BlurItem::blurImage(QImage &image, int radius)
{
    if (image.isNull())
        return;
    if (image.format() != QImage::Format_ARGB32)
        image = image.convertToFormat(QImage::Format_ARGB32);
    // Factors 0 to 16; 0 never comes out of the table.
    blurWith(image, filterFactor(radius), std::make_integer_sequence<int, 17>());
}

QRect BlurItem::sourceRect() const
{
    const QRectF r = rectangle().normalized();
    const QRect whole(QPoint(qRound(r.left()), qRound(r.top())),
        QPoint(qRound(r.right()) - 1, qRound(r.bottom()) - 1));
    // Beyond the canvas there is nothing to hide; blurring that emptiness in would let the
    // picture show through the edge of the blur.
    const QRect canvas(0, 0, int(paintScene()->width()), int(paintScene()->height()));
    return canvas.isEmpty() ? whole : whole.intersected(canvas);
}

void BlurItem::paint(QPainter *painter)
{
    if (!paintScene())
        return;
    const QRect source = sourceRect();
    QImage image = paintScene()->renderRect(source, z(), false, true);
    if (!image.isNull()) {
        blurImage(image, m_radius);
        painter->drawImage(QPointF(source.x() - x(), source.y() - y()), image);
    }
    AbstractGraphItem::paint(painter);
}

QPainterPath BlurItem::shape() const
{
    QPainterPath frame;
    const QRectF r = rectangle().normalized();
    frame.addRect(QRectF(QPointF(kMargin, kMargin), r.size()));
    QPainterPathStroker stroker;
    stroker.setWidth(5);
    QPainterPath path = stroker.createStroke(frame);
    for (const QPointF &k : keyPositions()) {
        QPainterPath handle;
        handle.addEllipse(k, 5, 5);
        path = path.united(handle);
    }
    return path;
}
