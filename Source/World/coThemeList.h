#pragma once
#include "Engine/App/Fs/fsLocator.h"

#include <map>

// Display names of theme, coaster-style and environment folders in the player's language.
class coThemeList {
  public:
    // Environments (root 8), then coaster styles (root 7), then themes (root 6): a later pass replaces an
    // earlier name of the same folder. A text set that cannot be read is warned about and gives no name.
    static void Build();
    // The stored name, or the folder name itself; looked up by exact units.
    static void GetDisplayName(envString& out, const envString& folder);
    static void Clear();

  private:
    static std::map<envString, envString>& Names();
};

// The texts of a set opened read-only as set 32, and their number; none when the file is missing. A
// damaged set is warned about (naming the file) and reads as empty, so one bad file stops no listing.
u32 coReadSetTexts(const fsLocator& file, std::map<u32, envString>& texts);
