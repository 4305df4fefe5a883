#include "ponoram.h"

#include <QCursor>
#include <QDebug>
#include <QGuiApplication>
#include <QScreen>

#include <cstring>

namespace {

QImage grabScreen(const QRect &rect)
{
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QImage();
    return screen->grabWindow(0, rect.x(), rect.y(), rect.width(), rect.height()).toImage();
}

// Every row of the picture is one 32-bit pixel per column, whatever the grab delivered.
QImage asRgb32(const QImage &shot)
{
    if (shot.format() == QImage::Format_RGB32 || shot.format() == QImage::Format_ARGB32
        || shot.format() == QImage::Format_ARGB32_Premultiplied)
        return shot;
    return shot.convertToFormat(QImage::Format_RGB32);
}

QPoint pointerNow()
{
    return QCursor::pos();
}

void releaseShared(void *info)
{
    delete static_cast<QImage *>(info);
}

} // namespace

Ponoram::Ponoram(QObject *parent)
    : QObject(parent)
    , m_grabber(grabScreen)
    , m_pointer(pointerNow)
{
    m_timer.setInterval(kPeriodMs);
    connect(&m_timer, &QTimer::timeout, this, &Ponoram::shotTimer);
}

void Ponoram::setGrabber(Grabber grabber)
{
    m_grabber = grabber ? std::move(grabber) : Grabber(grabScreen);
}

void Ponoram::setPointerSource(PointerSource source)
{
    m_pointer = source ? std::move(source) : PointerSource(pointerNow);
}

// The picture's rows are a view into the buffer; the view holds the buffer, so the engine
// writing again makes the buffer detach instead of changing what the holder sees.
QImage Ponoram::picture() const
{
    if (m_height == 0)
        return QImage();
    if (m_height == m_buffer.height())
        return m_buffer;
    auto *held = new QImage(m_buffer);
    return QImage(held->constBits(), held->width(), m_height, held->bytesPerLine(), held->format(),
        releaseShared, held);
}

bool Ponoram::startPonoram(const QRect &rect)
{
    cancelPonoram();
    m_rect = rect.normalized();
    const QImage shot = grab();
    if (shot.isNull() || shot.height() > kMaxHeight) {
        qDebug() << Q_FUNC_INFO << "no picture of" << m_rect;
        return false;
    }
    m_buffer = shot;
    m_height = shot.height();
    m_rows = PonoramRows::fromImage(shot);
    m_lastShot = m_rows;
    m_lastGlued = m_rows;
    m_moving = m_rows.noColumns();
    m_previousOffset = 0;
    m_repeatCount = 0;
    m_pointerWasInside = false;
    m_moved = false;
    m_inBlankStretch = false;
    m_unplaced = false;
    m_copiedBytes = 0;
    m_running = true;
    m_timer.start();
    emit changePreview(picture());
    emit rectChange(size());
    return true;
}

void Ponoram::stopPonoram()
{
    qDebug() << Q_FUNC_INFO;
    if (!m_running)
        return;
    finish();
    emit complete(QPixmap::fromImage(picture()));
    if (m_unplaced)
        emit errorGlueImage();
}

void Ponoram::cancelPonoram()
{
    if (m_running)
        finish();
}

void Ponoram::finish()
{
    m_running = false;
    m_timer.stop();
}

QImage Ponoram::grab() const
{
    const QImage shot = m_grabber(m_rect);
    return shot.isNull() ? shot : asRgb32(shot);
}

// The pointer leaving the rectangle ends the capture, but only once it has been inside: the
// capture starts from a button beside the rectangle. Grabs that find the document where it was
// count towards the end only once it has moved: the way to the document and the moment before
// the first turn of the wheel cost nothing.
void Ponoram::shotTimer()
{
    if (!m_running)
        return;
    if (m_rect.contains(m_pointer())) {
        m_pointerWasInside = true;
    } else if (m_pointerWasInside) {
        stopPonoram();
        return;
    }
    QImage shot = grab();
    if (!shot.isNull() && shot.format() != m_buffer.format())
        shot = shot.convertToFormat(m_buffer.format());
    const PonoramRows shotRows = PonoramRows::fromImage(shot);
    const bool changed = noteMovingColumns(shotRows);
    const Match match = locate(shotRows);
    if (match.blank) {
        skipBlank(shotRows, changed);
        return;
    }
    if (match.offset < 0) {
        qDebug() << Q_FUNC_INFO << "errorGlueImage";
        m_unplaced = true;
        stopPonoram();
        return;
    }
    if (match.offset != m_previousOffset) {
        m_repeatCount = 0;
        m_moved = true;
    } else {
        countStill();
    }
    m_previousOffset = match.offset;
    m_inBlankStretch = false;
    m_unplaced = false;
    m_lastGlued = shotRows;
    const bool full = match.offset + shot.height() > kMaxHeight;
    glue(shot, shotRows, match);
    emit changePreview(picture());
    emit rectChange(size());
    if (full) {
        stopPonoram();
        emit heightLimitReached();
    } else if (m_repeatCount >= kRepeatsToStop) {
        stopPonoram();
    }
}

// A grab of nothing but a blank stretch is not glued: the rows it shows that the last glued
// grab did not are missing from the picture until content below the stretch places them. A
// document that rests in the stretch ends the capture as it does anywhere else; a change
// there (a scroll bar, a caret) is no proof that it moved.
void Ponoram::skipBlank(const PonoramRows &shot, bool changed)
{
    m_inBlankStretch = true;
    m_unplaced = shot.changedColumns(m_lastGlued) != shot.noColumns();
    if (changed)
        m_repeatCount = 0;
    else
        countStill();
    if (m_repeatCount >= kRepeatsToStop)
        stopPonoram();
}

void Ponoram::countStill()
{
    if (m_moved)
        ++m_repeatCount;
}

// Where the top of the grab lies in the picture. Rows that equal the picture's rows of the
// same number are a header that stays while the document scrolls (or a document that has not
// moved); the search starts below them.
Ponoram::Match Ponoram::locate(const PonoramRows &shot) const
{
    Match match;
    if (shot.width() != m_rows.width() || shot.rowCount() == 0)
        return match;
    int header = 0;
    const PonoramRows::Columns all = shot.allColumns();
    while (header < shot.rowCount() && header < m_rows.rowCount()
        && m_rows.sameRow(header, shot, header, all))
        ++header;
    if (header == shot.rowCount())
        header = 0;
    // A low rectangle still leaves the strip room to move in.
    const int count = qMin(kStripRows, qMax(1, (shot.rowCount() - header) / 2));
    const int first = stripStart(shot, header, count);
    if (first < 0) {
        match.blank = true;
        return match;
    }
    const int found = m_rows.indexOf(shot, first, count, m_previousOffset + first, m_moving);
    if (found >= 0) {
        match.offset = found - first;
        match.first = header;
    }
    return match;
}

// The first row of a strip of count rows from row from on that tells where it lies: a strip
// of rows alike in the moving columns matches anywhere in a stretch of such rows, so it ends
// on the first row that differs from them instead. A scroll bar's thumb, the rightmost of
// those columns, does not make rows differ. -1 when no row does, as before the document has
// moved at all.
int Ponoram::stripStart(const PonoramRows &shot, int from, int count) const
{
    PonoramRows::Columns columns = PonoramRows::narrowed(m_moving);
    if (columns == shot.noColumns())
        columns = m_moving;
    for (int row = from + 1; row < shot.rowCount(); ++row) {
        if (!shot.sameRow(row, shot, from, columns))
            return qMax(from, row - count + 1);
    }
    return -1;
}

// Whether the grab differs from the one before.
bool Ponoram::noteMovingColumns(const PonoramRows &shot)
{
    const PonoramRows::Columns changed = shot.changedColumns(m_lastShot);
    bool any = false;
    for (int w = 0; w < m_moving.size() && w < changed.size(); ++w) {
        m_moving[w] |= changed[w];
        any = any || changed[w];
    }
    m_lastShot = shot;
    return any;
}

void Ponoram::glue(const QImage &shot, const PonoramRows &shotRows, const Match &match)
{
    const int height = qMin(kMaxHeight, qMax(m_height, match.offset + shot.height()));
    const int at = match.offset + match.first;
    const int count = height - at;
    if (count <= 0)
        return;
    uchar *rows = writableRows(height);
    const qsizetype line = m_buffer.bytesPerLine();
    const qsizetype bytes = qMin<qsizetype>(line, shot.bytesPerLine());
    for (int i = 0; i < count; ++i)
        std::memcpy(rows + (at + i) * line, shot.constScanLine(match.first + i), bytes);
    m_copiedBytes += quint64(bytes) * count;
    m_rows.copyRows(at, shotRows, match.first, count);
    m_height = height;
}

// Room for height rows that the engine alone holds: the buffer doubles when it grows, so each
// row moves a bounded number of times however long the document.
uchar *Ponoram::writableRows(int height)
{
    const qsizetype heldBytes = qsizetype(m_height) * m_buffer.bytesPerLine();
    if (height > m_buffer.height()) {
        const int capacity = qMin(kMaxHeight, qMax(height, 2 * m_buffer.height()));
        QImage grown(m_buffer.width(), capacity, m_buffer.format());
        std::memcpy(grown.bits(), m_buffer.constBits(), heldBytes);
        m_copiedBytes += quint64(heldBytes);
        m_buffer = grown;
    } else if (!m_buffer.isDetached()) {
        m_copiedBytes += quint64(m_buffer.sizeInBytes());
    }
    return m_buffer.bits();
}
