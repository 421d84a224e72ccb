#pragma once
#include "Engine/App/Gf/gfErrorHandler.h"

#include <functional>

// The in-game error display: while started, every report is shown inside the running game instead of
// in a system message box. A report made while one is on screen (a failure in the dialog's own frame)
// goes to the default displayer, so the display never runs inside itself.
class coErrorDisplayerMgr {
  public:
    // How a message is shown in the game: the error dialog's modal run, returning its answer.
    using Show = std::function<u32(u32 type, const envString& message)>;

    static void Start(Show show);
    // The default displayer again.
    static void Stop();
    // True between Start and Stop: reports show in the game's own box.
    static bool IsStarted();

    // Reports shown since the program started, by either displayer (those of the debug log aside).
    static u32 GetReportCount();
    // Counts the default displayer's reports as well; once, at program start.
    static void CountDefaultReports();
};
