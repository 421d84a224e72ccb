#pragma once
#include <functional>
#include <string>

class guiWindow;

// The widget classes behind the script kinds ("Material", "Text", "ScrollingText", "Image"), provided
// by the toolkit: a maker returns a new default widget owned by the caller. An empty maker removes it.
using gprWidgetMaker = std::function<guiWindow*()>;
void gprSetWidgetMaker(const std::string& kind, gprWidgetMaker maker);
// Null when no maker was provided for the kind.
guiWindow* gprMakeWidget(const std::string& kind);
