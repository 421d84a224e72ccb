#include "Engine/App/Fs/fsNativePath.h"

#include "Engine/Core/Env/envEnvironment.h"

void fsLocatorToNativePath(const fsLocator& locator, std::string& out) {
    out.clear();
    const u32 count = locator.GetComponentCount();
    std::string part;
    for (u32 i = 0; i < count; ++i) {
        const envString& component = locator.GetComponent(i);
        envWideToAnsi(part, component.GetData(), component.GetLength());
        if (part.empty() && component.GetLength() > 0) {
            out.clear();
            return;
        }
        if (i > 0)
            out += '/';
        out += part;
    }
    if (count == 1 && out.empty())
        out.push_back('/'); // the locator of the file-system root itself
}

namespace {

// Length of the UTF-8 sequence at text[0..length), or 0 when it is not a valid one; sets the code point.
size_t DecodeUtf8(const u8* text, size_t length, u32& code) {
    const u8 lead = text[0];
    size_t size;
    u32 min;
    if (lead < 0x80) {
        code = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        size = 2, code = lead & 0x1F, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        size = 3, code = lead & 0x0F, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        size = 4, code = lead & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (size > length)
        return 0;
    for (size_t i = 1; i < size; ++i) {
        if ((text[i] & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (text[i] & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code < 0xE000;
    return code < min || code > 0x10FFFF || surrogate ? 0 : size;
}

} // namespace

void fsNativeToString(const char* text, size_t length, envString& out) {
    out.Clear();
    const u8* bytes = reinterpret_cast<const u8*>(text);
    for (size_t i = 0; i < length;) {
        u32 code;
        const size_t size = DecodeUtf8(bytes + i, length - i, code);
        if (size == 0) {
            out.AppendChar(bytes[i++]);
            continue;
        }
        i += size;
        if (code >= 0x10000) {
            out.AppendChar(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
            out.AppendChar(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
        } else {
            out.AppendChar(static_cast<char16_t>(code));
        }
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
