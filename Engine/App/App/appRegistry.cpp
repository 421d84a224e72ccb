#include "Engine/App/App/appRegistry.h"

#include "Engine/App/App/appDefaultRoots.h"
#include "Engine/Platform/Os/plKeyValueStore.h"
#include "Engine/Platform/plErrors.h"
#include "Engine/Platform/plServices.h"

#include <cstring>
#include <vector>

namespace {

plKeyHandle g_key = 0;

u32 HiveHandle(i32 hive) {
    switch (hive) {
    case 0:
        return plHive::ClassesRoot;
    case 1:
        return plHive::CurrentUser;
    case 2:
        return plHive::LocalMachine;
    case 3:
        return plHive::Users;
    case 4:
        return plHive::CurrentConfig;
    case 5:
        return plHive::DynData;
    default:
        return static_cast<u32>(hive);
    }
}

} // namespace

u32 appRegistryOpen(i32 hive, const std::string& keyPartA, const std::string& keyPartB) {
    appRegistryClose();
    return plGetKeyValueStore().OpenKey(HiveHandle(hive), keyPartA + "\\" + keyPartB, g_key);
}

u32 appRegistryReadValue(char* buffer, const std::string& valueName, u32& size,
                         const std::string& defaultText) {
    plKeyValueStore& store = plGetKeyValueStore();
    const u32 result = store.QueryValue(g_key, valueName, buffer, size);
    // Only a missing value takes the default: one that exists, however long, is never overwritten.
    if (result != plErr::FileNotFound || defaultText.empty())
        return result;
    if (const u32 written = appRegistryWriteString(defaultText, valueName); written != plErr::Success)
        return written;
    return store.QueryValue(g_key, valueName, buffer, size);
}

u32 appRegistryReadString(std::string& out, const std::string& valueName, u32& size,
                          const std::string& defaultText) {
    // One byte more than asked for, never read by the query, so a zero size still has a buffer.
    std::vector<char> buffer(static_cast<size_t>(size) + 1, 0);
    const u32 given = size;
    const u32 result = appRegistryReadValue(buffer.data(), valueName, size, defaultText);
    if (appRegistryIsSuccess(result))
        out.assign(buffer.data(), strnlen(buffer.data(), given));
    return result;
}

u32 appRegistryReadPath(fsLocator& out, const std::string& valueName) {
    std::string text;
    u32 size = 260;
    const u32 result = appRegistryReadString(text, valueName, size, "");
    if (appRegistryIsSuccess(result)) {
        out.Clear();
        appSplitPath(text, out);
    }
    return result;
}

u32 appRegistryWriteString(const std::string& text, const std::string& valueName) {
    return plGetKeyValueStore().SetValue(g_key, valueName, text);
}

u32 appRegistryClose() {
    if (!appRegistryIsValid(g_key))
        return plErr::Success;
    const u32 result = plGetKeyValueStore().CloseKey(g_key);
    g_key = 0;
    return result;
}
