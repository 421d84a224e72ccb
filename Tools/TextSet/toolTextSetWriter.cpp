#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Tools/TextSet/toolTextSetSource.h"

#include <map>

void toolWriteTextSet(const std::string& path, u32 setNumber, const std::vector<toolTextSetEntry>& entries) {
    std::map<u32, envString> texts;
    for (const toolTextSetEntry& entry : entries)
        texts[entry.id] = entry.text;
    fsLocator locator;
    fsLocatorFromNativePath(path.c_str(), locator);
    gfWriteTextSet(locator, setNumber, texts);
}
