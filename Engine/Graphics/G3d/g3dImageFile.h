#pragma once
#include "Engine/App/Fs/fsLocator.h"

// The image type of a texture file by its signature (0 BMP, 1 PNG); g3dUnknownImageFileTypeX for
// anything else.
i32 g3dGetImageFileType(const fsLocator& file);
