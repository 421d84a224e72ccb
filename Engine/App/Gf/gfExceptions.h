#pragma once
#include "Engine/App/Fs/fsExceptions.h"

// The gf package files no error texts (no set is registered under package 7).
FS_LOCATOR_EXCEPTION(gfInvalidTokenFileTxtX, 0xE0170001);
FS_LOCATOR_EXCEPTION(gfInvalidFileBinX, 0xE0170001);
FS_LOCATOR_EXCEPTION(gfInvalidTextSetFileX, 0xE0170003);
FS_LOCATOR_EXCEPTION(gfInvalidPakFileX, 0xE0170004);
FS_LOCATOR_EXCEPTION(gfFileNotInPakX, 0xE0170005);

// A pak entry's local header is unreadable; the pak layer turns it into gfFileNotInPakX.
class gfFileCorruptX : public envExceptionX {
public:
    u32 GetCode() const override { return 0xE0170006; }
};
