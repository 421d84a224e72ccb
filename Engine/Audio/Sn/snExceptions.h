#pragma once
#include "Engine/Core/Env/envExceptionX.h"

// The sound package's exceptions (package 14); each holds nothing but its code.
template <u32 Number> class snExceptionX : public envExceptionX {
  public:
    u32 GetCode() const override { return envMakeErrorCode(14, Number); }
};

// The sound device cannot be created or claimed for the program.
class snSoundSystemCreateFailedX : public snExceptionX<2> {};
// The primary buffer or a sound buffer cannot be created.
class snSoundSystemBufferCreateFailedX : public snExceptionX<3> {};
// A WAV file is not PCM in a format the mixer plays.
class snUnsupportedSoundFileTypeX : public snExceptionX<5> {};
// No sound buffer is obtained for a file.
class snSoundCreateFailedX : public snExceptionX<6> {};
// A WAV file has no readable data chunk.
class snCorruptedFileX : public snExceptionX<7> {};
// A playlist file is not ".m3u".
class snUnsupportedPlaylistTypeX : public snExceptionX<8> {};
