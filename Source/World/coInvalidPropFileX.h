#pragma once
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Source/Settings/coNamedFile.h"

// A prop definition file that cannot be used; carries the file's locator.
FS_LOCATOR_EXCEPTION(coInvalidPropFileX, 0xE0740001);

// Runs a read of one of a prop's files, named in `definition`. Damage that the reader found without knowing
// its file is named with it, so that the player is told which game file is damaged rather than that the
// coaster that needs it is; a file not found by its name is told with the definition that names it.
template <class Read> void coReadPropFile(const fsLocator& file, const fsLocator& definition, Read read) {
    try {
        coLoadNamedFile(file, definition, read);
    } catch (const chInvalidChunkX& e) {
        if (e.GetLocator().GetComponentCount() > 0)
            throw;
        throw chInvalidChunkX(file);
    }
}
