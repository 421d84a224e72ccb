#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <functional>

// The error text package of the GUI toolkit.
constexpr u32 guiErrorPackage = 19;

// Reference-counted start and stop of the gui package. The first start starts env, dbg, it, fs, input,
// the rendering packages and sound, then makes the pointer and the window manager's root, resets the
// sound cues and registers "guiErrors.tsf". The last stop frees the cues, the root with the whole
// window tree and the pointer, then stops the packages in reverse. A stop with nothing started is
// ignored with a warning.
void guiInit();
void guiShutdown();
u32 guiGetInitCount();

// The render list of every GUI quad made from now on; 3 at start.
void guiSetRenderList(i32 list);
i32 guiGetRenderList();

// Receives the name of each step as the gui and gpr start-ups and shut-downs take it, for checking
// their order; an empty function stops the log.
using guiStartLog = std::function<void(const char* step)>;
void guiSetStartLog(guiStartLog log);
void guiLogStartStep(const char* step);
