#pragma once
#include "Engine/Platform/Media/plMediaDecoders.h"

// The decoders on libmpg123 and libav.
class plLibMediaDecoders : public plMediaDecoders {
  public:
    std::unique_ptr<plMp3Decoder> CreateMp3Decoder() override;
    std::unique_ptr<plMovieSource> CreateMovieSource() override;
};
