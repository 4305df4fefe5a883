#ifndef SURFACEKEYS_H
#define SURFACEKEYS_H

#include <QString>
#include <Qt>

// The key map of the capture view, kept apart from the view so that every row can be checked
// without a screen: the view gathers its state, asks what a key means and carries it out.
class SurfaceKeys
{
public:
    enum Action {
        None,
        Close,
        HideClosePanel,
        ShowClosePanel,
        CopyColor,
        CopyToClipboard,
        CopyToClipboardUnchecked,
        CopySelectedText,
        Upload,
        SaveToDisk,
        PostVK,
        PostOdnoklassniki,
        PostFacebook,
        PostTwitter,
        PostMail,
        Redo,
        Undo,
        UncheckItems
    };

    // What the view knows at the moment of the key; selectionEmpty means narrower or lower than
    // one pixel, so nothing can be sent out of it.
    struct State
    {
        bool closePanelVisible = false;
        bool showCloseSurfaceWindow = true;
        bool selectionEmpty = true;
        bool hasCheckedItem = false;
        QString currentItemName;
        bool currentItemHasSelectedText = false;
        bool selectorExists = true;
        bool selectionComplete = false;
        // Held with Control, it turns V, O, F, T and E into the share keys.
        Qt::KeyboardModifier shareModifier = Qt::ShiftModifier;
    };

    struct Press
    {
        Action action = None;
        bool startMoveSelector = false;
    };

    struct Release
    {
        bool stopMoveSelector = false;
        bool selectLastModule = false;
    };

    static Press press(
        int key, Qt::KeyboardModifiers modifiers, bool autoRepeat, const State &state);
    static Release release(int key, bool autoRepeat, const State &state);

private:
    static Action panelAction(int key, const State &state);
    static Action commandAction(int key, Qt::KeyboardModifiers modifiers, const State &state);
    static Action controlAction(int key, Qt::KeyboardModifiers modifiers, const State &state);
    static Action copyAction(const State &state);
    static Action escapeAction(const State &state);
    static bool spaceMovesSelector(int key, bool autoRepeat, const State &state);
};

#endif // SURFACEKEYS_H
