#include "Engine/App/Fs/fsNativePath.h"

#include "Engine/Core/Env/envEnvironment.h"
#include "Engine/Core/Env/envUtf.h"

bool fsJoinComponents(const fsLocator& locator, std::string& out) {
    out.clear();
    std::string part;
    for (u32 i = 0; i < locator.GetComponentCount(); ++i) {
        const envString& component = locator.GetComponent(i);
        envWideToAnsi(part, component.GetData(), component.GetLength());
        if (part.empty() && component.GetLength() > 0)
            return false;
        if (i > 0)
            out += '/';
        out += part;
    }
    return true;
}

void fsLocatorToNativePath(const fsLocator& locator, std::string& out) {
    if (!fsJoinComponents(locator, out))
        out.clear();
    else if (locator.GetComponentCount() == 1 && out.empty())
        out.push_back('/'); // the locator of the file-system root itself
}

void fsNativeToString(const char* text, size_t length, envString& out) {
    out.Clear();
    const std::string_view bytes(text, length);
    for (size_t at = 0; at < bytes.size();) {
        u32 code;
        if (envDecodeUtf8(bytes, at, code))
            envAppendUtf16(out, code);
        else
            out.AppendChar(static_cast<char16_t>(envNativeByteUnit + static_cast<u8>(bytes[at++])));
    }
}

void fsAppendNativeName(fsLocator& locator, const std::string& name) {
    envString component;
    fsNativeToString(name.data(), name.size(), component);
    locator.AppendComponent(component);
}

void fsLocatorFromNativePath(const char* path, fsLocator& out) {
    out.Clear();
    envString component;
    const char* start = path;
    for (const char* p = path;; ++p) {
        if (*p != '/' && *p != 0)
            continue;
        fsNativeToString(start, static_cast<size_t>(p - start), component);
        out.AppendComponent(component);
        if (*p == 0)
            break;
        start = p + 1;
    }
}

void fsLocatorToPath(const fsLocator& locator, envString& out) {
    out.Clear();
    for (u32 i = 0; i < locator.GetComponentCount(); ++i) {
        out.Append(locator.GetComponent(i));
        out.AppendChar(u'/');
    }
}

void fsLocatorFromPath(const envString& path, fsLocator& out) {
    const u32 length = path.GetLength();
    if (length > 0 && path[0] == u'/' && out.GetComponentCount() == 0)
        out.AppendComponent(envString(""));
    u32 start = 0;
    for (u32 i = 0; i < length; ++i) {
        if (path[i] != u'/')
            continue;
        if (i > start)
            out.AppendComponent(envString(start, i - start, path));
        start = i + 1;
    }
}
