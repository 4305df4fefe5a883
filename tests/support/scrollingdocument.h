#pragma once

#include <QImage>
#include <QRandomGenerator>
#include <QRect>
#include <QVector>

#include <algorithm>

// A tall document seen through a window of a fixed size, scrolled by a script: what a
// scrolling capture grabs, and what it should end with. Rows of the document are random pixels
// of ink and paper (near black and near white unless told otherwise), so every row differs
// from every other; blank stretches are paper. Above the document the window may keep a fixed
// header, at its right a scroll bar whose thumb follows the scroll position, and at its left
// columns that never scroll: a dark window border and, beyond it, a still desktop.
class ScrollingDocument
{
public:
    struct Options
    {
        int width = 400;
        int documentRows = 3000;
        int windowRows = 300;
        int headerRows = 0;
        int scrollBarWidth = 0;
        int fixedColumns = 0;
        // Each stretch: first row, row count.
        QVector<QPair<int, int>> blankStretches;
        // Rows that repeat earlier ones, as documents with repeated blocks do: first row, row
        // count, and the row they copy from.
        int repeatAt = 0;
        int repeatRows = 0;
        int repeatFrom = 0;
        quint32 seed = 11;
        QRgb ink = qRgb(20, 20, 20);
        QRgb paper = qRgb(250, 250, 250);
    };

    explicit ScrollingDocument(const Options &options)
        : m_options(options)
        , m_document(contentWidth(), options.documentRows, QImage::Format_RGB32)
        , m_header(options.width, std::max(1, options.headerRows), QImage::Format_RGB32)
        , m_fixed(std::max(1, options.fixedColumns), options.windowRows, QImage::Format_RGB32)
    {
        QRandomGenerator random(options.seed);
        fillNoise(m_document, random, options);
        fillNoise(m_header, random, options);
        fillNoise(m_fixed, random, options);
        for (int y = 0; y < options.windowRows; ++y)
            m_fixed.setPixel(m_fixed.width() - 1, y, qRgb(40, 40, 40));
        for (const auto &stretch : options.blankStretches) {
            for (int y = stretch.first; y < stretch.first + stretch.second; ++y)
                std::fill_n(reinterpret_cast<QRgb *>(m_document.scanLine(y)), contentWidth(),
                    options.paper);
        }
        for (int i = 0; i < options.repeatRows; ++i)
            std::copy_n(
                reinterpret_cast<const QRgb *>(m_document.constScanLine(options.repeatFrom + i)),
                contentWidth(),
                reinterpret_cast<QRgb *>(m_document.scanLine(options.repeatAt + i)));
    }

    int width() const { return m_options.width; }
    int windowRows() const { return m_options.windowRows; }
    int documentRows() const { return m_options.documentRows; }
    int headerRows() const { return m_options.headerRows; }
    int contentLeft() const { return m_options.fixedColumns; }
    int contentWidth() const
    {
        return m_options.width - m_options.scrollBarWidth - m_options.fixedColumns;
    }
    // The rows of the document below the header that the window shows at once.
    int visibleRows() const { return m_options.windowRows - m_options.headerRows; }
    int lastScroll() const { return m_options.documentRows - visibleRows(); }

    void scrollTo(int row) { m_scroll = std::clamp(row, 0, lastScroll()); }
    void scrollBy(int rows) { scrollTo(m_scroll + rows); }
    int scroll() const { return m_scroll; }

    // What the window shows now.
    QImage window() const
    {
        QImage shot(m_options.width, m_options.windowRows, QImage::Format_RGB32);
        for (int y = 0; y < m_options.windowRows; ++y) {
            auto *line = reinterpret_cast<QRgb *>(shot.scanLine(y));
            if (y < m_options.headerRows) {
                std::copy_n(reinterpret_cast<const QRgb *>(m_header.constScanLine(y)),
                    m_options.width, line);
                continue;
            }
            const int row = m_scroll + y - m_options.headerRows;
            std::copy_n(
                reinterpret_cast<const QRgb *>(m_fixed.constScanLine(y)), contentLeft(), line);
            std::copy_n(reinterpret_cast<const QRgb *>(m_document.constScanLine(row)),
                contentWidth(), line + contentLeft());
            drawScrollBar(line + contentLeft(), y);
        }
        return shot;
    }

    // The header and every document row from the top down to the last one shown, over the
    // document's columns (from contentLeft() on): what a panorama of a scroll from the top to here
    // holds.
    QImage expected() const
    {
        const int rows = m_options.headerRows + m_scroll + visibleRows();
        QImage result(contentWidth(), rows, QImage::Format_RGB32);
        for (int y = 0; y < rows; ++y) {
            const bool header = y < m_options.headerRows;
            const auto *source = reinterpret_cast<const QRgb *>(header
                    ? m_header.constScanLine(y) + 4 * contentLeft()
                    : m_document.constScanLine(y - m_options.headerRows));
            std::copy_n(source, contentWidth(), reinterpret_cast<QRgb *>(result.scanLine(y)));
        }
        return result;
    }

private:
    static void fillNoise(QImage &image, QRandomGenerator &random, const Options &options)
    {
        for (int y = 0; y < image.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                line[x] = random.bounded(2) ? options.paper : options.ink;
        }
    }

    void drawScrollBar(QRgb *line, int y) const
    {
        if (m_options.scrollBarWidth == 0)
            return;
        const int track = visibleRows();
        const int thumbRows = std::max(8, track * visibleRows() / m_options.documentRows);
        const int thumbTop = lastScroll() > 0 ? (track - thumbRows) * m_scroll / lastScroll() : 0;
        const int inTrack = y - m_options.headerRows;
        const bool thumb = inTrack >= thumbTop && inTrack < thumbTop + thumbRows;
        std::fill_n(line + contentWidth(), m_options.scrollBarWidth,
            thumb ? qRgb(60, 60, 60) : qRgb(230, 230, 230));
    }

    Options m_options;
    QImage m_document;
    QImage m_header;
    // Beside the document: the still desktop, then the window's border.
    QImage m_fixed;
    int m_scroll = 0;
};

// The plainest strip search: both pictures' colours compared pixel by pixel from each candidate
// row on, over all columns and then over all but the right scroll bar margin, nothing kept
// between calls. The oracle of the fast search over pictures whose distinct colours are told
// apart by the eye, and the baseline of its benchmark.
class ExhaustiveStripSearch
{
public:
    static int indexOf(const QImage &picture, const QImage &strip, int first, int count, int from,
        int margin, int narrowFromWidth)
    {
        if (picture.width() != strip.width() || picture.width() == 0 || count <= 0 || first < 0
            || first + count > strip.height())
            return -1;
        const auto pictureColours = colours(picture);
        const auto stripColours = colours(strip);
        const int found = search(pictureColours, stripColours, first, count, from, picture.width());
        if (found >= 0 || picture.width() < narrowFromWidth)
            return found;
        return search(pictureColours, stripColours, first, count, from, picture.width() - margin);
    }

private:
    static QVector<QVector<QRgb>> colours(const QImage &image)
    {
        QVector<QVector<QRgb>> rows(image.height(), QVector<QRgb>(image.width()));
        for (int y = 0; y < image.height(); ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x)
                rows[y][x] = line[x] & RGB_MASK;
        }
        return rows;
    }

    static int search(const QVector<QVector<QRgb>> &picture, const QVector<QVector<QRgb>> &strip,
        int first, int count, int from, int columns)
    {
        for (int off = std::max(0, from); off + count <= picture.size(); ++off) {
            bool same = true;
            for (int i = 0; i < count && same; ++i) {
                for (int x = 0; x < columns && same; ++x)
                    same = picture[off + i][x] == strip[first + i][x];
            }
            if (same)
                return off;
        }
        return -1;
    }
};
