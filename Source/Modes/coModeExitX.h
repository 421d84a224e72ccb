#pragma once
#include "Engine/Core/Env/envExceptionX.h"

// The player confirmed leaving the game; the mode manager leaves the mode and empties the stack.
class coModeExitX : public envExceptionX {
  public:
    u32 GetCode() const override { return 0xE3F80000; }
};
