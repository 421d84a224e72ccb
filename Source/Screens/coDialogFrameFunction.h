#pragma once
#include "Engine/GUI/Gui/guiFunction.h"

#include <functional>
#include <utility>

// One frame of a menu dialog's modal loop (the choose-coaster dialog's as it is): the frame start the
// mode hands over (its own, without the clock's tick), a black screen, the input, the pointer, the GUI, the
// sound cues, the sound manager and the music keys at the standing game time, then the scene, the 3D
// frame and what the dialog draws over it. A dialog over the world (the file browser) clears to the
// environment's background instead of black.
class coDialogFrameFunction : public guiFunction {
  public:
    explicit coDialogFrameFunction(std::function<void()> frameStart, bool clearScreen = true)
        : m_frameStart(std::move(frameStart)), m_clear(clearScreen) {}
    void Execute() override;

  protected:
    // Drawn straight onto the screen over the 3D frame (and so over the GUI's pictures), before it shows.
    virtual void DrawOverlay() {}

  private:
    std::function<void()> m_frameStart;
    bool m_clear;
};

using coChooseCoasterDialogFunction = coDialogFrameFunction;
