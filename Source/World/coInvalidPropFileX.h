#pragma once
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Fs/fsExceptions.h"

// A prop definition file that cannot be used; carries the file's locator.
FS_LOCATOR_EXCEPTION(coInvalidPropFileX, 0xE0740001);

// Runs a read of one of a prop's files. Damage that the reader found without knowing its file is named with
// it, so that the player is told which game file is damaged rather than that the coaster that needs it is.
template <class Read> void coReadPropFile(const fsLocator& file, Read read) {
    try {
        read();
    } catch (const chInvalidChunkX& e) {
        if (e.GetLocator().GetComponentCount() > 0)
            throw;
        throw chInvalidChunkX(file);
    }
}
