#ifndef KREGION_H
#define KREGION_H

#include <QList>
#include <QRectF>

// A set of rectangles that never overlap, from which rectangles can be cut. QRegion would do
// the same on whole pixels only, and would merge and reorder the bands it keeps.
class KRegion
{
public:
    KRegion() = default;
    explicit KRegion(const QRectF &rect);

    // Appends rect as it is; the caller keeps the rectangles apart.
    void addRegion(const QRectF &rect);
    QList<QRectF> rects() const { return m_rects; }
    // This region minus cut; the region itself stays as it is.
    KRegion xored(const QRectF &cut) const;

private:
    QList<QRectF> m_rects;
};

#endif // KREGION_H
