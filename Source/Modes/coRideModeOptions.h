#pragma once
#include "Engine/Core/Env/envTypes.h"

// What the command line sets on the ride mode: the perpetual ride and the movie capture.
class coRideModeOptions {
  public:
    virtual ~coRideModeOptions() = default;
    virtual void SetPerpetual(bool perpetual) = 0;
    virtual void SetMovieFrameRate(f32 rate) = 0;
    virtual void SetMovieShrink(i32 divisor) = 0;
    virtual void SetMovieCapture(bool capture) = 0;
};
