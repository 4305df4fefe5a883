#include "ponoramrows.h"

#include <QtAlgorithms>

#include <algorithm>
#include <array>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

// A grey level of 0..kLevels - 1 from red + green + blue (0..765) in equal steps.
constexpr quint32 kLevelScale = 21;
constexpr int kLevelShift = 9;
static_assert((765 * kLevelScale >> kLevelShift) == PonoramRows::kLevels - 1, "levels fit planes");

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

// One binary digit of 64 levels, as the bits of a word: where SSE2 is there, 16 levels at a
// time move the digit to their top bit, which one instruction gathers; elsewhere one
// multiplication gathers the digit of eight levels into a byte.
quint64 gatherDigit(const quint8 *levels, int digit)
{
    quint64 word = 0;
#ifdef __SSE2__
    const __m128i toTop = _mm_cvtsi32_si128(7 - digit);
    for (int b = 0; b < 4; ++b) {
        const __m128i sixteen = _mm_load_si128(reinterpret_cast<const __m128i *>(levels) + b);
        word |= quint64(quint16(_mm_movemask_epi8(_mm_sll_epi16(sixteen, toTop)))) << (16 * b);
    }
#else
    for (int b = 0; b < 8; ++b) {
        quint64 eight;
        std::memcpy(&eight, levels + 8 * b, sizeof(eight));
        const quint64 digits = (eight >> digit) & 0x0101010101010101ull;
        word |= ((digits * 0x0102040810204080ull) >> 56) << (8 * b);
    }
#endif
    return word;
}

} // namespace

PonoramRows::PonoramRows(int width)
    : m_width(qMax(0, width))
    , m_words((m_width + 63) / 64)
    , m_stride(m_words * kPlanes)
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
    std::memcpy(m_bits.data() + qsizetype(at) * m_stride, other.bits(first),
        sizeof(quint64) * m_stride * count);
}

void PonoramRows::resizeRows(int rows)
{
    m_bits.resize(qsizetype(rows) * m_stride);
    m_rows = rows;
}

// Levels first, then bits: the levels of a whole word's pixels come without a dependency
// between pixels, which the compiler turns into vector instructions.
void PonoramRows::keyRow(int row, const QRgb *pixels)
{
    quint64 *words = m_bits.data() + qsizetype(row) * m_stride;
    alignas(16) std::array<quint8, 64> levels;
    for (int w = 0; w < m_words; ++w) {
        const QRgb *chunk = pixels + w * 64;
        const int count = std::min(64, m_width - w * 64);
        if (count < 64)
            levels.fill(0);
        for (int x = 0; x < count; ++x) {
            const QRgb p = chunk[x];
            levels[x] = quint8(
                (((p >> 16) & 0xff) + ((p >> 8) & 0xff) + (p & 0xff)) * kLevelScale >> kLevelShift);
        }
        for (int plane = 0; plane < kPlanes; ++plane)
            words[plane * m_words + w] = gatherDigit(levels.data(), plane);
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
    quint64 *columns = changed.data();
    for (qsizetype line = 0; line < m_bits.size(); line += m_words) {
        for (int w = 0; w < m_words; ++w)
            columns[w] |= mine[line + w] ^ theirs[line + w];
    }
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
    for (int plane = 0; plane < kPlanes; ++plane, mine += m_words, theirs += m_words) {
        for (int w = 0; w < m_words; ++w) {
            if ((mine[w] ^ theirs[w]) & columns[w])
                return false;
        }
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
