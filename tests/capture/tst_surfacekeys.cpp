#include "surfacekeys.h"

#include <QtTest>

Q_DECLARE_METATYPE(SurfaceKeys::Action)
Q_DECLARE_METATYPE(Qt::KeyboardModifiers)
Q_DECLARE_METATYPE(SurfaceKeys::State)

namespace {
const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
const Qt::KeyboardModifiers ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;

SurfaceKeys::State selected()
{
    SurfaceKeys::State state;
    state.selectionEmpty = false;
    state.selectionComplete = true;
    return state;
}

SurfaceKeys::State withItem(const QString &name, bool selectedText = false)
{
    SurfaceKeys::State state = selected();
    state.currentItemName = name;
    state.currentItemHasSelectedText = selectedText;
    return state;
}
} // namespace

class TestSurfaceKeys : public QObject
{
    Q_OBJECT

private slots:
    void press_data();
    void press();
    void panel_data();
    void panel();
    void space_data();
    void space();
    void release_data();
    void release();
};

void TestSurfaceKeys::press_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<SurfaceKeys::State>("state");
    QTest::addColumn<SurfaceKeys::Action>("action");

    SurfaceKeys::State nothing;
    SurfaceKeys::State area = selected();
    SurfaceKeys::State checked = selected();
    checked.hasCheckedItem = true;
    SurfaceKeys::State noConfirm = selected();
    noConfirm.showCloseSurfaceWindow = false;
    SurfaceKeys::State checkedNoConfirm = checked;
    checkedNoConfirm.showCloseSurfaceWindow = false;
    SurfaceKeys::State thinArea = nothing;
    SurfaceKeys::State menu = checkedNoConfirm;
    menu.menuOpen = true;
    thinArea.selectionComplete = true;

    QTest::newRow("ctrl+c without area copies the colour")
        << int(Qt::Key_C) << ctrl << nothing << SurfaceKeys::CopyColor;
    QTest::newRow("ctrl+c with area and no item copies the picture")
        << int(Qt::Key_C) << ctrl << area << SurfaceKeys::CopyToClipboard;
    QTest::newRow("ctrl+shift+c behaves as ctrl+c")
        << int(Qt::Key_C) << ctrlShift << area << SurfaceKeys::CopyToClipboard;
    QTest::newRow("ctrl+c over text with a selected part copies that text")
        << int(Qt::Key_C) << ctrl << withItem("Text", true) << SurfaceKeys::CopySelectedText;
    QTest::newRow("ctrl+c over text with nothing selected copies the picture")
        << int(Qt::Key_C) << ctrl << withItem("Text") << SurfaceKeys::CopyToClipboardUnchecked;
    QTest::newRow("ctrl+c over another shape unchecks it first") << int(
        Qt::Key_C) << ctrl << withItem("Move", true) << SurfaceKeys::CopyToClipboardUnchecked;
    QTest::newRow("plain c does nothing")
        << int(Qt::Key_C) << Qt::KeyboardModifiers() << area << SurfaceKeys::None;
    QTest::newRow("ctrl+return uploads")
        << int(Qt::Key_Return) << ctrl << area << SurfaceKeys::Upload;
    QTest::newRow("ctrl+enter uploads")
        << int(Qt::Key_Enter) << ctrl << area << SurfaceKeys::Upload;
    QTest::newRow("plain return does nothing")
        << int(Qt::Key_Return) << Qt::KeyboardModifiers() << area << SurfaceKeys::None;
    QTest::newRow("ctrl+s saves") << int(Qt::Key_S) << ctrl << area << SurfaceKeys::SaveToDisk;
    QTest::newRow("ctrl+shift+s saves")
        << int(Qt::Key_S) << ctrlShift << area << SurfaceKeys::SaveToDisk;
    QTest::newRow("ctrl+shift+v") << int(Qt::Key_V) << ctrlShift << area << SurfaceKeys::PostVK;
    QTest::newRow("ctrl+shift+o") << int(Qt::Key_O) << ctrlShift << area
                                  << SurfaceKeys::PostOdnoklassniki;
    QTest::newRow("ctrl+shift+f") << int(Qt::Key_F) << ctrlShift << area
                                  << SurfaceKeys::PostFacebook;
    QTest::newRow("ctrl+shift+t") << int(Qt::Key_T) << ctrlShift << area
                                  << SurfaceKeys::PostTwitter;
    QTest::newRow("ctrl+shift+e") << int(Qt::Key_E) << ctrlShift << area << SurfaceKeys::PostMail;
    QTest::newRow("ctrl+v without shift does nothing")
        << int(Qt::Key_V) << ctrl << area << SurfaceKeys::None;
    QTest::newRow("ctrl+shift+z redoes")
        << int(Qt::Key_Z) << ctrlShift << area << SurfaceKeys::Redo;
    QTest::newRow("ctrl+alt+shift+z undoes")
        << int(Qt::Key_Z) << (ctrlShift | Qt::AltModifier) << area << SurfaceKeys::Undo;
    QTest::newRow("keypad flag does not spoil redo")
        << int(Qt::Key_Z) << (ctrlShift | Qt::KeypadModifier) << area << SurfaceKeys::Redo;
    QTest::newRow("ctrl+z undoes") << int(Qt::Key_Z) << ctrl << area << SurfaceKeys::Undo;
    QTest::newRow("ctrl+alt+z undoes")
        << int(Qt::Key_Z) << (ctrl | Qt::AltModifier) << area << SurfaceKeys::Undo;
    QTest::newRow("undo works without an area")
        << int(Qt::Key_Z) << ctrl << nothing << SurfaceKeys::Undo;
    QTest::newRow("alt+f4 closes")
        << int(Qt::Key_F4) << Qt::KeyboardModifiers(Qt::AltModifier) << area << SurfaceKeys::Close;
    QTest::newRow("ctrl+alt+f4 closes")
        << int(Qt::Key_F4) << (ctrl | Qt::AltModifier) << area << SurfaceKeys::Close;
    QTest::newRow("f4 without alt does nothing")
        << int(Qt::Key_F4) << Qt::KeyboardModifiers() << area << SurfaceKeys::None;
    QTest::newRow("unknown key does nothing")
        << int(Qt::Key_Q) << ctrlShift << area << SurfaceKeys::None;

    // The Escape matrix: setting x checked item x area.
    const Qt::KeyboardModifiers none;
    QTest::newRow("escape, nothing selected, confirmation on")
        << int(Qt::Key_Escape) << none << nothing << SurfaceKeys::Close;
    QTest::newRow("escape, area, confirmation on")
        << int(Qt::Key_Escape) << none << area << SurfaceKeys::ShowClosePanel;
    QTest::newRow("escape, checked item, confirmation on")
        << int(Qt::Key_Escape) << none << checked << SurfaceKeys::UncheckItems;
    QTest::newRow("escape, area, confirmation off")
        << int(Qt::Key_Escape) << none << noConfirm << SurfaceKeys::Close;
    QTest::newRow("escape, checked item, confirmation off")
        << int(Qt::Key_Escape) << none << checkedNoConfirm << SurfaceKeys::Close;
    QTest::newRow("escape closes the accept menu first")
        << int(Qt::Key_Escape) << none << menu << SurfaceKeys::HideMenu;
    QTest::newRow("ctrl+escape is still escape")
        << int(Qt::Key_Escape) << ctrl << area << SurfaceKeys::ShowClosePanel;

    // No output may come out of an area without width or height.
    for (int key : {int(Qt::Key_Return), int(Qt::Key_S), int(Qt::Key_V), int(Qt::Key_O),
             int(Qt::Key_F), int(Qt::Key_T), int(Qt::Key_E)}) {
        QTest::addRow("no area, ctrl+shift+%s", qPrintable(QKeySequence(key).toString()))
            << key << ctrlShift << thinArea << SurfaceKeys::None;
    }
}

void TestSurfaceKeys::press()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(SurfaceKeys::State, state);
    QFETCH(SurfaceKeys::Action, action);

    QCOMPARE(SurfaceKeys::press(key, modifiers, false, state).action, action);
}

void TestSurfaceKeys::panel_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("showCloseSurfaceWindow");
    QTest::addColumn<SurfaceKeys::Action>("action");

    QTest::newRow("return closes")
        << int(Qt::Key_Return) << Qt::KeyboardModifiers() << true << SurfaceKeys::Close;
    QTest::newRow("enter closes") << int(Qt::Key_Enter) << Qt::KeyboardModifiers() << true
                                  << SurfaceKeys::Close;
    QTest::newRow("ctrl+return closes rather than uploads")
        << int(Qt::Key_Return) << ctrl << true << SurfaceKeys::Close;
    QTest::newRow("escape hides the panel")
        << int(Qt::Key_Escape) << Qt::KeyboardModifiers() << true << SurfaceKeys::HideClosePanel;
    QTest::newRow("escape with confirmation off leaves it")
        << int(Qt::Key_Escape) << Qt::KeyboardModifiers() << false << SurfaceKeys::None;
    QTest::newRow("ctrl+s is ignored") << int(Qt::Key_S) << ctrl << true << SurfaceKeys::None;
    QTest::newRow("ctrl+z is ignored") << int(Qt::Key_Z) << ctrl << true << SurfaceKeys::None;
    QTest::newRow("alt+f4 is ignored")
        << int(Qt::Key_F4) << Qt::KeyboardModifiers(Qt::AltModifier) << true << SurfaceKeys::None;
}

void TestSurfaceKeys::panel()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, showCloseSurfaceWindow);
    QFETCH(SurfaceKeys::Action, action);

    SurfaceKeys::State state = selected();
    state.closePanelVisible = true;
    state.showCloseSurfaceWindow = showCloseSurfaceWindow;
    const SurfaceKeys::Press press = SurfaceKeys::press(key, modifiers, false, state);
    QCOMPARE(press.action, action);
    QVERIFY(!press.startMoveSelector);
}

void TestSurfaceKeys::space_data()
{
    QTest::addColumn<bool>("autoRepeat");
    QTest::addColumn<bool>("selectorExists");
    QTest::addColumn<bool>("selectionComplete");
    QTest::addColumn<bool>("panelVisible");
    QTest::addColumn<bool>("moves");

    QTest::newRow("first press while drawing") << false << true << false << false << true;
    QTest::newRow("auto-repeat does not re-enter") << true << true << false << false << false;
    QTest::newRow("complete selection") << false << true << true << false << false;
    QTest::newRow("no selector") << false << false << false << false << false;
    QTest::newRow("confirmation panel shown") << false << true << false << true << false;
}

void TestSurfaceKeys::space()
{
    QFETCH(bool, autoRepeat);
    QFETCH(bool, selectorExists);
    QFETCH(bool, selectionComplete);
    QFETCH(bool, panelVisible);
    QFETCH(bool, moves);

    SurfaceKeys::State state;
    state.selectorExists = selectorExists;
    state.selectionComplete = selectionComplete;
    state.closePanelVisible = panelVisible;
    const SurfaceKeys::Press press
        = SurfaceKeys::press(Qt::Key_Space, Qt::KeyboardModifiers(), autoRepeat, state);
    QCOMPARE(press.startMoveSelector, moves);
    QCOMPARE(press.action, SurfaceKeys::None);
    QVERIFY(
        !SurfaceKeys::press(Qt::Key_A, Qt::KeyboardModifiers(), false, state).startMoveSelector);
}

void TestSurfaceKeys::release_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("autoRepeat");
    QTest::addColumn<bool>("selectionComplete");
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("stopsMove");
    QTest::addColumn<bool>("selectsLastModule");

    QTest::newRow("space while drawing stops the move")
        << int(Qt::Key_Space) << false << false << QString() << true << false;
    QTest::newRow("repeated space keeps the move")
        << int(Qt::Key_Space) << true << false << QString() << false << false;
    QTest::newRow("space over a shape returns to its tool")
        << int(Qt::Key_Space) << false << true << "Move" << false << true;
    QTest::newRow("repeated space over a shape returns to its tool")
        << int(Qt::Key_Space) << true << true << "Move" << false << true;
    QTest::newRow("space over text keeps typing")
        << int(Qt::Key_Space) << false << true << "Text" << false << false;
    QTest::newRow("other key does nothing")
        << int(Qt::Key_A) << false << false << "Move" << false << false;
}

void TestSurfaceKeys::release()
{
    QFETCH(int, key);
    QFETCH(bool, autoRepeat);
    QFETCH(bool, selectionComplete);
    QFETCH(QString, item);
    QFETCH(bool, stopsMove);
    QFETCH(bool, selectsLastModule);

    SurfaceKeys::State state;
    state.selectionComplete = selectionComplete;
    state.currentItemName = item;
    const SurfaceKeys::Release release = SurfaceKeys::release(key, autoRepeat, state);
    QCOMPARE(release.stopMoveSelector, stopsMove);
    QCOMPARE(release.selectLastModule, selectsLastModule);
}

QTEST_GUILESS_MAIN(TestSurfaceKeys)
#include "tst_surfacekeys.moc"
