#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/App/Fs/fsNativePath.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

// A fresh folder under the temporary directory, removed with everything in it at the end of the test.
class fsTestFolder {
  public:
    fsTestFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "lvfs-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            ADD_FAILURE() << "no temporary folder";
        m_path = pattern;
    }
    ~fsTestFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    fsTestFolder(const fsTestFolder&) = delete;
    fsTestFolder& operator=(const fsTestFolder&) = delete;

    const std::string& Path() const { return m_path; }
    std::string Path(const std::string& relative) const { return m_path + "/" + relative; }

    // The unrooted locator of a path relative to the folder ("a/b.bin").
    fsLocator Locator(const std::string& relative = {}) const {
        fsLocator locator;
        fsLocatorFromNativePath((relative.empty() ? m_path : Path(relative)).c_str(), locator);
        return locator;
    }

    // Writes a file (and its folders) with the given bytes, through the standard library.
    void Write(const std::string& relative, const std::string& bytes) const {
        const std::filesystem::path path = Path(relative);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    std::string Read(const std::string& relative) const {
        std::ifstream in(Path(relative), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void MakeFolder(const std::string& relative) const {
        std::filesystem::create_directories(Path(relative));
    }

  private:
    std::string m_path;
};

// A locator under a root: the components of a relative path ("Data/x.bin").
inline fsLocator fsRootedLocator(i32 root, const std::string& relative) {
    fsLocator locator;
    fsLocatorFromNativePath(relative.c_str(), locator);
    locator.SetRoot(root);
    return locator;
}
