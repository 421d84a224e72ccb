#pragma once
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiContainer.h"

#include <vector>

// A screen's script that cannot be read, or lacks a widget the screen needs, or holds it as another
// kind; carries the script's locator.
FS_LOCATOR_EXCEPTION(coScreenScriptX, 0xE0740002);

// A screen's script "<name>" in the folder of that name under the GUI root (root 10).
fsLocator coScreenScriptFolder(const char* name);
// A text set of the language folder (root 11).
fsLocator coScreenTextSet(const char* fileName);

// Loads the screen's script (or "<folder>/<script>" for one kept in another folder) into it, with the text
// set of that file name (of root 11) pushed for the load unless null. A damaged script is a coScreenScriptX
// after a warning naming it; a missing file passes on as the file system's exception.
void coLoadScreenScript(const char* name, const char* textSet, guiWindow* screen);

// A caption that its script centres in its button on either axis ("Justification") gets a window the size
// of its widest state's text, tiled so the text shows unscaled, and the justification places it: centred,
// or kept at its own margin from the side it is aligned to. A caption the screen sets later is fitted
// again by the screen. Others are left as their scripts made them.
void coFitCaption(guiButton* button);
// Every button's caption in the window's tree; the screen loader fits each script's.
void coFitCaptions(guiWindow* window);

// Where the texts of a list's rows start in from its left edge, as the captions over them do.
constexpr i32 coListTextMargin = 8;

// Warns naming the script, the widget and the kind the screen needs, and throws coScreenScriptX.
[[noreturn]] void coThrowMissingWidget(const char* script, const char* widget, const char* kind);

// The screen's direct child of that name as the kind the screen needs; coScreenScriptX when it is
// missing or of another kind.
template <class Widget>
Widget* coFindWidget(const guiContainer& screen, const char* script, const char* name, const char* kind) {
    auto* widget = dynamic_cast<Widget*>(screen.FindChild(name));
    if (!widget)
        coThrowMissingWidget(script, name, kind);
    return widget;
}

// Shows and enables a widget, or hides and disables it, so a hidden widget takes no clicks; a widget the
// screen lacks (null) is left alone.
void coShowWidget(guiWindow* widget, bool shown);

// Every text of a read-only set, text i at index i for the ids 0 to count - 1 (an id the file skips
// reads empty). Throws the text set's exceptions.
std::vector<envString> coReadTexts(const char* fileName);
// The text of that number; outside the texts an empty text and a warning naming the set.
envString coTextOrEmpty(const std::vector<envString>& texts, u32 number, const char* fileName);
