#ifndef SURFACEKEYS_H
#define SURFACEKEYS_H

#include <QObject>
#include <QString>
#include <QVariant>
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
        UncheckItems,
        HideMenu
    };

    // What the view knows at the moment of the key; selectionEmpty means narrower or lower than
    // one pixel, so nothing can be sent out of it.
    struct State
    {
        bool closePanelVisible = false;
        // The accept button's drop-down menu is open.
        bool menuOpen = false;
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

    // What the keys need to know of the canvas. The current item is the shape the user drew or
    // chose last, checked or not: Space switches to moving it right after it is drawn.
    template <typename Canvas> static void readCanvas(State &state, const Canvas *canvas)
    {
        const auto *checked = canvas ? canvas->checkItem() : nullptr;
        const auto *current = canvas ? canvas->currentItem() : nullptr;
        state.hasCheckedItem = checked;
        state.currentItemName = current ? current->name() : QString();
    }

    // The page's tool bar, once its loader has loaded it; its accept menu takes Escape first.
    template <typename View> static QObject *toolBar(const View *view)
    {
        const QObject *root = view->rootObject();
        const QObject *loader
            = root ? root->findChild<QObject *>(QStringLiteral("toolBar")) : nullptr;
        return loader ? loader->property("item").template value<QObject *>() : nullptr;
    }
    template <typename View> static void readToolBar(State &state, const View *view)
    {
        const QObject *bar = toolBar(view);
        state.menuOpen = bar && bar->property("showMenu").toBool();
    }

    // Carries out the output and canvas keys through the operations of the same names that
    // every capture window and canvas offer; false for the keys a window handles itself.
    template <typename Window, typename Canvas>
    static bool runShared(Window *window, Canvas *canvas, Action action);

private:
    static Action panelAction(int key, const State &state);
    static Action commandAction(int key, Qt::KeyboardModifiers modifiers, const State &state);
    static Action controlAction(int key, Qt::KeyboardModifiers modifiers, const State &state);
    static Action copyAction(const State &state);
    static Action escapeAction(const State &state);
    static bool spaceMovesSelector(int key, bool autoRepeat, const State &state);
};

template <typename Window, typename Canvas>
bool SurfaceKeys::runShared(Window *window, Canvas *canvas, Action action)
{
    switch (action) {
    case CopyToClipboard:
    case CopyToClipboardUnchecked:
        // The copy itself takes the handles off the shapes before the picture is taken.
        window->screenSaveToClipboard();
        return true;
    case Upload:
        window->uploadScreen();
        return true;
    case SaveToDisk:
        window->saveScreen();
        return true;
    case PostVK:
        window->screenPostVK();
        return true;
    case PostOdnoklassniki:
        window->screenPostOdnoklassniki();
        return true;
    case PostFacebook:
        window->screenPostFacebook();
        return true;
    case PostTwitter:
        window->screenPostTwitter();
        return true;
    case PostMail:
        window->screenPostMail();
        return true;
    case HideMenu:
        QMetaObject::invokeMethod(toolBar(window), "hideMenu");
        return true;
    case Undo:
    case Redo:
    case UncheckItems:
        if (!canvas)
            return true;
        if (action == Undo)
            canvas->checkUndo();
        else if (action == Redo)
            canvas->checkRedo();
        else
            canvas->uncheckAllItem();
        return true;
    default:
        return false;
    }
}

#endif // SURFACEKEYS_H
