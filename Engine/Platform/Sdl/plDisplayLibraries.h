#pragma once

// Keeps freed memory in the process: the software GL driver frees and reallocates its frame memory
// every frame, and glibc's default thresholds hand it back to the system and fault it in again (frames
// up to twice as slow). Call before the first OpenGL window or context; later calls do nothing.
void plPrepareGlMemory();

// Keeps the OpenGL libraries loaded so far, and the driver they loaded, mapped until the process
// ends. The GL library unloads its driver when the last window or context goes; blocks the driver
// still held would then be reported as leaks with no module left to name them. Call it after a
// window with OpenGL or a context is made; calling it again is harmless.
void plPinGlLibraries();

// Keeps every library loaded so far mapped until the process ends: SDL unloads the display libraries it
// loaded when its video ends, and the blocks they keep would be reported as leaks with no module left to
// name them. For windows shown while nothing else holds SDL's video.
void plPinLoadedLibraries();
