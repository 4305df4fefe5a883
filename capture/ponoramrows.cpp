#include "ponoramrows.h"

#include <QtAlgorithms>

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr quint32 kThreshold = 381;

quint64 lowBits(int count)
{
    return count >= 64 ? ~0ull : (1ull << count) - 1;
}

int columnCount(const PonoramRows::Columns &columns)
{
    int count = 0;
    for (quint64 word : columns)
        count += qPopulationCount(word);
    return count;
}

} // namespace

PonoramRows::PonoramRows(int width)
    : m_width(qMax(0, width))
    , m_words((m_width + 63) / 64)
{
}

PonoramRows PonoramRows::fromImage(const QImage &picture)
{
    Q_ASSERT(picture.isNull() || picture.depth() == 32);
    PonoramRows rows(picture.width());
    rows.resizeRows(picture.height());
    for (int y = 0; y < picture.height(); ++y)
        rows.keyRow(y, reinterpret_cast<const QRgb *>(picture.constScanLine(y)));
    return rows;
}

void PonoramRows::copyRows(int at, const PonoramRows &other, int first, int count)
{
    Q_ASSERT(other.m_width == m_width && first + count <= other.rowCount());
    if (count <= 0)
        return;
    if (at + count > rowCount())
        resizeRows(at + count);
    std::memcpy(m_bits.data() + qsizetype(at) * m_words, other.bits(first),
        sizeof(quint64) * m_words * count);
}

void PonoramRows::resizeRows(int rows)
{
    m_bits.resize(qsizetype(rows) * m_words);
    m_rows = rows;
}

// Flags first, then bits: the comparison runs over a whole row without a dependency between
// pixels, which the compiler turns into vector instructions, and one multiplication gathers
// eight flags into a byte.
void PonoramRows::keyRow(int row, const QRgb *pixels)
{
    quint64 *words = m_bits.data() + qsizetype(row) * m_words;
    alignas(8) std::array<quint8, 64> flags;
    for (int w = 0; w < m_words; ++w) {
        const QRgb *chunk = pixels + w * 64;
        const int count = std::min(64, m_width - w * 64);
        if (count < 64)
            flags.fill(0);
        for (int x = 0; x < count; ++x) {
            const QRgb p = chunk[x];
            flags[x] = ((p >> 16) & 0xff) + ((p >> 8) & 0xff) + (p & 0xff) > kThreshold;
        }
        quint64 word = 0;
        for (int b = 0; b < 8; ++b) {
            quint64 eight;
            std::memcpy(&eight, flags.data() + 8 * b, sizeof(eight));
            word |= ((eight * 0x0102040810204080ull) >> 56) << (8 * b);
        }
        words[w] = word;
    }
}

PonoramRows::Columns PonoramRows::allColumns() const
{
    Columns columns(m_words, ~0ull);
    if (m_width % 64)
        columns.last() = lowBits(m_width % 64);
    return columns;
}

PonoramRows::Columns PonoramRows::changedColumns(const PonoramRows &other) const
{
    Columns changed = noColumns();
    if (other.m_width != m_width || other.m_rows != m_rows)
        return changed;
    const quint64 *mine = m_bits.constData();
    const quint64 *theirs = other.m_bits.constData();
    for (qsizetype i = 0; i < m_bits.size(); ++i)
        changed[int(i % m_words)] |= mine[i] ^ theirs[i];
    return changed;
}

PonoramRows::Columns PonoramRows::narrowed(const Columns &columns)
{
    if (columnCount(columns) < kNarrowFromWidth)
        return Columns(columns.size(), 0);
    Columns narrow = columns;
    int left = kScrollBarMargin;
    for (int w = narrow.size() - 1; w >= 0 && left > 0; --w) {
        for (; narrow[w] && left > 0; --left)
            narrow[w] &= ~(1ull << (63 - qCountLeadingZeroBits(narrow[w])));
    }
    return narrow;
}

bool PonoramRows::sameRow(int a, const PonoramRows &other, int b, const Columns &columns) const
{
    const quint64 *mine = bits(a);
    const quint64 *theirs = other.bits(b);
    for (int w = 0; w < m_words; ++w) {
        if ((mine[w] ^ theirs[w]) & columns[w])
            return false;
    }
    return true;
}

int PonoramRows::indexOf(const PonoramRows &strip, int first, int count, int from) const
{
    return indexOf(strip, first, count, from, allColumns());
}

int PonoramRows::indexOf(
    const PonoramRows &strip, int first, int count, int from, const Columns &columns) const
{
    if (strip.m_width != m_width || m_width == 0 || count <= 0 || first < 0
        || first + count > strip.rowCount() || columns.size() != m_words)
        return -1;
    const int found = search(strip, first, count, from, columns);
    if (found >= 0)
        return found;
    const Columns narrow = narrowed(columns);
    return columnCount(narrow) > 0 ? search(strip, first, count, from, narrow) : -1;
}

// The strip's last row first: a strip that ends where a blank stretch does differs from the
// other places of the stretch in that row alone.
int PonoramRows::search(
    const PonoramRows &strip, int first, int count, int from, const Columns &columns) const
{
    const int last = count - 1;
    for (int p = qMax(0, from); p <= rowCount() - count; ++p) {
        if (!sameRow(p + last, strip, first + last, columns))
            continue;
        int i = 0;
        while (i < last && sameRow(p + i, strip, first + i, columns))
            ++i;
        if (i == last)
            return p;
    }
    return -1;
}
