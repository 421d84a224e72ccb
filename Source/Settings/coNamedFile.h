#pragma once
#include "Engine/App/Fs/fsExceptions.h"

#include <utility>

// When the failure says that `file` could not be opened by its name (not there, not in its pak, or a name
// that no file can have), notes `namedIn` on it, inside the pak that holds it when one does.
void coNoteNamedIn(fsFileFailureX& failure, const fsLocator& file, const fsLocator& namedIn);

// Runs load, which reads `file`, whose name was read from `namedIn` (a model named in a prop or environment
// definition). When `file` cannot be found by its name, the failure also names `namedIn`: a damaged name
// there reads as a file that is not there. A failure of a file that `file` names in turn is left as it is.
template <class Load>
decltype(auto) coLoadNamedFile(const fsLocator& file, const fsLocator& namedIn, Load&& load) {
    try {
        return std::forward<Load>(load)();
    } catch (fsFileFailureX& failure) {
        coNoteNamedIn(failure, file, namedIn);
        throw;
    }
}
