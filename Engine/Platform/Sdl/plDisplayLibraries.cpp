#include "Engine/Platform/Sdl/plDisplayLibraries.h"

#include <dlfcn.h>
#include <link.h>
#include <malloc.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

bool IsGlLibrary(const char* path) {
    static constexpr const char* kNames[] = {"libGL.so", "libGLX",  "libGLdispatch", "libglapi",   "libEGL",
                                             "libgbm",   "_dri.so", "libLLVM",       "libgallium", "libdrm"};
    const char* slash = std::strrchr(path, '/');
    const char* name = slash ? slash + 1 : path;
    for (const char* candidate : kNames)
        if (std::strstr(name, candidate))
            return true;
    return false;
}

struct Loaded {
    bool glOnly;
    std::vector<std::string> paths;
};

int Collect(dl_phdr_info* info, size_t, void* data) {
    Loaded& loaded = *static_cast<Loaded*>(data);
    if (info->dlpi_name && info->dlpi_name[0] && (!loaded.glOnly || IsGlLibrary(info->dlpi_name)))
        loaded.paths.emplace_back(info->dlpi_name);
    return 0;
}

void Pin(bool glOnly) {
    Loaded loaded{glOnly, {}};
    dl_iterate_phdr(Collect, &loaded);
    // RTLD_NOLOAD only marks what is already mapped; the handle's extra reference is never released.
    for (const std::string& path : loaded.paths)
        dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
}

} // namespace

void plPrepareGlMemory() {
    static const bool prepared = [] {
        mallopt(M_TRIM_THRESHOLD, 512 * 1024 * 1024);
        mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
        return true;
    }();
    (void)prepared;
}

void plPinGlLibraries() {
    Pin(true);
}

void plPinLoadedLibraries() {
    Pin(false);
}
