#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/GUI/Gui/guiMaterial.h"
#include "Engine/GUI/Gui/guiScriptTargets.h"

// The material widget whose states show image files, shared with other widgets through the GUI
// texture cache.
class guiImage : public guiMaterial, public guiImageTarget {
  public:
    // The state's old texture goes back to the cache before the file is asked for, so a file that
    // cannot be loaded leaves the state untextured and its exception passes on.
    void SetImage(const fsLocator& file, i32 state);
    // The file as the texture cache records it; untouched for a state without an image.
    void GetImageFile(i32 state, fsLocator& file) const;
};
