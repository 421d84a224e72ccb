#pragma once
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Fuzz/fuzzInputFile.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

// The start that fuzz targets over a game or engine loader share: the file each input is written to,
// named as the loader looks for it, and the loaders' warnings silenced, since they are its answer to damage.
namespace fuzzLoader {

inline std::unique_ptr<fuzzInputFile> g_input;
inline fsLocator g_locator;

// Makes the input file 'name', a path under the process's own folder whose subfolders are made; where the
// loader finds its file under a file-system root, 'root' is set to that folder. Call it once, from
// LLVMFuzzerInitialize.
inline const fuzzInputFile& Start(const std::string& name, std::optional<i32> root = std::nullopt) {
    g_input = std::make_unique<fuzzInputFile>(name);
    std::filesystem::create_directories(std::filesystem::path(g_input->GetPath()).parent_path());
    fsLocatorFromNativePath(g_input->GetPath().c_str(), g_locator);
    if (root) {
        fsLocator folder;
        fsLocatorFromNativePath(g_input->GetFolder().c_str(), folder);
        fsSetRootDirectory(*root, folder);
    }
    dbgSetLogSink([](const std::string&) {});
    return *g_input;
}

// Writes one input to the file and gives the file's locator.
inline const fsLocator& Write(const std::uint8_t* data, std::size_t size) {
    g_input->Write(data, size);
    return g_locator;
}

} // namespace fuzzLoader
