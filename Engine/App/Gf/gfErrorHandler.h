#pragma once
#include "Engine/App/Fs/fsLocator.h"

#include <optional>

// Display types of a report.
constexpr u32 gfDisplayQuestion = 1; // OK and Cancel
constexpr u32 gfDisplayNotice = 2;   // OK
// Answers of a report.
constexpr u32 gfAnswerAbort = 0; // also: nobody to ask
constexpr u32 gfAnswerRetry = 1;
constexpr u32 gfAnswerIgnore = 2;
constexpr u32 gfAnswerOK = 3;
constexpr u32 gfAnswerCancel = 4;

// Shows a report's message to the user and returns the answer. The default prints it to stderr and
// shows it in the installed platform message box; the game's in-game dialog takes over once it is up.
class gfErrorDisplayer {
  public:
    virtual ~gfErrorDisplayer() = default;
    virtual u32 Display(u32 type, const envString& message) = 0;
};

// Turns (package, error number) into a message from the package's error text set, found by the file
// name the package registered under the error text folder, and asks the installed displayer.
namespace gfErrorHandler {

// Empties the registry, sets the folder when one is given, installs the default displayer and the
// env report hook, and registers env, dbg, it, fs, in, Ma and Geo.
void Init(const fsLocator* directory);
void Shutdown();

void RegisterPackage(u32 package, const envString& fileName);
// The registered file name, or null for a package that was never named.
const envString* GetPackageFile(u32 package);
void SetErrorFileDirectory(const fsLocator& directory);
const fsLocator& GetErrorFileDirectory();

// The displayer is not owned: whoever installs one reinstalls another before destroying it.
// Null leaves reports to the debug log alone (answer 0).
void SetDisplayer(gfErrorDisplayer* displayer);
gfErrorDisplayer* GetDefaultDisplayer();

// The message of the number in the package's error texts followed by the extra text (UTF-8, when given),
// or a fallback naming the number and package when the set or the entry is missing. When the set is
// damaged, the fallback names its file and what is wrong with it in plain words, then the number, the
// package and the extra. A message asked for while one is being made (a retry question from inside the
// file open) does not look for its text set, so it cannot recurse.
envString GetMessage(u32 package, u32 number, const char* extra);
// The text of the number in the package's error texts alone; nothing when the set is missing, damaged or
// without it, so that a line made of it can be left out rather than show a fallback.
std::optional<envString> FindText(u32 package, u32 number);
// Shows GetMessage's message through the installed displayer and returns the displayer's answer.
u32 Report(u32 type, u32 package, u32 number, const char* extra);
// The env report hook: the same as Report.
u32 ReportHook(u32 type, u32 package, u32 number, const char* extra);

} // namespace gfErrorHandler
