#pragma once
#include "Engine/App/Fs/fsLocator.h"

class coFlythroughPath;

// What the career builder hands the fly-through mode before a mission's intro.
class coFlythroughIntro {
  public:
    virtual ~coFlythroughIntro() = default;
    // Not owned; the path outlives the flight.
    virtual void SetPath(const coFlythroughPath* path) = 0;
    virtual void SetVoiceFile(const fsLocator& file) = 0;
};
