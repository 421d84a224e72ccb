#pragma once

// The sounds the GUI plays when the window under the pointer changes state. No cue is registered yet,
// so starting and stopping have nothing to forget or free.
class guiSoundCues {
  public:
    // Forgets the last window and unmutes; the GUI start-up calls it.
    static void Reset() {}
    // Frees every cue; the GUI shut-down calls it.
    static void Clear() {}
};
