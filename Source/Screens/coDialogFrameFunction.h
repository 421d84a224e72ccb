#pragma once
#include "Engine/GUI/Gui/guiFunction.h"

class coMode;

// One frame of a menu dialog's modal loop (the choose-coaster dialog's as it is): the mode's frame
// start without the clock's tick, a black screen, the input, the pointer, the GUI, the sound cues, the
// sound manager and the music keys at the standing game time, then the scene and the 3D frame. A dialog
// over the world (the file browser) leaves the back buffer uncleared.
class coDialogFrameFunction : public guiFunction {
  public:
    explicit coDialogFrameFunction(coMode* mode, bool clearScreen = true)
        : m_mode(mode), m_clear(clearScreen) {}
    void Execute() override;

  protected:
    // Drawn straight onto the screen after the GUI, before the 3D frame.
    virtual void DrawOverlay() {}

  private:
    coMode* m_mode;
    bool m_clear;
};

using coChooseCoasterDialogFunction = coDialogFrameFunction;
