#pragma once
#include "Engine/App/Fs/fsExceptions.h"

// A prop definition file that cannot be used; carries the file's locator.
FS_LOCATOR_EXCEPTION(coInvalidPropFileX, 0xE0740001);
