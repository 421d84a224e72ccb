#include "Engine/Platform/Codec/plLibMediaDecoders.h"

#include "Engine/Platform/Codec/plAvMovieSource.h"
#include "Engine/Platform/Codec/plMpg123Decoder.h"

std::unique_ptr<plMp3Decoder> plLibMediaDecoders::CreateMp3Decoder() {
    return std::make_unique<plMpg123Decoder>();
}

std::unique_ptr<plMovieSource> plLibMediaDecoders::CreateMovieSource() {
    return std::make_unique<plAvMovieSource>();
}
