#include "ponoramrows.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr quint32 kThreshold = 381;

quint64 mix(quint64 hash, quint64 word)
{
    hash ^= word * 0x9e3779b97f4a7c15ull;
    hash = (hash << 31) | (hash >> 33);
    return hash * 0xbf58476d1ce4e5b9ull;
}

quint64 lowBits(int count)
{
    return count >= 64 ? ~0ull : (1ull << count) - 1;
}

} // namespace

PonoramRows::PonoramRows(int width)
    : m_width(qMax(0, width))
    , m_words((m_width + 63) / 64)
    , m_lastMask(m_width % 64 ? lowBits(m_width % 64) : ~0ull)
{
    const int narrow = qMax(0, m_width - kScrollBarMargin);
    m_narrowWords = narrow / 64;
    m_narrowMask = lowBits(narrow % 64);
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
    std::copy_n(other.m_fullHash.constData() + first, count, m_fullHash.data() + at);
    std::copy_n(other.m_narrowHash.constData() + first, count, m_narrowHash.data() + at);
}

void PonoramRows::resizeRows(int rows)
{
    m_bits.resize(qsizetype(rows) * m_words);
    m_fullHash.resize(rows);
    m_narrowHash.resize(rows);
}

// Flags first, then bits: the comparison runs over a whole row without a dependency between
// pixels, which the compiler turns into vector instructions.
void PonoramRows::keyRow(int row, const QRgb *pixels)
{
    quint64 *words = m_bits.data() + qsizetype(row) * m_words;
    std::array<quint8, 64> flags;
    for (int w = 0; w < m_words; ++w) {
        const int begin = w * 64;
        const int end = std::min(begin + 64, m_width);
        flags.fill(0);
        for (int x = begin; x < end; ++x) {
            const QRgb p = pixels[x];
            flags[x - begin] = ((p >> 16) & 0xff) + ((p >> 8) & 0xff) + (p & 0xff) > kThreshold;
        }
        quint64 word = 0;
        for (int j = 0; j < 64; ++j)
            word |= quint64(flags[j]) << j;
        words[w] = word;
    }
    quint64 full = 0;
    quint64 narrow = 0;
    for (int w = 0; w < m_words; ++w) {
        full = mix(full, words[w]);
        if (w < m_narrowWords)
            narrow = mix(narrow, words[w]);
        else if (w == m_narrowWords)
            narrow = mix(narrow, words[w] & m_narrowMask);
    }
    m_fullHash[row] = full;
    m_narrowHash[row] = narrow;
}

bool PonoramRows::sameRow(int a, const PonoramRows &other, int b, bool narrow) const
{
    const QVector<quint64> &hashes = narrow ? m_narrowHash : m_fullHash;
    const QVector<quint64> &otherHashes = narrow ? other.m_narrowHash : other.m_fullHash;
    if (hashes.at(a) != otherHashes.at(b))
        return false;
    const quint64 *mine = bits(a);
    const quint64 *theirs = other.bits(b);
    if (!narrow)
        return std::memcmp(mine, theirs, sizeof(quint64) * m_words) == 0;
    if (std::memcmp(mine, theirs, sizeof(quint64) * m_narrowWords) != 0)
        return false;
    return m_narrowWords == m_words
        || ((mine[m_narrowWords] ^ theirs[m_narrowWords]) & m_narrowMask) == 0;
}

int PonoramRows::uniformBit(int row, bool narrow) const
{
    const quint64 *words = bits(row);
    const int whole = narrow ? m_narrowWords : m_words - 1;
    const quint64 lastMask = narrow ? m_narrowMask : m_lastMask;
    const quint64 last = whole < m_words ? words[whole] & lastMask : 0;
    bool allClear = last == 0;
    bool allSet = last == lastMask;
    for (int w = 0; w < whole && (allClear || allSet); ++w) {
        allClear = allClear && words[w] == 0;
        allSet = allSet && words[w] == ~0ull;
    }
    return allSet ? 1 : allClear ? 0 : -1;
}

int PonoramRows::indexOf(const PonoramRows &strip, int first, int count, int from) const
{
    if (strip.m_width != m_width || m_width == 0 || count <= 0 || first < 0
        || first + count > strip.rowCount())
        return -1;
    const int found = indexOf(strip, first, count, from, false);
    if (found >= 0 || !hasNarrowColumns())
        return found;
    return indexOf(strip, first, count, from, true);
}

int PonoramRows::indexOf(
    const PonoramRows &strip, int first, int count, int from, bool narrow) const
{
    const QVector<quint64> &hashes = narrow ? m_narrowHash : m_fullHash;
    const quint64 head = (narrow ? strip.m_narrowHash : strip.m_fullHash).at(first);
    for (int p = qMax(0, from); p <= rowCount() - count; ++p) {
        if (hashes.at(p) != head)
            continue;
        int i = 0;
        while (i < count && sameRow(p + i, strip, first + i, narrow))
            ++i;
        if (i == count)
            return p;
    }
    return -1;
}
