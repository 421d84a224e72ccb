#pragma once
#include "Engine/GUI/Gui/guiFunction.h"

class coMode;

// One frame of a menu dialog's modal loop (the choose-coaster dialog's as it is): the mode's frame
// start without the clock's tick, a black screen, the input, the pointer, the GUI, the sound cues, the
// sound manager and the music keys at the standing game time, then the scene and the 3D frame.
class coDialogFrameFunction : public guiFunction {
  public:
    explicit coDialogFrameFunction(coMode* mode) : m_mode(mode) {}
    void Execute() override;

  protected:
    // Drawn straight onto the screen after the GUI, before the 3D frame.
    virtual void DrawOverlay() {}

  private:
    coMode* m_mode;
};

using coChooseCoasterDialogFunction = coDialogFrameFunction;
