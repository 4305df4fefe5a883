#ifndef PONORAMROWS_H
#define PONORAMROWS_H

#include <QImage>
#include <QVector>

// The rows of a picture, keyed once and kept as packed bits, so that finding a strip of one
// picture in another compares a few words per row instead of every pixel again on every tick.
// A pixel's key is its grey level (of red + green + blue) in kLevels steps, kept as one plane
// of bits per binary digit: two pixels whose sums differ by a step (25 of 765, about 3 %) or
// more always differ, so light grey text on white, or dark grey on black, is content as much
// as black on white.
//
// Rows are compared over a set of columns: the ones the document scrolls in, since columns
// beside it that never change (a window border, the desktop) would match only where nothing
// moved. Where that finds nothing, the comparison leaves out the rightmost of those columns,
// where a scroll bar moves with the document while the content beside it only shifts.
class PonoramRows
{
public:
    static constexpr int kPlanes = 5;
    static constexpr int kLevels = 1 << kPlanes;

    // Columns left out of the second comparison, and the number below which there is none.
    static constexpr int kScrollBarMargin = 32;
    static constexpr int kNarrowFromWidth = 4 * kScrollBarMargin;

    // A set of columns: one bit per column, in the words of a row.
    using Columns = QVector<quint64>;

    explicit PonoramRows(int width = 0);

    int width() const { return m_width; }
    int rowCount() const { return m_rows; }

    // Every row of a 32-bit picture (RGB32 or ARGB32; alpha is ignored).
    static PonoramRows fromImage(const QImage &picture);
    // count rows of other from row first on, written over this object's rows from row at on;
    // rows beyond the end are added. other must have this object's width.
    void copyRows(int at, const PonoramRows &other, int first, int count);

    Columns allColumns() const;
    Columns noColumns() const { return Columns(m_words, 0); }
    // The columns in which a row differs from the same row of other; none when the sizes
    // differ.
    Columns changedColumns(const PonoramRows &other) const;
    // columns without the rightmost kScrollBarMargin of them; none when fewer than
    // kNarrowFromWidth are given.
    static Columns narrowed(const Columns &columns);

    // Whether row a of this object and row b of other hold the same bits in columns.
    bool sameRow(int a, const PonoramRows &other, int b, const Columns &columns) const;

    // The smallest row p >= from at which count rows of strip, starting at strip row first,
    // lie in this object, compared over columns, else over narrowed(columns); -1 when there
    // is none, when the widths differ or when count is not positive. Without columns, over
    // all of them.
    int indexOf(const PonoramRows &strip, int first, int count, int from) const;
    int indexOf(
        const PonoramRows &strip, int first, int count, int from, const Columns &columns) const;

private:
    int search(
        const PonoramRows &strip, int first, int count, int from, const Columns &columns) const;
    // A row's planes one after the other, each m_words words.
    const quint64 *bits(int row) const { return m_bits.constData() + qsizetype(row) * m_stride; }
    void resizeRows(int rows);
    void keyRow(int row, const QRgb *pixels);

    int m_width = 0;
    int m_words = 0;
    int m_stride = 0;
    int m_rows = 0;
    QVector<quint64> m_bits;
};

#endif // PONORAMROWS_H
