#include "arrowitem.h"
#include "canvasfixture.h"
#include "textitem.h"

#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QUndoStack>
#include <QtTest>

namespace {

const QColor kBackground(40, 40, 40);
const QColor kRed(220, 0, 0);

int countPixels(const QImage &image, const QRect &area, bool (*match)(const QColor &))
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            n += match(image.pixelColor(x, y)) ? 1 : 0;
    }
    return n;
}

// The smallest rectangle holding every pixel of area that matches, or a null rectangle.
QRect matchingBounds(const QImage &image, const QRect &area, bool (*match)(const QColor &))
{
    QRect bounds;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (match(image.pixelColor(x, y)))
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

bool isCaret(const QColor &c)
{
    return c.red() < 20 && c.green() < 20 && c.blue() < 20;
}

bool isInk(const QColor &c)
{
    return c.red() > 150 && c.green() < 60;
}

// No half of a character outside the basic plane stands alone.
bool isWholeUtf16(const QString &s)
{
    for (int i = 0; i < s.size(); ++i) {
        if (s.at(i).isHighSurrogate() && (i + 1 == s.size() || !s.at(i + 1).isLowSurrogate()))
            return false;
        if (s.at(i).isLowSurrogate() && (i == 0 || !s.at(i - 1).isHighSurrogate()))
            return false;
    }
    return true;
}

bool isSelection(const QColor &c)
{
    return c.blue() > 200 && c.red() < 100;
}

} // namespace

// The text tool on a canvas, driven with the mouse and keys like a user: placing and typing,
// the editing keys, scaling by a corner, the empty box that goes away, the tied arrow and
// what the output shows.
class TestText : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void clickPlacesABoxAndTypingGrowsIt();
    void editingKeys_data();
    void editingKeys();
    void typingPastTheRightEdgeBreaksTheLine();
    void cornerDragScalesTheFont_data();
    void cornerDragScalesTheFont();
    void emptyBoxIsNotKept_data();
    void emptyBoxIsNotKept();
    void arrowFollowsTheBox();
    void dragBackToTheStartLeavesNoArrow();
    void nearestBorderPoint_data();
    void nearestBorderPoint();
    void outputShowsTextWithoutEditingMarks();
    void clicksPushNoSteps();
    void undoOfAnEditKeepsTextAndBoxTogether();
    void longPasteWrapsEveryLine();
    void tallBoxShowsAndMovesLikeASmallOne();

private:
    TextItem *place(QPoint at, QPoint dropAt);
    void type(const QString &text);
    int inkRight(const QRect &area) const;
    void paste(const QString &text);

    CanvasFixture m_canvas;
};

void TestText::initTestCase()
{
    QVERIFY(m_canvas.startService());
}

void TestText::init()
{
    QVERIFY(m_canvas.open(plainPicture(QSize(400, 300), kBackground), kRed));
    // Typing needs the keyboard, which only an active window gets.
    QVERIFY(QTest::qWaitForWindowActive(m_canvas.window(), 5000));
    m_canvas.area()->setCurrentModule(QStringLiteral("Text"));
    m_canvas.area()->setCurrentLineWidth(2);
}

void TestText::cleanup()
{
    m_canvas.close();
}

TextItem *TestText::place(QPoint at, QPoint dropAt)
{
    QList<QPoint> path {at};
    for (int i = 1; i <= 4; ++i)
        path.append(at + (dropAt - at) * i / 4);
    m_canvas.drag(path);
    return m_canvas.lastStored<TextItem>(QStringLiteral("Text"));
}

// Line breaks of the text are typed as Return; a character that no key names arrives as the
// keyboard layout sends it, as the text of a key event, one code point at a time.
void TestText::type(const QString &text)
{
    for (const uint c : text.toUcs4()) {
        if (c == '\n')
            QTest::keyClick(m_canvas.window(), Qt::Key_Return);
        else if (c < 128)
            QTest::keyClick(m_canvas.window(), char(c));
        else
            QTest::sendKeyEvent(QTest::Click, m_canvas.window(), Qt::Key_unknown,
                QString::fromUcs4(&c, 1), Qt::NoModifier);
    }
}

void TestText::clickPlacesABoxAndTypingGrowsIt()
{
    TextItem *text = place(QPoint(100, 100), QPoint(100, 100));
    QVERIFY(text);
    QVERIFY(!text->isReadOnly());
    // The box sits on the click: its bottom edge 9 px below it.
    const int h = QFontMetrics(text->font()).height();
    QCOMPARE(text->geometry().x(), 100.0);
    QCOMPARE(text->geometry().height(), double(h));
    QCOMPARE(text->geometry().bottom(), 109.0);
    QCOMPARE(m_canvas.area()->undoStack()->count(), 1);

    const double emptyWidth = text->geometry().width();
    type(QStringLiteral("ab"));
    QVERIFY(text->geometry().width() > emptyWidth);
    const double top = text->geometry().top();
    type(QStringLiteral("\nc"));
    QCOMPARE(text->lines(), QStringList({"ab", "c"}));
    QCOMPARE(text->caretLine(), 1);
    QCOMPARE(text->caretColumn(), 1);
    // Return grows the box downward.
    QCOMPARE(text->geometry().top(), top);
    QCOMPARE(text->geometry().height(), double(2 * h + 5));
    QCOMPARE(QRectF(text->position(), text->size()), text->geometry().adjusted(-5, -5, 5, 5));

    // Typing is no undo step; the box itself is one.
    QCOMPARE(m_canvas.area()->undoStack()->count(), 1);
    m_canvas.area()->checkUndo();
    QVERIFY(!text->isVisible());
}

void TestText::editingKeys_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QPoint>("caret");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("clipboard");
    const QString none;
    const QString untouched = QStringLiteral("untouched");
    // caret is (line, column); keys are key sequences, a single character is typed.
    QTest::newRow("up clamps the column") << "abc\nxxxxxxxxx" << QStringList {"Up"}
                                          << "abc\nxxxxxxxxx" << QPoint(0, 3) << none << untouched;
    QTest::newRow("down stays on the last line")
        << "ab\ncd" << QStringList {"Down"} << "ab\ncd" << QPoint(1, 2) << none << untouched;
    QTest::newRow("left wraps to the previous line")
        << "ab\nc" << QStringList {"Home", "Left"} << "ab\nc" << QPoint(0, 2) << none << untouched;
    QTest::newRow("right wraps to the next line") << "ab\nc" << QStringList {"PgUp", "End", "Right"}
                                                  << "ab\nc" << QPoint(1, 0) << none << untouched;
    QTest::newRow("right stays at the end")
        << "ab" << QStringList {"Right"} << "ab" << QPoint(0, 2) << none << untouched;
    QTest::newRow("page down") << "ab\ncde" << QStringList {"PgUp", "PgDown"} << "ab\ncde"
                               << QPoint(1, 3) << none << untouched;
    QTest::newRow("shift left selects") << "hello" << QStringList {"Shift+Left", "Shift+Left"}
                                        << "hello" << QPoint(0, 3) << "lo" << untouched;
    QTest::newRow("typing drops the selection")
        << "hello" << QStringList {"Shift+Left", "Shift+Left", "X"} << "helXlo" << QPoint(0, 4)
        << none << untouched;
    QTest::newRow("shift up selects to the clamped column")
        << "abc\nxxxxxxxxx" << QStringList {"Shift+Up"} << "abc\nxxxxxxxxx" << QPoint(0, 3)
        << "\nxxxxxxxxx" << untouched;
    const QStringList toAcross {"PgUp", "Right", "Right", "Right", "Right", "Shift+Right",
        "Shift+Right", "Shift+Right", "Shift+Right"};
    QTest::newRow("selection across lines")
        << "abcdef\nxy" << toAcross << "abcdef\nxy" << QPoint(1, 1) << "ef\nx" << untouched;
    QTest::newRow("backspace removes the selection")
        << "abcdef\nxy" << toAcross + QStringList {"Backspace"} << "abcdy" << QPoint(0, 4) << none
        << untouched;
    QTest::newRow("delete removes the selection") << "hello" << QStringList {"Shift+Left", "Delete"}
                                                  << "hell" << QPoint(0, 4) << none << untouched;
    QTest::newRow("backspace at the start")
        << "ab" << QStringList {"PgUp", "Backspace"} << "ab" << QPoint(0, 0) << none << untouched;
    QTest::newRow("backspace joins lines") << "ab\nc" << QStringList {"Home", "Backspace"} << "abc"
                                           << QPoint(0, 2) << none << untouched;
    QTest::newRow("delete at the end")
        << "ab" << QStringList {"Delete"} << "ab" << QPoint(0, 2) << none << untouched;
    QTest::newRow("delete joins lines") << "ab\nc" << QStringList {"PgUp", "End", "Delete"} << "abc"
                                        << QPoint(0, 2) << none << untouched;
    QTest::newRow("ctrl left to the space")
        << "one two" << QStringList {"Ctrl+Left"} << "one two" << QPoint(0, 3) << none << untouched;
    QTest::newRow("ctrl left at a line start") << "ab\ncd" << QStringList {"Home", "Ctrl+Left"}
                                               << "ab\ncd" << QPoint(0, 2) << none << untouched;
    QTest::newRow("ctrl right past the space") << "one two" << QStringList {"Home", "Ctrl+Right"}
                                               << "one two" << QPoint(0, 4) << none << untouched;
    QTest::newRow("ctrl right without a space") << "one two" << QStringList {"Left", "Ctrl+Right"}
                                                << "one two" << QPoint(0, 7) << none << untouched;
    QTest::newRow("ctrl a, ctrl c")
        << "ab\nc" << QStringList {"Ctrl+A", "Ctrl+C"} << "ab\nc" << QPoint(1, 1) << "ab\nc"
        << "ab\nc";
    QTest::newRow("ctrl c without a selection")
        << "ab" << QStringList {"Ctrl+C"} << "ab" << QPoint(0, 2) << none << "";
    QTest::newRow("ctrl x cuts") << "hello" << QStringList {"Shift+Left", "Shift+Left", "Ctrl+X"}
                                 << "hel" << QPoint(0, 3) << none << "lo";
    QTest::newRow("ctrl v puts the caret after the paste")
        << "a\nb" << QStringList {"Ctrl+A", "Ctrl+C", "PgUp", "Ctrl+V"} << "a\nba\nb"
        << QPoint(1, 1) << none << "a\nb";
    // Caret moves, deletes and selections step over whole characters.
    const QString smile = QString::fromUcs4(U"\U0001F600");
    const QString accented = QStringLiteral("e\u0301");
    QTest::newRow("left over an emoji") << "a" + smile + "b" << QStringList {"Left", "Left", "X"}
                                        << "aX" + smile + "b" << QPoint(0, 2) << none << untouched;
    QTest::newRow("backspace after an emoji")
        << "a" + smile << QStringList {"Backspace"} << "a" << QPoint(0, 1) << none << untouched;
    QTest::newRow("delete before an emoji") << smile + "b" << QStringList {"Home", "Delete"} << "b"
                                            << QPoint(0, 0) << none << untouched;
    QTest::newRow("shift left copies a whole emoji")
        << "a" + smile << QStringList {"Shift+Left", "Ctrl+C"} << "a" + smile << QPoint(0, 1)
        << smile << smile;
    QTest::newRow("up lands before an emoji")
        << smile + smile + "\na" << QStringList {"Up", "X"} << "X" + smile + smile + "\na"
        << QPoint(0, 1) << none << untouched;
    QTest::newRow("left over a combining accent")
        << accented + "x" << QStringList {"Left", "Left", "X"} << "X" + accented + "x"
        << QPoint(0, 1) << none << untouched;
    QTest::newRow("cyrillic") << QString::fromUtf8("привет") << QStringList {"Left", "Backspace"}
                              << QString::fromUtf8("привт") << QPoint(0, 4) << none << untouched;
    QTest::newRow("ctrl z is left to the window")
        << "ab" << QStringList {"Ctrl+Z"} << "ab" << QPoint(0, 2) << none << untouched;
}

void TestText::editingKeys()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, keys);
    QFETCH(QString, text);
    QFETCH(QPoint, caret);
    QFETCH(QString, selected);
    QFETCH(QString, clipboard);

    QGuiApplication::clipboard()->setText(QStringLiteral("untouched"));
    TextItem *item = place(QPoint(20, 100), QPoint(20, 100));
    QVERIFY(item);
    type(typed);
    for (const QString &key : qAsConst(keys)) {
        if (key.size() == 1) {
            type(key);
            continue;
        }
        const int combination = QKeySequence::fromString(key)[0];
        QVERIFY2(combination != 0, qPrintable(key));
        QTest::keyClick(m_canvas.window(), Qt::Key(combination & ~Qt::KeyboardModifierMask),
            Qt::KeyboardModifiers(combination & Qt::KeyboardModifierMask));
        QVERIFY2(isWholeUtf16(item->text()), qPrintable(key));
    }
    QCOMPARE(item->text(), text);
    QCOMPARE(item->lines(), text.split(QLatin1Char('\n')));
    QCOMPARE(QPoint(item->caretLine(), item->caretColumn()), caret);
    QCOMPARE(item->getSelectedText(), selected);
    QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
}

void TestText::typingPastTheRightEdgeBreaksTheLine()
{
    TextItem *text = place(QPoint(300, 100), QPoint(300, 100));
    QVERIFY(text);
    const double bottom = text->geometry().bottom();
    QString typed;
    while (text->lines().size() == 1 && typed.size() < 40) {
        typed += QLatin1Char('w');
        type(QStringLiteral("w"));
        QVERIFY(text->x() + text->geometry().width() < 420);
    }
    QCOMPARE(text->lines().size(), 2);
    // The last typed character went to the new line, and the box grew upward.
    QCOMPARE(text->lines().at(1), QStringLiteral("w"));
    QCOMPARE(text->text().remove(QLatin1Char('\n')), typed);
    QCOMPARE(QPoint(text->caretLine(), text->caretColumn()), QPoint(1, 1));
    QCOMPARE(text->geometry().bottom(), bottom);
    // Moving the caret along a full line breaks nothing more.
    QTest::keyClick(m_canvas.window(), Qt::Key_Up);
    QTest::keyClick(m_canvas.window(), Qt::Key_End);
    QCOMPARE(text->lines().size(), 2);

    // At the very edge a lone character stays: a break before it would only add empty lines.
    TextItem *edge = place(QPoint(396, 200), QPoint(396, 200));
    QVERIFY(edge && edge != text);
    type(QStringLiteral("w"));
    QCOMPARE(edge->lines(), QStringList({"w"}));
}

void TestText::cornerDragScalesTheFont_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QPoint>("by");
    QTest::addColumn<double>("pointSize");
    QTest::addColumn<int>("lineWidth");
    // Two steps of 0.4 pt, kept between 13.5 and 24.8 pt.
    QTest::newRow("grow") << 6 << QPoint(20, 20) << 17.0 << 12;
    QTest::newRow("shrink") << 6 << QPoint(-20, -20) << 15.4 << 10;
    QTest::newRow("shrink stops at 13.5") << 2 << QPoint(-20, -20) << 13.5 << 7;
    QTest::newRow("grow stops at 24.8") << 26 << QPoint(20, 20) << 24.8 << 24;
}

void TestText::cornerDragScalesTheFont()
{
    QFETCH(int, width);
    QFETCH(QPoint, by);
    QFETCH(double, pointSize);
    QFETCH(int, lineWidth);

    TextItem *text = place(QPoint(100, 100), QPoint(100, 100));
    QVERIFY(text);
    type(QStringLiteral("Ab"));
    m_canvas.area()->setCurrentLineWidth(4);
    m_canvas.area()->setCurrentLineWidth(width);
    QCOMPARE(text->font().pointSizeF(), width * 0.7 + 12.0);
    const QRectF before = text->geometry();
    const double sizeBefore = text->font().pointSizeF();

    m_canvas.area()->setCurrentModule(QStringLiteral("Move"));
    QVERIFY(text->isChecked());
    const QPoint corner = (text->position() + text->keyPositions().at(2)).toPoint();
    QTest::mouseMove(m_canvas.window(), m_canvas.onWindow(corner));
    // The window hands hover to its items with the next frame.
    QTRY_VERIFY_WITH_TIMEOUT(text->onKey(), 2000);
    QTest::mousePress(m_canvas.window(), Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(corner));
    QTest::mouseMove(m_canvas.window(), m_canvas.onWindow(corner + by / 2));
    QTest::mouseMove(m_canvas.window(), m_canvas.onWindow(corner + by));
    QTest::mouseRelease(
        m_canvas.window(), Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(corner + by));
    QCOMPARE(text->font().pointSizeF(), pointSize);
    QCOMPARE(text->lineWidth(), lineWidth);
    // The opposite corner stays.
    QCOMPARE(text->geometry().topLeft(), before.topLeft());

    m_canvas.area()->checkUndo();
    QCOMPARE(text->font().pointSizeF(), sizeBefore);
    QCOMPARE(text->geometry(), before);
    QVERIFY(text->isVisible());
}

void TestText::emptyBoxIsNotKept_data()
{
    QTest::addColumn<bool>("typeFirst");
    QTest::addColumn<bool>("changeTool");
    QTest::newRow("empty, tool changed") << false << true;
    QTest::newRow("empty, another box placed") << false << false;
    QTest::newRow("with text, tool changed") << true << true;
}

void TestText::emptyBoxIsNotKept()
{
    QFETCH(bool, typeFirst);
    QFETCH(bool, changeTool);

    TextItem *first = place(QPoint(100, 100), QPoint(100, 100));
    QVERIFY(first);
    if (typeFirst)
        type(QStringLiteral("x"));
    QSignalSpy redo(m_canvas.area(), &KPainterArea::canRedoChange);
    if (changeTool)
        m_canvas.area()->setCurrentModule(QStringLiteral("Rect"));
    else
        QVERIFY(place(QPoint(200, 200), QPoint(200, 200)) != first);
    QVERIFY(first->isReadOnly());
    QCOMPARE(first->isVisible(), typeFirst);
    const int boxes = (typeFirst ? 1 : 0) + (changeTool ? 0 : 1);
    QCOMPARE(m_canvas.area()->undoStack()->count(), boxes);
    QVERIFY(!m_canvas.area()->canRedo());
    // The redo button hears of it too.
    if (!redo.isEmpty())
        QCOMPARE(redo.last().at(0).toBool(), false);
    QCOMPARE(redo.isEmpty(), typeFirst);
    // Nothing comes back with redo, and undo takes back only the boxes that stay.
    m_canvas.area()->checkRedo();
    QCOMPARE(first->isVisible(), typeFirst);
}

void TestText::arrowFollowsTheBox()
{
    const QPoint press(40, 250);
    TextItem *text = place(press, QPoint(250, 100));
    QVERIFY(text);
    auto *arrow = qobject_cast<ArrowItem *>(
        m_canvas.area()->moduleFromName(QStringLiteral("Arrow"))->currentItem());
    QVERIFY(arrow);
    QCOMPARE(text->arrowItem(), arrow);
    QVERIFY(!arrow->isReverse());
    QCOMPARE(arrow->line().p2(), QPointF(press));
    // Only the head is the user's to drag.
    QCOMPARE(arrow->keyPositions(), QList<QPointF>({arrow->localLine().p2()}));

    type(QStringLiteral("note"));
    text->move(200, 20);
    const QPointF end = getShortLine(QPointF(press), text->geometry()).p2();
    const QPointF target(int(end.x()), int(end.y()));
    QTRY_COMPARE_WITH_TIMEOUT(arrow->line().p1(), target, 2000);
    QCOMPARE(arrow->line().p2(), QPointF(press));

    // A drag of the box puts the arrow at the box by the release, not half-way.
    m_canvas.area()->setCurrentModule(QStringLiteral("Move"));
    const QPoint grab = (text->position() + QPointF(12, text->height() / 2)).toPoint();
    QTest::mouseMove(m_canvas.window(), m_canvas.onWindow(grab));
    QTest::mousePress(m_canvas.window(), Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(grab));
    QTest::mouseMove(m_canvas.window(), m_canvas.onWindow(grab + QPoint(150, 120)));
    QTest::mouseRelease(m_canvas.window(), Qt::LeftButton, Qt::NoModifier,
        m_canvas.onWindow(grab + QPoint(150, 120)));
    const QPointF moved = getShortLine(QPointF(press), text->geometry()).p2();
    QCOMPARE(arrow->line().p1(), QPointF(int(moved.x()), int(moved.y())));
    QCOMPARE(m_canvas.area()->undoStack()->text(m_canvas.area()->undoStack()->index() - 1),
        QStringLiteral("Move"));

    // The arrow lives and dies with its box.
    m_canvas.area()->checkUndo();
    m_canvas.area()->checkUndo();
    QVERIFY(!text->isVisible());
    QVERIFY(!arrow->isVisible());
    m_canvas.area()->checkRedo();
    QVERIFY(arrow->isVisible());
}

void TestText::dragBackToTheStartLeavesNoArrow()
{
    const QPoint start(60, 200);
    QTest::mousePress(m_canvas.window(), Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(start));
    QTest::mouseMove(m_canvas.window(), m_canvas.onWindow(start + QPoint(80, 0)));
    QTest::mouseMove(m_canvas.window(), m_canvas.onWindow(start + QPoint(90, 10)));
    QTest::mouseRelease(
        m_canvas.window(), Qt::LeftButton, Qt::NoModifier, m_canvas.onWindow(start));
    TextItem *text = qobject_cast<TextItem *>(m_canvas.area()->currentItem());
    QVERIFY(text && !text->arrowItem());
    auto *arrow = m_canvas.area()->moduleFromName(QStringLiteral("Arrow"))->currentItem();
    QVERIFY(arrow);
    QVERIFY(!arrow->isVisible());
}

void TestText::nearestBorderPoint_data()
{
    QTest::addColumn<QPointF>("from");
    QTest::addColumn<QPointF>("nearest");
    const QRectF r(100, 50, 200, 80);
    QTest::newRow("left of the box") << QPointF(0, 90) << QPointF(100, 90);
    QTest::newRow("above the box") << QPointF(160, 0) << QPointF(160, 50);
    QTest::newRow("below right, corner is no sample") << QPointF(400, 300) << QPointF(300, 122);
    QTest::newRow("centre") << r.center() << r.center();
}

void TestText::nearestBorderPoint()
{
    QFETCH(QPointF, from);
    QFETCH(QPointF, nearest);
    const QLineF line = getShortLine(from, QRectF(100, 50, 200, 80));
    QCOMPARE(line.p1(), from);
    QCOMPARE(line.p2(), nearest);
}

void TestText::outputShowsTextWithoutEditingMarks()
{
    m_canvas.area()->setCurrentLineWidth(10);
    TextItem *text = place(QPoint(50, 100), QPoint(50, 100));
    QVERIFY(text);
    type(QStringLiteral("WWW"));
    QTest::keyClick(m_canvas.window(), Qt::Key_A, Qt::ControlModifier);
    const QRect box = text->geometry().toRect();

    // The screen shows the caret at times and the selection always; the output shows neither.
    bool caretSeen = false;
    QElapsedTimer clock;
    clock.start();
    while (!caretSeen && clock.elapsed() < 2000) {
        QImage screen(text->size().toSize(), QImage::Format_ARGB32_Premultiplied);
        screen.fill(kBackground);
        QPainter painter(&screen);
        text->paint(&painter);
        painter.end();
        caretSeen = countPixels(screen, screen.rect(), isCaret) > 5;
        QVERIFY(countPixels(screen, screen.rect(), isSelection) > 20);
        const QImage output = m_canvas.area()->renderRect(QRect(0, 0, 400, 300), 50000, true);
        QVERIFY(countPixels(output, box, isInk) > 20);
        QCOMPARE(countPixels(output, box, isCaret), 0);
        QCOMPARE(countPixels(output, box, isSelection), 0);
        QTest::qWait(50);
    }
    QVERIFY(caretSeen);
}

// The rightmost column of the output inside area that shows ink, or -1.
int TestText::inkRight(const QRect &area) const
{
    const QImage output = m_canvas.output();
    for (int x = area.right(); x >= area.left(); --x) {
        if (countPixels(output, QRect(x, area.top(), 1, area.height()), isInk) > 0)
            return x;
    }
    return -1;
}

void TestText::clicksPushNoSteps()
{
    TextItem *text = place(QPoint(100, 100), QPoint(100, 100));
    QVERIFY(text);
    type(QStringLiteral("abc"));
    m_canvas.area()->setCurrentModule(QStringLiteral("Move"));
    const QPoint inside = m_canvas.onWindow((text->position() + QPointF(15, 10)).toPoint());
    QTest::mouseClick(m_canvas.window(), Qt::LeftButton, Qt::NoModifier, inside);
    QTest::mouseDClick(m_canvas.window(), Qt::LeftButton, Qt::NoModifier, inside);
    QVERIFY(!text->isReadOnly());
    QCOMPARE(m_canvas.area()->undoStack()->count(), 1);
    QCOMPARE(text->text(), QStringLiteral("abc"));
}

// Opened again with a double-click, a box takes more text; undo takes that text back with the
// box, redo brings both, and the output never shows a box narrower than its text.
void TestText::undoOfAnEditKeepsTextAndBoxTogether()
{
    TextItem *text = place(QPoint(40, 100), QPoint(40, 100));
    QVERIFY(text);
    type(QStringLiteral("ab"));
    m_canvas.area()->setCurrentModule(QStringLiteral("Move"));
    m_canvas.area()->uncheckAllItem();
    QVERIFY(text->isReadOnly());
    const QRect area(0, 80, 400, 40);
    const int shortRight = inkRight(area);
    QVERIFY(shortRight > 40);

    const QPoint inside = m_canvas.onWindow((text->position() + QPointF(12, 10)).toPoint());
    QTest::mouseDClick(m_canvas.window(), Qt::LeftButton, Qt::NoModifier, inside);
    QVERIFY(!text->isReadOnly());
    QTest::keyClick(m_canvas.window(), Qt::Key_End);
    type(QStringLiteral("cdefghijklmnop"));
    const int longRight = inkRight(area);
    QVERIFY(longRight > shortRight + 60);

    m_canvas.area()->checkUndo();
    QVERIFY(text->isVisible());
    QCOMPARE(text->text(), QStringLiteral("ab"));
    QCOMPARE(inkRight(area), shortRight);
    // Ctrl+Shift+Z reaches the box before the window redoes.
    QTest::keyClick(m_canvas.window(), Qt::Key_Control);
    m_canvas.area()->checkRedo();
    QCOMPARE(text->text(), QStringLiteral("abcdefghijklmnop"));
    QCOMPARE(inkRight(area), longRight);
    // The box itself is still one step further back.
    m_canvas.area()->checkUndo();
    m_canvas.area()->checkUndo();
    QVERIFY(!text->isVisible());
}

void TestText::paste(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(m_canvas.window(), Qt::Key_V, Qt::ControlModifier);
}

// A paste of many words is broken into lines that all end before the selection's right edge,
// at spaces; nothing of the text is lost and the caret stays after it.
void TestText::longPasteWrapsEveryLine()
{
    m_canvas.area()->setSelectRect(QRectF(0, 100, 250, 200));
    TextItem *text = place(QPoint(20, 280), QPoint(20, 280));
    QVERIFY(text);
    QStringList words;
    for (int i = 0; i < 400; ++i)
        words.append(QStringLiteral("w%1").arg(i * 37 % 1000));
    const QString pasted = words.join(QLatin1Char(' '));
    paste(pasted);

    QCOMPARE(text->text().remove(QLatin1Char('\n')), pasted);
    QVERIFY(text->lines().size() > 20);
    for (const QString &line : text->lines().mid(0, text->lines().size() - 1))
        QVERIFY2(line.endsWith(QLatin1Char(' ')), qPrintable(line));
    QCOMPARE(text->caretLine(), text->lines().size() - 1);
    QCOMPARE(text->caretColumn(), text->lines().constLast().size());
    // Taller than the selection, the box shows the caret's line at the selection's bottom;
    // Page Up brings its first line to the top.
    QVERIFY(text->geometry().bottom() <= 300);
    QTest::keyClick(m_canvas.window(), Qt::Key_PageUp);
    QCOMPARE(text->geometry().top(), 100.0);
    // The output shows the text on many rows, and none of it right of or above the selection.
    m_canvas.area()->uncheckAllItem();
    const QImage output = m_canvas.output();
    QCOMPARE(countPixels(output, QRect(250, 0, 150, 300), isInk), 0);
    QCOMPARE(countPixels(output, QRect(0, 0, 400, 100), isInk), 0);
    int rows = 0;
    for (int y = 100; y < 300; y += 10)
        rows += countPixels(output, QRect(20, y, 230, 10), isInk) > 0 ? 1 : 0;
    QVERIFY2(rows > 14, qPrintable(QString::number(rows)));
}

// A box of 5,000 lines reaches far beyond the picture. Its last line takes keys where they
// show; from Page Up on its first lines show, and a drag and its undo move the whole box.
void TestText::tallBoxShowsAndMovesLikeASmallOne()
{
    TextItem *text = place(QPoint(20, 250), QPoint(20, 250));
    QVERIFY(text);
    QStringList lines;
    for (int i = 0; i < 5000; ++i)
        lines.append(QStringLiteral("line %1").arg(i));
    paste(lines.join(QLatin1Char('\n')));
    type(QStringLiteral("Z"));
    QCOMPARE(text->lines().size(), 5000);
    QCOMPARE(text->lines().constLast(), QStringLiteral("line 4999Z"));
    QVERIFY(text->geometry().bottom() <= 300);
    QTest::keyClick(m_canvas.window(), Qt::Key_PageUp);
    const QRectF box = text->geometry();
    QCOMPARE(box.top(), 0.0);
    QVERIFY(box.bottom() > 50000);
    // The item, and so the texture a frame paints, covers only the rows over the picture, and
    // its text stands on the screen where the output has it.
    QVERIFY(text->height() < 400);
    m_canvas.area()->uncheckAllItem();
    QImage screen(text->size().toSize(), QImage::Format_ARGB32_Premultiplied);
    screen.fill(kBackground);
    QPainter painter(&screen);
    text->paint(&painter);
    painter.end();
    const QRect picture(0, 0, 400, 300);
    const QPoint at = text->position().toPoint();
    const QRect onScreen = matchingBounds(screen, picture.translated(-at) & screen.rect(), isInk);
    QVERIFY(onScreen.height() > 200);
    QCOMPARE(matchingBounds(m_canvas.output(), picture, isInk), onScreen.translated(at));

    m_canvas.area()->setCurrentModule(QStringLiteral("Move"));
    const int h = QFontMetrics(text->font()).height();
    const QRect firstRow(10, int(box.top()), 200, h);
    const int right = inkRight(firstRow);
    QVERIFY(right > 60);
    QVERIFY(inkRight(firstRow.translated(0, 10 * (h + 5))) > right);

    const QPoint grab = m_canvas.onWindow(QPoint(40, int(box.top()) + h / 2));
    QTest::mousePress(m_canvas.window(), Qt::LeftButton, Qt::NoModifier, grab);
    QTest::mouseMove(m_canvas.window(), grab + QPoint(20, 10));
    QTest::mouseMove(m_canvas.window(), grab + QPoint(40, 20));
    QTest::mouseRelease(m_canvas.window(), Qt::LeftButton, Qt::NoModifier, grab + QPoint(40, 20));
    QCOMPARE(text->geometry().topLeft(), box.topLeft() + QPointF(40, 20));
    m_canvas.area()->uncheckAllItem();
    QCOMPARE(inkRight(firstRow.translated(40, 20).adjusted(0, 0, 60, 0)), right + 40);
    m_canvas.area()->checkUndo();
    QCOMPARE(text->geometry().topLeft(), box.topLeft());
    QCOMPARE(inkRight(firstRow), right);
}

QTEST_MAIN(TestText)
#include "tst_text.moc"
