#ifndef PONORAMROWS_H
#define PONORAMROWS_H

#include <QImage>
#include <QVector>

// The rows of a picture, binarised once (a pixel is set when red + green + blue exceeds 381)
// and kept as packed bits with a hash per row, so that finding a strip of one picture in
// another compares a few words per row instead of every pixel again on every tick.
//
// Rows are compared over all columns; where that finds nothing, over all but the right margin,
// where a scroll bar moves with the document while the content beside it only shifts.
class PonoramRows
{
public:
    // Columns left out of the second comparison, and the width below which there is none.
    static constexpr int kScrollBarMargin = 32;
    static constexpr int kNarrowFromWidth = 4 * kScrollBarMargin;

    explicit PonoramRows(int width = 0);

    int width() const { return m_width; }
    int rowCount() const { return m_fullHash.size(); }
    bool hasNarrowColumns() const { return m_width >= kNarrowFromWidth; }

    // Every row of a 32-bit picture (RGB32 or ARGB32; alpha is ignored).
    static PonoramRows fromImage(const QImage &picture);
    // count rows of other from row first on, written over this object's rows from row at on;
    // rows beyond the end are added. other must have this object's width.
    void copyRows(int at, const PonoramRows &other, int first, int count);

    // Whether row a of this object and row b of other hold the same bits over all columns, or
    // over all but the right margin when narrow.
    bool sameRow(int a, const PonoramRows &other, int b, bool narrow) const;
    // 1 when every bit of the row is set, 0 when none is, -1 for a mixed row (over the narrow
    // columns when narrow).
    int uniformBit(int row, bool narrow) const;

    // The smallest row p >= from at which count rows of strip, starting at strip row first,
    // lie in this object, compared over all columns, else over the narrow ones; -1 when there
    // is none, when the widths differ or when count is not positive.
    int indexOf(const PonoramRows &strip, int first, int count, int from) const;

private:
    int indexOf(const PonoramRows &strip, int first, int count, int from, bool narrow) const;
    const quint64 *bits(int row) const { return m_bits.constData() + qsizetype(row) * m_words; }
    void resizeRows(int rows);
    void keyRow(int row, const QRgb *pixels);

    int m_width = 0;
    int m_words = 0;
    // The last word of a row masked to the narrow columns, and the number of whole words
    // before it.
    int m_narrowWords = 0;
    quint64 m_narrowMask = 0;
    quint64 m_lastMask = 0;
    QVector<quint64> m_bits;
    QVector<quint64> m_fullHash;
    QVector<quint64> m_narrowHash;
};

#endif // PONORAMROWS_H
