#pragma once
#include "Engine/App/Fs/fsExceptions.h"

// A coaster or career save file that this version cannot read; carries the file's locator.
FS_LOCATOR_EXCEPTION(coInvalidSaveFileX, 0xE0740000);
