#pragma once
#include "Engine/App/Fs/fsLocator.h"

#include <initializer_list>

class guiImage;

// The file "<folder>/<file>" of the GUI root (root 10).
fsLocator coRootGuiFile(const char* folder, const char* file);
// The state's picture; one that cannot be loaded leaves the state untextured with a warning naming the
// file, so a damaged palette picture does not end the game.
void coSetPaletteImage(guiImage& image, const fsLocator& file, i32 state);
// The state's picture, or the fallback when the file cannot be loaded for any reason (with a warning
// naming it); the fallback's own failure passes on.
void coSetPaletteImageOr(guiImage& image, const fsLocator& file, const fsLocator& fallback, i32 state);
// The same picture for each of the states, tried once: one warning for a file that cannot be loaded.
void coSetPaletteImageOr(guiImage& image, const fsLocator& file, const fsLocator& fallback,
                         std::initializer_list<i32> states);
