#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Tools/TextSet/toolTextSetSource.h"

#include <filesystem>
#include <fstream>

void toolWriteTextSet(const std::string& path, u32 setNumber, const std::vector<toolTextSetEntry>& entries) {
    // Built beside the target and renamed over it: an interrupted build never leaves half a set.
    const std::string temporary = path + ".tmp";
    std::filesystem::remove(temporary);
    std::ofstream(temporary, std::ios::binary).close();
    try {
        fsLocator locator;
        fsLocatorFromNativePath(temporary.c_str(), locator);
        gfTextSet set(locator, setNumber, false);
        for (const toolTextSetEntry& entry : entries)
            set.SetText(entry.id, entry.text);
        set.Save();
    } catch (...) {
        std::filesystem::remove(temporary);
        throw;
    }
    std::filesystem::rename(temporary, path);
}
