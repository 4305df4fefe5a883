#include "surfacekeys.h"

namespace {
const Qt::KeyboardModifiers relevantModifiers
    = Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier;

bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// Sending the picture out of a selection of no area would hand out an empty file or, worse,
// the whole screen; such keys do nothing until a real area is selected.
bool needsArea(SurfaceKeys::Action action)
{
    switch (action) {
    case SurfaceKeys::Upload:
    case SurfaceKeys::SaveToDisk:
    case SurfaceKeys::CopyToClipboard:
    case SurfaceKeys::CopyToClipboardUnchecked:
    case SurfaceKeys::PostVK:
    case SurfaceKeys::PostOdnoklassniki:
    case SurfaceKeys::PostFacebook:
    case SurfaceKeys::PostTwitter:
    case SurfaceKeys::PostMail:
        return true;
    default:
        return false;
    }
}
} // namespace

SurfaceKeys::Press SurfaceKeys::press(
    int key, Qt::KeyboardModifiers modifiers, bool autoRepeat, const State &state)
{
    Press result;
    if (state.closePanelVisible) {
        result.action = panelAction(key, state);
        return result;
    }
    result.action = commandAction(key, modifiers, state);
    if (state.selectionEmpty && needsArea(result.action))
        result.action = None;
    result.startMoveSelector = spaceMovesSelector(key, autoRepeat, state);
    return result;
}

SurfaceKeys::Release SurfaceKeys::release(int key, bool autoRepeat, const State &state)
{
    Release result;
    if (key != Qt::Key_Space)
        return result;
    result.stopMoveSelector = spaceMovesSelector(key, autoRepeat, state);
    result.selectLastModule = !state.currentItemName.isEmpty() && state.currentItemName != "Text";
    return result;
}

SurfaceKeys::Action SurfaceKeys::panelAction(int key, const State &state)
{
    if (isEnter(key))
        return Close;
    if (key == Qt::Key_Escape && state.showCloseSurfaceWindow)
        return HideClosePanel;
    return None;
}

SurfaceKeys::Action SurfaceKeys::commandAction(
    int key, Qt::KeyboardModifiers modifiers, const State &state)
{
    const Qt::KeyboardModifiers held = modifiers & relevantModifiers;
    if (held.testFlag(Qt::ControlModifier)) {
        const Action action = controlAction(key, held, state);
        if (action != None)
            return action;
    }
    if (key == Qt::Key_F4 && held.testFlag(Qt::AltModifier))
        return Close;
    if (key == Qt::Key_Escape)
        return escapeAction(state);
    return None;
}

SurfaceKeys::Action SurfaceKeys::controlAction(
    int key, Qt::KeyboardModifiers held, const State &state)
{
    const bool share = held.testFlag(state.shareModifier);
    switch (key) {
    case Qt::Key_C:
        return state.selectionEmpty ? CopyColor : copyAction(state);
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return Upload;
    case Qt::Key_S:
        return SaveToDisk;
    case Qt::Key_V:
        return share ? PostVK : None;
    case Qt::Key_O:
        return share ? PostOdnoklassniki : None;
    case Qt::Key_F:
        return share ? PostFacebook : None;
    case Qt::Key_T:
        return share ? PostTwitter : None;
    case Qt::Key_E:
        return share ? PostMail : None;
    case Qt::Key_Z:
        // Redo wants Control and Shift alone; with anything more held the same key undoes.
        return held == (Qt::ControlModifier | Qt::ShiftModifier) ? Redo : Undo;
    default:
        return None;
    }
}

SurfaceKeys::Action SurfaceKeys::copyAction(const State &state)
{
    if (state.currentItemName.isEmpty())
        return CopyToClipboard;
    if (state.currentItemName == "Text" && state.currentItemHasSelectedText)
        return CopySelectedText;
    return CopyToClipboardUnchecked;
}

SurfaceKeys::Action SurfaceKeys::escapeAction(const State &state)
{
    if (state.menuOpen)
        return HideMenu;
    if (!state.showCloseSurfaceWindow)
        return Close;
    if (state.hasCheckedItem)
        return UncheckItems;
    if (state.selectionEmpty)
        return Close;
    return ShowClosePanel;
}

bool SurfaceKeys::spaceMovesSelector(int key, bool autoRepeat, const State &state)
{
    return key == Qt::Key_Space && !autoRepeat && state.selectorExists && !state.selectionComplete;
}
