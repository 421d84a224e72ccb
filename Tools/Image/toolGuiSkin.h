#pragma once
#include "Tools/Image/toolDefaultTextures.h"

#include <string>
#include <vector>

// The GUI toolkit's default skin under "Data/GUI": a bevelled button per state ("button" with "_i", "_o",
// "_p", "_d"), list rows by the same rule ("listrow"), a frame, a highlight and a badge whose alpha falls
// off softly at its edge (RGBA); a check box by the same state rule, ticked as "checkbox_c" with the
// suffix, a round radio button ("radio", "radio_c"), a slider track and thumb, increase and decrease
// arrows, and a striped progress picture over its sunken background; the list's highlight, the table's
// cell selection, the combo box's drop-down arrow, the file browser's up arrow and background; the pointers
// "Cursor" (an arrow) and "CursorWait" (an hourglass), 32 x 32 with their tip at (2, 2); on-screen keyboard
// keys "key" by the button rule and "key_c", a checked toggle.
std::vector<toolDefaultTexture> toolGuiSkin();
// Writes every skin image under the data folder.
void toolWriteGuiSkin(const std::string& dataFolder);
