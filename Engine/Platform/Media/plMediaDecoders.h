#pragma once
#include "Engine/Platform/Media/plMovieSource.h"
#include "Engine/Platform/Media/plMp3Decoder.h"

#include <memory>

// Makes the decoders of compressed music and movies; the program and the media tests install the
// library-backed maker in the platform services.
class plMediaDecoders {
  public:
    virtual ~plMediaDecoders() = default;
    virtual std::unique_ptr<plMp3Decoder> CreateMp3Decoder() = 0;
    virtual std::unique_ptr<plMovieSource> CreateMovieSource() = 0;
};
