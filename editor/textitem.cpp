#include "textitem.h"

#include "arrowitem.h"
#include "historystack.h"
#include "kpainterarea.h"

#include <QClipboard>
#include <QDebug>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTextBoundaryFinder>
#include <QUndoStack>

namespace {

constexpr int kBlinkMs = 200;
constexpr int kArrowStepMs = 10;
constexpr int kArrowStep = 50;
constexpr double kSmallestPointSize = 13.5;
constexpr double kLargestPointSize = 24.8;
constexpr double kScaleStep = 0.4;
// Boxes have always been as wide as a plain-text document of their text, which keeps 4 px
// on each side of the widest line.
constexpr double kDocumentMargins = 8.0;
// How far beyond the canvas's upper and lower edges the item of a tall box still reaches.
constexpr double kShownMargin = 20.0;

// Pasted text keeps its line breaks but no other control characters, which would paint as
// boxes and throw the caret's column off.
QString plainText(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    QString out;
    for (const QChar c : qAsConst(text)) {
        if (c == QLatin1Char('\n') || c.category() != QChar::Other_Control)
            out.append(c);
    }
    return out;
}

// The grapheme boundary next to column in line, one step back or forward: the caret never
// stands inside a character made of two UTF-16 units or of a letter and its accents.
int graphemeStep(const QString &line, int column, bool forward)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, line);
    finder.setPosition(column);
    const int next = forward ? finder.toNextBoundary() : finder.toPreviousBoundary();
    if (next >= 0)
        return next;
    return forward ? line.size() : 0;
}

int stepToward(int from, int to)
{
    if (qAbs(to - from) <= kArrowStep)
        return to;
    return from + (to > from ? kArrowStep : -kArrowStep);
}

} // namespace

TextItem::TextItem(QQuickItem *parent)
    : AbstractGraphItem(parent)
{
    qDebug() << Q_FUNC_INFO;
    setName(QStringLiteral("Text"));
    m_font.setFamily(QStringLiteral("Arial"));
    m_font.setPointSizeF(13.5);
    m_font.setLetterSpacing(QFont::AbsoluteSpacing, 0.5);
    m_blinkTimer.start(kBlinkMs);
    m_arrowTimer.setInterval(kArrowStepMs);
    connect(&m_blinkTimer, &QTimer::timeout, this, &TextItem::updateFlashing);
    connect(this, &QQuickItem::focusChanged, this, &TextItem::checkFlashing);
    connect(this, &AbstractGraphItem::checkChanged, this, &TextItem::checkFlashing);
    connect(&m_arrowTimer, &QTimer::timeout, this, &TextItem::updateArrowItem);
    connect(this, &QQuickItem::visibleChanged, this, &TextItem::checkVisible);
    connect(this, &AbstractGraphItem::lineWidthChanged, this, &TextItem::changeLineWidth);
    connect(this, &AbstractGraphItem::colorChanged, this, &TextItem::changeColor);
    connect(this, &AbstractGraphItem::checkChanged, this, &TextItem::changeCheck);
}

QRectF TextItem::wholeItemRect() const
{
    const QRectF n = geometry().normalized();
    return QRectF(n.x() - 5, n.y() - 5, n.width() + 10, n.height() + 10);
}

QPointF TextItem::origin() const
{
    return wholeItemRect().topLeft();
}

// The item covers only the rows of the box that lie over the canvas: a box of thousands of
// lines reaches far beyond the picture, and a texture of its whole height would cost far more
// memory and time than the part that can show.
void TextItem::setGeometry(const QRectF &r)
{
    storeGeometry(r);
    const QRectF whole = wholeItemRect();
    QRectF shown = whole;
    const QQuickItem *canvas = parentItem();
    if (canvas && canvas->height() > 0) {
        const double top = qMax(whole.top(), -kShownMargin);
        const double bottom = qMin(whole.bottom(), canvas->height() + kShownMargin);
        if (bottom > top)
            shown = QRectF(whole.x(), top, whole.width(), bottom - top);
    }
    m_shownTop = shown.top() - whole.top();
    setPosition(shown.topLeft());
    setSize(shown.size());
    rebuildKeyPosition();
}

void TextItem::rebuildKeyPosition()
{
    createKeyPosition();
}

void TextItem::createKeyPosition()
{
    const QSizeF whole = wholeItemRect().size();
    const double w = whole.width();
    const double h = whole.height();
    QList<QPointF> keys {QPointF(5, 5), QPointF(int(w - 5), 5), QPointF(int(w - 5), int(h - 5)),
        QPointF(5, int(h - 5)), QPointF(int(w * 0.5), int(h * 0.5))};
    for (QPointF &k : keys)
        k.ry() -= m_shownTop;
    setKeyPositions(keys);
}

void TextItem::setText(const QString &text)
{
    m_text = text;
    m_lines = text.split(QLatin1Char('\n'));
}

int TextItem::lineHeight() const
{
    return QFontMetrics(m_font).height();
}

int TextItem::advance(const QString &s) const
{
    return QFontMetrics(m_font).horizontalAdvance(s);
}

void TextItem::setPointSize(double size)
{
    m_font.setPointSizeF(size);
    m_widths.clear();
}

// Lines are measured once and looked up afterwards: a key in a box of thousands of lines
// changes one or two of them, and measuring them all again would take far longer than a frame.
double TextItem::textLineWidth(const QString &line) const
{
    const auto known = m_widths.constFind(line);
    if (known != m_widths.constEnd())
        return *known;
    // Lines edited away leave their widths behind; they are dropped now and then.
    if (m_widths.size() > 4 * m_lines.size() + 256)
        m_widths.clear();
    const double width = QFontMetricsF(m_font).horizontalAdvance(line) + kDocumentMargins;
    m_widths.insert(line, width);
    return width;
}

void TextItem::layoutLines()
{
    m_lines = m_text.split(QLatin1Char('\n'));
    double widest = kDocumentMargins;
    for (const QString &line : qAsConst(m_lines))
        widest = qMax(widest, textLineWidth(line));
    m_textWidth = widest;
    const int n = m_lines.size();
    m_textHeight = int(lineHeight() * n + 5 * n - 5);
}

// What the output holds, in whole pixels: the selection, or the whole canvas without one.
QRect TextItem::outputArea() const
{
    const KPainterArea *canvas = paintScene();
    const QRectF selection = canvas->selectRect();
    if (selection.width() == 0 && selection.height() == 0)
        return QRect(0, 0, int(canvas->width()), int(canvas->height()));
    return QRect(QPoint(qRound(selection.x()), qRound(selection.y())),
        QPoint(qRound(selection.x() + selection.width()) - 1,
            qRound(selection.y() + selection.height()) - 1));
}

int TextItem::rightLimit() const
{
    return outputArea().right();
}

// The box stands inside what the output holds, so that nothing typed lands where neither the
// screen nor the picture shows it: it grows upward until it meets the top, on downward from
// there, and moves up where it would pass the bottom. A box taller than that keeps the caret's
// line inside; its other lines are cut at the edges on the screen as in the picture.
double TextItem::placedTop(double top) const
{
    const QRect area = outputArea();
    const double areaBottom = area.top() + area.height();
    top = qMax(double(area.top()), qMin(top, areaBottom - m_textHeight));
    const double caretTop = m_caretLine * (lineHeight() + 5);
    top = qMin(top, areaBottom - caretTop - lineHeight());
    return qMax(top, area.top() - caretTop);
}

// Where a line too wide for room is broken: after the last space that fits, else before the
// first character that does not fit; never inside a character, and never before the first one.
int TextItem::breakColumn(const QString &line, double room) const
{
    QList<int> bounds;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, line);
    for (int b = finder.toNextBoundary(); b > 0; b = finder.toNextBoundary())
        bounds.append(b);
    // The longest run of whole characters that fits, at least one.
    int low = 0;
    int high = bounds.size() - 1;
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (textLineWidth(line.left(bounds.at(middle))) <= room)
            low = middle;
        else
            high = middle - 1;
    }
    const int fits = bounds.at(low);
    const int space = line.lastIndexOf(QLatin1Char(' '), fits - 1);
    return space >= 0 && space + 1 < line.size() ? space + 1 : fits;
}

// Every line that runs past the right limit is broken, as often as it takes; the caret keeps
// its place in the text. A line of one character stays, however wide.
bool TextItem::wrapLines()
{
    if (!paintScene())
        return false;
    const double room = rightLimit() - x();
    const int caret = absolute(m_caretLine, m_caretColumn);
    int newCaret = caret;
    int lineStart = 0;
    bool broke = false;
    QStringList wrapped;
    for (QString line : qAsConst(m_lines)) {
        int consumed = 0;
        while (textLineWidth(line) > room) {
            const int cut = breakColumn(line, room);
            if (cut <= 0 || cut >= line.size())
                break;
            wrapped.append(line.left(cut));
            line = line.mid(cut);
            consumed += cut;
            broke = true;
            if (lineStart + consumed <= caret)
                ++newCaret;
        }
        wrapped.append(line);
        lineStart += consumed + line.size() + 1;
    }
    if (!broke)
        return false;
    setText(wrapped.join(QLatin1Char('\n')));
    setCaretAbsolute(newCaret);
    return true;
}

void TextItem::setCaretAbsolute(int position)
{
    m_caretLine = 0;
    while (m_caretLine < m_lines.size() - 1 && position > m_lines.at(m_caretLine).size()) {
        position -= m_lines.at(m_caretLine).size() + 1;
        ++m_caretLine;
    }
    m_caretColumn = position;
}

void TextItem::calcGeometry(bool wrap)
{
    qDebug() << Q_FUNC_INFO << wrap;
    const QRectF g = geometry();
    const float oldBottom = float(g.y() + g.height());
    layoutLines();
    if (wrap && wrapLines())
        layoutLines();
    // The box grows upward.
    double top = oldBottom - m_textHeight;
    if (paintScene())
        top = placedTop(top);
    setGeometry(QRectF(g.x(), top, m_textWidth, m_textHeight));
    update();
}

void TextItem::resize(const QRectF &r, double pointSize)
{
    setGeometry(r);
    setPointSize(pointSize);
    // Any key since the step was taken laid out whatever text the box had then; the lines are
    // painted at the widths of the text it has now.
    layoutLines();
    pullArrow();
    update();
}

void TextItem::move(double x, double y)
{
    const QRectF g = geometry();
    setGeometry(QRectF(int(x) + 5, int(y) + 5, int(g.width()), int(g.height())));
    pullArrow();
}

ArrowItem *TextItem::arrowItem() const
{
    return m_arrow;
}

void TextItem::setArrowItem(ArrowItem *arrow)
{
    m_arrow = arrow;
    connect(arrow, &ArrowItem::positionChange, this, &TextItem::arrowPositionChange);
}

void TextItem::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    update();
}

QPainterPath TextItem::shape() const
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    path.addRect(0, 0, width(), height());
    for (const QPointF &k : keyPositions())
        path.addEllipse(k, 5, 5);
    return path;
}

bool TextItem::contains(const QPointF &point) const
{
    return shape().contains(point);
}

int TextItem::absolute(int line, int column) const
{
    int position = column;
    for (int i = 0; i < line && i < m_lines.size(); ++i)
        position += m_lines.at(i).size() + 1;
    return position;
}

void TextItem::clampCaret()
{
    m_caretLine = qBound(0, m_caretLine, qMax(0, m_lines.size() - 1));
    const int length = m_lines.isEmpty() ? 0 : m_lines.at(m_caretLine).size();
    m_caretColumn = qBound(0, m_caretColumn, length);
    m_caretColumn = boundaryAtOrBefore(m_caretLine, m_caretColumn);
}

// The column itself when the caret may stand there, else the start of the character it cuts.
int TextItem::boundaryAtOrBefore(int line, int column) const
{
    if (line >= m_lines.size() || column <= 0)
        return column;
    const QString &text = m_lines.at(line);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    finder.setPosition(column);
    if (finder.isAtBoundary())
        return column;
    return graphemeStep(text, column, false);
}

TextItem::Position TextItem::selectionStart() const
{
    const Position a {m_anchorLine, m_anchorColumn};
    const Position e {m_endLine, m_endColumn};
    const bool anchorFirst = a.line < e.line || (a.line == e.line && a.column <= e.column);
    return anchorFirst ? a : e;
}

TextItem::Position TextItem::selectionEnd() const
{
    const Position s = selectionStart();
    const Position a {m_anchorLine, m_anchorColumn};
    return (s.line == a.line && s.column == a.column) ? Position {m_endLine, m_endColumn} : a;
}

QPair<int, int> TextItem::selectedColumns(int i) const
{
    if (!hasSelection())
        return {-1, -1};
    const Position s = selectionStart();
    const Position e = selectionEnd();
    if (i < s.line || i > e.line || i >= m_lines.size())
        return {-1, -1};
    const int length = m_lines.at(i).size();
    const int first = i == s.line ? qMin(s.column, length) : 0;
    const int last = i == e.line ? qMin(e.column, length) : length;
    return {first, last};
}

QString TextItem::getSelectedText() const
{
    QStringList parts;
    for (int i = 0; i < m_lines.size(); ++i) {
        const QPair<int, int> c = selectedColumns(i);
        if (c.first != -1)
            parts.append(m_lines.at(i).mid(c.first, c.second - c.first));
    }
    return parts.join(QLatin1Char('\n'));
}

QPair<int, int> TextItem::getIndexSelect() const
{
    const Position s = selectionStart();
    const Position e = selectionEnd();
    const QPair<int, int> index(absolute(s.line, s.column), absolute(e.line, e.column));
    qDebug() << Q_FUNC_INFO << index.first << index.second;
    return index;
}

void TextItem::clearCursor()
{
    m_anchorColumn = m_anchorLine = m_endColumn = m_endLine = -1;
}

bool TextItem::removeSelection()
{
    if (!hasSelection() || getSelectedText().isEmpty())
        return false;
    const QPair<int, int> index = getIndexSelect();
    const Position s = selectionStart();
    setText(m_text.remove(index.first, index.second - index.first));
    m_caretLine = s.line;
    m_caretColumn = s.column;
    clearCursor();
    return true;
}

void TextItem::insertAtCaret(const QString &text)
{
    setText(m_text.insert(absolute(m_caretLine, m_caretColumn), text));
}

void TextItem::keyPressEvent(QKeyEvent *event)
{
    if (m_readOnly) {
        AbstractGraphItem::keyPressEvent(event);
        return;
    }
    const QString oldText = m_text;
    const QRectF oldRect = geometry();
    const double oldPointSize = m_font.pointSizeF();
    if (!editKey(event))
        event->ignore();
    clampCaret();
    calcGeometry(true);
    if (m_text != oldText)
        recordEdit(oldText, oldRect, oldPointSize);
}

void TextItem::recordEdit(const QString &oldText, const QRectF &oldRect, double oldPointSize)
{
    if (m_editRecorded || !paintScene())
        return;
    m_editRecorded = true;
    paintScene()->undoStack()->push(new TextEditChange(this, oldText, oldRect, oldPointSize));
}

void TextItem::restore(const QString &text, const QRectF &r, double pointSize)
{
    setText(text);
    clearCursor();
    clampCaret();
    // Typing after an undo starts a new step.
    m_editRecorded = false;
    resize(r, pointSize);
}

// False for the keys that the box leaves to the window, such as Ctrl+Z.
bool TextItem::editKey(QKeyEvent *event)
{
    const int key = event->key();
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_CapsLock:
    case Qt::Key_Meta:
    case Qt::Key_Escape:
        return true;
    default:
        break;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        newLine();
        return true;
    }
    if (event->modifiers().testFlag(Qt::ShiftModifier))
        return shiftKey(event);
    if (event->modifiers().testFlag(Qt::ControlModifier))
        return controlKey(event);
    plainKey(event);
    return true;
}

void TextItem::newLine()
{
    clearCursor();
    insertAtCaret(QStringLiteral("\n"));
    ++m_caretLine;
    m_caretColumn = 0;
    const int top = int(geometry().y());
    qDebug() << Q_FUNC_INFO << "lastY" << top;
    calcGeometry(true);
    const QRectF g = geometry();
    qDebug() << Q_FUNC_INFO << "lastY *2" << g.y();
    // The new line goes below: the box keeps its top edge.
    setGeometry(QRectF(int(g.x()), top, int(g.width()), int(g.height())));
    qDebug() << Q_FUNC_INFO << "lastY *3" << geometry().y();
}

bool TextItem::shiftKey(QKeyEvent *event)
{
    const int key = event->key();
    if (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down) {
        if (m_anchorColumn == -1)
            m_anchorColumn = m_caretColumn;
        if (m_anchorLine == -1)
            m_anchorLine = m_endLine = m_caretLine;
        if (key == Qt::Key_Left)
            caretLeft();
        else if (key == Qt::Key_Right)
            caretRight();
        else
            caretVertically(key == Qt::Key_Up ? -1 : 1);
        m_endLine = m_caretLine;
        m_endColumn = m_caretColumn;
    } else if (key == Qt::Key_Backspace) {
        backspace();
    } else {
        typeText(event->text());
    }
    return true;
}

bool TextItem::controlKey(QKeyEvent *event)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    switch (event->key()) {
    case Qt::Key_Left:
        clearCursor();
        if (m_caretColumn == 0) {
            caretLeft();
        } else {
            const int space
                = m_lines.at(m_caretLine).lastIndexOf(QLatin1Char(' '), m_caretColumn - 1);
            if (space >= 0) {
                m_caretColumn = space;
            } else if (m_caretLine > 0) {
                --m_caretLine;
                m_caretColumn = m_lines.at(m_caretLine).size();
            } else {
                m_caretColumn = 0;
            }
        }
        return true;
    case Qt::Key_Right: {
        clearCursor();
        const QString &line = m_lines.at(m_caretLine);
        const int space = line.indexOf(QLatin1Char(' '), m_caretColumn + 1);
        // Without a space ahead the word ends with the line; from there on to the next line.
        if (space >= 0)
            m_caretColumn = space + 1;
        else if (m_caretColumn < line.size())
            m_caretColumn = line.size();
        else
            caretRight();
        return true;
    }
    case Qt::Key_A:
        clearCursor();
        m_anchorLine = m_anchorColumn = 0;
        m_endLine = m_lines.size() - 1;
        m_endColumn = m_lines.constLast().size();
        return true;
    case Qt::Key_C:
        clipboard->setText(getSelectedText());
        return true;
    case Qt::Key_X:
        clipboard->setText(getSelectedText());
        removeSelection();
        return true;
    case Qt::Key_V:
        paste(clipboard->text());
        return true;
    default:
        return false;
    }
}

void TextItem::plainKey(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        clearCursor();
        caretVertically(event->key() == Qt::Key_Up ? -1 : 1);
        break;
    case Qt::Key_Left:
        clearCursor();
        caretLeft();
        break;
    case Qt::Key_Right:
        clearCursor();
        caretRight();
        break;
    case Qt::Key_Home:
        clearCursor();
        m_caretColumn = 0;
        break;
    case Qt::Key_End:
        clearCursor();
        m_caretColumn = m_lines.at(m_caretLine).size();
        break;
    case Qt::Key_PageUp:
        clearCursor();
        m_caretLine = m_caretColumn = 0;
        break;
    case Qt::Key_PageDown:
        clearCursor();
        m_caretLine = m_lines.size() - 1;
        m_caretColumn = m_lines.constLast().size();
        break;
    case Qt::Key_Backspace:
        backspace();
        break;
    case Qt::Key_Delete:
        deleteForward();
        break;
    default:
        typeText(event->text());
        break;
    }
}

void TextItem::caretLeft()
{
    if (m_caretColumn > 0) {
        m_caretColumn = graphemeStep(m_lines.at(m_caretLine), m_caretColumn, false);
    } else if (m_caretLine > 0) {
        --m_caretLine;
        m_caretColumn = m_lines.at(m_caretLine).size();
    }
}

void TextItem::caretRight()
{
    if (m_caretColumn < m_lines.at(m_caretLine).size()) {
        m_caretColumn = graphemeStep(m_lines.at(m_caretLine), m_caretColumn, true);
    } else if (m_caretLine < m_lines.size() - 1) {
        ++m_caretLine;
        m_caretColumn = 0;
    }
}

void TextItem::caretVertically(int step)
{
    m_caretLine = qBound(0, m_caretLine + step, m_lines.size() - 1);
    m_caretColumn
        = boundaryAtOrBefore(m_caretLine, qMin(m_caretColumn, m_lines.at(m_caretLine).size()));
}

void TextItem::backspace()
{
    if (removeSelection())
        return;
    clearCursor();
    const int at = absolute(m_caretLine, m_caretColumn);
    if (at == 0)
        return;
    int length = 1;
    if (m_caretColumn == 0) {
        --m_caretLine;
        m_caretColumn = m_lines.at(m_caretLine).size();
    } else {
        const int start = graphemeStep(m_lines.at(m_caretLine), m_caretColumn, false);
        length = m_caretColumn - start;
        m_caretColumn = start;
    }
    setText(m_text.remove(at - length, length));
}

void TextItem::deleteForward()
{
    if (removeSelection())
        return;
    clearCursor();
    const int at = absolute(m_caretLine, m_caretColumn);
    if (at >= m_text.size())
        return;
    const QString &line = m_lines.at(m_caretLine);
    const int length
        = m_caretColumn < line.size() ? graphemeStep(line, m_caretColumn, true) - m_caretColumn : 1;
    setText(m_text.remove(at, length));
}

// Typing drops a selection rather than replacing it.
void TextItem::typeText(const QString &text)
{
    clearCursor();
    const QString typed = plainText(text).remove(QLatin1Char('\n'));
    if (typed.isEmpty())
        return;
    insertAtCaret(typed);
    m_caretColumn += typed.size();
}

// The caret ends after the pasted text, also when that text brings line breaks of its own.
void TextItem::paste(const QString &text)
{
    const QString pasted = plainText(text);
    if (pasted.isEmpty())
        return;
    insertAtCaret(pasted);
    const int breaks = pasted.count(QLatin1Char('\n'));
    const int tail = pasted.size() - 1 - pasted.lastIndexOf(QLatin1Char('\n'));
    m_caretColumn = breaks == 0 ? m_caretColumn + tail : tail;
    m_caretLine += breaks;
}

void TextItem::paint(QPainter *painter)
{
    // The text is laid out over the whole box, of which the item shows a band.
    painter->save();
    painter->translate(0, -m_shownTop);
    paintText(painter);
    painter->restore();
    AbstractGraphItem::paint(painter);
}

void TextItem::paintText(QPainter *painter)
{
    painter->setFont(m_font);
    if (substrate()) {
        const QSizeF whole = wholeItemRect().size();
        const QColor back(255, 255, 255, 225);
        painter->setPen(back);
        painter->setBrush(back);
        painter->drawRoundedRect(
            QRectF(5, 5, int(whole.width() - 10), int(whole.height() - 10)), 2, 2);
    }
    // The saved picture shows the text alone, without the editing marks.
    const bool onScreen = !paintScene() || !paintScene()->isRendering();
    const int h = lineHeight();
    const QPair<int, int> shown = shownLines(painter, h + 5);
    for (int i = shown.first; i <= shown.second; ++i) {
        const QString &line = m_lines.at(i);
        const int top = 5 + i * (h + 5);
        const QPair<int, int> c = onScreen ? selectedColumns(i) : qMakePair(-1, -1);
        const int left = 10 + advance(line.left(qMax(0, c.first)));
        if (c.second > c.first) {
            painter->setPen(QColor(QStringLiteral("#3399ff")));
            painter->setBrush(QColor(QStringLiteral("#3399ff")));
            painter->drawRect(
                QRect(QPoint(left, top), QPoint(9 + advance(line.left(c.second)), top + h - 1)));
        }
        setupPainter(painter);
        painter->drawText(QRect(10, top, int(m_textWidth), h), Qt::AlignLeft, line);
        if (c.second > c.first) {
            const QString selected = line.mid(c.first, c.second - c.first);
            QPen white(Qt::white, lineWidth(), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
            painter->setPen(white);
            painter->drawText(QRect(left, top, advance(selected), h), Qt::AlignLeft, selected);
        }
    }
    if (onScreen && m_caretVisible && !m_readOnly) {
        // A crisp one-pixel caret, not a blurred two-pixel one.
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->setPen(QPen(Qt::black, 1));
        if (m_lines.isEmpty()) {
            const int x = 10 + advance(m_text.left(m_caretColumn));
            painter->drawLine(x, 9, x, h + 5);
        } else {
            const int top = 5 + m_caretLine * (h + 5);
            const int x = 10 + advance(m_lines.at(m_caretLine).left(m_caretColumn));
            painter->drawLine(x, top, x, top + h);
        }
    }
}

// The lines [first, last] that can show: those over the canvas and inside the painter's clip.
// A box of thousands of lines reaches far beyond the picture, and drawing them all would cost
// more than a frame.
QPair<int, int> TextItem::shownLines(QPainter *painter, int pitch) const
{
    QRectF area = boundingRect().translated(0, m_shownTop);
    if (const QQuickItem *canvas = parentItem())
        area &= QRectF(-x(), m_shownTop - y(), canvas->width(), canvas->height());
    if (painter->hasClipping())
        area &= painter->clipBoundingRect();
    const int first = qMax(0, int((area.top() - 5) / pitch));
    const int last = qMin(m_lines.size() - 1, int((area.bottom() - 5) / pitch));
    return {first, last};
}

void TextItem::mousePressEvent(QMouseEvent *event)
{
    AbstractGraphItem::mousePressEvent(event);
    m_dragged = false;
    m_pressGeometry = geometry();
    m_pressPointSize = m_font.pointSizeF();
    m_lastPointer = roundedPoint(event->screenPos());
}

void TextItem::mouseMoveEvent(QMouseEvent *event)
{
    AbstractGraphItem::mouseMoveEvent(event);
    const QPoint pointer = roundedPoint(event->screenPos());
    const QPoint d = m_lastPointer - pointer;
    const Edges e = edges();
    const bool corner = (e.left || e.right) && (e.top || e.bottom) && !e.side;
    if (corner) {
        scaleFont(e, d);
    } else {
        const QRectF g = geometry();
        m_dragged = true;
        setMoved(true);
        setGeometry(
            QRectF(int(g.x() - d.x()), int(g.y() - d.y()), int(g.width()), int(g.height())));
    }
    pullArrow();
    m_lastPointer = pointer;
}

// A corner drag scales the font a step at a time, while the opposite corner stays put.
void TextItem::scaleFont(const Edges &e, const QPoint &d)
{
    const QRectF g = geometry();
    const double w = e.left ? g.width() + d.x() : g.width() - d.x();
    const double h = e.top ? g.height() + d.y() : g.height() - d.y();
    double size = m_font.pointSizeF();
    if (w * h <= g.width() * g.height())
        size = qMax(kSmallestPointSize, size - kScaleStep);
    else
        size = qMin(kLargestPointSize, size + kScaleStep);
    setPointSize(size);
    {
        const QSignalBlocker quiet(this);
        setLineWidth(int((size - 8.0) / 0.7));
    }
    calcGeometry(true);
    const QRectF n = geometry();
    const double right = int(g.x() + g.width());
    const double bottom = int(g.y() + g.height());
    const double left = e.left ? int(right - n.width()) : g.x();
    double top = e.top ? int(bottom - n.height()) : g.y();
    if (paintScene())
        top = placedTop(top);
    setGeometry(QRectF(left, top, n.width(), n.height()));
}

void TextItem::mouseReleaseEvent(QMouseEvent *event)
{
    // A click that neither scaled nor moved the box is no step of its own.
    const bool changed = m_font.pointSizeF() != m_pressPointSize || geometry() != m_pressGeometry;
    if (!m_dragged && changed && paintScene()) {
        paintScene()->undoStack()->push(new TextChange(
            this, m_font.pointSizeF(), geometry(), m_pressPointSize, m_pressGeometry));
    }
    // The arrow's walk toward the box ends with the drag, so it is put at the box at once
    // rather than left half-way.
    if (m_arrow && m_arrowTimer.isActive())
        placeArrow(m_arrowTarget);
    AbstractGraphItem::mouseReleaseEvent(event);
    m_dragged = false;
}

void TextItem::mouseDoubleClickEvent(QMouseEvent *)
{
    if (m_readOnly)
        m_editRecorded = false;
    setReadOnly(false);
}

void TextItem::updateFlashing()
{
    m_caretVisible = !m_caretVisible;
    update();
}

void TextItem::checkFlashing(bool on)
{
    clearCursor();
    update();
    if (on) {
        m_blinkTimer.start(kBlinkMs);
        return;
    }
    m_caretVisible = false;
    setReadOnly(true);
    m_blinkTimer.stop();
    discardIfEmpty();
}

// A box left without any text is no shape: its own steps are taken back and forgotten, so that
// neither the picture nor the undo history keeps an invisible box.
void TextItem::discardIfEmpty()
{
    if (!m_text.isEmpty() || !isVisible() || !paintScene())
        return;
    QUndoStack *stack = paintScene()->undoStack();
    const auto topItem = [stack]() -> AbstractGraphItem * {
        if (stack->index() < 1)
            return nullptr;
        const auto *top
            = dynamic_cast<const AbstractHistoryCommand *>(stack->command(stack->index() - 1));
        return top ? top->item() : nullptr;
    };
    if (topItem() != this) {
        setVisible(false);
        return;
    }
    while (topItem() == this)
        stack->undo();
    stack->push(new ForgetRedoCommand);
    // The stack says nothing when a push only drops what could be redone.
    emit paintScene()->canRedoChange(stack->canRedo());
}

void TextItem::updateArrowItem()
{
    if (!m_arrow) {
        m_arrowTimer.stop();
        return;
    }
    const QPoint from = m_arrow->line().p1().toPoint();
    const QPoint next(
        stepToward(from.x(), m_arrowTarget.x()), stepToward(from.y(), m_arrowTarget.y()));
    placeArrow(next);
}

// Puts the arrow's start at p; the walk ends there when p is the target.
void TextItem::placeArrow(const QPoint &p)
{
    if (p == m_arrowTarget)
        m_arrowTimer.stop();
    const QPointF head = m_arrow->line().p2();
    m_arrow->clearLine();
    m_arrow->setLine(p, head);
}

void TextItem::pullArrow()
{
    if (!m_arrow)
        return;
    const QPointF end = getShortLine(m_arrow->line().p2(), geometry()).p2();
    m_arrowTarget = QPoint(int(end.x()), int(end.y()));
    if (!m_arrowTimer.isActive())
        m_arrowTimer.start(kArrowStepMs);
}

void TextItem::checkVisible()
{
    if (m_arrow)
        m_arrow->setVisible(isVisible());
}

void TextItem::changeLineWidth(int w)
{
    setPointSize(w * 0.7 + 12.0);
    layoutLines();
    pullArrow();
    calcGeometry(false);
}

void TextItem::changeColor(QColor c)
{
    if (m_arrow)
        m_arrow->setColor(c);
}

void TextItem::changeCheck(bool b)
{
    if (m_arrow)
        m_arrow->setCheck(b);
}

void TextItem::arrowPositionChange()
{
    pullArrow();
}

QLineF getShortLine(const QPointF &p, const QRectF &r)
{
    QLineF best(p, r.center());
    const auto consider = [&](const QPointF &q) {
        const QLineF candidate(p, q);
        if (candidate.length() < best.length())
            best = candidate;
    };
    for (int side = 0; side < 4; ++side) {
        for (int i = 0; i < 10; ++i) {
            const double f = i / 10.0;
            switch (side) {
            case 0:
                consider(QPointF(r.x() + r.width() * f, r.y()));
                break;
            case 1:
                consider(QPointF(r.x() + r.width(), r.y() + r.height() * f));
                break;
            case 2:
                consider(QPointF(r.x() + r.width() * f, r.y() + r.height()));
                break;
            default:
                consider(QPointF(r.x(), r.y() + r.height() * f));
                break;
            }
        }
    }
    return best;
}
