#pragma once
// The interface pictures as the game reads them: entries of the built "Data/GUI/gui.pak".
#include "Content/coBuiltTree.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Gf/gfPakFile.h"
#include "Engine/Graphics/G2d/g2dImageFile.h"

#include <string>
#include <vector>

inline const gfPakFile& guiPak() {
    static const gfPakFile pak(coBuiltTreeLocator("Data/GUI/gui.pak"));
    return pak;
}

// The picture of the entry ("uitm/uitmsu_i.png"); the pak's own error when it lacks it.
inline g2dPixelRows guiReadPakPicture(const std::string& entry) {
    fsLocator name;
    fsLocatorFromNativePath(entry.c_str(), name);
    gfPakEntryStream stream(guiPak(), name);
    std::vector<u8> bytes(stream.GetSize());
    stream.Read(bytes.data(), stream.GetSize());
    return g2dDecodePNG(bytes);
}
