#include "Source/Scene/coTextureCache.h"

#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Gf/gfPakSearcher.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Graphics/G3d/g3dTexture.h"
#include "Engine/Graphics/G3d/g3dUVATexture.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"

#include <string_view>

namespace {

constexpr u32 kDropTwoBelow = 10485760;
constexpr u32 kDropOneBelow = 18874368;

coTextureCache& WorldCache() {
    // Made on first use, so that it goes before the debug log at exit.
    static coTextureCache cache;
    return cache;
}

coTextureCache* g_installed = nullptr;

fsLocator WoodLocator() {
    fsLocator wood(coRootThemes);
    for (const char* component : {"Environment", "Texture", "wood.png"})
        wood.AppendComponent(component);
    return wood;
}

std::u16string_view Units(const envString& text) {
    return {text.GetData() ? text.GetData() : u"", text.GetLength()};
}

bool IsPlainFileName(const envString& name) {
    const std::u16string_view units = Units(name);
    return !units.empty() && units != u"." && units != u".." && units.find_first_of(u"/\\") == units.npos;
}

// The name with the three characters after the dot of its first `from` replaced by `to`; false when the
// name holds no `from`. Case matters: the reads fold case, the names are not rewritten for it.
bool ReplaceExtension(envString& name, std::u16string_view from, std::u16string_view to) {
    std::u16string units(Units(name));
    const size_t at = units.find(from);
    if (at == units.npos)
        return false;
    units.replace(at + 1, to.size(), to);
    name = envString(units.c_str());
    return true;
}

bool IsFlipBook(const fsLocator& locator) {
    return locator.GetComponentCount() > 0 &&
           Units(locator.GetLastComponent()).find(u".tuv") != std::u16string_view::npos;
}

} // namespace

coTextureCache::~coTextureCache() {
    for (const auto& [locator, entry] : m_entries) {
        std::string path;
        fsJoinComponents(locator, path);
        DBG_WARNING("texture %s still held %d times at exit; left to the texture manager", path.c_str(),
                    entry.count);
    }
}

g3dTexture* coTextureCache::Acquire(const fsLocator& locator) {
    if (coPrefs::GetSessionFlag(coSessionWoodTextures)) {
        const fsLocator wood = WoodLocator();
        if (gfPakSearcher::FileExists(wood))
            return AcquireFile(wood, true);
    }
    return AcquireFile(locator, false);
}

g3dTexture* coTextureCache::AcquireFile(const fsLocator& locator, bool allLevels) {
    const auto found = m_entries.find(locator);
    if (found != m_entries.end()) {
        ++found->second.count;
        return found->second.texture;
    }
    const i32 drop =
        allLevels ? 0 : coMipLevelsToDrop(g3dTextureManager::GetAvailableTextureMemory(), locator);
    g3dTexture* texture =
        IsFlipBook(locator)
            ? static_cast<g3dTexture*>(g3dTextureManager::LoadUVATexture(locator, drop, drop))
            : static_cast<g3dTexture*>(g3dTextureManager::LoadMipTexture(locator, drop, drop));
    m_entries.emplace(locator, Entry{texture, 1});
    return texture;
}

void coTextureCache::Release(g3dTexture* texture) {
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it)
        if (it->second.texture == texture) {
            if (--it->second.count == 0) {
                g3dTextureManager::ReleaseTexture(texture);
                m_entries.erase(it);
            }
            return;
        }
}

int coTextureCache::GetCount(const g3dTexture* texture) const {
    for (const auto& [locator, entry] : m_entries)
        if (entry.texture == texture)
            return entry.count;
    return 0;
}

i32 coMipLevelsToDrop(u32 freeBytes, const fsLocator& locator) {
    if (freeBytes < kDropTwoBelow)
        return 2;
    if (freeBytes < kDropOneBelow && locator.GetRoot() != coRootEnvironments)
        return 1;
    return 0;
}

coTextureCache& coGetTextureCache() {
    return g_installed ? *g_installed : WorldCache();
}

void coSetTextureCache(coTextureCache* cache) {
    g_installed = cache;
}

g3dTexture* coAcquireTexture(const fsLocator& locator) {
    return coGetTextureCache().Acquire(locator);
}

void coReleaseTexture(g3dTexture* texture) {
    coGetTextureCache().Release(texture);
}

g3dTexture* coTextureLoader::GetTexture(const envString& name) {
    fsLocator locator = InFolder(name);
    // A name is one component: "../x.png" would reach outside the folder.
    if (!IsPlainFileName(name))
        throw fsFileDoesntExistX(locator);
    if (!gfFileExists(locator)) {
        envString tried = name;
        if (ReplaceExtension(tried, u".bmp", u"png"))
            locator = InFolder(tried);
        if (!gfFileExists(locator) && ReplaceExtension(tried, u".png", u"tuv"))
            locator = InFolder(tried);
    }
    return coAcquireTexture(locator);
}

fsLocator coTextureLoader::InFolder(const envString& name) const {
    fsLocator locator = m_folder;
    locator.AppendComponent(name);
    return locator;
}
