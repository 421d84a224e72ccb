#pragma once
#include "Engine/App/Fs/fsLocator.h"

#include <string>

class guiWindow;

// Installs the text set for one load, loads the script into the target and removes the set again,
// also when the load throws.
void guiLoadScript(const fsLocator& directory, const envString& name, const fsLocator& textSet,
                   guiWindow* target);

// Loading scripts into screens, keeping each binary script up to date with its text form.
namespace gprParserUtil {

// A text form more than this newer than its binary form is compiled before loading (file times are
// whole seconds, so 4 s is the least that compiles).
constexpr f64 kCompileAfterSeconds = 3.0;

// Loads "<name>.gsf" from the directory into the target, compiling "<name>.gst" first when it is newer.
// A failed compile keeps the old binary form and loads it; with none, its exception passes on. A failed
// load removes only the children it added to the target, restores the script directory, and passes on.
void LoadScript(const fsLocator& directory, const envString& name, guiWindow* target);
// Compiles a text script into a binary one in one step: the target is the whole new file or the old
// one. A text that is not readable (as chunks or as tokens) or ends inside a body throws chInvalidChunkX,
// with the line it stopped in when asked.
void CompileScript(const fsLocator& text, const fsLocator& binary, u32* errorLine = nullptr);
// Writes the window as a binary script in one step, through the first parser that can handle it.
void SaveScript(const fsLocator& binary, guiWindow* window);

// The folder that file names inside scripts are relative to.
void SetScriptDirectory(const fsLocator& directory);
const fsLocator& GetScriptDirectory();
// A name inside a script: pieces separated by '\' or '/', ".." going up one folder (never above the
// script directory's first component), empty pieces ignored.
void ResolveScriptPath(const std::string& name, fsLocator& out);
// The name under which a file is written into a script: "..\" for each folder of the script directory
// that the file does not share, then the file's own folders and name, separated by '\'.
std::string MakeScriptRelativeName(const fsLocator& file);

} // namespace gprParserUtil
