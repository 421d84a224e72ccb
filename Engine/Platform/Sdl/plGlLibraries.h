#pragma once

// Keeps the OpenGL libraries loaded so far, and the driver they loaded, mapped until the process
// ends. The GL library unloads its driver when the last window or context goes; blocks the driver
// still held would then be reported as leaks with no module left to name them. Call it after a
// window with OpenGL or a context is made; calling it again is harmless.
void plPinGlLibraries();
