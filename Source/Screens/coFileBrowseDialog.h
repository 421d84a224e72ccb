#pragma once
#include "Engine/GUI/Xui/xuiFileBrowseDialog.h"
#include "Source/Screens/coDialogFrameFunction.h"

// The toolkit's file browser in the game's dress ("uibd" with "uibd.tsf"), built hidden and disabled.
// Enter and Escape are off: only its Ok and Cancel buttons end a run.
class coFileBrowseDialog : public xuiFileBrowseDialog {
  public:
    // Throws coScreenScriptX for a damaged script and the loaders' exceptions for missing files.
    coFileBrowseDialog();
};

// A frame of the browser's run: the dialog frame over the world as it stands, game time still.
class coFileBrowseDialogFunction : public coDialogFrameFunction {
  public:
    explicit coFileBrowseDialogFunction(std::function<void()> frameStart)
        : coDialogFrameFunction(std::move(frameStart), false) {}
};
