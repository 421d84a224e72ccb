#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/Platform/Os/plTestFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
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
    // Writes the file (its folders made) and gives its locator.
    fsLocator Write(const std::string& relative, const std::string& bytes) const {
        plTestFolder::Write(relative, bytes);
        return Locator(relative);
    }
    void MakeFolder(const std::string& relative) const {
        std::filesystem::create_directories(Path(relative));
    }
};

// The locator that the action's exception X names; a failure when nothing is thrown.
template <class X> fsLocator CaughtLocator(const std::function<void()>& action) {
    try {
        action();
    } catch (const X& e) {
        return e.GetLocator();
    }
    ADD_FAILURE() << "expected exception not thrown";
    return {};
}

// A locator under a root: the components of a relative path ("Data/x.bin").
inline fsLocator fsRootedLocator(i32 root, const std::string& relative) {
    fsLocator locator;
    fsLocatorFromNativePath(relative.c_str(), locator);
    locator.SetRoot(root);
    return locator;
}
