#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/Platform/Unit/plTestFolder.h"

#include <filesystem>
#include <string>

// The temporary test folder, with its files named by locators.
class fsTestFolder : public plTestFolder {
  public:
    // The unrooted locator of a path relative to the folder ("a/b.bin").
    fsLocator Locator(const std::string& relative = {}) const {
        fsLocator locator;
        fsLocatorFromNativePath((relative.empty() ? Path() : Path(relative)).c_str(), locator);
        return locator;
    }
    void MakeFolder(const std::string& relative) const {
        std::filesystem::create_directories(Path(relative));
    }
};

// A locator under a root: the components of a relative path ("Data/x.bin").
inline fsLocator fsRootedLocator(i32 root, const std::string& relative) {
    fsLocator locator;
    fsLocatorFromNativePath(relative.c_str(), locator);
    locator.SetRoot(root);
    return locator;
}
