#pragma once
#include "Source/Modes/coModeEditor.h"

// The free builder: the editor with nothing added.
class coModeBuilder : public coModeEditor {};
