#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <string>
#include <vector>

// The default content's spoken voice-overs, from the system's speech synthesiser at the rate of the
// other generated sounds (toolSampleRate). The synthesiser is one per process: make one speaker and
// speak every text through it in a fixed order, since each sound carries a little of the state left by
// the one before; so a run gives the same bytes each time.
class toolSpeaker {
  public:
    // Throws std::runtime_error when the synthesiser or its English voice cannot be started.
    toolSpeaker();
    ~toolSpeaker();
    toolSpeaker(const toolSpeaker&) = delete;
    toolSpeaker& operator=(const toolSpeaker&) = delete;

    // The samples of the UTF-8 text spoken; throws std::runtime_error when nothing could be spoken.
    std::vector<i16> Speak(const std::string& text);
};
